// clang-format off
#include <windows.h>
#include <oleacc.h>
// clang-format on

#include "check_support.h"

#include <cstdio>
#include <cwctype>

#include "platform/win32/win32_handles.h"

namespace qta1::host {

std::wstring AccessibleText(IAccessible* object, bool description) {
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR text = nullptr;
    const HRESULT result =
        description ? object->get_accDescription(self, &text) : object->get_accName(self, &text);
    std::wstring value = SUCCEEDED(result) && text != nullptr ? std::wstring(text) : std::wstring();
    SysFreeString(text);
    return value;
}

// A window of version 6 of the common controls: its window procedure lives in
// the side-by-side comctl32 6 assembly, not in user32 or the system folder's
// comctl32 (which serve the classic controls).
bool FromCommonControls6(HWND control) {
    const auto procedure = GetWindowLongPtrW(control, GWLP_WNDPROC);
    HMODULE module = nullptr;
    if (!GetModuleHandleExW(
            GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
            reinterpret_cast<LPCWSTR>(procedure), &module)) {
        return false;
    }
    wchar_t name[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(module, name, MAX_PATH);
    std::wstring file(name, length);
    for (wchar_t& c : file) c = static_cast<wchar_t>(towlower(c));
    return file.find(L"microsoft.windows.common-controls") != std::wstring::npos &&
           file.find(L"_6.") != std::wstring::npos && file.ends_with(L"\\comctl32.dll");
}

bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

std::string RectText(const RECT& rect) {
    char text[64];
    std::snprintf(text, sizeof text, "%ld %ld %ld %ld", rect.left, rect.top, rect.right,
                  rect.bottom);
    return text;
}

std::string Fixed(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

std::wstring AccessibleNameOf(HWND window) {
    win32::ComPtr<IAccessible> object;
    if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT),
                                          __uuidof(IAccessible), object.OutVoid())) ||
        !object) {
        return {};
    }
    return AccessibleText(object.Get(), false);
}

}  // namespace qta1::host
