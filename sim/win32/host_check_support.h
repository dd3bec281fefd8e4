// What the host's checks of windows share: where a window is, whether it
// comes from version 6 of the common controls, what assistive technology
// hears of it, and its picture.
#pragma once

// clang-format off
#include <windows.h>
#include <oleacc.h>
// clang-format on

#include <string>

namespace qta1::host {

// Paints the window and its children now.
void Paint(HWND window);
// The accessible name (or description) of the object itself.
std::wstring AccessibleText(IAccessible* object, bool description);
// The accessible name of a window's client object, as assistive technology
// asks for it; empty when it has none.
std::wstring AccessibleNameOf(HWND window);
bool FromCommonControls6(HWND control);

bool Inside(const RECT& inner, const RECT& outer);
// The window's rectangle on the screen.
RECT ScreenRect(HWND window);
std::string RectText(const RECT& rect);

// A 24-bit BMP of `window` as painted (painted first), frame and children
// included.
bool SaveWindowPicture(HWND window, const std::wstring& file);

}  // namespace qta1::host
