// What the plug-in's own windows (the review window, the trend window) share
// to lay themselves out in dialog units of their font and to make their
// controls.
#pragma once

#include <windows.h>

namespace qta1::win32 {

// Dialog units of a dialog's font, in pixels.
inline int DialogUnitsX(HWND dialog, int dlu) {
    RECT rect{0, 0, dlu, 0};
    MapDialogRect(dialog, &rect);
    return rect.right;
}
inline int DialogUnitsY(HWND dialog, int dlu) {
    RECT rect{0, 0, 0, dlu};
    MapDialogRect(dialog, &rect);
    return rect.bottom;
}

// The window size that gives a client area of the size asked, with the
// window's frame and caption as they are.
inline SIZE WindowSizeForClient(HWND window, int clientWidth, int clientHeight) {
    RECT rect{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&rect, static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE)));
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

// A visible child control in the window's font, placed later; null when it
// could not be made.
inline HWND MakeChildControl(HWND parent, HFONT font, const wchar_t* windowClass,
                             const wchar_t* text, DWORD style, DWORD exStyle, int id) {
    HWND child = CreateWindowExW(
        exStyle, windowClass, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
        reinterpret_cast<HMENU>(INT_PTR{id}),
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)), nullptr);
    if (child != nullptr) SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
    return child;
}

}  // namespace qta1::win32
