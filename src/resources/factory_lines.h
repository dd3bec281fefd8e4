// The factory settings as settings-file data lines. "Default settings" sends
// them to the node, and the simulated node starts from them.
#pragma once

#include <span>

namespace qta1 {

enum class LineKind { Record, Count, Time, Temp, Setpoint };

struct FactoryLine {
    int nvIndex;  // 56 for the configuration parts
    int part;     // 1..12 for NV 56, else 0
    LineKind kind;
    const char* line;
};

// In the order "Default settings" sends them: the single NVs first, then
// parts 1 to 12.
std::span<const FactoryLine> FactoryLines();

}  // namespace qta1
