// The registry entries of the control class: the Node block by which the
// host learns which node program the plug-in serves, and the usual ActiveX
// control entries under CLSID and the ProgID, written from the table of
// registry_entries.h that the installer packages are written from too.
#pragma once

#include <windows.h>

namespace qta1::win32 {

// Writes the Node block (its failure is ignored) and then the control-class
// entries; the result is that of the control-class entries.
HRESULT RegisterControlClass();
// Removes the Node block, then the control-class entries and the ProgID;
// the result is that of the control-class removal. Entries that are already
// gone count as removed.
HRESULT UnregisterControlClass();

}  // namespace qta1::win32
