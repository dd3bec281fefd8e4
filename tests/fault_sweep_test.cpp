// Fault sweep: every page action runs once to count its host calls, then
// once per call position with that call failing, and once with every call
// failing. Whatever fails, the plug-in must not crash, must not write a
// buffer whose read failed, must not change an NV or part the action does
// not own, and must still run the closing Read where the cycle calls for it.
#include <gtest/gtest.h>

#include <regex>
#include <set>

#include "housekeeping/settings_file.h"
#include "resources/strings.h"
#include "sim_session.h"

namespace qta1 {
namespace {

struct Owned {
    int nv;
    int part;  // for the configuration NV
    auto operator<=>(const Owned&) const = default;
};

struct Typed {
    int control;
    const char* text;
};

struct SweepAction {
    std::string name;
    // The sheet opens with the fault armed; the action is the start-up itself.
    bool atOpen = false;
    bool technicianSet = true;              // the set shown before the action
    PageId page = PageId::NodeInformation;  // the page shown before the action
    std::vector<Typed> typed = {};          // typed before the action
    int click = 0;                          // 0: the action is showing `page`
    std::set<Owned> owns = {};
    bool closingRead = false;
    // Files and answers the action needs, set up just before it runs.
    std::function<void(SimSession&)> before = {};
};

// --- One line per action ---------------------------------------------------
SweepAction AtOpen(std::string name) { return {.name = std::move(name), .atOpen = true}; }
SweepAction Show(PageId page) {
    return {.name = std::string(CaptionOf(page)) + ": shown", .page = page};
}
SweepAction Press(PageId page, int control, std::vector<Typed> typed = {},
                  std::set<Owned> owns = {}, bool closingRead = false) {
    return {.name = std::string(CaptionOf(page)) + ": " + FindControl(page, control)->label,
            .page = page,
            .typed = std::move(typed),
            .click = control,
            .owns = std::move(owns),
            .closingRead = closingRead};
}

SweepAction FromUserSet(SweepAction action) {
    action.technicianSet = false;
    return action;
}

SweepAction With(SweepAction action, std::function<void(SimSession&)> before) {
    action.before = std::move(before);
    return action;
}

// Everything a download or the factory settings may write.
std::set<Owned> AllSettings() {
    std::set<Owned> owned{{7, 0}, {8, 0}, {17, 0}, {24, 0}, {26, 0}, {28, 0}, {32, 0}, {34, 0}, {50, 0}};
    for (int part = 1; part <= 12; ++part) owned.insert({kConfigNv, part});
    return owned;
}

// A node whose PID constants are not the factory's, so that restoring them
// shows in the node.
void ChangePid(SimSession& s) { s.node.SetPart(8, NvValue{8, 0x11, 0x11}); }

// A settings file saved from the factory-state node, for downloads.
void SeedSavedFile(SimSession& s) {
    SimSession source;
    source.node.SetAnimated(false);
    NodeLink link(source.ui);
    link.Obtain(&source.site);
    s.ui.SeedFile("C:\\saved.txt",
                  WriteSettingsFile(link, text::kProgramId, "Sweep", source.clock.LocalNow()).text);
    s.ui.QueueFileAnswer("C:\\saved.txt");
    s.ui.QueueMessageAnswer(MsgAnswer::Yes);
    ChangePid(s);
}

void AnswerSaveDialog(SimSession& s) { s.ui.QueueFileAnswer("C:\\out.txt"); }

const std::vector<SweepAction>& Actions() {
    static const std::vector<SweepAction> actions = {
        AtOpen("sheet start-up"),
        Press(PageId::NodeInformation, IDC_NODEINFO_USER),
        FromUserSet(Press(PageId::NodeInformation, IDC_NODEINFO_TECHNICIAN)),
        Show(PageId::Pid),
        Press(PageId::Pid, IDC_PID_READ),
        Press(PageId::Pid, IDC_PID_WRITE, {{IDC_PID_HEAT_P, "3.3"}, {IDC_PID_PASSWORD, "Tarvel"}},
              {{kConfigNv, 8}}, true),
        Show(PageId::SetTime),
        Press(PageId::SetTime, IDC_SETTIME_SYNC),
        Show(PageId::ImportExport),
        Press(PageId::ImportExport, IDC_IMPEXP_DEFAULT),
        With(Press(PageId::ImportExport, IDC_IMPEXP_SAVE), AnswerSaveDialog),
        With(Press(PageId::ImportExport, IDC_IMPEXP_READ, {{IDC_IMPEXP_PASSWORD, "Tarvel"}},
                   AllSettings()), SeedSavedFile),
        With(Press(PageId::ImportExport, IDC_IMPEXP_FACTORY, {{IDC_IMPEXP_PASSWORD, "Tarvel"}},
                   AllSettings()), ChangePid),
    };
    return actions;
}
// ---------------------------------------------------------------------------

// Every NV and part the node holds, to see what an action changed; the node
// clock (NV 9) is left out because it runs by itself.
std::map<Owned, NvValue> Snapshot(const SimulatedNode& node) {
    static const int kNvs[] = {2,  3,  6,  7,  8,  10, 11, 15, 16, 17, 19, 20,
                               22, 24, 26, 27, 28, 29, 31, 32, 34, 35, 36, 37,
                               38, 39, 41, 42, 43, 44, 45, 46, 47, 48, 49, 50};
    std::map<Owned, NvValue> snapshot;
    for (int nv : kNvs) snapshot[{nv, 0}] = node.Nv(nv);
    for (int part = 1; part <= 12; ++part) snapshot[{kConfigNv, part}] = node.Part(part);
    return snapshot;
}

enum class Fault { None, Call, All };

struct ActionRun {
    std::vector<std::string> lines;  // the action's part of the trace
    std::map<Owned, NvValue> before;
    std::map<Owned, NvValue> after;
    int calls = 0;
};

ActionRun RunAction(const SweepAction& action, Fault fault, int call) {
    SimSession s;
    s.node.SetAnimated(false);
    ActionRun run;
    size_t start = 0;
    auto arm = [&] {
        run.before = Snapshot(s.node);
        start = s.trace.size();
        run.calls = -s.node.CallCount();
        if (fault == Fault::Call) s.node.FailCall(call);
        if (fault == Fault::All) s.node.FailAll(true);
    };
    if (action.atOpen) arm();
    s.Open([&](HeadlessPlatform& ui) {
        if (action.atOpen) {
            ui.Idle(150);
        } else {
            ui.Idle(100);
            if (action.technicianSet) ui.Click(PageId::NodeInformation, IDC_NODEINFO_TECHNICIAN);
            if (action.click != 0) {
                ASSERT_TRUE(ui.SelectTab(action.page));
            }
            for (const Typed& t : action.typed) {
                ASSERT_TRUE(ui.Type(action.page, t.control, t.text));
            }
            if (action.before) action.before(s);
            arm();
            if (action.click != 0) {
                ui.Click(action.page, action.click);
            } else {
                ASSERT_TRUE(ui.SelectTab(action.page));
            }
        }
        s.node.ClearFaults();
        run.calls += s.node.CallCount();
        run.after = Snapshot(s.node);
        ui.Exit();
    });
    run.lines.assign(s.trace.lines().begin() + static_cast<std::ptrdiff_t>(start),
                     s.trace.lines().end());
    return run;
}

void CheckRun(const SweepAction& action, const ActionRun& run) {
    static const std::regex kRead(R"(ReadNv\((\d+), \d+\) -> (-?\d+))");
    static const std::regex kWrite(R"(WriteNv\((\d+), \d+\) <-)");
    std::map<int, bool> lastReadOk;  // per NV, within the action
    bool readAgain = false;
    for (const std::string& line : run.lines) {
        std::smatch m;
        if (std::regex_search(line, m, kRead)) {
            lastReadOk[std::stoi(m[1])] = m[2] == "0";
        } else if (std::regex_search(line, m, kWrite)) {
            const int nv = std::stoi(m[1]);
            if (nv == kPartSelectorNv) continue;
            // Blind writes (a download, the clock) read nothing first; a
            // read-modify-write must never send what a failed read left.
            EXPECT_FALSE(lastReadOk.count(nv) != 0 && !lastReadOk[nv])
                << "wrote NV " << nv << " after a failed read: " << line;
        } else if (line.find("caption \"Read\" = \"Wait\"") != std::string::npos) {
            readAgain = true;
        }
    }
    for (const auto& [where, value] : run.after) {
        if (action.owns.count(where) != 0) continue;
        EXPECT_EQ(value, run.before.at(where))
            << "changed NV " << where.nv << " part " << where.part;
    }
    if (action.closingRead) {
        EXPECT_TRUE(readAgain) << "the closing Read did not run";
    }
}

TEST(FaultSweep, EveryActionSurvivesEveryFailingCall) {
    for (const SweepAction& action : Actions()) {
        SCOPED_TRACE(action.name);
        const ActionRun clean = RunAction(action, Fault::None, 0);
        CheckRun(action, clean);
        for (int call = 1; call <= clean.calls; ++call) {
            SCOPED_TRACE("call " + std::to_string(call) + " of " + std::to_string(clean.calls) +
                         " fails");
            CheckRun(action, RunAction(action, Fault::Call, call));
        }
        SCOPED_TRACE("every call fails");
        CheckRun(action, RunAction(action, Fault::All, 0));
    }
}

// The sweep is only as good as its actions: each must make host calls, and
// the Write actions must change the node when nothing fails.
TEST(FaultSweep, ActionsReachTheNode) {
    for (const SweepAction& action : Actions()) {
        SCOPED_TRACE(action.name);
        const ActionRun run = RunAction(action, Fault::None, 0);
        if (action.page == PageId::NodeInformation && !action.atOpen) continue;  // tabs only
        EXPECT_GT(run.calls, 0) << ::testing::PrintToString(run.lines);
        if (!action.owns.empty()) {
            EXPECT_TRUE(run.after != run.before) << "the node did not change";
        }
    }
}

}  // namespace
}  // namespace qta1
