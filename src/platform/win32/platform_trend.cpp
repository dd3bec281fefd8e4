// The trend window: the unit's temperatures, calculated set points and
// outputs plotted over the last minutes while the technician goes on working
// on the sheet. A modeless window owned by the sheet (it stays above it and
// goes with it), of its own class, that can be made larger and smaller down
// to a size where everything still fits. The chart is drawn from the core's
// model, its abstract layout scaled to the window; the legend's check boxes,
// the latest values, the time window, Pause / Resume and the saves are real
// controls, reached with Tab and their mnemonics.
// windows.h first: the other system headers build on it.
// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <objidl.h>
#include <gdiplus.h>
// clang-format on
// The core's names, not the system's character-set macros of the same name.
#undef MessageBox

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "frame/trend.h"
#include "platform/win32/file_store.h"
#include "platform/win32/script_hooks.h"
#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/window_metrics.h"
#include "resources/strings.h"

namespace qta1 {

namespace {

// Sizes in dialog units of the window's font, so they follow the DPI.
constexpr int kMarginDlu = 7;
constexpr int kGapDlu = 4;
constexpr int kButtonWidthDlu = 50;  // at least; longer captions get more
constexpr int kButtonHeightDlu = 14;
constexpr int kButtonPaddingDlu = 8;
constexpr int kComboWidthDlu = 48;
constexpr int kCheckBoxHeightDlu = 10;
// The template's size; the window then takes at least what its contents need.
constexpr int16_t kTemplateWidthDlu = 440;
constexpr int16_t kTemplateHeightDlu = 250;
// The longest value text a legend row makes room for.
constexpr wchar_t kWidestValue[] = L"-100.00 \u00B0C";

// Each series its own colour; the outputs are drawn dashed, the temperatures
// solid and thicker, so the two kinds are told apart at a glance.
constexpr COLORREF kSeriesColours[kTrendSeriesCount] = {
    RGB(200, 30, 30),   // Bs1
    RGB(30, 90, 200),   // Bs2
    RGB(20, 140, 60),   // Bs3
    RGB(230, 120, 0),   // Calc injection
    RGB(140, 60, 170),  // Calc space
    RGB(190, 20, 110),  // Mv1
    RGB(0, 140, 150),   // Me1
    RGB(130, 90, 40),   // Md4
    RGB(40, 40, 150),   // Mv2
};
constexpr COLORREF kGridColour = RGB(220, 220, 220);
constexpr COLORREF kFrameColour = RGB(96, 96, 96);

// Where the time labels fall: every so many seconds for each time window.
int64_t TimeStepOf(int windowMinutes) {
    if (windowMinutes <= 2) return 30;
    if (windowMinutes <= 10) return 120;
    if (windowMinutes <= 30) return 300;
    return 600;
}

std::wstring TimeOfDay(int64_t seconds, bool withSeconds) {
    const int64_t day = ((seconds % 86400) + 86400) % 86400;
    wchar_t text[16];
    const int h = static_cast<int>(day / 3600);
    const int m = static_cast<int>(day / 60 % 60);
    const int s = static_cast<int>(day % 60);
    if (withSeconds) {
        wsprintfW(text, L"%02d:%02d:%02d", h, m, s);
    } else {
        wsprintfW(text, L"%02d:%02d", h, m);
    }
    return text;
}

std::string FileNameOf(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The PNG encoder of GDI+.
constexpr CLSID kPngEncoder = {
    0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};

// A bitmap as PNG bytes; none when GDI+ could not encode it.
std::optional<std::string> PngBytes(HBITMAP bitmap) {
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) return std::nullopt;
    std::optional<std::string> bytes;
    Gdiplus::GpBitmap* image = nullptr;
    if (Gdiplus::DllExports::GdipCreateBitmapFromHBITMAP(bitmap, nullptr, &image) == Gdiplus::Ok) {
        win32::ComPtr<IStream> stream;
        if (SUCCEEDED(CreateStreamOnHGlobal(nullptr, TRUE, stream.Out())) &&
            Gdiplus::DllExports::GdipSaveImageToStream(image, stream.Get(), &kPngEncoder,
                                                       nullptr) == Gdiplus::Ok) {
            HGLOBAL memory = nullptr;
            STATSTG stat{};
            if (SUCCEEDED(GetHGlobalFromStream(stream.Get(), &memory)) &&
                SUCCEEDED(stream->Stat(&stat, STATFLAG_NONAME))) {
                if (const void* data = GlobalLock(memory)) {
                    bytes.emplace(static_cast<const char*>(data),
                                  static_cast<size_t>(stat.cbSize.QuadPart));
                    GlobalUnlock(memory);
                }
            }
        }
        Gdiplus::DllExports::GdipDisposeImage(image);
    }
    Gdiplus::GdiplusShutdown(token);
    return bytes;
}

// The window whose keys the message hook hands to the dialog manager: one
// user-interface thread, one trend window.
HWND g_trendDialog = nullptr;
HHOOK g_trendHook = nullptr;

class TrendDialog final : public TrendWindow {
public:
    TrendDialog(TrendView& view, TrendWindowSheet& owner, const ScriptHooks& hooks)
        : view_(&view), owner_(owner), hooks_(hooks),
          template_(FrameTemplate(DS_SHELLFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU |
                                      WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX |
                                      WS_CLIPCHILDREN,
                                  kTemplateWidthDlu, kTemplateHeightDlu,
                                  WidenText(text::kTrendCaption), win32::kTrendWindowClass)) {}

    ~TrendDialog() override {
        view_ = nullptr;
        if (window_ != nullptr) DestroyWindow(window_);
    }

    bool Create(HWND sheet) {
        HINSTANCE instance = nullptr;
        GetModuleHandleExW(
            GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
            reinterpret_cast<LPCWSTR>(&TrendDialog::Proc), &instance);
        // A class of its own, so that it is told from the sheet's other
        // windows; it is still a dialog, for the keyboard's sake.
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = DefDlgProcW;
        windowClass.cbWndExtra = DLGWINDOWEXTRA;
        windowClass.hInstance = instance;
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.lpszClassName = win32::kTrendWindowClass;
        if (RegisterClassExW(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
            return false;
        }
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
        HWND made = CreateDialogIndirectParamW(
            instance, reinterpret_cast<LPCDLGTEMPLATEW>(template_.data()), sheet,
            &TrendDialog::Proc, reinterpret_cast<LPARAM>(this));
        if (made == nullptr || window_ == nullptr) return false;
        Place(sheet);
        ShowWindow(window_, SW_SHOW);
        hooks_.TrendWindow(win32::kQta1TrendOpened, window_, &view_->Model());
        return true;
    }

    HWND Window() const override { return window_; }

    void ToFront() override {
        if (window_ == nullptr) return;
        if (IsIconic(window_)) ShowWindow(window_, SW_RESTORE);
        SetWindowPos(window_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        SetActiveWindow(window_);
        if (view_ != nullptr)
            hooks_.TrendWindow(win32::kQta1TrendToFront, window_, &view_->Model());
    }

    void Update() override {
        if (window_ == nullptr || view_ == nullptr) return;
        Follow(view_->Model());
        InvalidateRect(window_, nullptr, FALSE);
        hooks_.TrendWindow(win32::kQta1TrendDrawn, window_, &view_->Model());
    }

    void Close() override {
        view_ = nullptr;
        if (window_ != nullptr) DestroyWindow(window_);
    }

private:
    static INT_PTR CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
        if (message == WM_INITDIALOG) {
            auto* self = reinterpret_cast<TrendDialog*>(lParam);
            SetWindowLongPtrW(window, DWLP_USER, lParam);
            self->window_ = window;
            try {
                self->Initialise();
            } catch (...) {
                // Without its controls the window shows nothing: it goes.
                self->window_ = nullptr;
                SetWindowLongPtrW(window, DWLP_USER, 0);
                DestroyWindow(window);
            }
            return FALSE;  // the focus is placed
        }
        auto* self = reinterpret_cast<TrendDialog*>(GetWindowLongPtrW(window, DWLP_USER));
        if (self == nullptr) return FALSE;
        try {
            return self->Handle(window, message, wParam, lParam);
        } catch (...) {
            // Out of memory while painting or laying out: the next message
            // tries again; the core's calls are guarded on their own.
            return TRUE;
        }
    }

    INT_PTR Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        TrendDialog* self = this;
        switch (message) {
            case WM_SIZE:
                self->Layout();
                InvalidateRect(window, nullptr, FALSE);
                return TRUE;
            case WM_GETMINMAXINFO:
                if (self->minSize_.cx > 0) {
                    reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize =
                        POINT{self->minSize_.cx, self->minSize_.cy};
                }
                return TRUE;
            case WM_ERASEBKGND:
                // Everything is painted at once from the buffer (no flicker).
                SetWindowLongPtrW(window, DWLP_MSGRESULT, 1);
                return TRUE;
            case WM_PAINT:
                self->Paint();
                return TRUE;
            case WM_COMMAND:
                self->OnCommand(LOWORD(wParam), HIWORD(wParam));
                return TRUE;
            case WM_CLOSE:
                self->Ask([self] { self->view_->Closed(); });
                return TRUE;
            case WM_DESTROY:
                self->Gone();
                return FALSE;
            default:
                return FALSE;
        }
    }

    // The sheet's modal loop knows only the sheet: the keys of this window
    // (Tab, the arrows, mnemonics, Esc) are handed to its dialog manager
    // before they are dispatched.
    static LRESULT CALLBACK KeysHook(int code, WPARAM wParam, LPARAM lParam) noexcept {
        if (code == HC_ACTION && wParam == PM_REMOVE && g_trendDialog != nullptr) {
            auto* message = reinterpret_cast<MSG*>(lParam);
            if (message->message >= WM_KEYFIRST && message->message <= WM_KEYLAST &&
                (message->hwnd == g_trendDialog || IsChild(g_trendDialog, message->hwnd)) &&
                IsDialogMessageW(g_trendDialog, message)) {
                message->message = WM_NULL;
            }
        }
        return CallNextHookEx(g_trendHook, code, wParam, lParam);
    }

    // A call into the core behind the plug-in's guard, while the sheet
    // still has the trend.
    template <typename Call>
    void Ask(Call&& call) {
        if (view_ == nullptr) return;
        owner_.CallPlugIn([this, &call] {
            if (view_ != nullptr) call();
        });
    }

    void OnCommand(int id, int code) {
        if (id == IDCANCEL) {
            // Esc, as the close box.
            Ask([this] { view_->Closed(); });
        } else if (id == win32::kTrendWindowComboId && code == CBN_SELCHANGE) {
            const LRESULT chosen = SendMessageW(combo_, CB_GETCURSEL, 0, 0);
            if (chosen >= 0 && static_cast<size_t>(chosen) < std::size(kTrendWindows)) {
                const int minutes = kTrendWindows[chosen];
                Ask([this, minutes] { view_->ChooseWindow(minutes); });
            }
        } else if (code != BN_CLICKED) {
            return;
        } else if (id == win32::kTrendPauseId) {
            Ask([this] { view_->Pause(!view_->Model().paused()); });
        } else if (id == win32::kTrendSaveDataId) {
            Ask([this] { view_->SaveData(); });
        } else if (id == win32::kTrendSavePictureId) {
            Ask([this] { SavePicture(); });
        } else if (id >= win32::kTrendSeriesFirstId &&
                   id < win32::kTrendSeriesFirstId + static_cast<int>(kTrendSeriesCount)) {
            const auto series = static_cast<size_t>(id - win32::kTrendSeriesFirstId);
            const bool shown = SendMessageW(rows_[series].check, BM_GETCHECK, 0, 0) == BST_CHECKED;
            Ask([this, series, shown] { view_->ShowSeries(series, shown); });
        }
    }

    void Gone() {
        if (g_trendDialog == window_) {
            g_trendDialog = nullptr;
            if (g_trendHook != nullptr) UnhookWindowsHookEx(std::exchange(g_trendHook, nullptr));
        }
        hooks_.TrendWindow(win32::kQta1TrendClosed, window_, nullptr);
        SetWindowLongPtrW(window_, DWLP_USER, 0);
        window_ = nullptr;
    }

    int DluX(int dlu) const { return win32::DialogUnitsX(window_, dlu); }
    int DluY(int dlu) const { return win32::DialogUnitsY(window_, dlu); }

    HWND MakeChild(const wchar_t* windowClass, const std::wstring& text, DWORD style, int id) {
        HWND child =
            win32::MakeChildControl(window_, font_, windowClass, text.c_str(), style, 0, id);
        if (child == nullptr) throw std::bad_alloc();
        return child;
    }

    // The controls in Tab order: the legend's check boxes from the top, then
    // the time window, Pause and the saves.
    void Initialise() {
        font_ = reinterpret_cast<HFONT>(SendMessageW(window_, WM_GETFONT, 0, 0));
        for (size_t i = 0; i < kTrendSeriesCount; ++i) {
            Row& row = rows_[i];
            row.check = MakeChild(WC_BUTTONW, WidenText(kTrendSeries[i].name),
                                  BS_AUTOCHECKBOX | WS_TABSTOP | (i == 0 ? WS_GROUP : 0),
                                  win32::kTrendSeriesFirstId + static_cast<int>(i));
            row.value = MakeChild(WC_STATICW, L"", SS_RIGHT | SS_NOPREFIX, IDC_STATIC);
        }
        label_ = MakeChild(WC_STATICW, WidenText(text::kTrendWindowLabel), SS_LEFT | WS_GROUP,
                           IDC_STATIC);
        combo_ = MakeChild(WC_COMBOBOXW, L"", CBS_DROPDOWNLIST | WS_TABSTOP | WS_VSCROLL,
                           win32::kTrendWindowComboId);
        for (const int minutes : kTrendWindows) {
            const std::wstring item = std::to_wstring(minutes) + WidenText(text::kTrendMinutesTail);
            SendMessageW(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        }
        const char* captions[] = {text::kTrendPauseButton, text::kTrendSaveDataButton,
                                  text::kTrendSavePictureButton};
        const int ids[] = {win32::kTrendPauseId, win32::kTrendSaveDataId,
                           win32::kTrendSavePictureId};
        for (size_t b = 0; b < std::size(buttons_); ++b) {
            buttons_[b] = MakeChild(WC_BUTTONW, WidenText(captions[b]),
                                    BS_PUSHBUTTON | WS_TABSTOP | (b == 0 ? WS_GROUP : 0), ids[b]);
        }
        Follow(view_->Model());
        Measure();
        g_trendDialog = window_;
        g_trendHook =
            SetWindowsHookExW(WH_GETMESSAGE, &TrendDialog::KeysHook, nullptr, GetCurrentThreadId());
        SetFocus(rows_[0].check);
    }

    // The controls show the model: each series' box and latest value, the
    // time window chosen, Pause or Resume.
    void Follow(const TrendModel& model) {
        for (size_t i = 0; i < kTrendSeriesCount; ++i) {
            SendMessageW(rows_[i].check, BM_SETCHECK, model.Shown(i) ? BST_CHECKED : BST_UNCHECKED,
                         0);
            std::string latest = model.LatestText(i);
            if (!latest.empty() && latest != "-") latest += std::string(" ") + kTrendSeries[i].unit;
            const std::wstring text = WidenText(latest);
            if (WindowText(rows_[i].value) != text) SetWindowTextW(rows_[i].value, text.c_str());
        }
        const auto chosen =
            std::find(std::begin(kTrendWindows), std::end(kTrendWindows), model.windowMinutes());
        SendMessageW(combo_, CB_SETCURSEL,
                     static_cast<WPARAM>(chosen != std::end(kTrendWindows)
                                             ? chosen - std::begin(kTrendWindows)
                                             : 0),
                     0);
        const std::wstring pause =
            WidenText(model.paused() ? text::kTrendResumeButton : text::kTrendPauseButton);
        if (WindowText(buttons_[0]) != pause) SetWindowTextW(buttons_[0], pause.c_str());
    }

    int TextWidth(HWND control, const std::wstring& text) const {
        win32::WindowDc dc(control);
        win32::Selection font(dc.Get(), font_);
        RECT rect{0, 0, 0, 0};
        DrawTextW(dc.Get(), text.c_str(), static_cast<int>(text.size()), &rect,
                  DT_CALCRECT | DT_SINGLELINE);
        return rect.right;
    }

    int IdealWidth(HWND button) const {
        SIZE ideal{};
        if (Button_GetIdealSize(button, &ideal) && ideal.cx > 0) return ideal.cx;
        // A check box's box and its caption.
        return GetSystemMetrics(SM_CXMENUCHECK) + DluX(kGapDlu) +
               TextWidth(button, WindowText(button));
    }

    int ButtonWidth(HWND button) const {
        const std::wstring resume = WidenText(text::kTrendResumeButton);
        int text = TextWidth(button, WindowText(button));
        // Pause becomes Resume: its width holds both.
        if (button == buttons_[0]) text = std::max(text, TextWidth(button, resume));
        return std::max(DluX(kButtonWidthDlu), text + 2 * DluX(kButtonPaddingDlu));
    }

    SIZE WindowSizeOf(int clientWidth, int clientHeight) const {
        return win32::WindowSizeForClient(window_, clientWidth, clientHeight);
    }

    // The width and height of the controls in pixels, and the smallest
    // window where the chart's layout, scaled down, still holds them.
    void Measure() {
        TEXTMETRICW metrics{};
        {
            win32::WindowDc dc(window_);
            win32::Selection font(dc.Get(), font_);
            GetTextMetricsW(dc.Get(), &metrics);
        }
        textHeight_ = metrics.tmHeight;
        valueWidth_ = TextWidth(rows_[0].value, kWidestValue);
        checkWidth_ = 0;
        for (const Row& row : rows_) checkWidth_ = std::max(checkWidth_, IdealWidth(row.check));
        labelWidth_ = TextWidth(label_, WindowText(label_));
        const TrendLayout layout = LayOutTrend();
        const TrendLayout::Row& row = layout.legend[0];
        // The legend's row, scaled, holds the swatch, the box and the value.
        const int legendNeeds = checkWidth_ + DluX(kGapDlu) + valueWidth_;
        const int legendUnits = row.entry.x + row.entry.w - row.checkBox.x;
        int chartWidth = MulDiv(legendNeeds, kTrendWidth, legendUnits) + 1;
        // The axes hold their labels ("-10.5", "100 %").
        const int axisNeeds = TextWidth(label_, L"-100.0 \u00B0C") + DluX(2);
        chartWidth = std::max(chartWidth, MulDiv(axisNeeds, kTrendWidth, layout.temperatureAxis.w));
        // Each row is as high as a check box; below the plot the times.
        const int rowNeeds = std::max(DluY(kCheckBoxHeightDlu), textHeight_);
        int chartHeight = MulDiv(rowNeeds, kTrendHeight, row.entry.h) + 1;
        const int belowPlot = kTrendHeight - (layout.plot.y + layout.plot.h);
        chartHeight = std::max(chartHeight, MulDiv(textHeight_ + 4, kTrendHeight, belowPlot) + 1);
        int barWidth = labelWidth_ + DluX(kGapDlu) + DluX(kComboWidthDlu);
        for (HWND button : buttons_) barWidth += DluX(kGapDlu) + ButtonWidth(button);
        const int clientWidth = std::max(chartWidth, barWidth) + 2 * DluX(kMarginDlu);
        const int clientHeight =
            chartHeight + DluY(kGapDlu) + DluY(kButtonHeightDlu) + 2 * DluY(kMarginDlu);
        minSize_ = WindowSizeOf(clientWidth, clientHeight);
    }

    // At first the template's size or what the contents need, beside the
    // sheet and within the screen.
    void Place(HWND sheet) {
        RECT initial{0, 0, kTemplateWidthDlu, kTemplateHeightDlu};
        MapDialogRect(window_, &initial);
        SIZE size = WindowSizeOf(initial.right, initial.bottom);
        size.cx = std::max(size.cx, minSize_.cx);
        size.cy = std::max(size.cy, minSize_.cy);
        RECT work{};
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        if (GetMonitorInfoW(MonitorFromWindow(sheet, MONITOR_DEFAULTTONEAREST), &monitor)) {
            work = monitor.rcWork;
        } else {
            SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        }
        size.cx = std::min<LONG>(size.cx, work.right - work.left);
        size.cy = std::min<LONG>(size.cy, work.bottom - work.top);
        RECT around{};
        GetWindowRect(sheet, &around);
        LONG x = around.left + DluX(3 * kMarginDlu);
        LONG y = around.top + DluY(3 * kMarginDlu);
        x = std::max(work.left, std::min(x, work.right - size.cx));
        y = std::max(work.top, std::min(y, work.bottom - size.cy));
        SetWindowPos(window_, nullptr, x, y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
        Layout();
    }

    // Where the chart goes: the client area above the bar of controls.
    RECT ChartArea(const RECT& client) const {
        const int marginX = DluX(kMarginDlu);
        const int marginY = DluY(kMarginDlu);
        const int barTop = client.bottom - marginY - DluY(kButtonHeightDlu);
        return RECT{marginX, marginY, std::max<LONG>(client.right - marginX, marginX + 1),
                    std::max(barTop - DluY(kGapDlu), marginY + 1)};
    }

    // A rectangle of the abstract layout in the chart area's pixels.
    static RECT Scaled(const TrendRect& r, const RECT& area) {
        const int w = area.right - area.left;
        const int h = area.bottom - area.top;
        return RECT{area.left + MulDiv(r.x, w, kTrendWidth),
                    area.top + MulDiv(r.y, h, kTrendHeight),
                    area.left + MulDiv(r.x + r.w, w, kTrendWidth),
                    area.top + MulDiv(r.y + r.h, h, kTrendHeight)};
    }

    void Layout() {
        if (combo_ == nullptr) return;
        RECT client{};
        GetClientRect(window_, &client);
        const RECT area = ChartArea(client);
        const TrendLayout layout = LayOutTrend();
        const int checkHeight = DluY(kCheckBoxHeightDlu);
        for (size_t i = 0; i < kTrendSeriesCount; ++i) {
            const RECT entry = Scaled(layout.legend[i].entry, area);
            const RECT box = Scaled(layout.legend[i].checkBox, area);
            const int middle = (entry.top + entry.bottom) / 2;
            const int valueLeft = entry.right - valueWidth_;
            SetWindowPos(rows_[i].check, nullptr, box.left, middle - checkHeight / 2,
                         std::max<int>(valueLeft - DluX(kGapDlu) - box.left, 1), checkHeight,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            SetWindowPos(rows_[i].value, nullptr, valueLeft, middle - textHeight_ / 2, valueWidth_,
                         textHeight_, SWP_NOZORDER | SWP_NOACTIVATE);
        }
        const int marginX = DluX(kMarginDlu);
        const int buttonHeight = DluY(kButtonHeightDlu);
        const int barTop = client.bottom - DluY(kMarginDlu) - buttonHeight;
        int x = marginX;
        SetWindowPos(label_, nullptr, x, barTop + (buttonHeight - textHeight_) / 2, labelWidth_,
                     textHeight_, SWP_NOZORDER | SWP_NOACTIVATE);
        x += labelWidth_ + DluX(kGapDlu);
        // A drop-down list's height includes its open list.
        SetWindowPos(combo_, nullptr, x, barTop, DluX(kComboWidthDlu),
                     buttonHeight + DluY(10) * static_cast<int>(std::size(kTrendWindows) + 1),
                     SWP_NOZORDER | SWP_NOACTIVATE);
        x += DluX(kComboWidthDlu);
        for (HWND button : buttons_) {
            x += DluX(kGapDlu);
            const int width = ButtonWidth(button);
            SetWindowPos(button, nullptr, x, barTop, width, buttonHeight,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            x += width;
        }
    }

    void Paint() {
        PAINTSTRUCT paint{};
        HDC dc = BeginPaint(window_, &paint);
        if (dc == nullptr) return;
        RECT client{};
        GetClientRect(window_, &client);
        win32::MemoryDc buffer(CreateCompatibleDC(dc));
        win32::GdiObject bitmap(CreateCompatibleBitmap(dc, std::max<LONG>(client.right, 1),
                                                       std::max<LONG>(client.bottom, 1)));
        if (buffer && bitmap) {
            {
                win32::Selection into(buffer.Get(), bitmap.Get());
                Draw(buffer.Get(), client, false);
                BitBlt(dc, 0, 0, client.right, client.bottom, buffer.Get(), 0, 0, SRCCOPY);
            }
        } else {
            Draw(dc, client, false);
        }
        EndPaint(window_, &paint);
    }

    // The chart from the model, into `dc` over `client`; `legend` draws the
    // legend's boxes and texts too (a picture has no controls on it).
    void Draw(HDC dc, const RECT& client, bool legend) const {
        FillRect(dc, &client, GetSysColorBrush(COLOR_3DFACE));
        if (view_ == nullptr) return;
        const TrendModel& model = view_->Model();
        const RECT area = ChartArea(client);
        const TrendLayout layout = LayOutTrend();
        const RECT plot = Scaled(layout.plot, area);
        const RECT leftAxis = Scaled(layout.temperatureAxis, area);
        const RECT rightAxis = Scaled(layout.percentAxis, area);
        win32::Selection font(dc, font_);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        FillRect(dc, &plot, GetSysColorBrush(COLOR_WINDOW));

        const TrendScale temperatures = model.Scale(TrendAxis::Temperature);
        const TrendScale percents = model.Scale(TrendAxis::Percent);
        const auto yOf = [&plot](const TrendScale& scale, double hundredths) {
            const double span = static_cast<double>(std::max<int64_t>(scale.max - scale.min, 1));
            return plot.bottom -
                   static_cast<int>(std::lround((hundredths - static_cast<double>(scale.min)) *
                                                (plot.bottom - plot.top) / span));
        };
        const int tick = std::max(2, DluX(2));
        {
            win32::GdiObject gridPen(CreatePen(PS_SOLID, 1, kGridColour));
            win32::Selection pen(dc, gridPen.Get());
            for (int64_t v = temperatures.min; v <= temperatures.max; v += temperatures.step) {
                const int y = yOf(temperatures, static_cast<double>(v));
                MoveToEx(dc, plot.left, y, nullptr);
                LineTo(dc, plot.right, y);
                std::wstring label = WidenText(TrendScaleText(v, temperatures.step));
                if (v + temperatures.step > temperatures.max) label += L" \u00B0C";
                RECT at{leftAxis.left, y - textHeight_ / 2, leftAxis.right - tick, y + textHeight_};
                DrawTextW(dc, label.c_str(), -1, &at, DT_RIGHT | DT_SINGLELINE | DT_NOCLIP);
            }
        }
        {
            win32::GdiObject framePen(CreatePen(PS_SOLID, 1, kFrameColour));
            win32::Selection pen(dc, framePen.Get());
            for (int64_t v = percents.min; v <= percents.max; v += percents.step) {
                const int y = yOf(percents, static_cast<double>(v));
                MoveToEx(dc, plot.right, y, nullptr);
                LineTo(dc, plot.right + tick, y);
                std::wstring label = WidenText(TrendScaleText(v, percents.step));
                if (v + percents.step > percents.max) label += L" %";
                RECT at{rightAxis.left + tick + 2, y - textHeight_ / 2, rightAxis.right,
                        y + textHeight_};
                DrawTextW(dc, label.c_str(), -1, &at, DT_LEFT | DT_SINGLELINE | DT_NOCLIP);
            }
            // The time axis: a label under the plot at every round step.
            const TrendModel::Window visible = model.Visible();
            const int64_t span = int64_t{model.windowMinutes()} * 60;
            const int64_t start = visible.endSeconds - span;
            const int64_t step = TimeStepOf(model.windowMinutes());
            for (int64_t t = (start / step + 1) * step; t <= visible.endSeconds; t += step) {
                const int x =
                    plot.left + static_cast<int>((t - start) * (plot.right - plot.left) / span);
                MoveToEx(dc, x, plot.bottom, nullptr);
                LineTo(dc, x, plot.bottom + tick);
                const std::wstring label = TimeOfDay(t, step < 60);
                RECT at{x - 100, plot.bottom + tick, x + 100, plot.bottom + tick + textHeight_};
                DrawTextW(dc, label.c_str(), -1, &at, DT_CENTER | DT_SINGLELINE | DT_NOCLIP);
            }
            const HGDIOBJ noFill = SelectObject(dc, GetStockObject(NULL_BRUSH));
            Rectangle(dc, plot.left, plot.top, plot.right + 1, plot.bottom + 1);
            SelectObject(dc, noFill);
            DrawLines(dc, model, plot, temperatures, percents);
        }
        for (size_t i = 0; i < kTrendSeriesCount; ++i) {
            const RECT entry = Scaled(layout.legend[i].entry, area);
            const RECT box = Scaled(layout.legend[i].checkBox, area);
            // The series' line beside its box, as it is drawn in the plot.
            const int middle = (entry.top + entry.bottom) / 2;
            win32::GdiObject line(SeriesPen(i));
            win32::Selection pen(dc, line.Get());
            MoveToEx(dc, entry.left, middle, nullptr);
            LineTo(dc, std::max<LONG>(box.left - 2, entry.left + 1), middle);
            if (!legend) continue;
            const int size =
                std::min<int>(GetSystemMetrics(SM_CXMENUCHECK), entry.bottom - entry.top);
            RECT check{box.left, middle - size / 2, box.left + size, middle - size / 2 + size};
            DrawFrameControl(dc, &check, DFC_BUTTON,
                             DFCS_BUTTONCHECK | (model.Shown(i) ? DFCS_CHECKED : 0));
            RECT name{check.right + DluX(kGapDlu) / 2, middle - textHeight_ / 2,
                      entry.right - valueWidth_, middle + textHeight_};
            const std::wstring nameText = WidenText(kTrendSeries[i].name);
            DrawTextW(dc, nameText.c_str(), -1, &name, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
            std::string latest = model.LatestText(i);
            if (!latest.empty() && latest != "-") latest += std::string(" ") + kTrendSeries[i].unit;
            const std::wstring value = WidenText(latest);
            RECT valueAt{entry.right - valueWidth_, name.top, entry.right, name.bottom};
            DrawTextW(dc, value.c_str(), -1, &valueAt, DT_RIGHT | DT_SINGLELINE | DT_NOPREFIX);
        }
    }

    HGDIOBJ SeriesPen(size_t series) const {
        if (kTrendSeries[series].axis == TrendAxis::Temperature) {
            return CreatePen(PS_SOLID, std::max(2, DluX(1)), kSeriesColours[series]);
        }
        LOGBRUSH brush{BS_SOLID, kSeriesColours[series], 0};
        return ExtCreatePen(PS_GEOMETRIC | PS_DASH | PS_ENDCAP_FLAT, 1, &brush, 0, nullptr);
    }

    // One polyline per shown series over the samples in the window; a sample
    // whose read failed breaks the line.
    void DrawLines(HDC dc, const TrendModel& model, const RECT& plot,
                   const TrendScale& temperatures, const TrendScale& percents) const {
        const TrendModel::Window visible = model.Visible();
        const int64_t span = int64_t{model.windowMinutes()} * 60;
        const int64_t start = visible.endSeconds - span;
        const int saved = SaveDC(dc);
        IntersectClipRect(dc, plot.left, plot.top, plot.right + 1, plot.bottom + 1);
        std::vector<POINT> points;
        for (size_t i = 0; i < kTrendSeriesCount; ++i) {
            if (!model.Shown(i)) continue;
            const TrendSeries& series = kTrendSeries[i];
            const TrendScale& scale =
                series.axis == TrendAxis::Temperature ? temperatures : percents;
            const double range = static_cast<double>(std::max<int64_t>(scale.max - scale.min, 1));
            win32::GdiObject line(SeriesPen(i));
            win32::Selection pen(dc, line.Get());
            const auto flush = [&] {
                if (points.size() == 1) {
                    // A lone sample between gaps is a dot.
                    const POINT p = points[0];
                    Ellipse(dc, p.x - 2, p.y - 2, p.x + 3, p.y + 3);
                } else if (points.size() > 1) {
                    Polyline(dc, points.data(), static_cast<int>(points.size()));
                }
                points.clear();
            };
            for (size_t s = visible.first; s < visible.end; ++s) {
                const TrendSample& sample = model.samples()[s];
                if (!sample.words[i]) {
                    flush();
                    continue;
                }
                const double value = TrendValue(series, *sample.words[i]) * 100.0;
                const double x = plot.left + static_cast<double>(sample.seconds - start) *
                                                 (plot.right - plot.left) /
                                                 static_cast<double>(span);
                const double y = plot.bottom - (value - static_cast<double>(scale.min)) *
                                                   (plot.bottom - plot.top) / range;
                points.push_back(
                    POINT{static_cast<LONG>(std::lround(x)), static_cast<LONG>(std::lround(y))});
            }
            flush();
        }
        RestoreDC(dc, saved);
    }

    // "Save picture...": the chart as it is shown, the size of the window's
    // client area, as a PNG written in one step (a failure leaves no half
    // file).
    void SavePicture() {
        Screen& screen = owner_.SheetScreen();
        const std::optional<std::string> path = screen.SaveFileDialog(
            {text::kTrendPictureName, text::kTrendPictureExtension, text::kTrendPictureFilter});
        if (!path || window_ == nullptr) return;
        if (!WritePicture(*path)) {
            screen.MessageBox(FileNameOf(*path) + text::kFileNotSavedTail, "", MsgButtons::Ok,
                              MsgIcon::Stop);
        }
    }

    bool WritePicture(const std::string& path) const {
        RECT client{};
        GetClientRect(window_, &client);
        win32::WindowDc screen(window_);
        win32::MemoryDc buffer(CreateCompatibleDC(screen.Get()));
        win32::GdiObject bitmap(CreateCompatibleBitmap(
            screen.Get(), std::max<LONG>(client.right, 1), std::max<LONG>(client.bottom, 1)));
        if (!buffer || !bitmap) return false;
        {
            win32::Selection into(buffer.Get(), bitmap.Get());
            Draw(buffer.Get(), client, true);
        }
        const std::optional<std::string> png = PngBytes(static_cast<HBITMAP>(bitmap.Get()));
        return png && ReplaceFileBytes(WidenPath(path), *png);
    }

    struct Row {
        HWND check = nullptr;
        HWND value = nullptr;
    };

    TrendView* view_;
    TrendWindowSheet& owner_;
    const ScriptHooks& hooks_;
    std::vector<DWORD> template_;
    HWND window_ = nullptr;
    HFONT font_ = nullptr;
    std::array<Row, kTrendSeriesCount> rows_{};
    HWND label_ = nullptr;
    HWND combo_ = nullptr;
    HWND buttons_[3] = {};
    SIZE minSize_{0, 0};
    int textHeight_ = 0;
    int valueWidth_ = 0;
    int checkWidth_ = 0;
    int labelWidth_ = 0;
};

}  // namespace

std::unique_ptr<TrendWindow> OpenTrendWindow(HWND sheet, TrendView& view, TrendWindowSheet& owner,
                                             const ScriptHooks& hooks) {
    auto window = std::make_unique<TrendDialog>(view, owner, hooks);
    if (!window->Create(sheet)) return nullptr;
    return window;
}

}  // namespace qta1
