#pragma once

#include <QString>

// Numbers of the string-table entries (resources/strings/strings.txt). The design calls them
// _KAV_TITLE_MENUITEM_...; names that begin with an underscore and a capital are reserved in C++.
namespace KavString {
inline constexpr int TitleMenuItemMinimize = 65466; // "Mi&nimize"
inline constexpr int TitleMenuItemMaximize = 65467; // "Ma&ximize/Restore"
inline constexpr int TitleMenuItemClose = 65468;    // "&Close"

// The data navigator's hints and questions, and the messages of the data-aware controls.
inline constexpr int PostEdit = 65456;                     // "Post edit"
inline constexpr int CancelEdit = 65457;                   // "Cancel edit"
inline constexpr int ConfirmCaption = 65458;               // "Confirm"
inline constexpr int RefreshRecord = 65459;                // "Refresh data"
inline constexpr int DeleteRecordQuestion = 65460;         // "Delete record?"
inline constexpr int DeleteMultipleRecordsQuestion = 65461; // "Delete all selected records?"
inline constexpr int DataSourceFixed = 65462;              // "Operation not allowed in a DBCtrlGrid"
inline constexpr int NotReplicatable = 65463;              // "Control cannot be used in a DBCtrlGrid"
inline constexpr int PropDefByLookup = 65464;              // "Property already defined by lookup field"
inline constexpr int TooManyColumns = 65465;               // "Grid requested to display more than 256 columns"
inline constexpr int FirstRecord = 65481;                  // "First record"
inline constexpr int PriorRecord = 65482;                  // "Prior record"
inline constexpr int NextRecord = 65483;                   // "Next record"
inline constexpr int LastRecord = 65484;                   // "Last record"
inline constexpr int InsertRecord = 65485;                 // "Insert record"
inline constexpr int DeleteRecord = 65486;                 // "Delete record"
inline constexpr int EditRecord = 65487;                   // "Edit record"
} // namespace KavString

namespace Kav {
// The text of string-table entry id; an empty string when there is no such entry.
QString KavLoadString(int id);
} // namespace Kav
