// What the plug-in keeps for the technician on the PC, on the real registry
// and file system (no sheet).
#pragma once

#include <string>

namespace qta1::host {

// The technician's choices written and read back under
// HKCU\Software\QTA1\Plugin, byte for byte, with nothing else in the registry
// changed and everything put back afterwards; folders made with their
// parents, the plain files of a folder listed and removed, also deeper than
// MAX_PATH, in a scratch folder under `folder`. One line per failure; the
// result is their number.
int CheckTechniciansPlace(const std::wstring& folder, std::string& report);

}  // namespace qta1::host
