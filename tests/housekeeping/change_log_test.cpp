// The node's change log: entries read back as they were written, whatever a
// hand edit or a crash left in the file, and a write that fails part-way
// never costs an earlier entry.
#include "housekeeping/change_log.h"

#include <gtest/gtest.h>

#include "platform/headless/headless_platform.h"
#include "platform/headless/trace.h"
#include "platform/headless/virtual_clock.h"

namespace qta1 {
namespace {

constexpr LocalTime kWhen{2026, 12, 8, 9, 5, 7, 2};

std::string Summary(const std::vector<LoggedChange>& entries) {
    std::string text;
    for (const LoggedChange& entry : entries) {
        text += "[" + entry.when + "|" + entry.user + "|" + entry.nodeName + "|" + entry.action;
        for (const std::string& line : entry.lines) text += "|" + line;
        text += "]";
    }
    return text;
}

TEST(ChangeLog, ReadsBackWhatWasWrittenAndWhateverElseTheFileHolds) {
    const ChangeEntry pid{"PID: Write", {{"PID - P (Heat (Mv1))", "1.0", "2.5"}}, {}, {}};
    const ChangeEntry hostile{"Import / Export: Download of C:\\a\tb.txt",
                              {{"PID - P (Heat (Mv1))", "1.0\r\n2026-01-01 00:00:00", "2.5"}},
                              {"not\nwritten"},
                              {}};
    const std::string one = ChangeEntryText(kWhen, "Technician", "AHU 3", pid);
    struct Case {
        const char* name;
        std::string text;
        std::string entries;
    };
    // clang-format off
    const Case cases[] = {
        {"empty",          "",                                              ""},
        {"one entry",      one,
         "[2026-12-08 09:05:07|Technician|AHU 3|PID: Write|PID - P (Heat (Mv1)): 1.0 -> 2.5]"},
        // Line ends and tabs in a name or a value cannot split the entry.
        {"hostile texts",  ChangeEntryText(kWhen, "a\tb", "AHU\r\n3", hostile),
         "[2026-12-08 09:05:07|a?b|AHU??3|Import / Export: Download of C:\\a?b.txt"
         "|PID - P (Heat (Mv1)): 1.0??2026-01-01 00:00:00 -> 2.5|not?written]"},
        {"two entries",    one + one,
         "[2026-12-08 09:05:07|Technician|AHU 3|PID: Write|PID - P (Heat (Mv1)): 1.0 -> 2.5]"
         "[2026-12-08 09:05:07|Technician|AHU 3|PID: Write|PID - P (Heat (Mv1)): 1.0 -> 2.5]"},
        // What a crash left: a head cut off in the middle starts an entry of
        // its own and never joins the entry before it.
        {"cut-off head",   one + "\r\n2026-12-0",
         "[2026-12-08 09:05:07|Technician|AHU 3|PID: Write|PID - P (Heat (Mv1)): 1.0 -> 2.5]"
         "[||||2026-12-0]"},
        {"cut-off row",    one.substr(0, one.size() - 6),
         "[2026-12-08 09:05:07|Technician|AHU 3|PID: Write|PID - P (Heat (Mv1)): 1.0 ->]"},
        // Edited by hand in Notepad: LF only, text before any head, no tabs.
        {"hand edited",    "notes\n2026-12-08 09:05:07 no tabs\n  row\n",
         "[||||notes][2026-12-08 09:05:07 no tabs||||row]"},
        {"junk",           std::string("\0\x01\xFF\t\t\r\r\n\n", 9),
         std::string("[||||\0\x01\xFF\t\t]", 11)},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Summary(ParseChangeLog(c.text)), c.entries);
    }
}

// A disk that fills up in the middle of an entry loses that entry only: the
// next one appends, and the earlier ones read back whole.
TEST(ChangeLog, AWriteThatStopsPartWayLosesOnlyItsOwnEntry) {
    VirtualClock clock;
    Trace trace(clock);
    HeadlessPlatform storage(clock, trace);
    const std::string path = "C:\\log\\Changes.log";
    const ChangeEntry first{"PID: Write", {{"PID - P (Heat (Mv1))", "1.0", "2.5"}}, {}, {}};
    const ChangeEntry lost{"PID: Write", {{"PID - I (Heat (Mv1))", "60", "70"}}, {}, {}};
    const ChangeEntry next{"Set Time: Sync", {{"Set Time - Node date and time", "a", "b"}}, {}, {}};
    for (size_t cut : {0u, 1u, 2u, 25u, 40u, 60u}) {
        SCOPED_TRACE("the write stops after " + std::to_string(cut) + " bytes");
        storage.RemoveFile(path);
        ASSERT_TRUE(storage.AppendFile(path, ChangeEntryText(kWhen, "T", "N", first)));
        storage.FailNextAppend(cut);
        EXPECT_FALSE(storage.AppendFile(path, ChangeEntryText(kWhen, "T", "N", lost)));
        ASSERT_TRUE(storage.AppendFile(path, ChangeEntryText(kWhen, "T", "N", next)));
        const std::vector<LoggedChange> entries =
            ParseChangeLog(storage.ReadFile(path).value_or(""));
        ASSERT_GE(entries.size(), 2u);
        EXPECT_EQ(Summary({entries.front()}),
                  "[2026-12-08 09:05:07|T|N|PID: Write|PID - P (Heat (Mv1)): 1.0 -> 2.5]");
        EXPECT_EQ(Summary({entries.back()}),
                  "[2026-12-08 09:05:07|T|N|Set Time: Sync|Set Time - Node date and time: a -> b]");
    }
}

}  // namespace
}  // namespace qta1
