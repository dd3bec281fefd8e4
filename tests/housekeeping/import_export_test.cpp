// Import / Export against file-layer faults: a save that fails at any step
// keeps the previous file byte for byte, leaves no temporary file and says so.
#include <gtest/gtest.h>

#include "resources/strings.h"
#include "sim_session.h"

namespace qta1 {
namespace {

using SaveFault = HeadlessPlatform::SaveFault;

std::string FirstLineOf(std::string_view text) {
    return std::string(text.substr(0, text.find('\n')));
}

TEST(ImportExportPage, AFailedSaveKeepsThePreviousFile) {
    struct Case {
        const char* what;
        SaveFault fault;
        size_t afterBytes;
    };
    const Case cases[] = {
        {"a full disk", SaveFault::WriteStops, 0},
        {"a write that stops part-way", SaveFault::WriteStops, 1024},
        {"a refused move", SaveFault::MoveRefused, 0},
    };
    const std::string path = "C:\\units\\unit5.txt";
    const std::string previous = "previous settings\r\n";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SimSession s;
        s.node.SetAnimated(false);
        s.ui.SeedFile(path, previous);
        s.Open([&](HeadlessPlatform& ui) {
            ui.Idle(100);
            ui.Click(PageId::NodeInformation, IDC_NODEINFO_TECHNICIAN);
            ui.SelectTab(PageId::ImportExport);
            ui.QueueFileAnswer(path);
            ui.QueueMessageAnswer(MsgAnswer::Yes);  // overwrite
            ui.FailNextSave(c.fault, c.afterBytes);
            s.trace.Clear();
            ui.Click(PageId::ImportExport, IDC_IMPEXP_SAVE);
        });
        EXPECT_EQ(s.ui.ReadFile(path), previous);
        EXPECT_EQ(s.ui.FilePaths(), std::vector<std::string>{path});
        bool told = false;
        for (const std::string& line : s.trace.lines()) {
            told = told || line.find(std::string("msgbox \"") + text::kErrorOpeningFile) !=
                               std::string::npos;
        }
        EXPECT_TRUE(told);
    }
}

// "Changes..." shows the node's log, says when there is none yet, and never
// shows a log it cannot read as an empty one.
TEST(ImportExportPage, ChangesTellsALogThatCannotBeRead) {
    const std::string log = std::string(HeadlessPlatform::kUserFolder) +
                            "\\Backups\\QTA1 Sim~F0\\" + text::kChangeLogFile;
    struct Case {
        const char* what;
        bool seeded;
        bool unreadable;
        std::string told;
    };
    const Case cases[] = {
        {"no log yet", false, false, std::string("review \"Changes\" \"") + text::kNoChangesLogged},
        {"a log", true, false, "\"PID: Write\" \"PID - P (Heat (Mv1)): 1.0 -> 2.5\""},
        {"a log that cannot be read", true, true,
         std::string("msgbox \"") + FirstLineOf(text::kChangeLogNotRead)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SimSession s;
        s.node.SetAnimated(false);
        if (c.seeded) {
            s.ui.SeedFile(log,
                          "\r\n2026-12-07 09:00:01\tTechnician\tQTA1 Sim\tPID: Write\r\n"
                          "\tPID - P (Heat (Mv1)): 1.0 -> 2.5\r\n");
        }
        s.ui.SetUnreadable(log, c.unreadable);
        s.Open([&](HeadlessPlatform& ui) {
            ui.Idle(100);
            ui.Click(PageId::NodeInformation, IDC_NODEINFO_TECHNICIAN);
            ui.SelectTab(PageId::ImportExport);
            s.trace.Clear();
            ui.Click(PageId::ImportExport, IDC_IMPEXP_CHANGES);
        });
        bool told = false;
        for (const std::string& line : s.trace.lines()) {
            told = told || line.find(c.told) != std::string::npos;
        }
        EXPECT_TRUE(told) << ::testing::PrintToString(s.trace.lines());
    }
}

}  // namespace
}  // namespace qta1
