// The platform port without a screen: controls held in memory and built from
// the layout each page declares, message boxes and file dialogs answered from queues,
// files in memory, sleeps and timers on a virtual clock. Everything the
// technician would see or answer is written to the trace.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "frame/platform.h"
#include "platform/headless/trace.h"
#include "platform/headless/virtual_clock.h"
#include "platform/headless/virtual_timers.h"
#include "platform/scripted_answers.h"
#include "platform/technician.h"

namespace qta1 {

class HeadlessPlatform final : public Platform, public Technician {
public:
    HeadlessPlatform(VirtualClock& clock, Trace& trace);

    // --- Platform ----------------------------------------------------------
    void AddPage(PageId page, PageEvents& events) override;
    void RemovePage(PageId page) override;
    void SetOkCaption(std::string_view caption) override;
    void ShowPage(PageId page) override { Activate(page); }
    void HideApplyAndCancel() override;
    void RunSheetModal(std::string_view caption, SheetEvents& events) override;
    void SetText(PageId page, int control, std::string_view text) override;
    std::string GetText(PageId page, int control) override;
    void SetCheck(PageId page, int control, bool checked) override;
    bool GetCheck(PageId page, int control) override;
    void Enable(PageId page, int control, bool enabled) override;
    void SetFocus(PageId page, int control) override;
    void SetTimer(PageId page, int timerId, int periodMs) override;
    void KillTimer(PageId page, int timerId) override;
    void Sleep(int ms) override;
    // Kept for tests, not traced: the trace is what the node and the
    // technician see, the same on every sheet.
    void ShowProgress(PageId page, std::string_view pass, int step, int total) override {
        progress_.push_back({page, std::string(pass), step, total});
    }
    LocalTime Now() override;
    MsgAnswer MessageBox(std::string_view text, std::string_view title, MsgButtons buttons,
                         MsgIcon icon) override;
    std::optional<std::string> OpenFileDialog(const FileDialogRequest& request) override;
    std::optional<std::string> SaveFileDialog(const FileDialogRequest& request) override;
    std::optional<std::string> ReadFile(const std::string& path) override;
    bool ReplaceFile(const std::string& path, std::string_view bytes) override;
    bool FileWritable(const std::string& path) override;
    bool AppendFile(const std::string& path, std::string_view bytes) override;
    // Answered from the message-box queue: Yes saves the report or answers
    // the question Yes; unanswered, the list is closed (No).
    MsgAnswer ShowReviewList(const ReviewList& list, ReviewButtons buttons) override;
    // The trend window is traced: opened, brought forward, each redraw with
    // what it shows, closed.
    bool OpenTrend(TrendView& view) override;
    void UpdateTrend() override;
    void CloseTrend() override;
    std::optional<std::string> UserSetting(std::string_view name) override;
    void SetUserSetting(std::string_view name, std::string_view value) override;
    std::string UserFolder() override { return kUserFolder; }
    std::string UserName() override { return kUserName; }
    bool MakeFolder(const std::string& path) override;
    std::vector<std::string> FileNames(const std::string& folder) override;
    bool RemoveFile(const std::string& path) override;

    // The technician's folder of a headless run, the same in every run.
    static constexpr const char* kUserFolder = "C:\\Users\\Technician\\AppData\\Local\\QTA1";
    static constexpr const char* kUserName = "Technician";

    // --- The technician's side, while the sheet runs -------------------------
    // Called inside RunSheetModal after the sheet is initialised; the sheet
    // closes when it returns (or earlier, when Exit() was called).
    void SetModalDriver(std::function<void(HeadlessPlatform&)> driver) {
        driver_ = std::move(driver);
    }
    bool WindowExists(PageId page) const { return windows_.count(page) != 0; }
    // The control that has the keyboard focus on the page, 0 when none was set.
    int Focused(PageId page) const;

    // --- Technician ----------------------------------------------------------
    bool SelectTab(PageId page) override;
    bool Click(PageId page, int control) override;
    bool Type(PageId page, int control, std::string_view text) override;
    // Lets virtual time pass with the message loop idle: due timers fire.
    void Idle(int64_t ms) override;
    // Asks the sheet; when it may close, every page window is destroyed and
    // RunSheetModal returns.
    bool Close(CloseWay way) override;
    // An unanswered Yes / No box is answered No, an unanswered file dialog is
    // cancelled; both are traced.
    void QueueMessageAnswer(MsgAnswer answer) override { answers_.QueueMessageAnswer(answer); }
    void QueueFileAnswer(std::optional<std::string> path) override {
        answers_.QueueFileAnswer(std::move(path));
    }
    size_t PendingAnswers() const override { return answers_.Pending(); }
    bool TrendWindow(int minutes) override;
    bool TrendPause(bool paused) override;
    bool TrendSeries(size_t series, bool shown) override;
    bool TrendClose() override;
    bool TrendSaveData() override;
    const TrendModel* TrendShown() const override;
    std::vector<PageId> Tabs() const override { return tabs_; }
    std::optional<PageId> ActivePage() const override { return active_; }
    std::optional<ControlState> State(PageId page, int control) const override;
    std::string SheetCaption() const override { return caption_; }
    std::string OkCaption() const override { return okCaption_; }
    bool ApplyAndCancelHidden() const override { return applyCancelHidden_; }

    // The in-memory file system.
    void SeedFile(const std::string& path, std::string bytes) { files_[path] = std::move(bytes); }
    struct Progress {
        PageId page;
        std::string pass;
        int step;
        int total;
    };
    // Every progress report so far, oldest first.
    const std::vector<Progress>& ProgressShown() const { return progress_; }
    void SetReadOnly(const std::string& path, bool on);
    // A file that is there but cannot be read (locked, or too large).
    void SetUnreadable(const std::string& path, bool on) { unreadable_[path] = on; }
    // Faults of the next save, as a disk shows them: the write stops after
    // `afterBytes` bytes (0: a full disk), or the final move is refused.
    enum class SaveFault { None, WriteStops, MoveRefused };
    void FailNextSave(SaveFault fault, size_t afterBytes = 0) {
        saveFault_ = fault;
        saveFaultAfter_ = afterBytes;
    }
    // The next append stops after `afterBytes` bytes and fails, leaving
    // those bytes in the file: a disk that filled up, or a PC that went off,
    // in the middle of a write.
    void FailNextAppend(size_t afterBytes) { appendFaultAfter_ = afterBytes; }
    // Folders that cannot be made, as on a disk the technician may not write.
    void FailFolders(bool on) { failFolders_ = on; }
    // Every path that holds a file, temporary files included.
    std::vector<std::string> FilePaths() const;

    Trace& trace() { return trace_; }
    VirtualClock& clock() { return clock_; }

private:
    struct Window {
        std::map<int, ControlState> controls;
        int focused = 0;
    };
    ControlState* Find(PageId page, int control);
    void CreateWindow(PageId page);
    void DestroyWindow(PageId page);
    void Activate(PageId page);
    void CheckRadio(PageId page, int control);

    VirtualClock& clock_;
    Trace& trace_;
    std::function<void(HeadlessPlatform&)> driver_;
    std::map<PageId, PageEvents*> pages_;
    std::vector<PageId> tabs_;
    std::optional<PageId> active_;
    std::map<PageId, Window> windows_;
    TrendView* trend_ = nullptr;
    VirtualTimers timers_{clock_};
    bool open_ = false;
    bool exitRequested_ = false;
    SheetEvents* events_ = nullptr;
    std::string caption_;
    std::string okCaption_ = "OK";
    bool applyCancelHidden_ = false;
    ScriptedAnswers answers_;
    std::vector<Progress> progress_;
    std::map<std::string, std::string> files_;
    std::map<std::string, std::string, std::less<>> userSettings_;
    std::map<std::string, bool> readOnly_;
    std::map<std::string, bool> unreadable_;
    SaveFault saveFault_ = SaveFault::None;
    size_t saveFaultAfter_ = 0;
    std::optional<size_t> appendFaultAfter_;
    bool failFolders_ = false;
};

}  // namespace qta1
