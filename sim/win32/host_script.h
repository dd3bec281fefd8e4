// The substitute host's script site: what the real sheet tells a test host
// and asks of it (IQta1ScriptSite, offered on the control's client site, with
// IQta1StorageSite for the technician's choices and folder), and the
// technician's side over the sheet's real windows. One scenario and one
// expected trace serve this sheet and the headless one: the site writes the
// same trace lines, runs the page timers and the node's waits on the virtual
// clock, answers message boxes (shown, and pressed by a hook) and file
// dialogs (without a window) from the scripted answers, and drives the
// windows with window messages.
//
// Opened for the user instead, the sheet runs in real time: the site only
// keeps the trace, its clock following the wall clock.
#pragma once

// clang-format off
#include <windows.h>
#include <ole2.h>
// clang-format on

#include <exception>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>

#include "frame/trend.h"
#include "platform/headless/trace.h"
#include "platform/headless/virtual_clock.h"
#include "platform/headless/virtual_timers.h"
#include "platform/scripted_answers.h"
#include "platform/technician.h"
#include "platform/win32/qta1_script_site.h"
#include "platform/win32/qta1_storage_site.h"
#include "platform/win32/win32_handles.h"

namespace qta1::host {

// What a review window shows, read from its controls as a technician sees
// them: the title, the heading, the column heads and every row.
ReviewList ReadReviewWindow(HWND window);

class SheetScript final : public win32::IQta1ScriptSite, public Technician {
public:
    // `onFileAnswer` hears every path a file dialog is to be answered with.
    SheetScript(Trace& trace, VirtualClock& clock,
                std::function<void(const std::string&)> onFileAnswer);
    SheetScript(const SheetScript&) = delete;
    SheetScript& operator=(const SheetScript&) = delete;

    // The next opening is scripted: `driver` acts as the technician inside
    // the sheet's modal loop, and the sheet closes when it returns.
    void Script(std::function<void(SheetScript&)> driver);
    // The next opening is the user's, in real time.
    void ForUser();
    // References the module still holds.
    LONG References() const { return refs_; }
    // What the script threw inside the sheet, taken once.
    std::exception_ptr TakeFailure() { return std::exchange(failure_, nullptr); }

    HWND SheetWindow() const { return sheet_; }
    // Hears every wait of the node protocol before it passes (screenshots
    // taken in the middle of an operation).
    void WatchWaits(std::function<void()> watcher) { waitWatcher_ = std::move(watcher); }
    // Hears every review window of a scripted run once it is on screen, just
    // before the scripted answer presses its button (pictures and checks of
    // the window). A watcher that returns true has answered the window
    // itself, and nothing is pressed for it.
    void WatchReviews(std::function<bool(HWND)> watcher) { reviewWatcher_ = std::move(watcher); }
    // The same for message boxes: `watcher` hears each box of a scripted run
    // once it is up; one that returns true has answered the box itself (a
    // key, a button), and the queued answer is not pressed.
    void WatchBoxes(std::function<bool(HWND)> watcher) { boxWatcher_ = std::move(watcher); }
    // While set, the file dialogs of a scripted run are really shown instead
    // of answered from the script: `watcher` hears each once it is up, with
    // what the plug-in asked of it (the proposed name, the folder to open
    // in), and the dialog is then cancelled.
    using FileDialogWatcher = std::function<void(HWND dialog, const FileDialogRequest& request)>;
    void ShowFileDialogs(FileDialogWatcher watcher) { fileDialogWatcher_ = std::move(watcher); }
    // The window of a page, null until it is first shown and after removal.
    HWND PageWindow(PageId page) const;
    // Dispatches what is waiting as the sheet's own modal loop does: keys go
    // through the sheet's dialog manager first (Enter, Esc, Tab).
    void PumpAsSheet();

    // --- IUnknown (the site lives in the host: counted, never deleted) ------
    // The storage site is a part of the same object, counted with it.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++refs_); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--refs_); }

    // --- IQta1ScriptSite -----------------------------------------------------
    HRESULT STDMETHODCALLTYPE SheetOpening(LPCWSTR caption) override;
    HRESULT STDMETHODCALLTYPE SheetReady(HWND sheet) override;
    HRESULT STDMETHODCALLTYPE SheetClosed() override;
    HRESULT STDMETHODCALLTYPE PageWindow(INT page, HWND window) override;
    HRESULT STDMETHODCALLTYPE BeforePlugIn() override;
    HRESULT STDMETHODCALLTYPE ButtonCaption(INT page, INT control, LPCWSTR text) override;
    HRESULT STDMETHODCALLTYPE TrendWindow(INT event, HWND window,
                                          const win32::Qta1TrendSamples* samples) override;
    HRESULT STDMETHODCALLTYPE QuestionAsked(const win32::Qta1Question* question,
                                            BSTR* path) override;
    HRESULT STDMETHODCALLTYPE QuestionAnswered(const win32::Qta1Question* question, INT* answer,
                                               LPCWSTR path) override;
    HRESULT STDMETHODCALLTYPE Wait(INT ms) override;
    HRESULT STDMETHODCALLTYPE LocalTime(SYSTEMTIME* now) override;
    HRESULT STDMETHODCALLTYPE SetPageTimer(INT page, INT id, INT periodMs) override;
    HRESULT STDMETHODCALLTYPE KillPageTimer(INT page, INT id) override;
    HRESULT STDMETHODCALLTYPE TimerFired(INT page, INT id) override;

    // --- Technician -----------------------------------------------------------
    bool SelectTab(PageId page) override;
    bool Click(PageId page, int control) override;
    bool Type(PageId page, int control, std::string_view text) override;
    void Idle(int64_t ms) override;
    bool Close(CloseWay way) override;
    void QueueMessageAnswer(MsgAnswer answer) override { answers_.QueueMessageAnswer(answer); }
    void QueueFileAnswer(std::optional<std::string> path) override;
    size_t PendingAnswers() const override { return answers_.Pending(); }
    std::vector<PageId> Tabs() const override;
    std::optional<PageId> ActivePage() const override;
    std::optional<ControlState> State(PageId page, int control) const override;
    std::string SheetCaption() const override;
    std::string OkCaption() const override;
    bool ApplyAndCancelHidden() const override;
    // The trend window's controls, driven with window messages as a mouse
    // would; what it shows is read from its controls and what it plots
    // from what the window tells the site.
    bool TrendWindow(int minutes) override;
    bool TrendPause(bool paused) override;
    bool TrendSeries(size_t series, bool shown) override;
    bool TrendClose() override;
    bool TrendSaveData() override;
    const TrendModel* TrendShown() const override;
    // The trend window while it is open, else null.
    HWND TrendWindowHandle() const { return trendWindow_; }

private:
    // IQta1StorageSite: scripted runs keep the technician's choices here and
    // use the headless sheet's folder; the user's openings use the PC's
    // registry and folder.
    class Storage final : public win32::IQta1StorageSite {
    public:
        explicit Storage(SheetScript& script) : script_(script) {}
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
            return script_.QueryInterface(iid, out);
        }
        ULONG STDMETHODCALLTYPE AddRef() override { return script_.AddRef(); }
        ULONG STDMETHODCALLTYPE Release() override { return script_.Release(); }
        HRESULT STDMETHODCALLTYPE UserSetting(LPCWSTR name, BSTR* value) override;
        HRESULT STDMETHODCALLTYPE SetUserSetting(LPCWSTR name, LPCWSTR value) override;
        HRESULT STDMETHODCALLTYPE UserFolder(BSTR* folder) override;
        HRESULT STDMETHODCALLTYPE UserName(BSTR* name) override;

    private:
        SheetScript& script_;
    };

    bool Scripted() const { return static_cast<bool>(driver_); }
    // The questions, by kind.
    HRESULT BoxAsked(const win32::Qta1Question& box);
    HRESULT BoxAnswered(const win32::Qta1Question& box, INT* answer);
    HRESULT FileDialogAsked(const win32::Qta1Question& dialog, BSTR* path);
    HRESULT FileDialogAnswered(const win32::Qta1Question& dialog, LPCWSTR path);
    HRESULT ReviewAsked(const win32::Qta1Question& review);
    HRESULT ReviewAnswered(const win32::Qta1Question& review, INT* answer);
    // In the user's openings the clock follows the wall clock, so that the
    // trace's time stamps mean something.
    void FollowWallClock();
    HWND ControlWindow(PageId page, int control) const;
    // The model the trend window shows: its samples as the window told
    // them, and the choices its controls show.
    void ReadTrend(HWND window, const win32::Qta1TrendSamples& told);
    static LRESULT CALLBACK WatchForMessageBox(int code, WPARAM wParam, LPARAM lParam);
    static void CALLBACK PressQueuedButton(HWND box, UINT, UINT_PTR id, DWORD);
    static void CALLBACK PressReviewButton(HWND window, UINT, UINT_PTR id, DWORD);
    static LRESULT CALLBACK WatchForFileDialog(int code, WPARAM wParam, LPARAM lParam);
    static void CALLBACK SeeFileDialog(HWND dialog, UINT, UINT_PTR id, DWORD);

    Trace& trace_;
    VirtualClock& clock_;
    std::function<void(const std::string&)> onFileAnswer_;
    ScriptedAnswers answers_;
    VirtualTimers timers_;
    std::function<void(SheetScript&)> driver_;
    std::exception_ptr failure_;
    std::function<void()> waitWatcher_;
    std::function<bool(HWND)> reviewWatcher_;
    std::function<bool(HWND)> boxWatcher_;
    FileDialogWatcher fileDialogWatcher_;
    // The file dialog being shown in a scripted run.
    struct ShownDialog {
        win32::Hook hook;
        FileDialogRequest request;
        HWND dialog = nullptr;
    };
    std::optional<ShownDialog> shownDialog_;
    // The technician's choices in scripted runs: none at first, kept from
    // one opening to the next, as on the headless sheet.
    std::map<std::string, std::string, std::less<>> settings_;
    ULONGLONG wallStartTick_ = 0;
    int64_t wallStartMs_ = 0;
    LONG refs_ = 0;
    HWND sheet_ = nullptr;
    std::map<PageId, HWND> pages_;

    // The message box being answered in a scripted run.
    struct PendingBox {
        win32::Hook hook;
        int command = IDOK;
        ScriptedAnswers::BoxAnswer answer;
        HWND box = nullptr;
    };
    std::optional<PendingBox> pendingBox_;

    // The review window on screen: what it shows, read from its controls
    // when it opened, and in a scripted run the answer that will press one
    // of its buttons.
    struct PendingReview {
        HWND window = nullptr;
        ReviewList shown;
        std::optional<ScriptedAnswers::BoxAnswer> answer;
    };
    std::optional<PendingReview> pendingReview_;

    HWND trendWindow_ = nullptr;
    std::optional<TrendModel> trend_;

    Storage storage_{*this};
};

}  // namespace qta1::host
