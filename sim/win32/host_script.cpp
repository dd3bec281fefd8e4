#include "host_script.h"

// clang-format off
#include <commctrl.h>
// clang-format on

#include <algorithm>
#include <exception>

// The core's name, not the system's character-set macro of the same name.
#undef MessageBox

#include "host_user_folder.h"
#include "platform/trace_lines.h"
#include "platform/win32/com_support.h"
#include "platform/win32/win32_platform.h"
#include "resources/strings.h"

namespace qta1::host {

namespace {

constexpr UINT_PTR kAnswerTimerId = 0x71A3;
constexpr UINT_PTR kReviewTimerId = 0x71A4;
constexpr UINT_PTR kFileDialogTimerId = 0x71A5;

// The site whose message box or review window is being answered: one
// user-interface thread.
SheetScript* g_answering = nullptr;
SheetScript* g_reviewing = nullptr;
SheetScript* g_showingDialog = nullptr;

bool HasStyle(HWND window, DWORD style) {
    return (static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)) & style) != 0;
}

std::string Text(LPCWSTR text) { return text != nullptr ? NarrowText(text) : std::string(); }

// A page of the page table by its number, as the script site passes it.
std::optional<PageId> PageOf(INT number) {
    const PageId page{number};
    if (LayoutOf(page).dialogId == 0) return std::nullopt;
    return page;
}

int CommandOf(MsgAnswer answer) {
    switch (answer) {
        case MsgAnswer::Ok:
            return IDOK;
        case MsgAnswer::Yes:
            return IDYES;
        case MsgAnswer::No:
            return IDNO;
        case MsgAnswer::Cancel:
            return IDCANCEL;
    }
    return IDOK;
}

// Dispatches what is waiting; false once the application is quitting.
bool PumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return false;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return true;
}

FileDialogRequest RequestOf(const win32::Qta1Question& dialog) {
    return {Text(dialog.proposedName), Text(dialog.extension), Text(dialog.filter),
            dialog.folder != nullptr ? NarrowPath(dialog.folder) : std::string()};
}

}  // namespace

ReviewList ReadReviewWindow(HWND window) {
    ReviewList shown;
    shown.title = NarrowText(WindowText(window));
    // The heading's box shows its line breaks as "\r\n"; the plug-in gave "\n".
    std::wstring heading = WindowText(GetDlgItem(window, win32::kReviewHeadingId));
    for (size_t at = heading.find(L"\r\n"); at != std::wstring::npos;
         at = heading.find(L"\r\n", at + 1)) {
        heading.erase(at, 1);
    }
    shown.heading = NarrowText(heading);
    HWND list = GetDlgItem(window, win32::kReviewListId);
    if (list == nullptr) return shown;
    const int columns = Header_GetItemCount(ListView_GetHeader(list));
    for (int c = 0; c < columns; ++c) {
        wchar_t text[1024] = {};
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT;
        column.pszText = text;
        column.cchTextMax = static_cast<int>(std::size(text));
        ListView_GetColumn(list, c, &column);
        shown.columns.push_back(NarrowText(text));
    }
    const int rows = ListView_GetItemCount(list);
    for (int r = 0; r < rows; ++r) {
        std::vector<std::string>& row = shown.rows.emplace_back();
        for (int c = 0; c < columns; ++c) {
            // A buffer one longer than the text: when the text fills it, it
            // may have been cut, so the buffer grows and the text is asked again.
            std::wstring text(256, L'\0');
            for (;;) {
                LVITEMW item{};
                item.iSubItem = c;
                item.pszText = text.data();
                item.cchTextMax = static_cast<int>(text.size());
                const auto length =
                    static_cast<size_t>(SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(r),
                                                     reinterpret_cast<LPARAM>(&item)));
                if (length + 1 < text.size()) {
                    text.resize(length);
                    break;
                }
                text.assign(text.size() * 2, L'\0');
            }
            row.push_back(NarrowText(text));
        }
    }
    return shown;
}

SheetScript::SheetScript(Trace& trace, VirtualClock& clock,
                         std::function<void(const std::string&)> onFileAnswer)
    : trace_(trace), clock_(clock), onFileAnswer_(std::move(onFileAnswer)), timers_(clock) {}

void SheetScript::Script(std::function<void(SheetScript&)> driver) { driver_ = std::move(driver); }

void SheetScript::ForUser() {
    driver_ = nullptr;
    wallStartTick_ = GetTickCount64();
    wallStartMs_ = clock_.NowMs();
}

void SheetScript::FollowWallClock() {
    if (Scripted()) return;
    const int64_t due = wallStartMs_ + static_cast<int64_t>(GetTickCount64() - wallStartTick_);
    if (due > clock_.NowMs()) clock_.Advance(due - clock_.NowMs());
}

HWND SheetScript::PageWindow(PageId page) const {
    auto it = pages_.find(page);
    return it != pages_.end() ? it->second : nullptr;
}

HWND SheetScript::ControlWindow(PageId page, int control) const {
    HWND window = PageWindow(page);
    if (window == nullptr || control == IDC_STATIC) return nullptr;
    return GetDlgItem(window, control);
}

// --- IUnknown ------------------------------------------------------------------

HRESULT STDMETHODCALLTYPE SheetScript::QueryInterface(REFIID iid, void** out) {
    static const win32::Offered<SheetScript> kOffered[] = {
        win32::Offer<win32::IQta1ScriptSite, SheetScript>(IID_IUnknown),
        win32::Offer<win32::IQta1ScriptSite, SheetScript>(win32::kIidQta1ScriptSite),
        {&win32::kIidQta1StorageSite,
         [](SheetScript* script) -> IUnknown* { return &script->storage_; }},
    };
    return win32::QueryOffered(this, kOffered, iid, out);
}

// --- What the sheet tells ----------------------------------------------------------

HRESULT STDMETHODCALLTYPE SheetScript::SheetOpening(LPCWSTR caption) {
    return win32::Guarded([&]() -> HRESULT {
        FollowWallClock();
        trace_.Add(trace_line::SheetOpens(Text(caption)));
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE SheetScript::SheetReady(HWND sheet) {
    sheet_ = sheet;
    if (!Scripted()) return S_FALSE;
    // Nothing thrown by the script may unwind through the sheet: it is
    // thrown again once the properties verb has returned.
    try {
        driver_(*this);
    } catch (...) {
        failure_ = std::current_exception();
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE SheetScript::SheetClosed() {
    return win32::Guarded([&]() -> HRESULT {
        FollowWallClock();
        trace_.Add(trace_line::SheetCloses());
        timers_.Clear();
        pages_.clear();
        sheet_ = nullptr;
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE SheetScript::PageWindow(INT page, HWND window) {
    return win32::Guarded([&]() -> HRESULT {
        const auto id = PageOf(page);
        if (window == nullptr) {
            if (id) {
                pages_.erase(*id);
                timers_.KillPage(*id);
            }
            return S_OK;
        }
        if (id) pages_[*id] = window;
        FollowWallClock();
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE SheetScript::BeforePlugIn() {
    return win32::Guarded([&]() -> HRESULT {
        FollowWallClock();
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE SheetScript::ButtonCaption(INT page, INT control, LPCWSTR text) {
    return win32::Guarded([&]() -> HRESULT {
        const auto id = PageOf(page);
        const ControlDecl* decl = id ? FindControl(*id, control) : nullptr;
        if (decl == nullptr) return E_INVALIDARG;
        FollowWallClock();
        trace_.Add(trace_line::Caption(*decl, Text(text)));
        return S_OK;
    });
}

// --- The trend window ----------------------------------------------------------------

void SheetScript::ReadTrend(HWND window, const win32::Qta1TrendSamples& told) {
    const size_t count = told.samples != nullptr ? static_cast<size_t>(std::max(told.count, 0)) : 0;
    TrendModel& model = trend_.emplace(std::max<size_t>(count, 1));
    const LRESULT chosen =
        SendDlgItemMessageW(window, win32::kTrendWindowComboId, CB_GETCURSEL, 0, 0);
    if (chosen >= 0 && static_cast<size_t>(chosen) < std::size(kTrendWindows)) {
        model.SetWindow(kTrendWindows[chosen]);
    }
    for (size_t i = 0; i < kTrendSeriesCount; ++i) {
        model.SetShown(i,
                       SendDlgItemMessageW(window, win32::kTrendSeriesFirstId + static_cast<int>(i),
                                           BM_GETCHECK, 0, 0) == BST_CHECKED);
    }
    // Paused, the window's end stays where the newest sample was then.
    const bool paused =
        WindowText(GetDlgItem(window, win32::kTrendPauseId)) == WidenText(text::kTrendResumeButton);
    bool pausedYet = false;
    for (size_t s = 0; s < count; ++s) {
        const win32::Qta1TrendSample& sample = told.samples[s];
        if (paused && !pausedYet && sample.seconds > told.windowEnd) {
            model.SetPaused(true);
            pausedYet = true;
        }
        TrendSample kept;
        kept.seconds = sample.seconds;
        kept.time.year = sample.time.wYear;
        kept.time.month = sample.time.wMonth;
        kept.time.day = sample.time.wDay;
        kept.time.hour = sample.time.wHour;
        kept.time.minute = sample.time.wMinute;
        kept.time.second = sample.time.wSecond;
        kept.time.dayOfWeek = sample.time.wDayOfWeek;
        for (size_t i = 0; i < kTrendSeriesCount; ++i) {
            if (sample.words[i] >= 0) kept.words[i] = static_cast<uint16_t>(sample.words[i]);
        }
        model.Add(kept);
    }
    if (paused && !pausedYet) model.SetPaused(true);
}

HRESULT STDMETHODCALLTYPE SheetScript::TrendWindow(INT event, HWND window,
                                                   const win32::Qta1TrendSamples* samples) {
    return win32::Guarded([&]() -> HRESULT {
        FollowWallClock();
        if (event == win32::kQta1TrendClosed) {
            if (trendWindow_ == nullptr) return S_OK;
            trendWindow_ = nullptr;
            trend_.reset();
            trace_.Add(trace_line::TrendCloses());
            return S_OK;
        }
        if (window == nullptr || samples == nullptr) return E_POINTER;
        trendWindow_ = window;
        ReadTrend(window, *samples);
        switch (event) {
            case win32::kQta1TrendOpened:
                trace_.Add(trace_line::TrendOpens());
                return S_OK;
            case win32::kQta1TrendToFront:
                trace_.Add(trace_line::TrendToFront());
                return S_OK;
            case win32::kQta1TrendDrawn:
                trace_.Add(trace_line::TrendUpdate(*trend_));
                return S_OK;
        }
        return E_INVALIDARG;
    });
}

// A scripted wait only moves the virtual clock: the run stays short, and the
// trace shows every wait at the time it would end. The user's waits are real.
HRESULT STDMETHODCALLTYPE SheetScript::Wait(INT ms) {
    return win32::Guarded([&]() -> HRESULT {
        FollowWallClock();
        if (waitWatcher_) waitWatcher_();
        trace_.Add(trace_line::Sleep(ms));
        clock_.Advance(std::max(ms, 0));
        return Scripted() ? S_OK : S_FALSE;
    });
}

HRESULT STDMETHODCALLTYPE SheetScript::LocalTime(SYSTEMTIME* now) {
    return win32::Guarded([&]() -> HRESULT {
        if (now == nullptr) return E_POINTER;
        FollowWallClock();
        const qta1::LocalTime t = clock_.LocalNow();
        *now = SYSTEMTIME{};
        now->wYear = static_cast<WORD>(t.year);
        now->wMonth = static_cast<WORD>(t.month);
        now->wDay = static_cast<WORD>(t.day);
        now->wHour = static_cast<WORD>(t.hour);
        now->wMinute = static_cast<WORD>(t.minute);
        now->wSecond = static_cast<WORD>(t.second);
        now->wDayOfWeek = static_cast<WORD>(t.dayOfWeek);
        return S_OK;
    });
}

// Scripted, page timers run on the virtual clock and fire only when the
// technician lets time pass, as on the headless sheet.
HRESULT STDMETHODCALLTYPE SheetScript::SetPageTimer(INT page, INT id, INT periodMs) {
    return win32::Guarded([&]() -> HRESULT {
        const auto which = PageOf(page);
        if (!Scripted() || !which) return S_FALSE;
        timers_.Set(*which, id, periodMs);
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE SheetScript::KillPageTimer(INT page, INT id) {
    return win32::Guarded([&]() -> HRESULT {
        if (const auto which = PageOf(page)) timers_.Kill(*which, id);
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE SheetScript::TimerFired(INT page, INT id) {
    return win32::Guarded([&]() -> HRESULT {
        const auto which = PageOf(page);
        if (!which) return E_INVALIDARG;
        FollowWallClock();
        trace_.Add(trace_line::Timer(*which, id));
        return S_OK;
    });
}

// --- Message boxes ------------------------------------------------------------------
// Scripted, the box is shown like any other; a hook notices the box's window
// being created, and a timer on that window presses the queued button once
// the box is up and painted (timer messages come after paint messages).

void CALLBACK SheetScript::PressQueuedButton(HWND box, UINT, UINT_PTR id, DWORD) {
    KillTimer(box, id);
    SheetScript* self = g_answering;
    if (self == nullptr || !self->pendingBox_ || self->pendingBox_->box != box) return;
    if (self->boxWatcher_) {
        try {
            if (self->boxWatcher_(box)) return;
        } catch (...) {
            if (!self->failure_) self->failure_ = std::current_exception();
        }
    }
    const int command = self->pendingBox_->command;
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(command, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, command)));
}

LRESULT CALLBACK SheetScript::WatchForMessageBox(int code, WPARAM wParam, LPARAM lParam) {
    SheetScript* self = g_answering;
    if (self != nullptr && self->pendingBox_ && self->pendingBox_->box == nullptr) {
        // The box is the first top-level dialog window created while it is
        // pending (the system may make other windows of its own meanwhile).
        if (HWND box = CreatedDialog(code, wParam, lParam)) {
            self->pendingBox_->box = box;
            SetTimer(box, kAnswerTimerId, 1, PressQueuedButton);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

HRESULT SheetScript::BoxAsked(const win32::Qta1Question& box) {
    if (!Scripted()) return S_FALSE;
    // Scripted: the queued answer, or No for an unanswered Yes / No box,
    // exactly as a technician following the script would press it.
    pendingBox_.emplace();
    pendingBox_->answer = answers_.NextBoxAnswer(static_cast<MsgButtons>(box.buttons));
    pendingBox_->command = CommandOf(pendingBox_->answer.answer);
    pendingBox_->hook.Reset(
        SetWindowsHookExW(WH_CBT, WatchForMessageBox, nullptr, GetCurrentThreadId()));
    g_answering = this;
    return S_FALSE;
}

HRESULT SheetScript::BoxAnswered(const win32::Qta1Question& box, INT* answer) {
    if (answer == nullptr) return E_POINTER;
    bool unanswered = false;
    if (pendingBox_) {
        // A box that could not be shown still gets its scripted answer.
        if (*answer < 0) *answer = static_cast<INT>(pendingBox_->answer.answer);
        unanswered = pendingBox_->answer.unanswered;
        pendingBox_.reset();
        g_answering = nullptr;
    }
    FollowWallClock();
    trace_.Add(trace_line::MessageBox(
        Text(box.text), Text(box.title), static_cast<MsgButtons>(box.buttons),
        static_cast<MsgIcon>(box.icon), static_cast<MsgAnswer>(std::max(*answer, 0)), unanswered));
    return S_OK;
}

// --- File dialogs -------------------------------------------------------------------

HRESULT SheetScript::FileDialogAsked(const win32::Qta1Question& dialog, BSTR* path) {
    if (path == nullptr) return E_POINTER;
    *path = nullptr;
    if (!Scripted()) return S_FALSE;
    if (fileDialogWatcher_) {
        // Shown: a hook notices the dialog's window, and a timer on it lets
        // the watcher see it up and then cancels it.
        shownDialog_.emplace();
        shownDialog_->request = RequestOf(dialog);
        shownDialog_->hook.Reset(
            SetWindowsHookExW(WH_CBT, WatchForFileDialog, nullptr, GetCurrentThreadId()));
        g_showingDialog = this;
        return S_FALSE;
    }
    const std::optional<std::string> answer = answers_.NextFileAnswer();
    trace_.Add(trace_line::FileDialog(dialog.kind == win32::kQta1SaveFileDialog, RequestOf(dialog),
                                      answer));
    if (answer) {
        *path = win32::NewBstr(WidenPath(*answer));
        if (*path == nullptr) return E_OUTOFMEMORY;
    }
    return S_OK;
}

HRESULT SheetScript::FileDialogAnswered(const win32::Qta1Question& dialog, LPCWSTR path) {
    shownDialog_.reset();
    g_showingDialog = nullptr;
    FollowWallClock();
    std::optional<std::string> answer;
    if (path != nullptr) answer = NarrowPath(path);
    trace_.Add(trace_line::FileDialog(dialog.kind == win32::kQta1SaveFileDialog, RequestOf(dialog),
                                      answer));
    return S_OK;
}

LRESULT CALLBACK SheetScript::WatchForFileDialog(int code, WPARAM wParam, LPARAM lParam) {
    SheetScript* self = g_showingDialog;
    if (self != nullptr && self->shownDialog_ && self->shownDialog_->dialog == nullptr) {
        if (HWND dialog = CreatedDialog(code, wParam, lParam)) {
            self->shownDialog_->dialog = dialog;
            SetTimer(dialog, kFileDialogTimerId, 1, SeeFileDialog);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void CALLBACK SheetScript::SeeFileDialog(HWND dialog, UINT, UINT_PTR id, DWORD) {
    KillTimer(dialog, id);
    SheetScript* self = g_showingDialog;
    if (self == nullptr || !self->shownDialog_ || self->shownDialog_->dialog != dialog) return;
    if (self->fileDialogWatcher_) {
        try {
            self->fileDialogWatcher_(dialog, self->shownDialog_->request);
        } catch (...) {
            if (!self->failure_) self->failure_ = std::current_exception();
        }
    }
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

// --- Review windows -----------------------------------------------------------------
// Scripted, the window is shown like a message box and a timer on it presses
// the button of the queued answer once it is up and painted; the trace takes
// what the window shows from its controls, so every scenario also proves
// that the window shows the list it was given.

void CALLBACK SheetScript::PressReviewButton(HWND window, UINT, UINT_PTR id, DWORD) {
    KillTimer(window, id);
    SheetScript* self = g_reviewing;
    if (self == nullptr || !self->pendingReview_ || self->pendingReview_->window != window ||
        !self->pendingReview_->answer) {
        return;
    }
    if (self->reviewWatcher_) {
        try {
            if (self->reviewWatcher_(window)) return;
        } catch (...) {
            if (!self->failure_) self->failure_ = std::current_exception();
        }
    }
    // "Save report..." and "Yes" answer Yes; "No", or else "Close", No.
    int command = IDYES;
    if (self->pendingReview_->answer->answer != MsgAnswer::Yes) {
        command = GetDlgItem(window, IDNO) != nullptr ? IDNO : IDCANCEL;
    }
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(command, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(window, command)));
}

HRESULT SheetScript::ReviewAsked(const win32::Qta1Question& review) {
    pendingReview_.emplace();
    pendingReview_->window = review.window;
    pendingReview_->shown = ReadReviewWindow(review.window);
    if (Scripted()) {
        // The queued answer, or No, exactly as for a Yes / No message box.
        pendingReview_->answer = answers_.NextBoxAnswer(MsgButtons::YesNo);
        g_reviewing = this;
        SetTimer(review.window, kReviewTimerId, 1, PressReviewButton);
    }
    return S_FALSE;
}

HRESULT SheetScript::ReviewAnswered(const win32::Qta1Question& closed, INT* answer) {
    if (answer == nullptr) return E_POINTER;
    std::optional<PendingReview> review = std::exchange(pendingReview_, std::nullopt);
    g_reviewing = nullptr;
    FollowWallClock();
    if (!review) {
        // The window never came up: the script's answer still counts.
        if (Scripted() && *answer < 0) {
            *answer = static_cast<INT>(answers_.NextBoxAnswer(MsgButtons::YesNo).answer);
        }
        trace_.Add("= a review window could not be shown");
        return S_OK;
    }
    bool unanswered = false;
    if (review->answer) {
        if (*answer < 0) *answer = static_cast<INT>(review->answer->answer);
        unanswered = review->answer->unanswered;
    }
    for (std::string& line :
         trace_line::ReviewList(review->shown, static_cast<ReviewButtons>(closed.buttons),
                                static_cast<MsgAnswer>(std::max(*answer, 0)), unanswered)) {
        trace_.Add(std::move(line));
    }
    return S_OK;
}

// --- The questions, whatever their kind ------------------------------------------------

HRESULT STDMETHODCALLTYPE SheetScript::QuestionAsked(const win32::Qta1Question* question,
                                                     BSTR* path) {
    return win32::Guarded([&]() -> HRESULT {
        if (question == nullptr) return E_POINTER;
        switch (question->kind) {
            case win32::kQta1MessageBox:
                return BoxAsked(*question);
            case win32::kQta1ReviewWindow:
                return ReviewAsked(*question);
            case win32::kQta1OpenFileDialog:
            case win32::kQta1SaveFileDialog:
                return FileDialogAsked(*question, path);
        }
        return E_INVALIDARG;
    });
}

HRESULT STDMETHODCALLTYPE SheetScript::QuestionAnswered(const win32::Qta1Question* question,
                                                        INT* answer, LPCWSTR path) {
    return win32::Guarded([&]() -> HRESULT {
        if (question == nullptr) return E_POINTER;
        switch (question->kind) {
            case win32::kQta1MessageBox:
                return BoxAnswered(*question, answer);
            case win32::kQta1ReviewWindow:
                return ReviewAnswered(*question, answer);
            case win32::kQta1OpenFileDialog:
            case win32::kQta1SaveFileDialog:
                return FileDialogAnswered(*question, path);
        }
        return E_INVALIDARG;
    });
}

// --- The technician's choices and folder --------------------------------------------
// Scripted runs keep the choices here and use the headless sheet's folder;
// the user's openings use the PC's registry and folder.

HRESULT STDMETHODCALLTYPE SheetScript::Storage::UserSetting(LPCWSTR name, BSTR* value) {
    return win32::Guarded([&]() -> HRESULT {
        if (value == nullptr || name == nullptr) return E_POINTER;
        *value = nullptr;
        if (!script_.Scripted()) return S_FALSE;
        const auto it = script_.settings_.find(Text(name));
        if (it == script_.settings_.end()) return S_OK;
        *value = win32::NewBstr(WidenText(it->second));
        return *value != nullptr ? S_OK : E_OUTOFMEMORY;
    });
}

HRESULT STDMETHODCALLTYPE SheetScript::Storage::SetUserSetting(LPCWSTR name, LPCWSTR value) {
    return win32::Guarded([&]() -> HRESULT {
        if (value == nullptr || name == nullptr) return E_POINTER;
        if (!script_.Scripted()) return S_FALSE;
        script_.settings_[Text(name)] = Text(value);
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE SheetScript::Storage::UserFolder(BSTR* folder) {
    return win32::Guarded([&]() -> HRESULT {
        if (folder == nullptr) return E_POINTER;
        *folder = nullptr;
        if (!script_.Scripted()) return S_FALSE;
        *folder = win32::NewBstr(WidenPath(ScriptedUserFolder()));
        return *folder != nullptr ? S_OK : E_OUTOFMEMORY;
    });
}

// Scripted runs log the headless sheet's technician, so that both sheets
// write the same change log.
HRESULT STDMETHODCALLTYPE SheetScript::Storage::UserName(BSTR* name) {
    return win32::Guarded([&]() -> HRESULT {
        if (name == nullptr) return E_POINTER;
        *name = nullptr;
        if (!script_.Scripted()) return S_FALSE;
        *name = win32::NewBstr(WidenText(ScriptedUserName()));
        return *name != nullptr ? S_OK : E_OUTOFMEMORY;
    });
}

// --- The technician -----------------------------------------------------------------
// Only while the sheet is open; with it closed nothing happens.

bool SheetScript::SelectTab(PageId page) {
    if (sheet_ == nullptr) return false;
    const std::vector<PageId> tabs = Tabs();
    const auto it = std::find(tabs.begin(), tabs.end(), page);
    if (it == tabs.end()) {
        trace_.Add(trace_line::Tab(page, "not in the sheet"));
        return false;
    }
    trace_.Add(trace_line::Tab(page));
    PropSheet_SetCurSel(sheet_, nullptr, static_cast<int>(it - tabs.begin()));
    return ActivePage() == page;
}

bool SheetScript::Click(PageId page, int control) {
    if (sheet_ == nullptr) return false;
    HWND window = ControlWindow(page, control);
    const ControlDecl* decl = FindControl(page, control);
    if (window == nullptr || decl == nullptr || ActivePage() != page) {
        trace_.Add(trace_line::Click(nullptr));
        return false;
    }
    if (!IsWindowEnabled(window) || !HasStyle(window, WS_VISIBLE)) {
        trace_.Add(trace_line::Click(decl, "disabled, nothing happens"));
        return false;
    }
    trace_.Add(trace_line::Click(decl));
    // The button does what a mouse click does: an automatic check box
    // toggles, an automatic radio button checks itself and clears its
    // group, and the page hears BN_CLICKED.
    if (IsButtonKind(decl->kind)) SendMessageW(window, BM_CLICK, 0, 0);
    return true;
}

bool SheetScript::Type(PageId page, int control, std::string_view text) {
    if (sheet_ == nullptr) return false;
    HWND window = ControlWindow(page, control);
    const ControlDecl* decl = FindControl(page, control);
    if (window == nullptr || decl == nullptr || ActivePage() != page) {
        trace_.Add(trace_line::Type(nullptr, text));
        return false;
    }
    if (!IsWindowEnabled(window) || !HasStyle(window, WS_VISIBLE) ||
        (decl->kind != ControlKind::Edit && decl->kind != ControlKind::PasswordEdit)) {
        trace_.Add(trace_line::Type(decl, text, "not editable"));
        return false;
    }
    trace_.Add(trace_line::Type(decl, text));
    // The technician clicks into the box first: it has the keyboard after.
    SetFocus(window);
    SetWindowTextW(window, WidenText(text).c_str());
    return true;
}

bool SheetScript::Close(CloseWay way) {
    if (sheet_ == nullptr) return true;
    if (way != CloseWay::Exit) trace_.Add(trace_line::CloseKey(way));
    HWND focus = GetFocus();
    if (focus != sheet_ && !IsChild(sheet_, focus)) focus = sheet_;
    switch (way) {
        case CloseWay::Exit:
            SendMessageW(GetDlgItem(sheet_, IDOK), BM_CLICK, 0, 0);
            break;
        case CloseWay::Enter:
        case CloseWay::Escape: {
            // The key as the keyboard gives it to the box that has the
            // focus; the sheet's dialog manager decides what it presses.
            const WPARAM key = way == CloseWay::Enter ? VK_RETURN : VK_ESCAPE;
            PostMessageW(focus, WM_KEYDOWN, key, 1);
            PostMessageW(focus, WM_KEYUP, key, 1 | (1u << 30) | (1u << 31));
            PumpAsSheet();
            break;
        }
        case CloseWay::CloseBox:
            SendMessageW(sheet_, WM_SYSCOMMAND, SC_CLOSE, 0);
            break;
    }
    // The sheet tells the site as soon as it lets a close through.
    return sheet_ == nullptr;
}

void SheetScript::PumpAsSheet() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        if (sheet_ != nullptr && PropSheet_IsDialogMessage(sheet_, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void SheetScript::Idle(int64_t ms) {
    if (sheet_ == nullptr) {
        // With the sheet closed no timer runs: time simply passes.
        if (ms > 0) clock_.Advance(ms);
        return;
    }
    if (Scripted()) {
        timers_.Idle(ms, [this](PageId page, int id) {
            if (HWND window = PageWindow(page)) {
                SendMessageW(window, WM_TIMER, static_cast<WPARAM>(id), 0);
            }
        });
        PumpMessages();
        return;
    }
    // Real time: the sheet runs its own timers meanwhile.
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(std::max<int64_t>(ms, 0));
    for (ULONGLONG now = GetTickCount64(); now < end; now = GetTickCount64()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
        if (!PumpMessages()) break;
    }
}

void SheetScript::QueueFileAnswer(std::optional<std::string> path) {
    if (path && onFileAnswer_) onFileAnswer_(*path);
    answers_.QueueFileAnswer(std::move(path));
}

std::vector<PageId> SheetScript::Tabs() const {
    std::vector<PageId> tabs;
    if (sheet_ == nullptr) return tabs;
    // What the tab control shows, left to right.
    HWND tabControl = PropSheet_GetTabControl(sheet_);
    const int count = TabCtrl_GetItemCount(tabControl);
    for (int i = 0; i < count; ++i) {
        const std::optional<std::wstring> text = TabText(tabControl, i);
        if (!text) continue;
        if (const auto page = PageByCaption(NarrowText(*text))) tabs.push_back(*page);
    }
    return tabs;
}

std::optional<PageId> SheetScript::ActivePage() const {
    if (sheet_ == nullptr) return std::nullopt;
    HWND current = PropSheet_GetCurrentPageHwnd(sheet_);
    for (const auto& [page, window] : pages_) {
        if (current != nullptr && window == current) return page;
    }
    return std::nullopt;
}

std::optional<ControlState> SheetScript::State(PageId page, int control) const {
    HWND window = ControlWindow(page, control);
    const ControlDecl* decl = FindControl(page, control);
    if (sheet_ == nullptr || window == nullptr || decl == nullptr) return std::nullopt;
    ControlState state;
    state.decl = decl;
    state.text = NarrowText(WindowText(window));
    if (decl->kind == ControlKind::CheckBox || decl->kind == ControlKind::RadioButton) {
        state.checked = SendMessageW(window, BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    // The control's own enabling and visibility, whether or not its page is
    // the one on top.
    state.enabled = !HasStyle(window, WS_DISABLED);
    state.visible = HasStyle(window, WS_VISIBLE);
    return state;
}

std::string SheetScript::SheetCaption() const {
    return sheet_ != nullptr ? NarrowText(WindowText(sheet_)) : std::string();
}

std::string SheetScript::OkCaption() const {
    return sheet_ != nullptr ? NarrowText(WindowText(GetDlgItem(sheet_, IDOK))) : std::string();
}

bool SheetScript::TrendWindow(int minutes) {
    if (trendWindow_ == nullptr) return false;
    trace_.Add(trace_line::TrendAction("window " + std::to_string(minutes)));
    const auto it = std::find(std::begin(kTrendWindows), std::end(kTrendWindows), minutes);
    if (it == std::end(kTrendWindows)) return true;
    HWND combo = GetDlgItem(trendWindow_, win32::kTrendWindowComboId);
    // Chosen from the list as with the mouse: the window hears the change.
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(it - std::begin(kTrendWindows)), 0);
    SendMessageW(trendWindow_, WM_COMMAND, MAKEWPARAM(win32::kTrendWindowComboId, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
    return true;
}

bool SheetScript::TrendPause(bool paused) {
    if (trendWindow_ == nullptr) return false;
    trace_.Add(trace_line::TrendAction(paused ? "pause" : "resume"));
    HWND button = GetDlgItem(trendWindow_, win32::kTrendPauseId);
    // One button: "Pause" while running, "Resume" while paused.
    const bool showsResume = WindowText(button) == WidenText(text::kTrendResumeButton);
    if (showsResume != paused) SendMessageW(button, BM_CLICK, 0, 0);
    return true;
}

bool SheetScript::TrendSeries(size_t series, bool shown) {
    if (trendWindow_ == nullptr || series >= kTrendSeriesCount) return false;
    trace_.Add(trace_line::TrendAction(std::string("series ") + kTrendSeries[series].key +
                                       (shown ? " on" : " off")));
    HWND box = GetDlgItem(trendWindow_, win32::kTrendSeriesFirstId + static_cast<int>(series));
    if ((SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED) != shown) {
        SendMessageW(box, BM_CLICK, 0, 0);
    }
    return true;
}

bool SheetScript::TrendClose() {
    if (trendWindow_ == nullptr) return false;
    trace_.Add(trace_line::TrendAction("close"));
    SendMessageW(trendWindow_, WM_SYSCOMMAND, SC_CLOSE, 0);
    return true;
}

bool SheetScript::TrendSaveData() {
    if (trendWindow_ == nullptr) return false;
    trace_.Add(trace_line::TrendAction("save data"));
    SendMessageW(GetDlgItem(trendWindow_, win32::kTrendSaveDataId), BM_CLICK, 0, 0);
    return true;
}

const TrendModel* SheetScript::TrendShown() const {
    return trendWindow_ != nullptr && trend_ ? &*trend_ : nullptr;
}

bool SheetScript::ApplyAndCancelHidden() const {
    if (sheet_ == nullptr) return false;
    return !HasStyle(GetDlgItem(sheet_, IDCANCEL), WS_VISIBLE) &&
           !HasStyle(GetDlgItem(sheet_, kApplyButtonId), WS_VISIBLE);
}

}  // namespace qta1::host
