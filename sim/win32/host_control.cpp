#include "host_control.h"

#include "platform/win32/com_support.h"
#include "platform/win32/qta1_guids.h"

namespace qta1::host {

using win32::DllCanUnloadNowFn;
using win32::DllGetClassObjectFn;

bool EmbeddedControl::Load(const std::wstring& ocxPath, std::wstring& error) {
    const DWORD attributes = GetFileAttributesW(ocxPath.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        module_ = LoadLibraryW(ocxPath.c_str());
        if (module_ == nullptr) {
            error = L"cannot load " + ocxPath;
            return false;
        }
        auto getClassObject =
            win32::ModuleExport<DllGetClassObjectFn>(module_, "DllGetClassObject");
        IClassFactory* factory = nullptr;
        HRESULT result = getClassObject != nullptr
                             ? getClassObject(win32::kClsidQta1Ctrl, IID_IClassFactory,
                                              reinterpret_cast<void**>(&factory))
                             : E_FAIL;
        if (SUCCEEDED(result)) {
            result = factory->CreateInstance(nullptr, IID_IOleObject,
                                             reinterpret_cast<void**>(&object_));
            factory->Release();
        }
        if (FAILED(result)) {
            error = L"the module made no control: " + win32::HresultText(result);
            return false;
        }
        return true;
    }
    const HRESULT result = CoCreateInstance(win32::kClsidQta1Ctrl, nullptr, CLSCTX_INPROC_SERVER,
                                            IID_IOleObject, reinterpret_cast<void**>(&object_));
    if (FAILED(result)) {
        error = (ocxPath.empty() ? L"" : ocxPath + L" is missing and ") +
                L"no control is registered: " + win32::HresultText(result);
        return false;
    }
    module_ = nullptr;
    return true;
}

std::wstring EmbeddedControl::ModuleFile() const {
    HMODULE module = module_ != nullptr ? module_ : GetModuleHandleW(L"QTA1.OCX");
    if (module == nullptr) return L"(not loaded)";
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return L"(unknown)";
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

bool EmbeddedControl::Embed(IOleClientSite* site, HWND window, const RECT& rect,
                            std::wstring& error) {
    HRESULT result = object_->SetClientSite(site);
    if (SUCCEEDED(result)) result = object_->SetHostNames(L"QTA1 substitute host", nullptr);
    if (SUCCEEDED(result)) {
        result = object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site, 0, window, &rect);
    }
    if (FAILED(result)) {
        error = L"the control did not activate in place: " + win32::HresultText(result);
        return false;
    }
    return true;
}

HRESULT EmbeddedControl::Properties(IOleClientSite* site, HWND window, const RECT& rect) {
    if (object_ == nullptr) return E_UNEXPECTED;
    return object_->DoVerb(OLEIVERB_PROPERTIES, nullptr, site, 0, window, &rect);
}

bool EmbeddedControl::Unload() {
    if (object_ != nullptr) {
        object_->Close(OLECLOSE_NOSAVE);
        object_->SetClientSite(nullptr);
        object_->Release();
        object_ = nullptr;
    }
    if (module_ == nullptr) return true;
    auto canUnload = win32::ModuleExport<DllCanUnloadNowFn>(module_, "DllCanUnloadNow");
    const bool unloadable = canUnload != nullptr && canUnload() == S_OK;
    if (unloadable) FreeLibrary(module_);
    module_ = nullptr;
    return unloadable;
}

}  // namespace qta1::host
