// Walks through the real sheet that the host's pictures and the checks built
// on the host share: the technician set reached as a technician reaches it,
// and a file compared with a node that changed since it was saved.
#pragma once

#include <functional>

#include "host_scenario.h"

namespace qta1::host {

// The technician set, reached as a technician would: the automatic switch to
// the user set first, then "Technician" on Node Information.
void ShowTechnicianSet(SheetScript& sheet);

// Inside a scripted opening: saves the node to the file Import / Export
// proposes, changes the node in three boxes on three pages (PID,
// Temperatures, Freecool) and compares the file with the node, as a
// technician would; `onWindow` hears the review window
// before the script closes it. False when no review window came up.
bool CompareWithChangedNode(RealSheetHost& host, SheetScript& sheet,
                            const std::function<void(HWND)>& onWindow);

}  // namespace qta1::host
