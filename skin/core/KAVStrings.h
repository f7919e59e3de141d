#pragma once

#include <QString>

// Numbers of the string-table entries (resources/strings/strings.txt).
inline constexpr int _KAV_TITLE_MENUITEM_MINIMIZE = 65466; // "Mi&nimize"
inline constexpr int _KAV_TITLE_MENUITEM_MAXIMIZE = 65467; // "Ma&ximize/Restore"
inline constexpr int _KAV_TITLE_MENUITEM_CLOSE = 65468;    // "&Close"

// The text of string-table entry id; an empty string when there is no such entry.
QString KavLoadString(int id);
