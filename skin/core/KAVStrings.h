#pragma once

#include <QString>

// Numbers of the string-table entries (resources/strings/strings.txt). The design calls them
// _KAV_TITLE_MENUITEM_...; names that begin with an underscore and a capital are reserved in C++.
namespace KavString {
inline constexpr int TitleMenuItemMinimize = 65466; // "Mi&nimize"
inline constexpr int TitleMenuItemMaximize = 65467; // "Ma&ximize/Restore"
inline constexpr int TitleMenuItemClose = 65468;    // "&Close"
} // namespace KavString

namespace Kav {
// The text of string-table entry id; an empty string when there is no such entry.
QString KavLoadString(int id);
} // namespace Kav
