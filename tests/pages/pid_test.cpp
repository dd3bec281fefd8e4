// The PID page: the technician's typical request end to end, and what Write
// may and may not change in part 8.
#include <gtest/gtest.h>

#include <random>

#include "frame/codec.h"
#include "sim_session.h"
#include "support/golden.h"
#include "support/page_checks.h"

namespace qta1 {
namespace {

using testing::OnPage;
using testing::SameTrace;
using testing::SplitLines;

std::vector<std::string> Expected(const char* text) {
    return SplitLines(std::string(text).substr(1));
}

TEST(PidPage, TypicalRequestFromAFreshOpen) {
    SimSession s;
    s.node.SetAnimated(false);
    s.Open([&](HeadlessPlatform& ui) {
        ui.Idle(100);
        ui.Click(PageId::NodeInformation, IDC_NODEINFO_TECHNICIAN);
        ui.SelectTab(PageId::Pid);
        ui.Type(PageId::Pid, IDC_PID_HEAT_P, "2.57");
        ui.Type(PageId::Pid, IDC_PID_PASSWORD, "Tarvel");
        ui.Click(PageId::Pid, IDC_PID_WRITE);
        EXPECT_EQ(ui.State(PageId::Pid, IDC_PID_HEAT_P)->text, "2.5");
        EXPECT_EQ(ui.State(PageId::Pid, IDC_PID_PASSWORD)->text, "");
        EXPECT_EQ(ui.State(PageId::Pid, IDC_PID_WRITE)->text, "Write");
        EXPECT_EQ(ui.State(PageId::Pid, IDC_PID_READ)->text, "Read");
    });
    EXPECT_TRUE(SameTrace(Expected(R"trace(
   0.000  ReadNv(55, 31) -> 0  [00 01 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00]
   0.000  ReadNv(56, 50) -> 0  [01 00 15 00 31 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 02]
   0.000  sheet "QTA1" opens
   0.000  ReadNodeName(50) -> 0  "QTA1 Sim"
   0.000  ReadNv(55, 31) -> 0  [00 01 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00]
   0.000  ReadNv(56, 50) -> 0  [01 00 15 00 31 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 02]
   0.100  timer "Node Information" 1
   0.100  > click "Technician"
   0.100  > tab "PID"
   0.100  caption "Read" = "Wait"
   0.100  ReadNv(55, 31) -> 0  [00 01 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00]
   0.100  sleep 200
   0.300  WriteNv(55, 2) <- [00 08] -> 0
   0.300  sleep 200
   0.500  ReadNv(56, 31) -> 0  [08 00 0A 00 3C 00 05 00 0A 00 3C 00 05 00 0A 00 3C 00 05 00 0A 00 3C 00 05 00 0A 00 3C 00 05]
   0.500  caption "Read" = "Read"
   0.500  ReadNv(55, 31) -> 0  [00 08 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00]
   0.500  sleep 200
   0.700  WriteNv(55, 2) <- [00 01] -> 0
   0.700  sleep 200
   0.900  ReadNv(56, 31) -> 0  [01 00 15 00 31 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 02]
   0.900  > type "2.57" into "P" in "Heat (Mv1)"
   0.900  > type "Tarvel" into "Password"
   0.900  > click "Write"
   0.900  caption "Write" = "Wait"
   0.900  ReadNv(55, 31) -> 0  [00 01 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00]
   0.900  sleep 200
   1.100  WriteNv(55, 2) <- [00 08] -> 0
   1.100  sleep 200
   1.300  ReadNv(56, 32) -> 0  [08 00 0A 00 3C 00 05 00 0A 00 3C 00 05 00 0A 00 3C 00 05 00 0A 00 3C 00 05 00 0A 00 3C 00 05]
   1.300  WriteNv(56, 31) <- [08 00 19 00 3C 00 05 00 0A 00 3C 00 05 00 0A 00 3C 00 05 00 0A 00 3C 00 05 00 0A 00 3C 00 05] -> 0
   1.300  caption "Read" = "Wait"
   1.300  ReadNv(55, 31) -> 0  [00 08 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00]
   1.300  ReadNv(56, 31) -> 0  [08 00 19 00 3C 00 05 00 0A 00 3C 00 05 00 0A 00 3C 00 05 00 0A 00 3C 00 05 00 0A 00 3C 00 05]
   1.300  caption "Read" = "Read"
   1.300  caption "Write" = "Write"
   1.300  sheet closes)trace"),
                          s.trace.lines()));
    EXPECT_EQ(s.node.Selector(), 8);
}

TEST(PidPage, WrongOrEmptyPasswordSendsNothing) {
    for (const char* password : {"tarvel", "", "Tarvel ", "Tarvel\t"}) {
        SCOPED_TRACE(password);
        SimSession s;
        OnPage(s, PageId::Pid, [&](HeadlessPlatform& ui) {
            ui.Type(PageId::Pid, IDC_PID_HEAT_P, "9");
            ui.Type(PageId::Pid, IDC_PID_PASSWORD, password);
            s.trace.Clear();
            ui.Click(PageId::Pid, IDC_PID_WRITE);
            EXPECT_EQ(ui.State(PageId::Pid, IDC_PID_PASSWORD)->text, "");
            EXPECT_EQ(ui.State(PageId::Pid, IDC_PID_WRITE)->text, "Write");
            EXPECT_EQ(ui.State(PageId::Pid, IDC_PID_HEAT_P)->text, "9");
        });
        EXPECT_TRUE(SameTrace(Expected(R"trace(
   0.900  > click "Write"
   0.900  caption "Write" = "Wait"
   0.900  msgbox "Wrong Password" title "QTA1" OK none -> OK
   0.900  caption "Write" = "Write"
   0.900  sheet closes)trace"),
                              s.trace.lines()));
    }
}

TEST(PidPage, FailedReadBeforeWriteSendsNothingButReadsBack) {
    SimSession s;
    OnPage(s, PageId::Pid, [&](HeadlessPlatform& ui) {
        ui.Type(PageId::Pid, IDC_PID_HEAT_P, "9");
        ui.Type(PageId::Pid, IDC_PID_PASSWORD, "Tarvel");
        s.trace.Clear();
        s.node.FailCall(3);  // selector read, selector write, then the 32-byte read
        s.node.SetSelector(1);
        ui.Click(PageId::Pid, IDC_PID_WRITE);
        EXPECT_EQ(ui.State(PageId::Pid, IDC_PID_HEAT_P)->text, "1.0");
    });
    EXPECT_TRUE(SameTrace(Expected(R"trace(
   0.900  > click "Write"
   0.900  caption "Write" = "Wait"
   0.900  ReadNv(55, 31) -> 0  [00 01 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00]
   0.900  sleep 200
   1.100  WriteNv(55, 2) <- [00 08] -> 0
   1.100  sleep 200
   1.300  ReadNv(56, 32) -> 1
   1.300  caption "Read" = "Wait"
   1.300  ReadNv(55, 31) -> 0  [00 08 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00]
   1.300  ReadNv(56, 31) -> 0  [08 00 0A 00 3C 00 05 00 0A 00 3C 00 05 00 0A 00 3C 00 05 00 0A 00 3C 00 05 00 0A 00 3C 00 05]
   1.300  caption "Read" = "Read"
   1.300  msgbox "Nothing was written to the node:\x0AP (Heat (Mv1)): not written, the node could not be read first" title "QTA1" OK exclamation -> OK
   1.300  caption "Write" = "Write"
   1.300  sheet closes)trace"),
                          s.trace.lines()));
}

// A selector write the host refuses leaves the node showing another part;
// Write must not put PID words over it, and Read must not show its bytes.
TEST(PidPage, RefusedSelectorWriteLeavesTheOtherPartAlone) {
    SimSession s;
    NvValue part1;
    OnPage(s, PageId::Pid, [&](HeadlessPlatform& ui) {
        ui.Type(PageId::Pid, IDC_PID_HEAT_P, "9");
        ui.Type(PageId::Pid, IDC_PID_PASSWORD, "Tarvel");
        s.node.SetSelector(1);
        part1 = s.node.Part(1);
        s.node.FailNv(kPartSelectorNv, FaultOn::Writes);
        ui.Click(PageId::Pid, IDC_PID_WRITE);
        EXPECT_EQ(ui.State(PageId::Pid, IDC_PID_HEAT_P)->text, "9");
    });
    EXPECT_EQ(s.node.Part(1), part1);
    for (const std::string& line : s.trace.lines()) {
        EXPECT_EQ(line.find("WriteNv(56"), std::string::npos) << line;
        EXPECT_EQ(line.find("ReadNv(56"), std::string::npos) << line;
    }
}

// Typed text is scaled exactly and cut toward zero; text that is no number,
// or a number the box cannot store exactly, stops the Write before anything
// is sent, keeps what was typed and puts the focus on the box.
TEST(PidPage, TypedValuesAreStoredExactlyOrRefused) {
    struct Case {
        int control;
        const char* typed;
        int word;    // of part 8
        int stored;  // word value after Write; -1: refused, the node keeps its value
        const char* shown;
    };
    const Case cases[] = {
        {IDC_PID_HEAT_P, "2.57", 0, 25, "2.5"},
        {IDC_PID_HEAT_P, "21,5", 0, 215, "21.5"},
        {IDC_PID_COOL_P, " 0.29", 9, 2, "0.2"},
        {IDC_PID_COOL_P, "\t+.5 ", 9, 5, "0.5"},
        {IDC_PID_COOL_P, "7.", 9, 70, "7.0"},
        {IDC_PID_HEAT_P, "-0.05", 0, 0, "0.0"},
        {IDC_PID_HEAT_P, "6553.5", 0, 65535, "6553.5"},
        {IDC_PID_EXCH_I, "65535", 4, 65535, "65535"},
        {IDC_PID_RECIRC_D, "12.9", 8, 12, "12"},
        {IDC_PID_HEAT_P, "abc", 0, -1, "abc"},
        {IDC_PID_HEAT_P, "", 0, -1, ""},
        {IDC_PID_HEAT_P, "-1", 0, -1, "-1"},
        {IDC_PID_HEAT_P, "-3", 0, -1, "-3"},
        {IDC_PID_HEAT_P, "6553.6", 0, -1, "6553.6"},
        {IDC_PID_EXCH_I, "70000", 4, -1, "70000"},
        {IDC_PID_RECIRC_D, "12.9x", 8, -1, "12.9x"},
        {IDC_PID_COOL_D, "1e3", 11, -1, "1e3"},
        {IDC_PID_COOL_D, "inf", 11, -1, "inf"},
        {IDC_PID_COOL_D, "0x10", 11, -1, "0x10"},
        {IDC_PID_COOL_D, "1.2.3", 11, -1, "1.2.3"},
        {IDC_PID_COOL_D, "1,5,", 11, -1, "1,5,"},
        {IDC_PID_COOL_D, "5 5", 11, -1, "5 5"},
        {IDC_PID_COOL_D, "-", 11, -1, "-"},
        {IDC_PID_COOL_D, ".", 11, -1, "."},
        {IDC_PID_COOL_D, "+-1", 11, -1, "+-1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        SimSession s;
        s.node.SetPart(1, [] {
            NvValue p{};
            p[0] = 1;
            p[2] = 0x0F;  // every loop fitted
            p[30] = 2;
            return p;
        }());
        const NvValue before = s.node.Part(8);
        OnPage(s, PageId::Pid, [&](HeadlessPlatform& ui) {
            ui.Type(PageId::Pid, c.control, c.typed);
            ui.Type(PageId::Pid, IDC_PID_PASSWORD, "Tarvel");
            s.trace.Clear();
            ui.Click(PageId::Pid, IDC_PID_WRITE);
            EXPECT_EQ(ui.State(PageId::Pid, c.control)->text, c.shown);
            EXPECT_EQ(ui.Focused(PageId::Pid), c.stored < 0 ? c.control : 0);
        });
        const NvValue part8 = s.node.Part(8);
        if (c.stored >= 0) {
            EXPECT_EQ(part8[2 * c.word + 1] << 8 | part8[2 * c.word + 2], c.stored);
            continue;
        }
        EXPECT_EQ(part8, before);
        int hostCalls = 0;
        int messages = 0;
        for (const std::string& line : s.trace.lines()) {
            hostCalls += line.find("Nv(") != std::string::npos;
            messages += line.find("msgbox \"Nothing was written.") != std::string::npos;
        }
        EXPECT_EQ(hostCalls, 0);
        EXPECT_EQ(messages, 1);
    }
}

// One message lists every box that failed, with what was typed and the range
// each box takes.
TEST(PidPage, OneMessageListsEveryRefusedBox) {
    SimSession s;
    OnPage(s, PageId::Pid, [&](HeadlessPlatform& ui) {
        ui.Type(PageId::Pid, IDC_PID_HEAT_P, "-3");
        ui.Type(PageId::Pid, IDC_PID_EXCH_I, "70000");
        ui.Type(PageId::Pid, IDC_PID_EXCH_D, "7");
        ui.Type(PageId::Pid, IDC_PID_PASSWORD, "Tarvel");
        s.trace.Clear();
        ui.Click(PageId::Pid, IDC_PID_WRITE);
        EXPECT_EQ(ui.Focused(PageId::Pid), IDC_PID_HEAT_P);
        EXPECT_EQ(ui.State(PageId::Pid, IDC_PID_PASSWORD)->text, "");
    });
    EXPECT_TRUE(SameTrace(Expected(R"trace(
   0.900  > click "Write"
   0.900  caption "Write" = "Wait"
   0.900  msgbox "Nothing was written. These values cannot be stored:\x0AP (Heat (Mv1)): \"-3\" - takes a number from 0.0 to 6553.5\x0AI (Exchanger (Me1)): \"70000\" - takes a number from 0 to 65535" title "QTA1" OK exclamation -> OK
   0.900  caption "Write" = "Write"
   0.900  sheet closes)trace"),
                          s.trace.lines()));
}

TEST(PidPage, RowsFollowTheFittedLoops) {
    struct Case {
        uint8_t byte2;  // part 1 byte 2 as stored
        bool heat, recirc, exch, cool;
    };
    const Case cases[] = {
        {0x15, true, false, true, false},  // factory: heating surface, exchanger, bit 4
        {0x00, false, false, false, false}, {0x0F, true, true, true, true},
        {0x0A, false, true, false, true},   {0xF0, false, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.byte2));
        SimSession s;
        NvValue part1 = s.node.Part(1);
        part1[2] = c.byte2;
        s.node.SetPart(1, part1);
        OnPage(s, PageId::Pid, [&](HeadlessPlatform& ui) {
            auto enabled = [&](int id) { return ui.State(PageId::Pid, id)->enabled; };
            for (int id : {IDC_PID_HEAT_P, IDC_PID_HEAT_I, IDC_PID_HEAT_D})
                EXPECT_EQ(enabled(id), c.heat);
            for (int id : {IDC_PID_RECIRC_P, IDC_PID_RECIRC_I, IDC_PID_RECIRC_D})
                EXPECT_EQ(enabled(id), c.recirc);
            for (int id : {IDC_PID_EXCH_P, IDC_PID_EXCH_I, IDC_PID_EXCH_D})
                EXPECT_EQ(enabled(id), c.exch);
            for (int id : {IDC_PID_COOL_P, IDC_PID_COOL_I, IDC_PID_COOL_D})
                EXPECT_EQ(enabled(id), c.cool);
            EXPECT_TRUE(ui.State(PageId::Pid, IDC_PID_PASSWORD)->enabled);
        });
        EXPECT_EQ(s.node.Selector(), 1) << "showing the page leaves the selector at part 1";
    }
}

// For random node contents, a Write that changes one box changes exactly
// that box's word of part 8, and nothing anywhere else in the node.
TEST(PidPage, WriteChangesOnlyTheEditedWord) {
    const int boxes[] = {IDC_PID_HEAT_P,   IDC_PID_HEAT_I, IDC_PID_HEAT_D,   IDC_PID_EXCH_P,
                         IDC_PID_EXCH_I,   IDC_PID_EXCH_D, IDC_PID_RECIRC_P, IDC_PID_RECIRC_I,
                         IDC_PID_RECIRC_D, IDC_PID_COOL_P, IDC_PID_COOL_I,   IDC_PID_COOL_D};
    std::mt19937 random(20261207);
    for (int round = 0; round < 24; ++round) {
        SimSession s;
        NvValue part1 = s.node.Part(1);
        part1[2] = 0x0F;  // every loop fitted, so every box takes typing
        s.node.SetPart(1, part1);
        NvValue part8;
        for (uint8_t& b : part8) b = static_cast<uint8_t>(random());
        part8[0] = 8;  // the part's own number
        // Every word survives being shown and typed back unchanged, so only
        // the edited word may differ.
        s.node.SetPart(8, part8);
        const int word = round % 12;
        const int value = static_cast<int>(random() % 60000);
        std::array<NvValue, 13> before;
        for (int p = 1; p <= 12; ++p) before[p] = s.node.Part(p);
        OnPage(s, PageId::Pid, [&](HeadlessPlatform& ui) {
            const bool tenths = word % 3 == 0;
            ui.Type(PageId::Pid, boxes[word],
                    tenths ? FormatFixed(value / 10.0, 1) : std::to_string(value));
            ui.Type(PageId::Pid, IDC_PID_PASSWORD, "Tarvel");
            ui.Click(PageId::Pid, IDC_PID_WRITE);
        });
        for (int p = 1; p <= 12; ++p) {
            NvValue expected = before[p];
            if (p == 8) {
                expected[2 * word + 1] = static_cast<uint8_t>(value >> 8);
                expected[2 * word + 2] = static_cast<uint8_t>(value & 0xFF);
            }
            EXPECT_EQ(s.node.Part(p), expected) << "part " << p << ", word " << word;
        }
    }
}

}  // namespace
}  // namespace qta1
