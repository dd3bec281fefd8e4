// Set Time: the two clocks and "Sync".
#include "housekeeping/set_time_page.h"

#include <gtest/gtest.h>

#include "frame/codec.h"
#include "sim_session.h"
#include "support/golden.h"

namespace qta1 {
namespace {

TEST(SetTime, NodeClockTexts) {
    struct Case {
        std::array<uint8_t, 7> clock;
        const char* date;
        const char* time;
    };
    const Case cases[] = {
        {{0x07, 0xEA, 12, 6, 7, 5, 9}, "6/12-2026", "7:05:09"},
        {{0x07, 0xEA, 1, 31, 23, 59, 59}, "31/1-2026", "23:59:59"},
        {{0x00, 0x00, 0, 0, 0, 0, 0}, "0/0-0", "0:00:00"},
        {{0xFF, 0xFF, 0xFF, 0x80, 0x7F, 10, 0xFB}, "-128/-1-65535", "127:10:0-5"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NodeDateText(c.clock.data()), c.date);
        EXPECT_EQ(NodeTimeText(c.clock.data()), c.time);
    }
}

TEST(SetTime, SyncWritesThePcClockWithItsFullYear) {
    struct Case {
        LocalTime pc;
        std::array<uint8_t, 7> bytes;
    };
    const Case cases[] = {
        {{2026, 12, 31, 23, 59, 59, 4}, {0x07, 0xEA, 12, 31, 23, 59, 59}},
        {{2105, 1, 2, 3, 4, 5, 3}, {0x08, 0x39, 1, 2, 3, 4, 5}},
        {{2000, 2, 29, 0, 0, 0, 2}, {0x07, 0xD0, 2, 29, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SimSession s;
        s.clock.SetLocal(c.pc);
        s.Open([&](HeadlessPlatform& ui) {
            ui.Idle(100);
            ASSERT_TRUE(ui.SelectTab(PageId::SetTime));
            s.trace.Clear();
            ASSERT_TRUE(ui.Click(PageId::SetTime, IDC_SETTIME_SYNC));
            EXPECT_EQ(ui.State(PageId::SetTime, IDC_SETTIME_PC_DATE)->text.back(), ' ');
        });
        ASSERT_GE(s.trace.lines().size(), 2u);
        EXPECT_NE(s.trace.lines()[1].find("WriteNv(51, 7) <- [" + HexBytes(c.bytes.data(), 7) + "] -> 0"),
                  std::string::npos)
            << s.trace.lines()[1];
    }
}

// The clocks are refreshed once a second from the page's creation on, also
// while another page is in front, and each tick reads NV 9 once.
TEST(SetTime, RefreshesEverySecondWhileTheSheetIsOpen) {
    SimSession s;
    s.node.SetAnimated(false);
    s.Open([&](HeadlessPlatform& ui) {
        ui.Idle(100);
        ASSERT_TRUE(ui.SelectTab(PageId::SetTime));
        ASSERT_TRUE(ui.SelectTab(PageId::ExtendedOperation));  // a page without a timer
        s.trace.Clear();
        ui.Idle(2000);
        EXPECT_EQ(ui.State(PageId::SetTime, IDC_SETTIME_PC_TIME)->text, "9:00:02");
    });
    EXPECT_TRUE(testing::SameTrace(testing::SplitLines(R"(   1.100  timer "Set Time" 1
   1.100  ReadNv(9, 32) -> 0  [07 EA 0C 07 09 00 01 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00]
   2.100  timer "Set Time" 1
   2.100  ReadNv(9, 32) -> 0  [07 EA 0C 07 09 00 02 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00]
   2.100  sheet closes)"),
                                   s.trace.lines()));
}

}  // namespace
}  // namespace qta1
