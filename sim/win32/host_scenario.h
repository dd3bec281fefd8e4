// The substitute host as a place where scenarios run: the simulated node on
// the control's client site, the trace and virtual clock handed to the module
// for scripted runs, the real sheet opened through the properties verb, and
// real files for the file dialogs' answers.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "host_control.h"
#include "host_site.h"
#include "platform/headless/trace.h"
#include "platform/headless/virtual_clock.h"
#include "platform/win32/win32_platform.h"
#include "scenario_host.h"

namespace qta1::host {

// The technician as the host sees it. While the sheet is open it is the real
// sheet's technician; answers queued while it is closed wait here and are
// handed over when the sheet's driver starts, and whatever the sheet did not
// ask for comes back when it closes. (A message box the plug-in showed before
// its sheet was up would therefore not see them; none does.)
class HostTechnician final : public Technician {
public:
    // `onFileAnswer` hears every path a file dialog is to be answered with.
    HostTechnician(VirtualClock& clock, std::function<void(const std::string&)> onFileAnswer)
        : clock_(clock), onFileAnswer_(std::move(onFileAnswer)) {}

    void Attach(Win32Platform& sheet);
    void Detach();
    Win32Platform* Sheet() const { return sheet_; }

    bool SelectTab(PageId page) override;
    bool Click(PageId page, int control) override;
    bool Type(PageId page, int control, std::string_view text) override;
    void Idle(int64_t ms) override;
    void Exit() override;
    void QueueMessageAnswer(MsgAnswer answer) override;
    void QueueFileAnswer(std::optional<std::string> path) override;
    size_t PendingAnswers() const override;
    std::vector<PageId> Tabs() const override;
    std::optional<PageId> ActivePage() const override;
    std::optional<ControlState> State(PageId page, int control) const override;
    std::string SheetCaption() const override;
    std::string OkCaption() const override;
    bool ApplyAndCancelHidden() const override;

private:
    VirtualClock& clock_;
    std::function<void(const std::string&)> onFileAnswer_;
    Win32Platform* sheet_ = nullptr;
    std::deque<MsgAnswer> messageAnswers_;
    std::deque<std::optional<std::string>> fileAnswers_;
};

class RealSheetHost final : public ScenarioHost {
public:
    RealSheetHost(EmbeddedControl& control, HWND window, const RECT& controlRect);

    SimulatedNode& Node() override { return node_; }
    SimulatedSite& Site() override { return site_; }
    Trace& Log() override { return trace_; }
    Technician& Tech() override { return technician_; }
    // A scripted opening: `driver` runs inside the real sheet's modal loop.
    void Open(const std::function<void()>& driver) override;
    void SeedFile(const std::string& path, const std::string& bytes) override;
    std::optional<std::string> FileBytes(const std::string& path) override;
    bool SetFileReadOnly(const std::string& path, bool on) override;
    bool SetPcClock(const LocalTime& now) override;

    // Real files stand in for the headless sheet's files in memory, where
    // every folder exists and nothing is left over from an earlier run: the
    // folders of the files a scenario names are made when missing, and
    // RemoveScenarioFiles takes away those files and the folders made for them.
    void RemoveScenarioFiles();

    // An opening for the user at the host's window: real time, the trace kept.
    void OpenForUser();
    // Opens the sheet and runs `driver` with the real sheet inside it.
    void OpenWith(const std::function<void(Win32Platform&)>& driver);

    HostSite& ComSite() { return comSite_; }
    VirtualClock& Clock() { return clock_; }
    // The result of the last properties verb.
    HRESULT LastVerbResult() const { return lastVerb_; }

private:
    static void RunDriver(Technician* technician, void* context);
    void NoteFile(const std::string& path);

    EmbeddedControl& control_;
    HWND window_;
    RECT controlRect_;
    VirtualClock clock_;
    Trace trace_{clock_};
    SimulatedNode node_{clock_, &trace_};
    SimulatedSite site_{node_};
    HostSite comSite_;
    HostTechnician technician_{clock_, [this](const std::string& path) { NoteFile(path); }};
    std::vector<std::wstring> files_;
    std::vector<std::wstring> folders_;
    const std::function<void(Win32Platform&)>* driver_ = nullptr;
    HRESULT lastVerb_ = S_OK;
};

}  // namespace qta1::host
