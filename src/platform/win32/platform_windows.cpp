// What the sheet and the substitute host ask of any window.
// windows.h first: the other system headers build on it.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <algorithm>
#include <iterator>

#include "platform/win32/win32_platform.h"

namespace qta1 {

std::wstring WindowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    if (length <= 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<size_t>(std::max(copied, 0)));
    return text;
}

std::optional<std::wstring> TabText(HWND tabs, int index) {
    wchar_t text[256] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = static_cast<int>(std::size(text));
    if (!TabCtrl_GetItem(tabs, index, &item)) return std::nullopt;
    return std::wstring(text);
}

HWND CreatedDialog(int code, WPARAM wParam, LPARAM lParam) {
    if (code != HCBT_CREATEWND) return nullptr;
    const CREATESTRUCTW& create = *reinterpret_cast<const CBT_CREATEWNDW*>(lParam)->lpcs;
    if ((create.style & WS_CHILD) != 0) return nullptr;
    // The dialog class, by atom or by name.
    const bool dialog =
        IS_INTRESOURCE(create.lpszClass)
            ? static_cast<ATOM>(reinterpret_cast<UINT_PTR>(create.lpszClass)) == 0x8002
            : create.lpszClass != nullptr && lstrcmpiW(create.lpszClass, L"#32770") == 0;
    return dialog ? reinterpret_cast<HWND>(wParam) : nullptr;
}

}  // namespace qta1
