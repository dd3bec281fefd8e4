// The window a technician reviews a list in: the differences between a
// settings file and the node, or the changes a download is about to make.
// A modal dialog owned by the sheet (which is disabled while it is up), with
// the heading above a report-style list and the buttons below; it can be
// made larger and smaller down to a size where all of it still fits, and it
// opens fitted to its list every time (nothing about it is remembered).
// Rows can be selected and copied with Ctrl+C as tab-separated text, to be
// pasted into a mail or a spreadsheet.
// windows.h first: the other system headers build on it.
// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <uxtheme.h>
// clang-format on

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/script_hooks.h"
#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/window_metrics.h"
#include "resources/strings.h"

namespace qta1 {

namespace {

// Sizes in dialog units of the window's font, so they follow the DPI.
constexpr int kMarginDlu = 7;        // around the contents, and above the buttons
constexpr int kGapDlu = 4;           // between buttons, and below the heading
constexpr int kButtonWidthDlu = 50;  // at least; longer captions get more
constexpr int kButtonHeightDlu = 14;
constexpr int kButtonPaddingDlu = 8;  // either side of a caption
constexpr int kMinWidthDlu = 220;
// A cell's text keeps this much room either side, in pixels at 96 DPI.
constexpr int kCellMarginPixels = 6;
// The template's size, before the window fits itself to its list.
constexpr int16_t kTemplateWidthDlu = 320;
constexpr int16_t kTemplateHeightDlu = 200;
// The list shows this many rows at first, or fewer when it has fewer.
constexpr int kRowsShownAtFirst = 16;
constexpr int kRowsShownAtLeast = 4;
// However small the window is made, the list shows this many rows.
constexpr int kRowsAlwaysShown = 3;
// At first the window takes at most this share of the screen, and grows for
// its heading to this share at most.
constexpr int kScreenPercent = 90;
constexpr int kHeadingScreenPercent = 60;
constexpr UINT_PTR kHeadingSubclassId = 0x51A3;

struct ButtonSpec {
    int id;
    const char* caption;
};

// The buttons from left to right and the one Enter presses. Esc and the
// close box always answer No.
struct ButtonSet {
    ButtonSpec buttons[2];
    int defaultId;
};

ButtonSet ButtonsOf(ReviewButtons buttons) {
    if (buttons == ReviewButtons::YesNo) {
        // No is the default: a technician who only presses Enter writes nothing.
        return {{{IDYES, text::kYesButton}, {IDNO, text::kNoButton}}, IDNO};
    }
    return {{{IDYES, text::kSaveReportButton}, {IDCANCEL, text::kCloseButton}}, IDCANCEL};
}

// The heading's line breaks as an edit box shows them.
std::wstring EditLines(const std::wstring& text) {
    std::wstring lines;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\n' && (i == 0 || text[i - 1] != L'\r')) lines += L'\r';
        lines += text[i];
    }
    return lines;
}

// A cell's text as one line of a copy: tabs and line breaks would split it.
std::wstring OneLine(std::wstring text) {
    std::replace_if(
        text.begin(), text.end(), [](wchar_t c) { return c == L'\t' || c == L'\r' || c == L'\n'; },
        L' ');
    return text;
}

class ReviewWindow {
public:
    ReviewWindow(const ReviewList& list, ReviewButtons buttons, const ScriptHooks& hooks)
        : buttons_(buttons), set_(ButtonsOf(buttons)), hooks_(hooks),
          heading_(WidenText(list.heading)), headingBytes_(list.heading),
          // Only the frame: the heading, the list and the buttons are made
          // with the window, and placed by the window itself.
          template_(FrameTemplate(
              DS_SHELLFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME,
              kTemplateWidthDlu, kTemplateHeightDlu,
              WidenText(list.title.empty() ? text::kDefaultTitle : list.title))) {
        for (const std::string& column : list.columns) columns_.push_back(WidenText(column));
        rows_.reserve(list.rows.size());
        for (const std::vector<std::string>& row : list.rows) {
            std::vector<std::wstring>& cells = rows_.emplace_back();
            // Each row has a cell per column: missing ones are empty, extra
            // ones have no column to show them.
            for (size_t c = 0; c < columns_.size(); ++c) {
                cells.push_back(c < row.size() ? WidenText(row[c]) : std::wstring());
            }
        }
        for (const ButtonSpec& button : set_.buttons)
            captions_.push_back(WidenText(button.caption));
        fitted_.resize(columns_.size());
    }

    MsgAnswer Run(HWND owner) {
        HINSTANCE instance = nullptr;
        GetModuleHandleExW(
            GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
            reinterpret_cast<LPCWSTR>(&ReviewWindow::Proc), &instance);
        const INT_PTR result =
            DialogBoxIndirectParamW(instance, reinterpret_cast<LPCDLGTEMPLATEW>(template_.data()),
                                    owner, &ReviewWindow::Proc, reinterpret_cast<LPARAM>(this));
        const MsgAnswer answer = result == IDYES ? MsgAnswer::Yes : MsgAnswer::No;
        std::optional<MsgAnswer> pressed;
        if (result > 0) pressed = answer;
        return hooks_.ReviewAnswered(buttons_, pressed).value_or(answer);
    }

private:
    static INT_PTR CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
        if (message == WM_INITDIALOG) {
            auto* self = reinterpret_cast<ReviewWindow*>(lParam);
            SetWindowLongPtrW(window, DWLP_USER, lParam);
            self->window_ = window;
            try {
                self->Initialise();
            } catch (...) {
                // Without its controls the window cannot ask anything.
                EndDialog(window, IDNO);
            }
            return FALSE;  // the focus is placed
        }
        auto* self = reinterpret_cast<ReviewWindow*>(GetWindowLongPtrW(window, DWLP_USER));
        if (self == nullptr) return FALSE;
        switch (message) {
            case WM_SIZE:
                self->Layout();
                return TRUE;
            case WM_GETMINMAXINFO:
                if (self->minSize_.cx > 0) {
                    reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize =
                        POINT{self->minSize_.cx, self->minSize_.cy};
                }
                return TRUE;
            case WM_COMMAND:
                switch (LOWORD(wParam)) {
                    case IDYES:
                        EndDialog(window, IDYES);
                        return TRUE;
                    case IDNO:
                    case IDCANCEL:  // "Close", Esc and the close box
                        EndDialog(window, IDNO);
                        return TRUE;
                    default:
                        return FALSE;
                }
            case WM_NOTIFY: {
                const auto* header = reinterpret_cast<const NMHDR*>(lParam);
                if (header->hwndFrom == self->list_ && header->code == LVN_KEYDOWN) {
                    self->OnListKey(reinterpret_cast<const NMLVKEYDOWN*>(lParam)->wVKey);
                }
                return FALSE;
            }
            default:
                return FALSE;
        }
    }

    // A box of several lines asks for every key, Tab included: clicked
    // into, the heading would keep the keyboard. It leaves Tab, Enter and
    // Esc to the window, as a label does.
    static LRESULT CALLBACK HeadingProc(HWND heading, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR id, DWORD_PTR) noexcept {
        if (message == WM_GETDLGCODE) {
            return DefSubclassProc(heading, message, wParam, lParam) &
                   ~static_cast<LRESULT>(DLGC_WANTALLKEYS | DLGC_WANTTAB | DLGC_WANTMESSAGE);
        }
        if (message == WM_NCDESTROY) RemoveWindowSubclass(heading, &ReviewWindow::HeadingProc, id);
        return DefSubclassProc(heading, message, wParam, lParam);
    }

    int DluX(int dlu) const { return win32::DialogUnitsX(window_, dlu); }
    int DluY(int dlu) const { return win32::DialogUnitsY(window_, dlu); }

    HWND MakeChild(const wchar_t* windowClass, const wchar_t* text, DWORD style, DWORD exStyle,
                   int id) {
        return win32::MakeChildControl(window_, font_, windowClass, text, style, exStyle, id);
    }

    void Initialise() {
        font_ = reinterpret_cast<HFONT>(SendMessageW(window_, WM_GETFONT, 0, 0));
        // In tab order: the list first, so that the arrow keys and Ctrl+C
        // work at once; the heading is its label. The heading reads like a
        // label but is a read-only box without a frame: one too long for the
        // screen scrolls instead of being cut off, and a path in it can be
        // selected and copied.
        headingWindow_ =
            MakeChild(WC_EDITW, EditLines(heading_).c_str(), ES_MULTILINE | ES_READONLY | ES_LEFT,
                      0, win32::kReviewHeadingId);
        if (headingWindow_ != nullptr) {
            // Wrapped exactly where HeadingHeight measures it.
            SendMessageW(headingWindow_, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
            SetWindowSubclass(headingWindow_, &ReviewWindow::HeadingProc, kHeadingSubclassId, 0);
        }
        list_ = MakeChild(WC_LISTVIEWW, L"", WS_TABSTOP | WS_GROUP | LVS_REPORT | LVS_SHOWSELALWAYS,
                          WS_EX_CLIENTEDGE, win32::kReviewListId);
        for (size_t i = 0; i < std::size(set_.buttons); ++i) {
            const int id = set_.buttons[i].id;
            buttonWindows_[i] =
                MakeChild(WC_BUTTONW, captions_[i].c_str(),
                          WS_TABSTOP | (i == 0 ? WS_GROUP : 0) |
                              (id == set_.defaultId ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON),
                          0, id);
        }
        if (list_ == nullptr || headingWindow_ == nullptr || buttonWindows_[0] == nullptr ||
            buttonWindows_[1] == nullptr) {
            EndDialog(window_, IDNO);
            return;
        }
        SendMessageW(window_, DM_SETDEFID, static_cast<WPARAM>(set_.defaultId), 0);
        SetWindowTheme(list_, L"Explorer", nullptr);
        ListView_SetExtendedListViewStyle(
            list_, LVS_EX_FULLROWSELECT | LVS_EX_LABELTIP | LVS_EX_DOUBLEBUFFER);
        NameForAccessibility(list_, headingBytes_, {});
        Fill();
        Size();
        SetFocus(list_);
        if (!rows_.empty()) ListView_SetItemState(list_, 0, LVIS_FOCUSED, LVIS_FOCUSED);
        hooks_.ReviewAsked(window_, buttons_);
    }

    // The columns and rows, and each column as wide as its head and its
    // widest text need.
    void Fill() {
        for (size_t c = 0; c < columns_.size(); ++c) {
            LVCOLUMNW column{};
            column.mask = LVCF_TEXT | LVCF_SUBITEM | LVCF_FMT;
            column.fmt = LVCFMT_LEFT;
            column.pszText = columns_[c].data();
            column.iSubItem = static_cast<int>(c);
            ListView_InsertColumn(list_, static_cast<int>(c), &column);
        }
        for (size_t r = 0; r < rows_.size(); ++r) {
            for (size_t c = 0; c < columns_.size(); ++c) {
                LVITEMW item{};
                item.mask = LVIF_TEXT;
                item.iItem = static_cast<int>(r);
                item.iSubItem = static_cast<int>(c);
                item.pszText = rows_[r][c].data();
                if (c == 0) {
                    ListView_InsertItem(list_, &item);
                } else {
                    SendMessageW(list_, LVM_SETITEMTEXTW, r, reinterpret_cast<LPARAM>(&item));
                }
            }
        }
        // The list's own measure, head and texts included (with a spare
        // column after the last, which it would otherwise stretch to the
        // list's width), and at least the widest text with a margin either
        // side, which some versions of the list leave too narrow for a head.
        const int spare = static_cast<int>(columns_.size());
        LVCOLUMNW extra{};
        extra.mask = LVCF_WIDTH;
        ListView_InsertColumn(list_, spare, &extra);
        int dpi = 96;
        if (win32::WindowDc dc(list_); dc) dpi = GetDeviceCaps(dc.Get(), LOGPIXELSX);
        const int margins = 2 * MulDiv(kCellMarginPixels, dpi, 96);
        for (int c = 0; c < spare; ++c) {
            ListView_SetColumnWidth(list_, c, LVSCW_AUTOSIZE_USEHEADER);
            const size_t column = static_cast<size_t>(c);
            int widest = TextWidth(columns_[column]);
            for (const auto& row : rows_) widest = std::max(widest, TextWidth(row[column]));
            fitted_[column] = std::max(ListView_GetColumnWidth(list_, c), widest + margins);
            ListView_SetColumnWidth(list_, c, fitted_[column]);
        }
        ListView_DeleteColumn(list_, spare);
    }

    int TextWidth(const std::wstring& text) const {
        return static_cast<int>(
            SendMessageW(list_, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(text.c_str())));
    }

    // The heading's height when it wraps within `width` pixels (a word
    // longer than the line, such as a long path, is broken as an edit box
    // breaks it).
    int HeadingHeight(int width) const {
        if (heading_.empty()) return 0;
        win32::WindowDc dc(headingWindow_);
        win32::Selection font(dc.Get(), font_);
        RECT rect{0, 0, std::max(width, 1), 0};
        DrawTextW(dc.Get(), heading_.c_str(), static_cast<int>(heading_.size()), &rect,
                  DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_EXPANDTABS | DT_NOPREFIX);
        return rect.bottom;
    }

    // The heading's width with no line wrapped (its longest line).
    int HeadingWidth() const {
        if (heading_.empty()) return 0;
        win32::WindowDc dc(headingWindow_);
        win32::Selection font(dc.Get(), font_);
        RECT rect{0, 0, 0, 0};
        DrawTextW(dc.Get(), heading_.c_str(), static_cast<int>(heading_.size()), &rect,
                  DT_CALCRECT | DT_EXPANDTABS | DT_NOPREFIX);
        return rect.right;
    }

    int ButtonWidth(size_t i) const {
        SIZE ideal{};
        int width = DluX(kButtonWidthDlu);
        if (Button_GetIdealSize(buttonWindows_[i], &ideal)) {
            width = std::max<int>(width, ideal.cx + 2 * DluX(kButtonPaddingDlu));
        }
        return width;
    }

    int ButtonsWidth() const {
        int width = DluX(kGapDlu) * static_cast<int>(std::size(set_.buttons) - 1);
        for (size_t i = 0; i < std::size(set_.buttons); ++i) width += ButtonWidth(i);
        return width;
    }

    // The client area's height that shows a heading wrapped within
    // `clientWidth` and a list `listHeight` high.
    int ClientHeight(int clientWidth, int listHeight) const {
        const int heading = HeadingHeight(clientWidth - 2 * DluX(kMarginDlu));
        return DluY(kMarginDlu) + heading + (heading > 0 ? DluY(kGapDlu) : 0) + listHeight +
               DluY(kMarginDlu) + DluY(kButtonHeightDlu) + DluY(kMarginDlu);
    }

    SIZE WindowSizeOf(int clientWidth, int clientHeight) const {
        return win32::WindowSizeForClient(window_, clientWidth, clientHeight);
    }

    // The smallest size at which everything fits (the heading wrapped into
    // more lines), and the size the window opens at: the whole width of the
    // columns and a screenful of rows at most, centred on its owner.
    void Size() {
        const int margins = 2 * DluX(kMarginDlu);
        // The list's header and rows measured at a provisional size.
        SetWindowPos(list_, nullptr, 0, 0, DluX(kTemplateWidthDlu), DluY(kTemplateHeightDlu),
                     SWP_NOZORDER | SWP_NOACTIVATE);
        RECT header{};
        GetWindowRect(ListView_GetHeader(list_), &header);
        int rowHeight = 0;
        RECT row{};
        if (!rows_.empty() && ListView_GetItemRect(list_, 0, &row, LVIR_BOUNDS)) {
            rowHeight = row.bottom - row.top;
        } else {
            TEXTMETRICW metrics{};
            win32::WindowDc dc(list_);
            win32::Selection font(dc.Get(), font_);
            GetTextMetricsW(dc.Get(), &metrics);
            rowHeight = metrics.tmHeight + 4;
        }
        const int shown =
            std::clamp(static_cast<int>(rows_.size()), kRowsShownAtLeast, kRowsShownAtFirst);
        const int edges = 2 * GetSystemMetrics(SM_CXEDGE);
        int columnsWidth = 0;
        for (int width : fitted_) columnsWidth += width;
        const bool scrolls = static_cast<int>(rows_.size()) > shown;
        int listWidth = columnsWidth + edges + (scrolls ? GetSystemMetrics(SM_CXVSCROLL) : 0);
        int listHeight = (header.bottom - header.top) + shown * rowHeight + edges;
        // At the smallest the column heads and a few rows stay in sight, and
        // the columns may need a scroll bar below them.
        const int minClientWidth = std::max(DluX(kMinWidthDlu), ButtonsWidth() + margins);
        minListHeight_ = (header.bottom - header.top) + kRowsAlwaysShown * rowHeight + edges +
                         GetSystemMetrics(SM_CYHSCROLL);

        RECT work{};
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        HWND owner = GetWindow(window_, GW_OWNER);
        if (GetMonitorInfoW(
                MonitorFromWindow(owner != nullptr ? owner : window_, MONITOR_DEFAULTTONEAREST),
                &monitor)) {
            work = monitor.rcWork;
        } else {
            SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        }
        // Never larger than the screen, however long the heading: it then
        // scrolls (Layout).
        minSize_ = WindowSizeOf(minClientWidth, ClientHeight(minClientWidth, minListHeight_));
        minSize_.cx = std::min<LONG>(minSize_.cx, work.right - work.left);
        minSize_.cy = std::min<LONG>(minSize_.cy, work.bottom - work.top);
        const int maxWidth = (work.right - work.left) * kScreenPercent / 100;
        const int maxHeight = (work.bottom - work.top) * kScreenPercent / 100;
        const int frameWidth = WindowSizeOf(0, 0).cx;
        const int maxClientWidth = std::max(maxWidth - frameWidth, minClientWidth);
        // As wide as the columns, and as the heading on one line as long as
        // that takes no more than kHeadingScreenPercent of the screen; a
        // longer heading wraps.
        const int headingWidth =
            std::min<int>(HeadingWidth() + margins,
                          (work.right - work.left) * kHeadingScreenPercent / 100 - frameWidth);
        const int clientWidth =
            std::min(std::max({minClientWidth, listWidth + margins, headingWidth}), maxClientWidth);
        // Narrower than its columns, the list scrolls sideways too.
        if (listWidth + margins > clientWidth) listHeight += GetSystemMetrics(SM_CYHSCROLL);
        SIZE size = WindowSizeOf(clientWidth, ClientHeight(clientWidth, listHeight));
        size.cy = std::clamp<LONG>(size.cy, minSize_.cy, std::max<LONG>(maxHeight, minSize_.cy));

        RECT around = work;
        if (owner != nullptr && IsWindowVisible(owner)) GetWindowRect(owner, &around);
        LONG x = around.left + ((around.right - around.left) - size.cx) / 2;
        LONG y = around.top + ((around.bottom - around.top) - size.cy) / 2;
        x = std::max(work.left, std::min(x, work.right - size.cx));
        y = std::max(work.top, std::min(y, work.bottom - size.cy));
        SetWindowPos(window_, nullptr, x, y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
        Layout();
    }

    // Places the controls in the client area: the heading across the top,
    // the buttons at the bottom right, the list between them; the last
    // column takes whatever width the others leave.
    void Layout() {
        if (list_ == nullptr) return;
        RECT client{};
        GetClientRect(window_, &client);
        const int marginX = DluX(kMarginDlu);
        const int marginY = DluY(kMarginDlu);
        const int buttonHeight = DluY(kButtonHeightDlu);
        const int buttonTop = client.bottom - marginY - buttonHeight;
        int right = client.right - marginX;
        for (size_t i = std::size(set_.buttons); i-- > 0;) {
            const int width = ButtonWidth(i);
            SetWindowPos(buttonWindows_[i], nullptr, right - width, buttonTop, width, buttonHeight,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            right -= width + DluX(kGapDlu);
        }
        const int width = std::max<int>(client.right - 2 * marginX, 1);
        // The heading takes what the list leaves at its smallest; one
        // taller than that scrolls.
        const int room = buttonTop - marginY - minListHeight_ - DluY(kGapDlu) - marginY;
        int heading = HeadingHeight(width);
        const bool scrolls = heading > room && room > 0;
        if (scrolls) heading = room;
        ShowScrollBar(headingWindow_, SB_VERT, scrolls ? TRUE : FALSE);
        SetWindowPos(headingWindow_, nullptr, marginX, marginY, width, heading,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        InvalidateRect(headingWindow_, nullptr, TRUE);
        const int listTop = marginY + heading + (heading > 0 ? DluY(kGapDlu) : 0);
        SetWindowPos(list_, nullptr, marginX, listTop, width,
                     std::max(buttonTop - marginY - listTop, 1), SWP_NOZORDER | SWP_NOACTIVATE);
        if (fitted_.empty()) return;
        RECT inside{};
        GetClientRect(list_, &inside);
        int others = 0;
        for (size_t c = 0; c + 1 < fitted_.size(); ++c) others += fitted_[c];
        const int last = static_cast<int>(fitted_.size()) - 1;
        ListView_SetColumnWidth(list_, last, std::max<int>(fitted_.back(), inside.right - others));
    }

    void OnListKey(WORD key) {
        if (GetKeyState(VK_CONTROL) >= 0) return;
        if (key == 'A') ListView_SetItemState(list_, -1, LVIS_SELECTED, LVIS_SELECTED);
        if (key == 'C') Copy();
    }

    // The selected rows as lines of tab-separated cells; with none
    // selected, the column heads and every row.
    void Copy() noexcept {
        try {
            std::wstring text;
            const auto line = [&text](const std::vector<std::wstring>& cells) {
                for (size_t c = 0; c < cells.size(); ++c) {
                    if (c > 0) text += L'\t';
                    text += OneLine(cells[c]);
                }
                text += L"\r\n";
            };
            int selected = ListView_GetNextItem(list_, -1, LVNI_SELECTED);
            if (selected < 0) {
                line(columns_);
                for (const auto& row : rows_) line(row);
            }
            for (; selected >= 0; selected = ListView_GetNextItem(list_, selected, LVNI_SELECTED)) {
                if (static_cast<size_t>(selected) < rows_.size()) {
                    line(rows_[static_cast<size_t>(selected)]);
                }
            }
            PutOnClipboard(text);
        } catch (...) {
            // Out of memory: nothing is copied.
        }
    }

    void PutOnClipboard(const std::wstring& text) {
        const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
        if (memory == nullptr) return;
        if (void* place = GlobalLock(memory)) {
            std::memcpy(place, text.c_str(), bytes);
            GlobalUnlock(memory);
        }
        if (!OpenClipboard(window_)) {
            GlobalFree(memory);
            return;
        }
        EmptyClipboard();
        // The clipboard owns the memory once it takes it.
        if (SetClipboardData(CF_UNICODETEXT, memory) == nullptr) GlobalFree(memory);
        CloseClipboard();
    }

    const ReviewButtons buttons_;
    const ButtonSet set_;
    const ScriptHooks& hooks_;
    const std::wstring heading_;
    const std::string headingBytes_;
    std::vector<DWORD> template_;
    std::vector<std::wstring> columns_;
    std::vector<std::vector<std::wstring>> rows_;
    std::vector<std::wstring> captions_;
    std::vector<int> fitted_;
    HWND window_ = nullptr;
    HFONT font_ = nullptr;
    HWND headingWindow_ = nullptr;
    HWND list_ = nullptr;
    HWND buttonWindows_[2] = {};
    SIZE minSize_{0, 0};
    // The list's height with the column heads and the rows always shown.
    int minListHeight_ = 0;
};

}  // namespace

MsgAnswer ShowReviewWindow(HWND owner, const ReviewList& list, ReviewButtons buttons,
                           const ScriptHooks& hooks) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    ReviewWindow window(list, buttons, hooks);
    return window.Run(owner);
}

MsgAnswer ShowReviewWindow(HWND owner, const ReviewList& list, ReviewButtons buttons,
                           IUnknown* site) {
    const ScriptHooks hooks(site);
    return ShowReviewWindow(owner, list, buttons, hooks);
}

}  // namespace qta1
