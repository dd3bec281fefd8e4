// The registry entries of the control class: the Node block by which the
// host learns which node program the plug-in serves, and the usual ActiveX
// control entries under CLSID and the ProgID.
#pragma once

#include <windows.h>

namespace qta1::win32 {

inline constexpr wchar_t kProgId[] = L"QTA1.QTA1Ctrl.1";
// The toolbox bitmap: bitmap resource 1.
inline constexpr int kToolboxBitmapId = 1;

// Writes the Node block (its failure is ignored) and then the control-class
// entries; the result is that of the control-class entries.
HRESULT RegisterControlClass();
// Removes the Node block, then the control-class entries and the ProgID;
// the result is that of the control-class removal. Entries that are already
// gone count as removed.
HRESULT UnregisterControlClass();

}  // namespace qta1::win32
