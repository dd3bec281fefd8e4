// QTA1.OCX's entry points: the DLL's start and end, the class factory of the
// one control class, and self-registration. These four are all it exports.
#include <ole2.h>
#include <olectl.h>
#include <windows.h>

#include "platform/win32/com_support.h"
#include "platform/win32/ocx_control.h"
#include "platform/win32/ocx_module.h"
#include "platform/win32/ocx_registration.h"
#include "platform/win32/qta1_guids.h"
#include "platform/win32/win32_handles.h"

namespace qta1::win32 {

namespace {

// The class factory of CQTA1Ctrl. It lives as long as the module; the
// references it hands out keep the module loaded.
class ControlFactory final : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        static const Offered<ControlFactory> kOffered[] = {
            Offer<IClassFactory, ControlFactory>(IID_IUnknown),
            Offer<IClassFactory, ControlFactory>(IID_IClassFactory),
        };
        return QueryOffered(this, kOffered, iid, out);
    }
    ULONG STDMETHODCALLTYPE AddRef() override {
        LockModule();
        return 2;
    }
    ULONG STDMETHODCALLTYPE Release() override {
        UnlockModule();
        return 1;
    }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        if (out == nullptr) return E_POINTER;
        *out = nullptr;
        if (outer != nullptr) return CLASS_E_NOAGGREGATION;
        return CQTA1Ctrl::Create(iid, out);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        if (lock) {
            LockModule();
        } else {
            UnlockModule();
        }
        return S_OK;
    }
};

ControlFactory g_controlFactory;

struct ClassEntry {
    const CLSID* clsid;
    IClassFactory* factory;
};
const ClassEntry kClasses[] = {
    {&kClsidQta1Ctrl, &g_controlFactory},
};

// The type library's attributes, read from the module's own TYPELIB 1.
HRESULT ReadTypeLibAttributes(TLIBATTR* attributes) {
    ComPtr<ITypeLib> library;
    const HRESULT loaded = LoadTypeLibEx(ModulePath().c_str(), REGKIND_NONE, library.Out());
    if (FAILED(loaded)) return loaded;
    TLIBATTR* held = nullptr;
    const HRESULT read = library->GetLibAttr(&held);
    if (SUCCEEDED(read)) {
        *attributes = *held;
        library->ReleaseTLibAttr(held);
    }
    return read;
}

}  // namespace

}  // namespace qta1::win32

using namespace qta1::win32;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    switch (reason) {
        case DLL_PROCESS_ATTACH:
            SetModuleInstance(instance);
            DisableThreadLibraryCalls(instance);
            break;
        case DLL_PROCESS_DETACH:
            // At process exit (reserved != null) windows are already gone.
            if (reserved == nullptr) UnregisterControlWindowClass();
            break;
        default:
            break;
    }
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* out) {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    for (const ClassEntry& entry : kClasses) {
        if (IsEqualCLSID(clsid, *entry.clsid)) return entry.factory->QueryInterface(iid, out);
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

STDAPI DllCanUnloadNow() { return ModuleInUse() ? S_FALSE : S_OK; }

STDAPI DllRegisterServer() {
    const HRESULT typeLibrary = Guarded([] {
        ComPtr<ITypeLib> library;
        std::wstring path = ModulePath();
        const HRESULT loaded = LoadTypeLibEx(path.c_str(), REGKIND_NONE, library.Out());
        if (FAILED(loaded)) return loaded;
        return RegisterTypeLib(library.Get(), path.data(), nullptr);
    });
    if (FAILED(typeLibrary)) return SELFREG_E_TYPELIB;
    if (FAILED(Guarded(RegisterControlClass))) return SELFREG_E_CLASS;
    return S_OK;
}

STDAPI DllUnregisterServer() {
    const HRESULT typeLibrary = Guarded([] {
        TLIBATTR attributes{};
        const HRESULT read = ReadTypeLibAttributes(&attributes);
        if (FAILED(read)) return read;
        return UnRegisterTypeLib(kLibidQta1, kTypeLibMajor, kTypeLibMinor, attributes.lcid,
                                 attributes.syskind);
    });
    if (FAILED(typeLibrary)) return SELFREG_E_TYPELIB;
    if (FAILED(Guarded(UnregisterControlClass))) return SELFREG_E_CLASS;
    return S_OK;
}
