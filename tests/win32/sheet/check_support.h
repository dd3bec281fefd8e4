// What the sheet's checks share: what assistive technology hears of a window,
// whether it comes from version 6 of the common controls, rectangles and
// their text, and a timing's text.
#pragma once

// clang-format off
#include <windows.h>
#include <oleacc.h>
// clang-format on

#include <string>

#include "host_support.h"

namespace qta1::host {

// The accessible name (or description) of the object itself.
std::wstring AccessibleText(IAccessible* object, bool description);
// The accessible name of a window's client object, as assistive technology
// asks for it; empty when it has none.
std::wstring AccessibleNameOf(HWND window);
bool FromCommonControls6(HWND control);

bool Inside(const RECT& inner, const RECT& outer);
std::string RectText(const RECT& rect);

// Milliseconds with one decimal, as the timings are reported.
std::string Fixed(double value);

}  // namespace qta1::host
