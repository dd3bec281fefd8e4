// The substitute host as a place where scenarios run: the simulated node and
// the script site on the control's client site, the real sheet opened through
// the properties verb, and real files for the file dialogs' answers.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "host_control.h"
#include "host_script.h"
#include "host_site.h"
#include "platform/headless/trace.h"
#include "platform/headless/virtual_clock.h"
#include "platform/win32/win32_platform.h"
#include "scenario_host.h"

namespace qta1::host {

class RealSheetHost final : public ScenarioHost {
public:
    RealSheetHost(EmbeddedControl& control, HWND window, const RECT& controlRect);

    SimulatedNode& Node() override { return node_; }
    SimulatedSite& Site() override { return site_; }
    Trace& Log() override { return trace_; }
    Technician& Tech() override { return script_; }
    // A scripted opening: `driver` runs inside the real sheet's modal loop.
    void Open(const std::function<void()>& driver) override;
    void SeedFile(const std::string& path, const std::string& bytes) override;
    std::optional<std::string> FileBytes(const std::string& path) override;
    bool SetFileReadOnly(const std::string& path, bool on) override;
    bool SetPcClock(const LocalTime& now) override;

    // Real files stand in for the headless sheet's files in memory, where
    // every folder exists and nothing is left over from an earlier run: the
    // folders of the files a scenario names are made when missing, and
    // RemoveScenarioFiles takes away those files and the folders made for them,
    // and the technician's folder of scripted runs with everything the plug-in
    // put there (backups), which is also emptied when the host starts.
    void RemoveScenarioFiles();

    // An opening for the user at the host's window: real time, the trace kept.
    void OpenForUser();
    // Opens the sheet and runs `driver` with the real sheet inside it.
    void OpenWith(const std::function<void(SheetScript&)>& driver);

    HostSite& ComSite() { return comSite_; }
    VirtualClock& Clock() { return clock_; }
    // The result of the last properties verb.
    HRESULT LastVerbResult() const { return lastVerb_; }

private:
    void NoteFile(const std::string& path);
    void RemoveScriptedUserFolder();

    EmbeddedControl& control_;
    HWND window_;
    RECT controlRect_;
    VirtualClock clock_;
    Trace trace_{clock_};
    SimulatedNode node_{clock_, &trace_};
    SimulatedSite site_{node_};
    SheetScript script_{trace_, clock_, [this](const std::string& path) { NoteFile(path); }};
    HostSite comSite_;
    std::vector<std::wstring> files_;
    std::vector<std::wstring> folders_;
    HRESULT lastVerb_ = S_OK;
};

}  // namespace qta1::host
