// The substitute host as a place where scenarios run: the simulated node (or a
// settings file opened as the node) and the script site on the control's
// client site, the real sheet opened through the properties verb, and real
// files for the file dialogs' answers.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host_control.h"
#include "host_script.h"
#include "host_site.h"
#include "housekeeping/file_node.h"
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
    // The same over the settings file at `path` as the node, read and kept
    // among the scenario's files and dated by the virtual clock; the
    // simulated node is back on the site afterwards.
    std::optional<std::string> OpenFile(const std::string& path, bool factory,
                                        const std::function<void()>& driver) override;
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
    // References the control still holds on the settings files it was given
    // as the node (each such file node is kept until the host goes).
    int FileNodeReferences() const;
    VirtualClock& Clock() { return clock_; }
    // The result of the last properties verb.
    HRESULT LastVerbResult() const { return lastVerb_; }

private:
    // What a settings file opened as the node reads and keeps its file with:
    // the scenario's files, exactly as SeedFile and FileBytes reach them, and
    // the virtual clock for the date a new file is written with. A file node
    // keeps no choices and runs no timers, so those are not kept; its folder
    // is the technician's folder of scripted runs, removed after each run.
    class FileSide final : public qta1::FileNodeStorage {
    public:
        explicit FileSide(RealSheetHost& host) : host_(host) {}
        std::optional<std::string> ReadFile(const std::string& path) override;
        bool ReplaceFile(const std::string& path, std::string_view bytes) override;
        bool FileWritable(const std::string& path) override;
        std::string UserFolder() override;
        bool MakeFolder(const std::string& path) override;
        std::vector<std::string> FileNames(const std::string& folder) override;
        bool RemoveFile(const std::string& path) override;
        void Sleep(int ms) override { host_.clock_.Advance(ms); }
        LocalTime Now() override { return host_.clock_.LocalNow(); }

    private:
        RealSheetHost& host_;
    };

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
    FileSide fileSide_{*this};
    // The settings files opened as the node that the control has not let go
    // of: never destroyed under it.
    std::vector<std::unique_ptr<FileNode>> heldFileNodes_;
    std::vector<std::wstring> files_;
    std::vector<std::wstring> folders_;
    HRESULT lastVerb_ = S_OK;
};

}  // namespace qta1::host
