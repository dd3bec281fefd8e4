// Edit boxes with their line in the middle. A single-line edit box draws its
// text at the top of its client area, and the pages' boxes are taller than a
// line, so the text would sit high. Each box keeps a band above and below its
// client area (part of its frame, painted in the box's own background) that
// puts the line in the middle, for any font and DPI.
// windows.h first: the other system headers build on it.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_platform.h"

namespace qta1 {

namespace {

constexpr UINT_PTR kCenteredEditSubclassId = 0x51A4;

int LineHeight(HWND edit) {
    const win32::WindowDc dc(edit);
    if (!dc) return 0;
    const win32::Selection font(dc.Get(),
                                reinterpret_cast<HFONT>(SendMessageW(edit, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc.Get(), &metrics);
    return metrics.tmHeight;
}

// The box draws its line one pixel below the top of its client area and
// wants a pixel below it; the band above takes what is left over, half of it.
void CenterClientArea(HWND edit, RECT& client) {
    const int line = LineHeight(edit) + 2;
    const int spare = (client.bottom - client.top) - line;
    if (line <= 2 || spare < 2) return;
    client.top += spare / 2;
    client.bottom = client.top + line;
}

// The bands in the box's background: what the page answers for an editable
// box, or for a read-only or disabled one.
void PaintBands(HWND edit) {
    RECT window{};
    GetWindowRect(edit, &window);
    RECT client{};
    GetClientRect(edit, &client);
    MapWindowPoints(edit, nullptr, reinterpret_cast<POINT*>(&client), 2);
    OffsetRect(&client, -window.left, -window.top);
    OffsetRect(&window, -window.left, -window.top);
    InflateRect(&window, -GetSystemMetrics(SM_CXEDGE), -GetSystemMetrics(SM_CYEDGE));
    const RECT above{window.left, window.top, window.right, client.top};
    const RECT below{window.left, client.bottom, window.right, window.bottom};
    const win32::WindowDc dc(edit, true);
    if (!dc) return;
    const LONG style = GetWindowLongW(edit, GWL_STYLE);
    const bool plain = (style & (ES_READONLY | WS_DISABLED)) != 0;
    auto brush = reinterpret_cast<HBRUSH>(
        SendMessageW(GetParent(edit), plain ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT,
                     reinterpret_cast<WPARAM>(dc.Get()), reinterpret_cast<LPARAM>(edit)));
    if (brush == nullptr) brush = GetSysColorBrush(plain ? COLOR_BTNFACE : COLOR_WINDOW);
    if (above.bottom > above.top) FillRect(dc.Get(), &above, brush);
    if (below.bottom > below.top) FillRect(dc.Get(), &below, brush);
}

LRESULT CALLBACK CenteredEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam,
                                  UINT_PTR id, DWORD_PTR) noexcept {
    switch (message) {
        case WM_NCCALCSIZE: {
            const LRESULT result = DefSubclassProc(edit, message, wParam, lParam);
            RECT& client = wParam != FALSE ? reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0]
                                           : *reinterpret_cast<RECT*>(lParam);
            CenterClientArea(edit, client);
            return result;
        }
        case WM_NCPAINT: {
            const LRESULT result = DefSubclassProc(edit, message, wParam, lParam);
            PaintBands(edit);
            return result;
        }
        case WM_NCHITTEST: {
            // The bands belong to the box: a click there places the caret.
            const LRESULT hit = DefSubclassProc(edit, message, wParam, lParam);
            return hit == HTNOWHERE || hit == HTBORDER ? HTCLIENT : hit;
        }
        case WM_SETFONT: {
            const LRESULT result = DefSubclassProc(edit, message, wParam, lParam);
            SetWindowPos(
                edit, nullptr, 0, 0, 0, 0,
                SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            return result;
        }
        case WM_ENABLE:
        case EM_SETREADONLY: {
            const LRESULT result = DefSubclassProc(edit, message, wParam, lParam);
            RedrawWindow(edit, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
            return result;
        }
        case WM_NCDESTROY:
            RemoveWindowSubclass(edit, CenteredEditProc, id);
            break;
        default:
            break;
    }
    return DefSubclassProc(edit, message, wParam, lParam);
}

}  // namespace

void CenterLineVertically(HWND edit) {
    if (!SetWindowSubclass(edit, CenteredEditProc, kCenteredEditSubclassId, 0)) return;
    SetWindowPos(edit, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace qta1
