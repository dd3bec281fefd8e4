#include "editor_control.h"

#include "platform/win32/com_support.h"
#include "platform/win32/qta1_guids.h"
#include "platform/win32/win32_handles.h"

namespace qta1::editor {

namespace {

using win32::DllCanUnloadNowFn;
using win32::DllGetClassObjectFn;

// The module loaded by path, given back when it says nothing of it is in use.
class LoadedModule {
public:
    explicit LoadedModule(const std::wstring& path) : module_(LoadLibraryW(path.c_str())) {}
    ~LoadedModule() {
        if (module_ == nullptr) return;
        auto canUnload = win32::ModuleExport<DllCanUnloadNowFn>(module_, "DllCanUnloadNow");
        if (canUnload != nullptr && canUnload() == S_OK) FreeLibrary(module_);
    }
    LoadedModule(const LoadedModule&) = delete;
    LoadedModule& operator=(const LoadedModule&) = delete;

    HMODULE Get() const { return module_; }

private:
    HMODULE module_;
};

HRESULT CreateFromModule(HMODULE module, win32::ComPtr<IOleObject>& control) {
    auto getClassObject = win32::ModuleExport<DllGetClassObjectFn>(module, "DllGetClassObject");
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
            error = L"The QTA1 control is not installed on this PC (" + win32::HresultText(result) +
                    L").";
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
            error = L"The module " + modulePath + L" made no QTA1 control (" +
                    win32::HresultText(result) + L").";
            return false;
        }
        result = OpenSheet(control.Get(), site);
    }
    if (FAILED(result)) {
        error = L"The QTA1 sheet could not be opened (" + win32::HresultText(result) + L").";
        return false;
    }
    return true;
}

}  // namespace qta1::editor
