#include "editor_control.h"

#include "platform/win32/qta1_guids.h"
#include "platform/win32/win32_handles.h"

namespace qta1::editor {

namespace {

using DllGetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
using DllCanUnloadNowFn = HRESULT(STDAPICALLTYPE*)();

template <typename Fn>
Fn Export(HMODULE module, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

std::wstring Hex(HRESULT result) {
    wchar_t text[16];
    wsprintfW(text, L"0x%08lX", static_cast<unsigned long>(result));
    return text;
}

// The module loaded by path, given back when it says nothing of it is in use.
class LoadedModule {
public:
    explicit LoadedModule(const std::wstring& path) : module_(LoadLibraryW(path.c_str())) {}
    ~LoadedModule() {
        if (module_ == nullptr) return;
        auto canUnload = Export<DllCanUnloadNowFn>(module_, "DllCanUnloadNow");
        if (canUnload != nullptr && canUnload() == S_OK) FreeLibrary(module_);
    }
    LoadedModule(const LoadedModule&) = delete;
    LoadedModule& operator=(const LoadedModule&) = delete;

    HMODULE Get() const { return module_; }

private:
    HMODULE module_;
};

HRESULT CreateFromModule(HMODULE module, win32::ComPtr<IOleObject>& control) {
    auto getClassObject = Export<DllGetClassObjectFn>(module, "DllGetClassObject");
    if (getClassObject == nullptr) return E_NOINTERFACE;
    win32::ComPtr<IClassFactory> factory;
    HRESULT result = getClassObject(win32::kClsidQta1Ctrl, IID_IClassFactory, factory.OutVoid());
    if (SUCCEEDED(result))
        result = factory->CreateInstance(nullptr, IID_IOleObject, control.OutVoid());
    return result;
}

// The sheet is modal and owned by no window of the editor's: the editor has
// none while it is up.
HRESULT OpenSheet(IOleObject* control, IOleClientSite* site) {
    HRESULT result = control->SetClientSite(site);
    if (SUCCEEDED(result)) result = control->SetHostNames(L"QTA1 settings editor", nullptr);
    if (SUCCEEDED(result)) {
        result = control->DoVerb(OLEIVERB_PROPERTIES, nullptr, site, 0, nullptr, nullptr);
    }
    control->Close(OLECLOSE_NOSAVE);
    control->SetClientSite(nullptr);
    return result;
}

}  // namespace

bool RunPropertiesVerb(IOleClientSite* site, const std::wstring& modulePath, std::wstring& error) {
    HRESULT result = S_OK;
    if (modulePath.empty()) {
        win32::ComPtr<IOleObject> control;
        result = CoCreateInstance(win32::kClsidQta1Ctrl, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IOleObject, control.OutVoid());
        if (FAILED(result)) {
            error = L"The QTA1 control is not installed on this PC (" + Hex(result) + L").";
            return false;
        }
        result = OpenSheet(control.Get(), site);
    } else {
        const LoadedModule module(modulePath);
        if (module.Get() == nullptr) {
            error = L"The module " + modulePath + L" could not be loaded.";
            return false;
        }
        // Released before the module is given back.
        win32::ComPtr<IOleObject> control;
        result = CreateFromModule(module.Get(), control);
        if (FAILED(result)) {
            error = L"The module " + modulePath + L" made no QTA1 control (" + Hex(result) + L").";
            return false;
        }
        result = OpenSheet(control.Get(), site);
    }
    if (FAILED(result)) {
        error = L"The QTA1 sheet could not be opened (" + Hex(result) + L").";
        return false;
    }
    return true;
}

}  // namespace qta1::editor
