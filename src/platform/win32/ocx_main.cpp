// QTA1.OCX's entry points: the DLL's start and end, the class factory of the
// one control class, and self-registration. These four are all it exports.
#include <ole2.h>
#include <olectl.h>
#include <windows.h>

#include <atomic>

#include "platform/win32/ocx_control.h"
#include "platform/win32/ocx_module.h"
#include "platform/win32/ocx_registration.h"
#include "platform/win32/qta1_guids.h"

namespace qta1::win32 {

namespace {

HINSTANCE g_module = nullptr;
std::atomic<long> g_objects{0};
std::atomic<long> g_locks{0};

// The class factory of CQTA1Ctrl. It lives as long as the module; the
// references it hands out keep the module loaded.
class ControlFactory final : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (out == nullptr) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
            *out = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
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
    ITypeLib* library = nullptr;
    const HRESULT loaded = LoadTypeLibEx(ModulePath().c_str(), REGKIND_NONE, &library);
    if (FAILED(loaded)) return loaded;
    TLIBATTR* held = nullptr;
    const HRESULT read = library->GetLibAttr(&held);
    if (SUCCEEDED(read)) {
        *attributes = *held;
        library->ReleaseTLibAttr(held);
    }
    library->Release();
    return read;
}

}  // namespace

HINSTANCE ModuleInstance() { return g_module; }

std::wstring ModulePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(g_module, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

void ObjectCreated() { ++g_objects; }
void ObjectDestroyed() { --g_objects; }
void LockModule() { ++g_locks; }
void UnlockModule() { --g_locks; }
bool ModuleInUse() { return g_objects.load() != 0 || g_locks.load() != 0; }

std::wstring LoadModuleString(UINT id) {
    const wchar_t* text = nullptr;
    // With a zero length, LoadString hands out a read-only pointer to the
    // resource itself.
    const int length = LoadStringW(g_module, id, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || text == nullptr) return {};
    return std::wstring(text, static_cast<size_t>(length));
}

}  // namespace qta1::win32

using namespace qta1::win32;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    switch (reason) {
        case DLL_PROCESS_ATTACH:
            g_module = instance;
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
        ITypeLib* library = nullptr;
        std::wstring path = ModulePath();
        const HRESULT loaded = LoadTypeLibEx(path.c_str(), REGKIND_NONE, &library);
        if (FAILED(loaded)) return loaded;
        const HRESULT registered = RegisterTypeLib(library, path.data(), nullptr);
        library->Release();
        return registered;
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
