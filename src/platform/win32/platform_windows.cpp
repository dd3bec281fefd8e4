// What the sheet and the substitute host ask of any window.
#include <algorithm>

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

}  // namespace qta1
