// The factory settings as settings-file data lines. "Default settings" sends
// them to the node.
#pragma once

#include <span>

#include "node/nv_catalogue.h"

namespace qta1 {

// A line of the kind the NV catalogue gives its NV (a record for a part).
struct FactoryLine {
    int nv;
    int part;  // 1..12 for the configuration NV, else 0
    const char* line;
};

// In the order "Default settings" sends them: the single NVs first, then
// parts 1 to 12.
std::span<const FactoryLine> FactoryLines();

}  // namespace qta1
