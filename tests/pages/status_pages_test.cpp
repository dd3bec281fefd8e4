// The status pages: the override written to NV 17 and its lock, and the
// running-hour reset commands.
#include <gtest/gtest.h>

#include <random>

#include "sim_session.h"
#include "support/page_checks.h"

namespace qta1 {
namespace {

using testing::OnPage;

NvValue Bytes(std::initializer_list<uint8_t> bytes) {
    NvValue value{};
    std::copy(bytes.begin(), bytes.end(), value.begin());
    return value;
}

// With the unit's switch at "Off" the override is locked, unless the
// override is "Off" itself, which leaves the buttons as they were.
TEST(StatusPage, OverrideLockedWhileTheSwitchIsOff) {
    struct Case {
        uint8_t override;
        uint8_t rotarySwitch;
        bool switchReadFails;
        bool enabledBefore;
        bool enabledAfter;
    };
    const Case cases[] = {
        {255, 4, false, true, false}, {2, 4, false, true, false},  {2, 1, false, false, true},
        {4, 4, false, true, true},    {4, 1, false, false, false}, {255, 4, true, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.override) + " " + std::to_string(c.rotarySwitch));
        SimSession s;
        OnPage(s, PageId::Status, [&](HeadlessPlatform& ui) {
            // Set the enabling the buttons start from.
            s.node.SetNv(17, Bytes({0x00, 0xFF}));
            s.node.SetNv(31, Bytes({0x00, static_cast<uint8_t>(c.enabledBefore ? 1 : 4)}));
            ui.Idle(1000);
            s.node.SetNv(17, Bytes({0x00, c.override}));
            s.node.SetNv(31, Bytes({0x00, c.rotarySwitch}));
            // The override's own read is the third of the refresh, the
            // switch's second read the fourth.
            if (c.switchReadFails) s.node.FailCall(4);
            ui.Idle(1000);
            for (int id = IDC_STATUS_VENTILATION; id <= IDC_STATUS_MANUAL_SWITCH; ++id) {
                EXPECT_EQ(ui.State(PageId::Status, id)->enabled, c.enabledAfter) << id;
            }
        });
    }
}

// For random contents of NV 17, a Write sends the chosen button's value as
// its first two bytes; nothing else in the node changes.
TEST(StatusPage, WriteSendsOnlyTheOverrideWord) {
    const std::pair<int, int> buttons[] = {
        {IDC_STATUS_VENTILATION, 1}, {IDC_STATUS_NIGHT, 2},           {IDC_STATUS_DAY, 3},
        {IDC_STATUS_OFF, 4},         {IDC_STATUS_EXTERNAL, 5},        {IDC_STATUS_AUTO, 6},
        {IDC_STATUS_RESET_ALARM, 7}, {IDC_STATUS_MANUAL_SWITCH, 255},
    };
    std::mt19937 random(20261207);
    for (int round = 0; round < 3; ++round) {
        for (const auto& [button, value] : buttons) {
            SCOPED_TRACE(value);
            SimSession s;
            NvValue override;
            for (uint8_t& b : override) b = static_cast<uint8_t>(random());
            s.node.SetNv(17, override);
            std::array<NvValue, 13> parts;
            for (int p = 1; p <= 12; ++p) parts[p] = s.node.Part(p);
            OnPage(s, PageId::Status, [&](HeadlessPlatform& ui) {
                ui.Click(PageId::Status, button);
                ui.Click(PageId::Status, IDC_STATUS_WRITE);
                EXPECT_TRUE(ui.State(PageId::Status, button)->checked);
            });
            NvValue expected = override;
            expected[0] = 0;
            expected[1] = static_cast<uint8_t>(value);
            EXPECT_EQ(s.node.Nv(17), expected);
            for (int p = 1; p <= 12; ++p) EXPECT_EQ(s.node.Part(p), parts[p]) << "part " << p;
        }
    }
}

// Each "Reset" sends its counter's code, holds it 2.5 s and takes it back;
// the node then restarts exactly that counter.
TEST(RunningHoursPage, EachResetRestartsItsOwnCounter) {
    struct Case {
        int button;
        int word;  // of NV 49
    };
    const Case cases[] = {
        {IDC_HOURS_RESET_VENTILATING, 0},   {IDC_HOURS_RESET_INJECTION_MOTOR, 1},
        {IDC_HOURS_RESET_EXHAUST_MOTOR, 2}, {IDC_HOURS_RESET_EXCHANGER, 3},
        {IDC_HOURS_RESET_PUMP, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.word);
        SimSession s;
        NvValue counters{};
        OnPage(s, PageId::RunningHours, [&](HeadlessPlatform& ui) {
            counters = s.node.Nv(49);
            s.trace.Clear();
            ui.Click(PageId::RunningHours, c.button);
            EXPECT_EQ(ui.State(PageId::RunningHours, c.button)->text, "Reset");
        });
        const std::string code = "0" + std::to_string(c.word + 1);
        // clang-format off
        const std::vector<std::string> expected = {
            "> click \"Reset\" in ",
            "WriteNv(40, 2) <- [00 " + code + "] -> 0",
            "caption \"Reset\" = \"Wait\"",
            "sleep 2500",
            "WriteNv(40, 2) <- [00 00] -> 0",
            "caption \"Reset\" = \"Reset\"",
        };
        // clang-format on
        ASSERT_GE(s.trace.lines().size(), expected.size());
        for (size_t i = 0; i < expected.size(); ++i) {
            EXPECT_NE(s.trace.lines()[i].find(expected[i]), std::string::npos)
                << s.trace.lines()[i];
        }
        NvValue reset = counters;
        reset[2 * c.word + 1] = 0;
        reset[2 * c.word + 2] = 0;
        EXPECT_EQ(s.node.Nv(49), reset);
    }
}

}  // namespace
}  // namespace qta1
