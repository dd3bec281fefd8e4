// Module-wide state of QTA1.OCX (ocx_module.cpp): its instance handle (the
// resources live there) and the count of live objects and locks that
// DllCanUnloadNow reports. The entry points and the control both use it; it
// uses neither.
#pragma once

#include <windows.h>

#include <string>

namespace qta1::win32 {

// Told by DllMain when the system loads the module.
void SetModuleInstance(HINSTANCE instance);
HINSTANCE ModuleInstance();
// Full path of QTA1.OCX as the system loaded it.
std::wstring ModulePath();

// Every COM object the module hands out (controls, enumerators) counts
// itself while it lives; class factory references and LockServer count as
// locks. The module can be unloaded when both are zero.
void ObjectCreated();
void ObjectDestroyed();
void LockModule();
void UnlockModule();
bool ModuleInUse();

// A string resource of the module, or empty text.
std::wstring LoadModuleString(UINT id);

}  // namespace qta1::win32
