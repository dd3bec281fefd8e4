// What the substitute host does with the real sheet besides running
// scenarios: check what assistive technology and the keyboard get, take
// screenshots of every page, and time the opening of the sheet.
#pragma once

#include <string>

#include "host_scenario.h"

namespace qta1::host {

// Opens the sheet, switches to the technician set and, page by page, compares
// each control's accessible name (and each edit box's description) with its
// layout, and the Tab key's order with the layout's order. One line per
// mismatch in `report`; the result is the number of mismatches.
int CheckAccessibility(RealSheetHost& host, std::string& report);

// Saves docs-ready screenshots (BMP) into `folder`: the sheet with the user
// set, the sheet with the technician set, and every page. The result is the
// number of pictures that could not be taken; `report` lists the files.
int TakeScreenshots(RealSheetHost& host, const std::wstring& folder, std::string& report);

// Opens the sheet once and saves one picture of it with the user set.
bool TakeSnapshot(RealSheetHost& host, const std::wstring& file);

// Opens the sheet `count` times; for each opening, the time from the
// properties verb to the sheet initialised and shown, and to the sheet
// painted. Waits the node protocol requires are not slept in a scripted run;
// the virtual clock counts them and the report shows them beside the times.
void MeasureOpening(RealSheetHost& host, int count, std::string& report);

}  // namespace qta1::host
