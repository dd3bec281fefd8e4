// Module-wide state of QTA1.OCX: its instance handle (the resources live
// there) and the count of live objects and locks that DllCanUnloadNow reports.
#pragma once

#include <windows.h>

#include <new>
#include <string>

namespace qta1::win32 {

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

// Runs a COM method's body: no C++ exception ever reaches the caller.
template <class Body>
HRESULT Guarded(Body&& body) noexcept {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

}  // namespace qta1::win32
