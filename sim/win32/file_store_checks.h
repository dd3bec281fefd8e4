// Checks of the file store under Wine: saves that fail at every step, a
// locked target, the longest names and paths, and a save killed half-way.
#pragma once

#include <string>

namespace qta1::host {

// In a scratch folder under `folder`; one line per failure in `report`, the
// result is their number. Starts this program again with
// --hang-while-saving for the killed save.
int CheckFileStore(const std::wstring& folder, std::string& report);

// The other half of the killed save: starts saving `file` and never ends.
int HangWhileSaving(const std::wstring& file);

}  // namespace qta1::host
