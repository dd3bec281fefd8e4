// The Win32 platform: the comctl32 property sheet, its pages, message boxes,
// file dialogs, timers, waits and the clock. A test host that offers a script
// site on the control's client site hears what the sheet does and answers for
// the technician and the clock, all through ScriptHooks (script_hooks.h); the
// sheet itself is the same either way.
// windows.h first: the other system headers build on it.
// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
// clang-format on
// The core's names, not the system's character-set macros of the same name.
#undef MessageBox
#undef ReplaceFile

#include <algorithm>
#include <exception>
#include <functional>
#include <map>
#include <optional>
#include <utility>

#include "platform/win32/com_support.h"
#include "platform/win32/script_hooks.h"
#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_platform.h"
#include "resources/strings.h"

namespace qta1 {

namespace {

// Posted to the sheet once it is initialised: lets a script site act.
constexpr UINT kRunScriptMessage = WM_APP + 0x51;
constexpr UINT_PTR kSheetSubclassId = 0x51A2;
// During a node wait the sheet paints at least this often.
constexpr ULONGLONG kPaintSliceMs = 15;
// The longest path the file dialogs return.
constexpr DWORD kPathChars = 32768;

UINT IconFlags(MsgIcon icon) {
    switch (icon) {
        case MsgIcon::None:
            return 0;
        case MsgIcon::Exclamation:
            return MB_ICONEXCLAMATION;
        case MsgIcon::Question:
            return MB_ICONQUESTION;
        case MsgIcon::Information:
            return MB_ICONINFORMATION;
        case MsgIcon::Stop:
            return MB_ICONSTOP;
    }
    return 0;
}

UINT ButtonFlags(MsgButtons buttons) {
    switch (buttons) {
        case MsgButtons::Ok:
            return MB_OK;
        case MsgButtons::YesNo:
            return MB_YESNO;
        case MsgButtons::YesNoDefaultNo:
            // Enter answers No: the question's Yes gives something up.
            return MB_YESNO | MB_DEFBUTTON2;
        case MsgButtons::YesNoCancel:
            return MB_YESNOCANCEL;
    }
    return MB_OK;
}

MsgAnswer AnswerOf(int result) {
    if (result == IDYES) return MsgAnswer::Yes;
    if (result == IDNO) return MsgAnswer::No;
    if (result == IDCANCEL) return MsgAnswer::Cancel;
    return MsgAnswer::Ok;
}

// `folder`, or the nearest folder above it that exists; empty when none does.
std::wstring NearestFolder(std::wstring folder) {
    while (!folder.empty()) {
        const DWORD attributes = GetFileAttributesW(folder.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            return folder;
        }
        const size_t up = folder.find_last_of(L"\\/");
        if (up == std::wstring::npos) return {};
        folder.resize(up);
    }
    return folder;
}

bool IsInputMessage(UINT message) {
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
           (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCXBUTTONDBLCLK);
}

class SheetPlatform;

struct PageEntry {
    SheetPlatform* platform = nullptr;
    PageId page{};
    PageEvents* events = nullptr;
    std::wstring title;
    HPROPSHEETPAGE handle = nullptr;
    HWND window = nullptr;
    // The progress of a long operation, made when first shown.
    HWND progressText = nullptr;
    HWND progressBar = nullptr;
};

// The platform whose sheet is being created; the sheet's creation hook and
// callback have no context of their own. One user-interface thread, one modal
// sheet at a time.
SheetPlatform* g_opening = nullptr;

class SheetPlatform final : public Platform, private TrendWindowSheet {
public:
    SheetPlatform(HINSTANCE resources, HWND owner, IUnknown* site)
        : resources_(resources), owner_(owner), hooks_(site) {}
    ~SheetPlatform() override {
        for (auto& [page, entry] : pages_) {
            if (entry->handle != nullptr) DestroyPropertySheetPage(entry->handle);
        }
    }

    // --- Platform: the sheet ------------------------------------------------

    void AddPage(PageId page, PageEvents& events) override {
        if (pages_.count(page) != 0) return;
        auto entry = std::make_unique<PageEntry>();
        entry->platform = this;
        entry->page = page;
        entry->events = &events;
        entry->title = WidenText(CaptionOf(page));
        PageEntry& added = *entry;
        pages_[page] = std::move(entry);
        tabs_.push_back(page);
        if (sheet_ == nullptr) return;  // handed to the sheet when it opens
        added.handle = CreateHandle(added);
        if (added.handle == nullptr || !PropSheet_AddPage(sheet_, added.handle)) {
            if (added.handle != nullptr) DestroyPropertySheetPage(added.handle);
            Forget(page);
            return;
        }
        FitPages();
    }

    void RemovePage(PageId page) override {
        auto it = pages_.find(page);
        if (it == pages_.end()) return;
        if (sheet_ != nullptr && it->second->handle != nullptr) {
            // The sheet moves to the neighbouring tab first when the page is
            // active, destroys the page's window and frees the handle.
            PropSheet_RemovePage(sheet_, 0, it->second->handle);
            it->second->handle = nullptr;
        }
        Forget(page);
    }

    void SetOkCaption(std::string_view caption) override {
        if (sheet_ != nullptr) SetWindowTextW(GetDlgItem(sheet_, IDOK), WidenText(caption).c_str());
    }

    void ShowPage(PageId page) override {
        const auto it = pages_.find(page);
        if (sheet_ == nullptr || it == pages_.end() || it->second->handle == nullptr) return;
        // A page already in front hears nothing, as when the technician
        // clicks its own tab.
        if (it->second->window != nullptr &&
            it->second->window == PropSheet_GetCurrentPageHwnd(sheet_)) {
            return;
        }
        PropSheet_SetCurSel(sheet_, it->second->handle, 0);
    }

    void HideApplyAndCancel() override {
        if (sheet_ == nullptr) return;
        ShowWindow(GetDlgItem(sheet_, IDCANCEL), SW_HIDE);
        ShowWindow(GetDlgItem(sheet_, kApplyButtonId), SW_HIDE);
    }

    void RunSheetModal(std::string_view caption, SheetEvents& events) override {
        initialised_ = false;
        closeTold_ = false;
        closeAccepted_ = false;
        closing_ = false;
        events_ = &events;
        const std::wstring title = WidenText(caption);
        hooks_.SheetOpening(caption);

        std::vector<HPROPSHEETPAGE> handles;
        for (PageId page : tabs_) {
            PageEntry& entry = *pages_[page];
            entry.handle = CreateHandle(entry);
            if (entry.handle != nullptr) handles.push_back(entry.handle);
        }

        PROPSHEETHEADERW header{};
        header.dwSize = sizeof header;
        header.dwFlags = PSH_USECALLBACK | PSH_NOCONTEXTHELP;
        header.hwndParent = owner_;
        header.hInstance = resources_;
        header.pszCaption = title.c_str();
        header.nPages = static_cast<UINT>(handles.size());
        header.nStartPage = 0;
        header.phpage = handles.data();
        header.pfnCallback = &SheetPlatform::SheetCallback;

        // Visual styles come from the activation context the caller runs the
        // sheet in (the module's manifest, or the host's).
        INITCOMMONCONTROLSEX controls{sizeof controls,
                                      ICC_TAB_CLASSES | ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
        InitCommonControlsEx(&controls);
        g_opening = this;
        {
            win32::Hook watch(SetWindowsHookExW(WH_CBT, &SheetPlatform::WatchForSheet, nullptr,
                                                GetCurrentThreadId()));
            sheetHook_ = watch.Get();
            if (!handles.empty()) PropertySheetW(&header);
            sheetHook_ = nullptr;
        }
        g_opening = nullptr;
        // The window went with the sheet.
        trend_.reset();
        retiredTrend_.reset();

        if (!initialised_ && !failure_) {
            // No window came up (no page could be made): the sheet's own
            // initialisation still runs, so the technician hears why.
            initialised_ = true;
            IntoPlugIn([&events] { events.OnSheetInitDialog(); });
        }
        TellClosed();
        // comctl32 destroyed every page window and page handle.
        for (auto& [page, entry] : pages_) entry->handle = nullptr;
        pages_.clear();
        tabs_.clear();
        sheet_ = nullptr;
        events_ = nullptr;
        if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
    }

    // --- Platform: controls -------------------------------------------------

    void SetText(PageId page, int control, std::string_view text) override {
        HWND window = ControlWindow(page, control);
        if (window == nullptr) return;
        const std::wstring wide = WidenText(text);
        const ControlDecl* decl = FindControl(page, control);
        // Button captions are what the technician watches while the node is
        // busy ("Wait").
        if (decl != nullptr && decl->kind == ControlKind::PushButton) {
            hooks_.ButtonCaption(page, control, window, text);
        }
        SetWindowTextW(window, wide.c_str());
    }

    std::string GetText(PageId page, int control) override {
        HWND window = ControlWindow(page, control);
        return window != nullptr ? NarrowText(WindowText(window)) : std::string();
    }

    void SetCheck(PageId page, int control, bool checked) override {
        if (HWND window = ControlWindow(page, control)) {
            SendMessageW(window, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
        }
    }

    bool GetCheck(PageId page, int control) override {
        HWND window = ControlWindow(page, control);
        return window != nullptr && SendMessageW(window, BM_GETCHECK, 0, 0) == BST_CHECKED;
    }

    void Enable(PageId page, int control, bool enabled) override {
        HWND window = ControlWindow(page, control);
        if (window == nullptr) return;
        if (!enabled) KeepFocusOff(page, window);
        EnableWindow(window, enabled ? TRUE : FALSE);
    }

    void SetFocus(PageId page, int control) override {
        HWND window = ControlWindow(page, control);
        HWND dialog = PageWindow(page);
        if (window == nullptr || dialog == nullptr) return;
        SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(window), TRUE);
    }

    // --- Platform: timers, time, dialogs, files -----------------------------

    void SetTimer(PageId page, int timerId, int periodMs) override {
        HWND window = PageWindow(page);
        if (window == nullptr) return;
        if (hooks_.SetPageTimer(page, timerId, periodMs)) return;
        ::SetTimer(window, static_cast<UINT_PTR>(timerId), static_cast<UINT>(std::max(periodMs, 0)),
                   nullptr);
    }

    void KillTimer(PageId page, int timerId) override {
        hooks_.KillPageTimer(page, timerId);
        if (HWND window = PageWindow(page)) ::KillTimer(window, static_cast<UINT_PTR>(timerId));
    }

    void Sleep(int ms) override {
        ms = std::max(ms, 0);
        if (hooks_.Wait(ms)) return;
        WaitPainting(ms);
    }

    void ShowProgress(PageId page, std::string_view pass, int step, int total) override {
        auto it = pages_.find(page);
        const ProgressArea* area = ProgressAreaOf(page);
        if (it == pages_.end() || it->second->window == nullptr || area == nullptr) return;
        PageEntry& entry = *it->second;
        if (total <= 0) {
            if (entry.progressText != nullptr) ShowWindow(entry.progressText, SW_HIDE);
            if (entry.progressBar != nullptr) ShowWindow(entry.progressBar, SW_HIDE);
            return;
        }
        if (entry.progressBar == nullptr) MakeProgress(entry, *area);
        if (entry.progressBar == nullptr || entry.progressText == nullptr) return;
        const std::string text =
            std::string(pass) + " " + std::to_string(step) + " of " + std::to_string(total);
        SetWindowTextW(entry.progressText, WidenText(text).c_str());
        SendMessageW(entry.progressBar, PBM_SETRANGE32, 0, total);
        SendMessageW(entry.progressBar, PBM_SETPOS, static_cast<WPARAM>(step), 0);
        ShowWindow(entry.progressText, SW_SHOWNA);
        ShowWindow(entry.progressBar, SW_SHOWNA);
        // On screen now, not at the next wait.
        UpdateWindow(entry.progressText);
        UpdateWindow(entry.progressBar);
    }

    LocalTime Now() override {
        SYSTEMTIME now{};
        if (const std::optional<SYSTEMTIME> host = hooks_.LocalTime()) {
            now = *host;
        } else {
            GetLocalTime(&now);
        }
        LocalTime t;
        t.year = now.wYear;
        t.month = now.wMonth;
        t.day = now.wDay;
        t.hour = now.wHour;
        t.minute = now.wMinute;
        t.second = now.wSecond;
        t.dayOfWeek = now.wDayOfWeek;
        return t;
    }

    MsgAnswer MessageBox(std::string_view text, std::string_view title, MsgButtons buttons,
                         MsgIcon icon) override {
        const std::wstring wideText = WidenText(text);
        const std::wstring wideTitle = WidenText(title.empty() ? text::kDefaultTitle : title);
        const UINT flags = ButtonFlags(buttons) | IconFlags(icon);
        HWND owner = sheet_ != nullptr ? sheet_ : owner_;
        // The host hears the title as the plug-in gave it: empty means its default.
        hooks_.MessageBoxAsked(text, title, buttons, icon);
        const int result = ::MessageBoxW(owner, wideText.c_str(), wideTitle.c_str(), flags);
        std::optional<MsgAnswer> pressed;
        if (result != 0) pressed = AnswerOf(result);
        return hooks_.MessageBoxAnswered(text, title, buttons, icon, pressed)
            .value_or(AnswerOf(result));
    }

    std::optional<std::string> OpenFileDialog(const FileDialogRequest& request) override {
        return FileDialog(false, request);
    }

    std::optional<std::string> SaveFileDialog(const FileDialogRequest& request) override {
        return FileDialog(true, request);
    }

    std::optional<std::string> ReadFile(const std::string& path) override {
        return ReadWholeFile(path);
    }
    bool ReplaceFile(const std::string& path, std::string_view bytes) override {
        return ReplaceWholeFile(path, bytes);
    }
    bool FileWritable(const std::string& path) override { return IsWritableFile(path); }
    bool AppendFile(const std::string& path, std::string_view bytes) override {
        return AppendToFile(path, bytes);
    }

    MsgAnswer ShowReviewList(const ReviewList& list, ReviewButtons buttons) override {
        return ShowReviewWindow(sheet_ != nullptr ? sheet_ : owner_, list, buttons, hooks_);
    }

    // The trend window is not drawn on Windows yet: the sheet is told there
    // is none, so it samples nothing.
    // The trend window is the sheet's: "Trend..." again brings it to the
    // front, and it goes when the sheet ends the trend.
    bool OpenTrend(TrendView& view) override {
        if (trend_ && trend_->Window() != nullptr) {
            trend_->ToFront();
            return true;
        }
        trend_.reset();
        retiredTrend_.reset();
        if (sheet_ == nullptr) return false;
        trend_ = OpenTrendWindow(sheet_, view, *this, hooks_);
        return trend_ != nullptr;
    }
    void UpdateTrend() override {
        if (trend_) trend_->Update();
    }
    void CloseTrend() override {
        if (!trend_) return;
        trend_->Close();
        // The window may be closing from its own procedure, which is still
        // running: the object goes with the next trend or the sheet.
        retiredTrend_ = std::move(trend_);
    }

    // A test host may keep the technician's choices and name the folder
    // itself, so that a scripted run starts from the defaults every time and
    // leaves the PC's own choices alone.
    std::optional<std::string> UserSetting(std::string_view name) override {
        std::optional<std::string> kept;
        if (hooks_.UserSetting(name, kept)) return kept;
        return ReadUserSetting(name);
    }
    void SetUserSetting(std::string_view name, std::string_view value) override {
        if (hooks_.SetUserSetting(name, value)) return;
        WriteUserSetting(name, value);
    }
    std::string UserFolder() override {
        if (std::optional<std::string> folder = hooks_.UserFolder()) return *std::move(folder);
        return UserDataFolder();
    }
    std::string UserName() override {
        if (std::optional<std::string> name = hooks_.UserName()) return *std::move(name);
        return LoggedOnUser();
    }
    bool MakeFolder(const std::string& path) override { return MakeFolders(path); }
    std::vector<std::string> FileNames(const std::string& folder) override {
        return FilesInFolder(folder);
    }
    bool RemoveFile(const std::string& path) override { return DeleteOneFile(path); }

private:
    // --- TrendWindowSheet -------------------------------------------------------
    // The trend window's calls into the core, as the pages' are: nothing
    // during a node wait.
    void CallPlugIn(const std::function<void()>& call) override {
        if (waiting_) return;
        IntoPlugIn([&call] { call(); });
    }
    Screen& SheetScreen() override { return *this; }

    // What the core does from inside the sheet's window procedures. An
    // exception must not unwind through the system's frames: it closes the
    // sheet and is thrown again once the sheet is gone; the core hears
    // nothing more meanwhile.
    template <typename Call>
    void IntoPlugIn(Call&& call) noexcept {
        if (failure_) return;
        ++inPlugIn_;
        if (std::exception_ptr thrown = win32::Guarded([this, &call] {
                hooks_.BeforePlugIn();
                call();
            })) {
            failure_ = std::move(thrown);
            if (sheet_ != nullptr) PropSheet_PressButton(sheet_, PSBTN_CANCEL);
        }
        --inPlugIn_;
    }

    // The technician asks to close the sheet: "Exit", Enter where it presses
    // "Exit", Esc (Cancel is hidden, but the key still cancels), the close
    // box, Alt+F4. The plug-in may keep it open (typed values not written);
    // then the request goes no further, so no page hears of it. Once a close
    // is let through, what comctl32 makes of it (the close box becomes
    // Cancel) passes without a second question.
    bool MayClose() {
        if (closeAccepted_ || failure_) return true;
        // Not in the middle of the plug-in's own work (a node wait, a box
        // it shows): the sheet would go while a page is still running.
        if (waiting_ || inPlugIn_ > 0 || events_ == nullptr) return false;
        bool close = true;
        IntoPlugIn([this, &close] { close = events_->OnSheetClosing(); });
        // A failure has already closed the sheet.
        if (failure_ || !close) return false;
        AcceptClose();
        return true;
    }

    // From here on the sheet is going away; a script site hears it at once,
    // so that the technician's step that closed it knows.
    void AcceptClose() {
        closeAccepted_ = true;
        TellClosed();
    }

    void TellClosed() {
        if (closeTold_) return;
        closeTold_ = true;
        hooks_.SheetClosed();
    }

    void MakeProgress(PageEntry& entry, const ProgressArea& area) {
        RECT text{area.x, area.textY, area.x + area.w, area.textY + area.textH};
        RECT bar{area.x, area.barY, area.x + area.w, area.barY + area.barH};
        MapDialogRect(entry.window, &text);
        MapDialogRect(entry.window, &bar);
        HINSTANCE instance =
            reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(entry.window, GWLP_HINSTANCE));
        entry.progressText =
            CreateWindowExW(0, WC_STATICW, L"", WS_CHILD | SS_LEFT | SS_NOPREFIX, text.left,
                            text.top, text.right - text.left, text.bottom - text.top, entry.window,
                            nullptr, instance, nullptr);
        entry.progressBar = CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD, bar.left, bar.top,
                                            bar.right - bar.left, bar.bottom - bar.top,
                                            entry.window, nullptr, instance, nullptr);
        if (entry.progressText != nullptr) {
            SendMessageW(entry.progressText, WM_SETFONT,
                         static_cast<WPARAM>(SendMessageW(entry.window, WM_GETFONT, 0, 0)), FALSE);
        }
    }

    // A wait the node needs: the thread blocks for `ms` as the node expects,
    // but the sheet keeps painting meanwhile. The technician's input is
    // dropped and nothing reaches the plug-in until the operation that waits
    // has ended (a page's timer, a click, a tab change), so the waiting
    // operation is never entered twice.
    void WaitPainting(int ms) {
        const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(ms);
        const bool outer = !waiting_;
        waiting_ = true;
        for (ULONGLONG now = GetTickCount64(); now < end; now = GetTickCount64()) {
            const auto slice = static_cast<DWORD>(std::min<ULONGLONG>(end - now, kPaintSliceMs));
            MsgWaitForMultipleObjectsEx(0, nullptr, slice, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
            MSG message;
            bool quitting = false;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                if (message.message == WM_QUIT) {
                    // For the loop that owns it, once the operation is done.
                    PostQuitMessage(static_cast<int>(message.wParam));
                    quitting = true;
                    break;
                }
                if (IsInputMessage(message.message)) continue;
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
            if (quitting) {
                if (GetTickCount64() < end) ::Sleep(static_cast<DWORD>(end - GetTickCount64()));
                break;
            }
            // Whatever became invalid (another window moved away, the
            // progress changed) is painted now, whether or not the queue has
            // offered the paint yet.
            if (sheet_ != nullptr) {
                RedrawWindow(sheet_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
            }
        }
        if (outer) waiting_ = false;
    }

    // Rows of tabs stretched to the sheet's width can squeeze a row whose
    // captions only just fit (Wine's tab control does at 144 DPI), cutting
    // captions off. Then the rows stay as wide as their captions instead.
    static void KeepTabCaptionsWhole(HWND tabs) {
        if ((GetWindowLongW(tabs, GWL_STYLE) & TCS_RAGGEDRIGHT) != 0) return;
        HDC dc = GetDC(tabs);
        if (dc == nullptr) return;
        HGDIOBJ previous =
            SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(tabs, WM_GETFONT, 0, 0)));
        bool clipped = false;
        for (int i = 0; i < TabCtrl_GetItemCount(tabs) && !clipped; ++i) {
            const std::optional<std::wstring> text = TabText(tabs, i);
            RECT bounds{};
            SIZE extent{};
            clipped =
                text && TabCtrl_GetItemRect(tabs, i, &bounds) &&
                GetTextExtentPoint32W(dc, text->c_str(), static_cast<int>(text->size()), &extent) &&
                extent.cx > bounds.right - bounds.left - 2;
        }
        SelectObject(dc, previous);
        ReleaseDC(tabs, dc);
        if (!clipped) return;
        SetWindowLongW(tabs, GWL_STYLE, GetWindowLongW(tabs, GWL_STYLE) | TCS_RAGGEDRIGHT);
        // Given its font again, the tab control lays its rows out anew.
        SendMessageW(tabs, WM_SETFONT, static_cast<WPARAM>(SendMessageW(tabs, WM_GETFONT, 0, 0)),
                     TRUE);
    }

    // A set switch can add rows of tabs, and the tab control then shows less
    // of the page than its layout needs. The sheet grows (it never shrinks,
    // so it does not jump back and forth between the sets) until the tab
    // control's display area holds a whole page; the buttons below move down
    // with it, and the sheet moves up when it would leave the screen.
    void FitPages() {
        if (sheet_ == nullptr) return;
        HWND tabs = PropSheet_GetTabControl(sheet_);
        HWND current = PropSheet_GetCurrentPageHwnd(sheet_);
        if (tabs == nullptr || current == nullptr) return;
        KeepTabCaptionsWhole(tabs);
        RECT page{0, 0, kPageWidthDlu, kPageHeightDlu};
        MapDialogRect(current, &page);
        RECT display{};
        GetClientRect(tabs, &display);
        TabCtrl_AdjustRect(tabs, FALSE, &display);
        const int missing = page.bottom - (display.bottom - display.top);
        if (missing <= 0) return;

        RECT tabBounds{};
        GetWindowRect(tabs, &tabBounds);
        SetWindowPos(tabs, nullptr, 0, 0, tabBounds.right - tabBounds.left,
                     tabBounds.bottom - tabBounds.top + missing,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        for (int id : {IDOK, IDCANCEL, kApplyButtonId, IDHELP}) {
            HWND button = GetDlgItem(sheet_, id);
            if (button == nullptr) continue;
            RECT bounds{};
            GetWindowRect(button, &bounds);
            MapWindowPoints(nullptr, sheet_, reinterpret_cast<POINT*>(&bounds), 2);
            SetWindowPos(button, nullptr, bounds.left, bounds.top + missing, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        RECT sheetBounds{};
        GetWindowRect(sheet_, &sheetBounds);
        sheetBounds.bottom += missing;
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        if (GetMonitorInfoW(MonitorFromWindow(sheet_, MONITOR_DEFAULTTONEAREST), &monitor) &&
            sheetBounds.bottom > monitor.rcWork.bottom) {
            const LONG up = std::min(sheetBounds.bottom - monitor.rcWork.bottom,
                                     sheetBounds.top - monitor.rcWork.top);
            if (up > 0) OffsetRect(&sheetBounds, 0, -up);
        }
        SetWindowPos(sheet_, nullptr, sheetBounds.left, sheetBounds.top,
                     sheetBounds.right - sheetBounds.left, sheetBounds.bottom - sheetBounds.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        // The page on top takes the whole display area; the others are
        // placed there by the sheet when they are next selected.
        RECT area{};
        GetClientRect(tabs, &area);
        TabCtrl_AdjustRect(tabs, FALSE, &area);
        MapWindowPoints(tabs, sheet_, reinterpret_cast<POINT*>(&area), 2);
        SetWindowPos(current, nullptr, area.left, area.top, area.right - area.left,
                     area.bottom - area.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }

    // A control that disables or hides itself when pressed ("User",
    // "Technician") would leave the keyboard nowhere: the focus moves on to
    // the next control first.
    void KeepFocusOff(PageId page, HWND control) {
        if (GetFocus() == control) SendMessageW(PageWindow(page), WM_NEXTDLGCTL, 0, FALSE);
    }

    HWND PageWindow(PageId page) const {
        auto it = pages_.find(page);
        return it != pages_.end() ? it->second->window : nullptr;
    }

    HWND ControlWindow(PageId page, int control) const {
        HWND window = PageWindow(page);
        if (window == nullptr || control == IDC_STATIC) return nullptr;
        return GetDlgItem(window, control);
    }

    void Forget(PageId page) {
        pages_.erase(page);
        std::erase(tabs_, page);
    }

    HPROPSHEETPAGE CreateHandle(PageEntry& entry) {
        auto& dialog = templates_[entry.page];
        if (dialog.empty()) dialog = PageTemplate(entry.page);
        PROPSHEETPAGEW page{};
        page.dwSize = sizeof page;
        page.dwFlags = PSP_DLGINDIRECT | PSP_USETITLE;
        page.hInstance = resources_;
        page.pResource = reinterpret_cast<LPCDLGTEMPLATEW>(dialog.data());
        page.pszTitle = entry.title.c_str();
        page.pfnDlgProc = &SheetPlatform::PageProc;
        page.lParam = reinterpret_cast<LPARAM>(&entry);
        return CreatePropertySheetPageW(&page);
    }

    std::optional<std::string> FileDialog(bool save, const FileDialogRequest& request) {
        // A script answers without a window: a real file dialog would ask
        // questions of its own (overwrite, missing file) that no script can
        // foresee.
        std::optional<std::string> scripted;
        if (hooks_.FileDialogAsked(save, request, scripted)) return scripted;
        const std::wstring folder = WidenPath(request.initialFolder);
        const std::wstring filter = FileDialogFilter(request.filter);
        // The core names the extension as its pattern ("*.txt"); the dialog
        // appends what it is given to a name typed without one, so it gets
        // the bare extension ("txt").
        std::wstring extension = WidenText(request.defaultExtension);
        extension.erase(0, extension.find_first_not_of(L"*."));
        std::wstring path = WidenPath(request.proposedName);
        // A folder in the proposed name would win over the given folder: the
        // dialog then gets the name alone.
        if (!folder.empty()) path.erase(0, path.find_last_of(L"\\/:") + 1);
        if (path.size() >= kPathChars) path.clear();
        path.resize(kPathChars, L'\0');
        OPENFILENAMEW dialog{};
        dialog.lStructSize = sizeof dialog;
        dialog.hwndOwner = sheet_ != nullptr ? sheet_ : owner_;
        dialog.lpstrFilter = request.filter.empty() ? nullptr : filter.c_str();
        dialog.nFilterIndex = 1;
        dialog.lpstrFile = path.data();
        dialog.nMaxFile = kPathChars;
        dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
        // The node's backups, for one: the dialog opens among them, or in
        // the nearest folder above that exists (before the first backup).
        const std::wstring initial = NearestFolder(folder);
        dialog.lpstrInitialDir = initial.empty() ? nullptr : initial.c_str();
        // Read-only files hidden and no questions of the dialog's own: whether
        // a file exists or may be overwritten is the plug-in's to ask. The
        // host's current folder stays as it was.
        dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
        const BOOL chosen = save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
        std::optional<std::string> answer;
        if (chosen) answer = NarrowPath(path.c_str());
        hooks_.FileDialogAnswered(save, request, chosen ? path.c_str() : nullptr);
        return answer;
    }

    // --- Window procedures ----------------------------------------------------
    // None lets an exception out: the core's calls run in IntoPlugIn, and what
    // the procedures do themselves does not throw.

    // The sheet's window is taken over as it is created, before its
    // WM_INITDIALOG, so that the plug-in's part of the initialisation follows
    // comctl32's within the same message.
    static LRESULT CALLBACK WatchForSheet(int code, WPARAM wParam, LPARAM lParam) noexcept {
        SheetPlatform* opening = g_opening;
        if (opening != nullptr && opening->sheet_ == nullptr) {
            if (HWND sheet = CreatedDialog(code, wParam, lParam)) opening->TakeOver(sheet);
        }
        return CallNextHookEx(opening != nullptr ? opening->sheetHook_ : nullptr, code, wParam,
                              lParam);
    }

    // Should the hook have missed the window, the callback (during comctl32's
    // own WM_INITDIALOG) catches it; the plug-in's initialisation then
    // follows when the sheet is first shown.
    static int CALLBACK SheetCallback(HWND sheet, UINT message, LPARAM) noexcept {
        if (message == PSCB_INITIALIZED && g_opening != nullptr && g_opening->sheet_ == nullptr) {
            g_opening->TakeOver(sheet);
        }
        return 0;
    }

    void TakeOver(HWND sheet) {
        sheet_ = sheet;
        SetWindowSubclass(sheet, &SheetPlatform::SheetProc, kSheetSubclassId,
                          reinterpret_cast<DWORD_PTR>(this));
    }

    // Sheet initialisation: comctl32's default (tabs, buttons, the first page
    // created and shown), then the plug-in's ("Exit", Apply and Cancel
    // hidden, perhaps "Node not available!"), then the script site's turn,
    // if any, once the modal loop runs.
    void InitialiseSheet(HWND sheet) {
        initialised_ = true;
        FitPages();
        IntoPlugIn([this] { events_->OnSheetInitDialog(); });
        if (hooks_.Scripting()) PostMessageW(sheet, kRunScriptMessage, 0, 0);
    }

    static LRESULT CALLBACK SheetProc(HWND sheet, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR id, DWORD_PTR data) noexcept {
        auto* self = reinterpret_cast<SheetPlatform*>(data);
        switch (message) {
            case WM_INITDIALOG:
            case WM_SHOWWINDOW:
                if ((message == WM_INITDIALOG || wParam != FALSE) && !self->initialised_) {
                    // Whether it placed the focus is comctl32's answer.
                    const LRESULT result = DefSubclassProc(sheet, message, wParam, lParam);
                    self->InitialiseSheet(sheet);
                    return result;
                }
                break;
            case kRunScriptMessage:
                // A script that is done without closing the sheet leaves it
                // as "Exit" does, without a question (as on the headless
                // sheet).
                if (!self->failure_ && self->hooks_.SheetReady(sheet) && IsWindow(sheet) &&
                    !self->failure_ && !self->closeAccepted_) {
                    // The trend window belongs to the sheet and goes first.
                    self->CloseTrend();
                    self->AcceptClose();
                    PropSheet_PressButton(sheet, PSBTN_OK);
                }
                return 0;
            case WM_COMMAND:
                // "Exit" (OK), Enter where it presses "Exit", and Esc (Cancel).
                if ((LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) &&
                    HIWORD(wParam) == BN_CLICKED && !self->MayClose()) {
                    return 0;
                }
                break;
            case WM_SYSCOMMAND:
                // The close box, Alt+F4 and the window menu's Close.
                if ((wParam & 0xFFF0) == SC_CLOSE && !self->MayClose()) return 0;
                break;
            case WM_CLOSE:
                if (!self->MayClose()) return 0;
                break;
            case WM_DESTROY:
                self->closing_ = true;
                self->TellClosed();
                break;
            case WM_NCDESTROY:
                RemoveWindowSubclass(sheet, &SheetPlatform::SheetProc, id);
                self->sheet_ = nullptr;
                break;
            default:
                break;
        }
        return DefSubclassProc(sheet, message, wParam, lParam);
    }

    static INT_PTR CALLBACK PageProc(HWND window, UINT message, WPARAM wParam,
                                     LPARAM lParam) noexcept {
        if (message == WM_INITDIALOG) {
            const auto* page = reinterpret_cast<const PROPSHEETPAGEW*>(lParam);
            auto* entry = reinterpret_cast<PageEntry*>(page->lParam);
            SetWindowLongPtrW(window, DWLP_USER, reinterpret_cast<LONG_PTR>(entry));
            entry->window = window;
            SheetPlatform& self = *entry->platform;
            self.hooks_.PageWindow(entry->page, window);
            for (const ControlDecl& decl : LayoutOf(entry->page).controls) {
                if (decl.id != IDC_STATIC && IsEdit(decl.kind)) {
                    if (HWND control = GetDlgItem(window, decl.id)) {
                        NameForAccessibility(control, decl);
                        CenterLineVertically(control);
                    }
                }
            }
            self.IntoPlugIn([entry] { entry->events->OnInitDialog(); });
            return TRUE;  // the sheet places the focus
        }
        auto* entry = reinterpret_cast<PageEntry*>(GetWindowLongPtrW(window, DWLP_USER));
        if (entry == nullptr) return FALSE;
        SheetPlatform& self = *entry->platform;
        // During a node wait the page only paints.
        if (self.waiting_ && (message == WM_COMMAND || message == WM_TIMER)) return TRUE;
        switch (message) {
            case WM_SHOWWINDOW:
                // Shown or hidden by the sheet's tab changes (not by the
                // sheet going away around it).
                if (lParam == 0 && !self.closing_) {
                    self.IntoPlugIn([entry, wParam] { entry->events->OnShow(wParam != FALSE); });
                }
                return FALSE;
            case WM_TIMER:
                self.hooks_.TimerFired(entry->page, static_cast<int>(wParam));
                self.IntoPlugIn(
                    [entry, wParam] { entry->events->OnTimer(static_cast<int>(wParam)); });
                return TRUE;
            case WM_COMMAND:
                if (HIWORD(wParam) == BN_CLICKED && lParam != 0) {
                    const int control = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
                    const ControlDecl* decl = FindControl(entry->page, control);
                    if (decl != nullptr && IsButtonKind(decl->kind)) {
                        self.IntoPlugIn([entry, control] { entry->events->OnClick(control); });
                        return TRUE;
                    }
                }
                return FALSE;
            case WM_DESTROY:
                entry->window = nullptr;
                entry->progressText = nullptr;
                entry->progressBar = nullptr;
                self.hooks_.PageWindow(entry->page, nullptr);
                SetWindowLongPtrW(window, DWLP_USER, 0);
                return FALSE;
            default:
                return FALSE;
        }
    }

    HINSTANCE resources_;
    HWND owner_;
    // The test host's script and storage sites, when it offers them.
    ScriptHooks hooks_;
    HHOOK sheetHook_ = nullptr;
    SheetEvents* events_ = nullptr;
    HWND sheet_ = nullptr;
    std::map<PageId, std::unique_ptr<PageEntry>> pages_;
    std::vector<PageId> tabs_;
    std::map<PageId, std::vector<DWORD>> templates_;
    // A node wait is under way: the plug-in hears nothing until it ends.
    bool waiting_ = false;
    bool initialised_ = false;
    bool closing_ = false;
    bool closeTold_ = false;
    // The technician's close was let through (or a script left the sheet).
    bool closeAccepted_ = false;
    // Calls into the plug-in under way (a page action and the boxes it shows).
    int inPlugIn_ = 0;
    std::unique_ptr<TrendWindow> trend_;
    std::unique_ptr<TrendWindow> retiredTrend_;
    std::exception_ptr failure_;
};

}  // namespace

std::unique_ptr<Platform> CreateWin32Platform(HINSTANCE resources, HWND owner, IUnknown* site) {
    return std::make_unique<SheetPlatform>(resources, owner, site);
}

}  // namespace qta1
