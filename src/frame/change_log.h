// What an action that writes to the node changed, as the node's change log
// keeps it: after a complaint or a handover, the next technician can tell
// what was changed on the unit, when, by whom and from which value.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace qta1 {

// One box whose bytes the action changed, as its page shows it.
struct ChangeRow {
    std::string box;  // "PID - P (Heat (Mv1))"
    std::string before;
    std::string after;
};

struct ChangeEntry {
    std::string action;  // "PID: Write", "Import / Export: Download of C:\AHU 3.txt"
    std::vector<ChangeRow> rows;
    // What was not written, not kept or not checked, or why nothing was sent.
    std::vector<std::string> notes;
    // The node's whole name, where the action has just read it.
    std::optional<std::string> nodeName;
};

// Where the sheet's actions record their entries.
class ChangeSink {
public:
    virtual ~ChangeSink() = default;
    virtual void Record(const ChangeEntry& entry) = 0;
};

}  // namespace qta1
