// The host's pictures of the real sheet, for the documentation and the demo:
// every page and the windows a technician meets, saved as BMP files.
#pragma once

#include <string>

#include "host_scenario.h"

namespace qta1::host {

// Saves docs-ready screenshots (BMP) into `folder`: the sheet with the user
// set, the sheet with the technician set, every page, Import / Export while
// saving, the Compare window, the closing question over the sheet, and the
// review window with a long result of "Default settings". The result is the
// number of pictures that could not be taken; `report` lists the files.
int TakeScreenshots(RealSheetHost& host, const std::wstring& folder, std::string& report);

// Opens the sheet once and saves one picture of it with the user set.
bool TakeSnapshot(RealSheetHost& host, const std::wstring& file);

}  // namespace qta1::host
