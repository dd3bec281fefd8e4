// The regulation pages: what each Write may change in the node, for random
// node contents, and which sensor readings count as a fitted sensor.
#include <gtest/gtest.h>

#include <array>
#include <random>

#include "sim_session.h"
#include "support/page_checks.h"

namespace qta1 {
namespace {

using testing::Bits;
using testing::Edit;
using testing::kToggled;
using testing::Place;
using testing::Word;

constexpr Place kPart1{kConfigNv, 1};
constexpr Place kPart2{kConfigNv, 2};
constexpr Place kPart6{kConfigNv, 6};
constexpr Place kPart7{kConfigNv, 7};
constexpr Place kModes{38, 0};
constexpr Place kManual{39, 0};
constexpr Place kSetpoints{50, 0};

struct PageUnderTest {
    PageId page;
    int writeButton;
    // Makes every edited control available (options, modes) on the random node.
    std::function<void(SimulatedNode&)> prepare;
};

void SetPart1(SimulatedNode& node, int byte, uint8_t set, uint8_t clear) {
    NvValue part1 = node.Part(1);
    part1[byte] = static_cast<uint8_t>((part1[byte] | set) & ~clear);
    node.SetPart(1, part1);
}

void SetModeWord(SimulatedNode& node, int offset, int word) {
    NvValue modes = node.Nv(38);
    modes[offset] = static_cast<uint8_t>(word >> 8);
    modes[offset + 1] = static_cast<uint8_t>(word & 0xFF);
    node.SetNv(38, modes);
}

// The random node of these pages: every part and the NVs they write.
void CheckEditsChangeOnlyTheirBits(const PageUnderTest& page, std::span<const Edit> edits) {
    testing::CheckEditsChangeOnlyTheirBits(
        {page.page, page.writeButton, 0, {38, 39, 50}, page.prepare, false}, edits);
}

template <typename... Parts>
std::vector<Bits> Join(Parts... parts) {
    std::vector<Bits> all;
    (all.insert(all.end(), parts.begin(), parts.end()), ...);
    return all;
}

TEST(TemperaturesPage, WriteChangesOnlyTheEditedOffset) {
    const Edit edits[] = {
        {"Bs1 -1.5", IDC_TEMPS_BS1_OFFSET, "-1.5", Word(kPart2, 1, 0xFF, 0x6A)},
        {"Bs2 100", IDC_TEMPS_BS2_OFFSET, "100", Word(kPart2, 3, 0x27, 0x10)},
        {"Bs3 0.019", IDC_TEMPS_BS3_OFFSET, "0.019", Word(kPart2, 5, 0x00, 0x01)},
    };
    // The simulated sensors read between -2.0 and 23.0 degrees: all fitted.
    CheckEditsChangeOnlyTheirBits({PageId::Temperatures, IDC_TEMPS_WRITE, [](SimulatedNode&) {}},
                                  edits);
}

TEST(CalcInjectionPage, WriteChangesOnlyTheEditedValue) {
    // clang-format off
    const Edit edits[] = {
        {"Calc. setpoint", IDC_CALCINJ_CALC_SETPOINT, nullptr, {{kPart1, 4, 0x01, kToggled}}},
        {"P",              IDC_CALCINJ_P,              "2.57",  Word(kPart7, 25, 0x00, 0x19)},
        {"I",              IDC_CALCINJ_I,              "61",    Word(kPart7, 27, 0x00, 0x3D)},
        {"D",              IDC_CALCINJ_D,              "7",     Word(kPart7, 29, 0x00, 0x07)},
        {"Min injection",  IDC_CALCINJ_MIN,            "18.25", Word(kSetpoints, 1, 0x07, 0x21)},
        {"Calc",           IDC_CALCINJ_CALC,           "21.5",  Word(kSetpoints, 3, 0x08, 0x66)},
        {"Max Injection",  IDC_CALCINJ_MAX,            "-3",    Word(kSetpoints, 5, 0xFE, 0xD4)},
        {"Night lowering", IDC_CALCINJ_NIGHT_LOWERING, "17.5",  Word(kSetpoints, 7, 0x06, 0xD6)},
        {"DB heat",        IDC_CALCINJ_DB_HEAT,        "1",     Word(kSetpoints, 9, 0x00, 0x64)},
        {"Boost night",    IDC_CALCINJ_BOOST_NIGHT,    "40.25", Word(kSetpoints, 11, 0x0F, 0xB9)},
        {"DB cool",        IDC_CALCINJ_DB_COOL,        "0.5",   Word(kSetpoints, 13, 0x00, 0x32)},
    };
    // clang-format on
    CheckEditsChangeOnlyTheirBits(
        {PageId::CalcInjection, IDC_CALCINJ_WRITE,
         [](SimulatedNode& node) {
             SetPart1(node, 4, 0x01, 0x10);  // calculated injection, fixed space set-point
             SetPart1(node, 6, 0x01, 0x02);  // night lowering without replace air
         }},
        edits);
}

TEST(CalcSpacePage, WriteChangesOnlyTheEditedPoint) {
    // clang-format off
    const Edit edits[] = {
        {"Calc. setpoint",   IDC_CALCSPACE_CALC_SETPOINT,   nullptr, {{kPart1, 4, 0x10, kToggled}}},
        {"Winter outdoor",   IDC_CALCSPACE_WINTER_OUTDOOR,  "-12",   Word(kSetpoints, 21, 0xFB, 0x50)},
        {"Summer outdoor",   IDC_CALCSPACE_SUMMER_OUTDOOR,  "25",    Word(kSetpoints, 23, 0x09, 0xC4)},
        {"Winter setpoint",  IDC_CALCSPACE_WINTER_SETPOINT, "20.5",  Word(kSetpoints, 25, 0x08, 0x02)},
        {"Summer setpoint",  IDC_CALCSPACE_SUMMER_SETPOINT, "22",    Word(kSetpoints, 27, 0x08, 0x98)},
    };
    // clang-format on
    CheckEditsChangeOnlyTheirBits({PageId::CalcSpace, IDC_CALCSPACE_WRITE,
                                   [](SimulatedNode& node) { SetPart1(node, 4, 0x10, 0); }},
                                  edits);
}

// Mode words the node holds without a button of their own (most random
// words) go back unchanged, so only the clicked group's word may change.
TEST(HeatingSurfacePage, WriteChangesOnlyTheEditedSetting) {
    // clang-format off
    const Edit edits[] = {
        {"In",              IDC_HEAT_VALVE_IN,     "37.8",  {{kManual, 8, 0xFF, 0x4B}}},
        {"valve Off",       IDC_HEAT_VALVE_OFF,    nullptr, Word(kModes, 7, 0x00, 0x00)},
        {"valve Automatic", IDC_HEAT_VALVE_AUTO,   nullptr, Word(kModes, 7, 0x00, 0x02)},
        {"pump Manual",     IDC_HEAT_PUMP_MANUAL,  nullptr, Word(kModes, 5, 0x00, 0x01)},
        {"pump Off",        IDC_HEAT_PUMP_OFF,     nullptr, Word(kModes, 5, 0x00, 0x00)},
        {"2-10",            IDC_HEAT_2_10,         nullptr, {{kPart1, 14, 0x01, 0x01}}},
        {"0-10",            IDC_HEAT_0_10,         nullptr, {{kPart1, 14, 0x01, 0x00}}},
        {"Invert",          IDC_HEAT_INVERT,       nullptr, {{kPart1, 16, 0x01, kToggled}}},
    };
    // clang-format on
    CheckEditsChangeOnlyTheirBits({PageId::HeatingSurface, IDC_HEAT_WRITE,
                                   [](SimulatedNode& node) {
                                       SetPart1(node, 2, 0x01, 0);  // heating surface fitted
                                       SetModeWord(node, 7, 1);     // valve in "Manual"
                                   }},
                                  edits);
}

// Part 6, with the deicing delay, is among the places that must not change.
TEST(ExchangerPage, WriteChangesOnlyTheEditedSetting) {
    // clang-format off
    const Edit edits[] = {
        {"In",        IDC_EXCH_IN,     "12.5",  {{kManual, 4, 0xFF, 0x19}}},
        {"Off",       IDC_EXCH_OFF,    nullptr, Word(kModes, 3, 0x00, 0x00)},
        {"Automatic", IDC_EXCH_AUTO,   nullptr, Word(kModes, 3, 0x00, 0x02)},
        {"2-10",      IDC_EXCH_2_10,   nullptr, {{kPart1, 14, 0x04, 0x04}}},
        {"0-10",      IDC_EXCH_0_10,   nullptr, {{kPart1, 14, 0x04, 0x00}}},
        {"Invert",    IDC_EXCH_INVERT, nullptr, {{kPart1, 16, 0x04, kToggled}}},
    };
    // clang-format on
    CheckEditsChangeOnlyTheirBits({PageId::Exchanger, IDC_EXCH_WRITE,
                                   [](SimulatedNode& node) {
                                       SetPart1(node, 2, 0x04, 0);  // exchanger fitted
                                       SetModeWord(node, 3, 1);     // in "Manual"
                                   }},
                                  edits);
}

TEST(AntifrostPage, WriteChangesOnlyTheEditedTemperature) {
    const Edit edits[] = {
        {"start", IDC_ANTIFROST_START, "-5.5", Word(kPart2, 17, 0xFD, 0xDA)},
        {"stop", IDC_ANTIFROST_STOP, "8", Word(kPart2, 19, 0x03, 0x20)},
        {"return", IDC_ANTIFROST_RETURN, "22.25", Word(kPart2, 23, 0x08, 0xB1)},
    };
    CheckEditsChangeOnlyTheirBits({PageId::Antifrost, IDC_ANTIFROST_WRITE,
                                   [](SimulatedNode& node) { SetPart1(node, 8, 0x01, 0); }},
                                  edits);
}

TEST(ExerciseDeicingPage, WriteChangesOnlyTheEditedInterval) {
    const Edit edits[] = {
        {"deicing", IDC_EXERCISE_DEICING, "12", Word(kPart6, 5, 0x00, 0x0C)},
        {"pump", IDC_EXERCISE_PUMP, "168.9", Word(kPart6, 7, 0x00, 0xA8)},
        {"valve", IDC_EXERCISE_VALVE, "72", Word(kPart6, 9, 0x00, 0x48)},
    };
    CheckEditsChangeOnlyTheirBits({PageId::ExerciseDeicing, IDC_EXERCISE_WRITE,
                                   [](SimulatedNode& node) { SetPart1(node, 8, 0x02, 0); }},
                                  edits);
}

TEST(TempStartupPage, WriteChangesOnlyTheEditedTemperature) {
    // clang-format off
    const Edit edits[] = {
        {"Outdoor temp", IDC_STARTUP_OUTDOOR,   "-5",    Word(kPart2, 21, 0xFE, 0x0C)},
        {"Return temp",  IDC_STARTUP_RETURN,    "45",    Word(kPart2, 23, 0x11, 0x94)},
        {"50% heat",     IDC_STARTUP_50_HEAT,   "10.5",  Word(kPart7, 1, 0x04, 0x1A)},
        {"0% heat",      IDC_STARTUP_0_HEAT,    "18",    Word(kPart7, 3, 0x07, 0x08)},
        {"0% recycle",   IDC_STARTUP_0_RECYCLE, "21.25", Word(kPart7, 5, 0x08, 0x4D)},
    };
    // clang-format on
    CheckEditsChangeOnlyTheirBits({PageId::TempStartup, IDC_STARTUP_WRITE,
                                   [](SimulatedNode& node) {
                                       SetPart1(node, 4, 0, 0x08);  // up-warming in use
                                       SetPart1(node, 2, 0x07, 0);  // all three fitted
                                   }},
                                  edits);
}

TEST(LowTempInjectionPage, WriteChangesOnlyTheEditedSetting) {
    // clang-format off
    const Edit edits[] = {
        {"Stop at low temperatures", IDC_LOWTEMP_STOP,   nullptr, {{kPart1, 4, 0x20, kToggled}}},
        {"Offset alarm temp",        IDC_LOWTEMP_OFFSET, "-3",    Word(kPart2, 25, 0xFE, 0xD4)},
        {"Time before alarm",        IDC_LOWTEMP_TIME,   "12.34", Word(kPart2, 27, 0x00, 0x7B)},
    };
    // clang-format on
    CheckEditsChangeOnlyTheirBits({PageId::LowTempInjection, IDC_LOWTEMP_WRITE,
                                   [](SimulatedNode& node) { SetPart1(node, 4, 0x20, 0); }},
                                  edits);
}

// A mode word without a button leaves the group with none checked, and a
// Write sends the word back as the node held it.
TEST(ActuatorPages, ModeWithoutAButtonIsWrittenBackUnchanged) {
    struct Group {
        PageId page;
        int writeButton;
        int offset;  // of the mode word in NV 38
        std::array<int, 3> buttons;
    };
    const Group groups[] = {
        {PageId::HeatingSurface,
         IDC_HEAT_WRITE,
         7,
         {IDC_HEAT_VALVE_OFF, IDC_HEAT_VALVE_MANUAL, IDC_HEAT_VALVE_AUTO}},
        {PageId::HeatingSurface,
         IDC_HEAT_WRITE,
         5,
         {IDC_HEAT_PUMP_OFF, IDC_HEAT_PUMP_MANUAL, IDC_HEAT_PUMP_AUTO}},
        {PageId::Exchanger, IDC_EXCH_WRITE, 3, {IDC_EXCH_OFF, IDC_EXCH_MANUAL, IDC_EXCH_AUTO}},
    };
    for (const Group& group : groups) {
        for (int word : {3, 0x0100, 0xFFFF}) {
            SCOPED_TRACE(std::string(CaptionOf(group.page)) + " byte " +
                         std::to_string(group.offset) + " word " + std::to_string(word));
            SimSession s;
            s.node.SetAnimated(false);
            NvValue modes{};
            modes[group.offset] = static_cast<uint8_t>(word >> 8);
            modes[group.offset + 1] = static_cast<uint8_t>(word & 0xFF);
            s.node.SetNv(38, modes);
            s.Open([&](HeadlessPlatform& ui) {
                ui.Idle(100);
                ui.Click(PageId::NodeInformation, IDC_NODEINFO_TECHNICIAN);
                ui.SelectTab(group.page);
                for (int button : group.buttons) {
                    EXPECT_FALSE(ui.State(group.page, button)->checked);
                }
                ui.Click(group.page, group.writeButton);
            });
            EXPECT_EQ(s.node.Nv(38), modes);
        }
    }
}

// A sensor counts as fitted from a reading of -200.0 degrees up; a reading
// the page cannot get leaves its row as it was.
TEST(TemperaturesPage, SensorRowsFollowTheReadings) {
    struct Case {
        uint16_t word;
        bool readable;
        bool enabled;
    };
    const Case cases[] = {
        {0xB1E0, true, true},   // -200.00
        {0xB1DF, true, false},  // -200.01
        {0x955C, true, false},  // -273.00
        {10000, true, true},    // 100.00
        {10001, true, false},   // -555.35
        {0x0000, true, true},   // 0.00
        {0x955C, false, true},  // unread: stays as the first showing left it
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.word);
        SimSession s;
        s.node.SetAnimated(false);
        NvValue sensors = s.node.Nv(2);
        sensors[5] = static_cast<uint8_t>(c.word >> 8);
        sensors[6] = static_cast<uint8_t>(c.word & 0xFF);
        s.Open([&](HeadlessPlatform& ui) {
            ui.Idle(100);
            ui.Click(PageId::NodeInformation, IDC_NODEINFO_TECHNICIAN);
            ui.SelectTab(PageId::Temperatures);  // with the simulated Bs3 reading
            ui.SelectTab(PageId::NodeInformation);
            s.node.SetNv(2, sensors);
            if (!c.readable) s.node.FailNv(2, FaultOn::Reads);
            ui.SelectTab(PageId::Temperatures);
            for (int box : {IDC_TEMPS_BS3_ACTUAL, IDC_TEMPS_BS3_OFFSET}) {
                EXPECT_EQ(ui.State(PageId::Temperatures, box)->enabled, c.enabled);
            }
            EXPECT_TRUE(ui.State(PageId::Temperatures, IDC_TEMPS_BS2_OFFSET)->enabled);
        });
    }
}

}  // namespace
}  // namespace qta1
