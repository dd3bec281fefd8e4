// The change log of a node: one plain-text file per node in the technician's
// folder, beside the node's backups ("Changes.log"), with one entry appended
// for every action that writes to the node. An entry is a blank line, a head
// line (date and time, Windows user, node name, action, separated by tabs)
// and one indented line per changed box ("PID - P (Heat (Mv1)): 1.0 -> 2.5")
// and per note (what was not written or not kept). Entries are only ever
// appended, so a write that fails can lose only the entry being written.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "frame/change_log.h"
#include "frame/platform.h"

namespace qta1 {

class CSheet;

// The text of one entry, CR LF line ends; bytes that would end a line or a
// column in a name or value are shown as "?".
std::string ChangeEntryText(const LocalTime& when, std::string_view user, std::string_view nodeName,
                            const ChangeEntry& entry);

// An entry as read back from a log; whatever the file holds (edited by
// hand, cut off by a crash) reads without fault.
struct LoggedChange {
    std::string when;
    std::string user;
    std::string nodeName;
    std::string action;
    std::vector<std::string> lines;
};
// Oldest first, as the file holds them.
std::vector<LoggedChange> ParseChangeLog(std::string_view text);
// What "Changes..." shows: the entries newest first, one row per line of an
// entry, its time, user and action on its first row.
ReviewList ChangeLogList(std::string_view shownName, std::string_view text);

// Where a node's log is kept.
std::string ChangeLogPath(Storage& storage, std::string_view wholeName);

// The sheet's log: the node's name is read once, the first time an entry
// needs it (or taken from an action that has just read it); over a settings
// file nothing is logged. A log that cannot be written is told.
std::unique_ptr<ChangeSink> MakeNodeChangeLog(CSheet& sheet);

}  // namespace qta1
