// The unit configuration pages: what each Write may change in the node, the
// exchanger controls of Configuring QTA1+2, the dampers' unknown modes and
// the initialisation of the HVAC mode sets.
#include <gtest/gtest.h>

#include <random>

#include "sim_session.h"
#include "support/page_checks.h"

namespace qta1 {
namespace {

using testing::Bits;
using testing::Edit;
using testing::kAllowed;
using testing::kToggled;
using testing::OnPage;
using testing::Place;

constexpr Place kPart1{kConfigNv, 1};
constexpr Place kPart3{kConfigNv, 3};
constexpr Place kPart10{kConfigNv, 10};

struct WritePage {
    PageId page;
    int writeButton;
    int passwordBox;  // 0: none
    // The option pages clear options whose prerequisite is missing (an
    // option that needs another), so a random node changes on any Write.
    bool normalises = false;
};

// The random node of these pages: every part, and the NVs they read or write.
void CheckEditsChangeOnlyTheirBits(const WritePage& page, std::span<const Edit> edits,
                                   std::function<void(SimulatedNode&)> prepare) {
    testing::CheckEditsChangeOnlyTheirBits({page.page,
                                            page.writeButton,
                                            page.passwordBox,
                                            {3, 15, 17, 38, 39},
                                            std::move(prepare),
                                            true,
                                            page.normalises},
                                           edits, 6);
}

TEST(ConfigQta12Page, WriteChangesOnlyTheEditedOption) {
    // clang-format off
    const Edit edits[] = {
        {"Deicing enabled",   IDC_QTA12_DEICING,        nullptr, {{kPart1, 8, 0x02, kToggled}}},
        {"Antifrost",         IDC_QTA12_ANTIFROST,      nullptr, {{kPart1, 8, 0x01, kToggled}}},
        {"Not upwarming",     IDC_QTA12_NO_UPWARMING,   nullptr, {{kPart1, 4, 0x08, kToggled}}},
        {"Summer Stop",       IDC_QTA12_SUMMER_STOP,    nullptr, {{kPart1, 12, 0x01, kToggled}}},
        {"Replace air",       IDC_QTA12_REPLACE_AIR,    nullptr, {{kPart1, 6, 0x02, kToggled}}},
        {"Freecooling",       IDC_QTA12_FREECOOLING,    nullptr, {{kPart1, 20, 0x01, kToggled}}},
        {"Outdoor sensor",    IDC_QTA12_OUTDOOR_SENSOR, nullptr, {{kPart1, 2, 0x40, kToggled}}},
        {"Rotating",          IDC_QTA12_ROTATING,       nullptr, {{kPart1, 1, 0x07, 0x02},
                                                                  {kPart1, 8, 0x02, kAllowed}}},
        {"Exchanger",         IDC_QTA12_EXCHANGER,      nullptr, {{kPart1, 2, 0x04, kToggled},
                                                                  {kPart1, 1, 0x07, kAllowed},
                                                                  {kPart1, 8, 0x02, kAllowed}}},
        {"Heating surface",   IDC_QTA12_HEATING_SURFACE, nullptr, {{kPart1, 2, 0x01, kToggled},
                                                                   {kPart1, 8, 0x01, kAllowed},
                                                                   {kPart1, 4, 0x08, kAllowed},
                                                                   {kPart1, 12, 0x01, kAllowed},
                                                                   {kPart1, 24, 0x01, kAllowed}}},
        {"Night lowering",    IDC_QTA12_NIGHT_LOWERING, nullptr, {{kPart1, 6, 0x01, kToggled},
                                                                  {kPart1, 6, 0x02, kAllowed}}},
    };
    // clang-format on
    CheckEditsChangeOnlyTheirBits({PageId::ConfigQta12, IDC_QTA12_WRITE, IDC_QTA12_PASSWORD, true},
                                  edits, [](SimulatedNode&) {});
}

TEST(ConfigQta3Page, WriteChangesOnlyTheEditedOption) {
    // clang-format off
    const Edit edits[] = {
        {"Recirculation",          IDC_QTA3_RECIRCULATION,     nullptr, {{kPart1, 2, 0x02, kToggled}}},
        {"Cooling with exchanger", IDC_QTA3_COOLING_EXCHANGER, nullptr, {{kPart1, 4, 0x02, kToggled}}},
        {"Cooling surface",        IDC_QTA3_COOLING_SURFACE,   nullptr, {{kPart1, 2, 0x08, kToggled},
                                                                         {kPart1, 24, 0x02, kAllowed}}},
    };
    // clang-format on
    CheckEditsChangeOnlyTheirBits({PageId::ConfigQta3, IDC_QTA3_WRITE, IDC_QTA3_PASSWORD, true},
                                  edits, [](SimulatedNode& node) {
                                      NvValue status = node.Nv(3);
                                      status[27] = 0xFF;  // the QTA3 functions are offered
                                      status[28] = 0xFF;
                                      node.SetNv(3, status);
                                  });
}

TEST(ConfigHvacPage, WriteChangesOnlyTheEditedMode) {
    // clang-format off
    const Edit edits[] = {
        {"HEAT Genv",       IDC_HVAC_BOX(0, 2), nullptr, {{kPart10, 5, 0x40, kToggled}}},
        {"MRNG_WRMUP Ud",   IDC_HVAC_BOX(1, 1), nullptr, {{kPart10, 3, 0x20, kToggled}}},
        {"MRNG_WRMUP Genv", IDC_HVAC_BOX(1, 2), nullptr, {{kPart10, 5, 0x20, kToggled}}},
        {"MRNG_WRMUP Varme", IDC_HVAC_BOX(1, 3), nullptr, {{kPart10, 7, 0x20, kToggled}}},
        {"COOL Genv",       IDC_HVAC_BOX(2, 2), nullptr, {{kPart10, 5, 0x10, kToggled}}},
        {"NIGHT_PURGE Ud",  IDC_HVAC_BOX(3, 1), nullptr, {{kPart10, 3, 0x08, kToggled}}},
        {"NIGHT_PURGE Genv", IDC_HVAC_BOX(3, 2), nullptr, {{kPart10, 5, 0x08, kToggled}}},
        {"NIGHT_PURGE Varme", IDC_HVAC_BOX(3, 3), nullptr, {{kPart10, 7, 0x08, kToggled}}},
        {"PRE_COOL Ud",     IDC_HVAC_BOX(4, 1), nullptr, {{kPart10, 3, 0x04, kToggled}}},
        {"FAN_ONLY Ind",    IDC_HVAC_BOX(5, 0), nullptr, {{kPart10, 2, 0x40, kToggled}}},
        {"FAN_ONLY Ud",     IDC_HVAC_BOX(5, 1), nullptr, {{kPart10, 4, 0x40, kToggled}}},
        {"FREE_COOL Ud",    IDC_HVAC_BOX(6, 1), nullptr, {{kPart10, 4, 0x20, kToggled}}},
        {"FREE_COOL Genv",  IDC_HVAC_BOX(6, 2), nullptr, {{kPart10, 6, 0x20, kToggled}}},
        // A box the unit does not offer never changes a bit.
        {"HEAT Ind",        IDC_HVAC_BOX(0, 0), nullptr, {}},
        {"FREE_COOL Varme", IDC_HVAC_BOX(6, 3), nullptr, {}},
    };
    // clang-format on
    CheckEditsChangeOnlyTheirBits({PageId::ConfigHvac, IDC_HVAC_WRITE, IDC_HVAC_PASSWORD}, edits,
                                  [](SimulatedNode& node) {
                                      NvValue part10 = node.Part(10);
                                      part10[1] |= 0x80;  // initialised: the page keeps it
                                      node.SetPart(10, part10);
                                  });
}

TEST(DampersPage, WriteChangesOnlyTheEditedSetting) {
    constexpr Place kModes{38, 0};
    constexpr Place kManual{39, 0};
    // clang-format off
    const Edit edits[] = {
        {"injection Manual",    IDC_DAMPERS_INJ_MANUAL, nullptr, {{kModes, 9, 0xFF, 0x00},
                                                                  {kModes, 10, 0xFF, 0x01}}},
        {"exhaust Off",         IDC_DAMPERS_EXH_OFF,    nullptr, {{kModes, 11, 0xFF, 0x00},
                                                                  {kModes, 12, 0xFF, 0x00}}},
        {"injection Automatic", IDC_DAMPERS_INJ_AUTO,   nullptr, {{kModes, 9, 0xFF, 0x00},
                                                                  {kModes, 10, 0xFF, 0x02}}},
        // Only the low byte of the half percents: 12.5 is 25, 127.5 is 255.
        {"injection In",        IDC_DAMPERS_INJ_IN,     "12.5",  {{kManual, 10, 0xFF, 25}}},
        {"exhaust In",          IDC_DAMPERS_EXH_IN,     "127.5", {{kManual, 12, 0xFF, 255}}},
        {"injection 2-10",      IDC_DAMPERS_INJ_2_10,   nullptr, {{kPart1, 14, 0x08, 0x08}}},
        {"exhaust 0-10",        IDC_DAMPERS_EXH_0_10,   nullptr, {{kPart1, 14, 0x10, 0x00}}},
        {"injection Invert",    IDC_DAMPERS_INJ_INVERT, nullptr, {{kPart1, 16, 0x08, kToggled}}},
        {"exhaust Invert",      IDC_DAMPERS_EXH_INVERT, nullptr, {{kPart1, 16, 0x10, kToggled}}},
        {"Min. fresh air",      IDC_DAMPERS_MIN_FRESH_AIR, "20", {{kPart3, 29, 0xFF, 0x0F},
                                                                  {kPart3, 30, 0xFF, 0xA0}}},
    };
    // clang-format on
    CheckEditsChangeOnlyTheirBits({PageId::Dampers, IDC_DAMPERS_WRITE, 0}, edits,
                                  [](SimulatedNode& node) {
                                      NvValue part1 = node.Part(1);
                                      part1[2] |= 0x02;  // recirculation damper fitted
                                      node.SetPart(1, part1);
                                      NvValue status = node.Nv(3);
                                      status[22] |= 0x20;  // fresh air offered
                                      node.SetNv(3, status);
                                  });
}

// After the page has been shown, "Exchanger" is byte 2 bit 2, the types and
// "Deicing enabled" agree with it and with each other, and a Write stores at
// most one type, and none without an exchanger.
TEST(ConfigQta12Page, ExchangerControlsAgreeWithTheNode) {
    const int types[] = {IDC_QTA12_BYPASS, IDC_QTA12_ROTATING, IDC_QTA12_BATTERY};
    for (int typeBits = 0; typeBits < 8; ++typeBits) {
        for (bool exchanger : {false, true}) {
            for (bool deicing : {false, true}) {
                SCOPED_TRACE("types " + std::to_string(typeBits) + " exchanger " +
                             std::to_string(exchanger) + " deicing " + std::to_string(deicing));
                // Of several type bits the last one is the type.
                int chosenBit = -1;
                for (int bit = 0; bit < 3; ++bit) {
                    if (exchanger && (typeBits & (1 << bit)) != 0) chosenBit = bit;
                }
                const int chosen = chosenBit >= 0 ? types[chosenBit] : 0;
                SimSession s;
                NvValue part1 = s.node.Part(1);
                part1[1] = static_cast<uint8_t>(0xF0 | typeBits);
                part1[2] = static_cast<uint8_t>(exchanger ? 0x15 : 0x11);
                part1[8] = deicing ? 0x02 : 0x00;
                s.node.SetPart(1, part1);
                OnPage(s, PageId::ConfigQta12, [&](HeadlessPlatform& ui) {
                    auto state = [&](int id) { return *ui.State(PageId::ConfigQta12, id); };
                    EXPECT_EQ(state(IDC_QTA12_EXCHANGER).checked, exchanger);
                    for (int type : types) {
                        EXPECT_EQ(state(type).checked, type == chosen);
                        EXPECT_EQ(state(type).enabled, exchanger);
                    }
                    EXPECT_EQ(state(IDC_QTA12_DEICING).enabled, chosen != 0);
                    EXPECT_EQ(state(IDC_QTA12_DEICING).checked, exchanger && deicing);
                    ui.Type(PageId::ConfigQta12, IDC_QTA12_PASSWORD, "Tarvel");
                    ui.Click(PageId::ConfigQta12, IDC_QTA12_WRITE);
                });
                const NvValue written = s.node.Part(1);
                EXPECT_EQ(written[1], 0xF0 | (chosenBit >= 0 ? 1 << chosenBit : 0));
                EXPECT_EQ(written[8], exchanger && deicing ? 0x02 : 0x00);
                EXPECT_EQ((written[2] & 0x04) != 0, exchanger);
            }
        }
    }
}

// A mode word without a button leaves the buttons as they were, and a Write
// with none of them checked sends the word back as the node held it.
TEST(DampersPage, ModeWithoutAButtonIsWrittenBackUnchanged) {
    struct Case {
        uint16_t word;
        int checked;  // 0: none
        bool manualPosition;
    };
    const Case cases[] = {
        {0, IDC_DAMPERS_INJ_OFF, false},
        {1, IDC_DAMPERS_INJ_MANUAL, true},
        {2, IDC_DAMPERS_INJ_AUTO, false},
        {3, 0, true},
        {0x0100, 0, true},
        {0xFFFF, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.word);
        SimSession s;
        NvValue modes{};
        modes[9] = static_cast<uint8_t>(c.word >> 8);
        modes[10] = static_cast<uint8_t>(c.word & 0xFF);
        modes[11] = 0x12;
        modes[12] = 0x34;
        s.node.SetNv(38, modes);
        OnPage(s, PageId::Dampers, [&](HeadlessPlatform& ui) {
            for (int id : {IDC_DAMPERS_INJ_OFF, IDC_DAMPERS_INJ_MANUAL, IDC_DAMPERS_INJ_AUTO}) {
                EXPECT_EQ(ui.State(PageId::Dampers, id)->checked, id == c.checked);
            }
            EXPECT_EQ(ui.State(PageId::Dampers, IDC_DAMPERS_INJ_IN)->enabled, c.manualPosition);
            ui.Click(PageId::Dampers, IDC_DAMPERS_WRITE);
        });
        EXPECT_EQ(s.node.Nv(38), modes);
    }
}

// The mode sets are initialised only in part 10 itself: when the selector
// cannot be written the node may be showing another part, and nothing is
// written over it.
TEST(ConfigHvacPage, InitialisesOnlyAPartItCouldSelect) {
    for (bool selectorRefused : {false, true}) {
        SCOPED_TRACE(selectorRefused);
        SimSession s;
        NvValue part10{};
        part10[0] = 10;
        s.node.SetPart(10, part10);
        NvValue part1 = s.node.Part(1);
        part1[1] = 0x00;  // looks uninitialised too
        s.node.SetPart(1, part1);
        OnPage(s, PageId::Pid, [&](HeadlessPlatform& ui) {
            if (selectorRefused) s.node.FailNv(kPartSelectorNv, FaultOn::Writes);
            ui.SelectTab(PageId::ConfigHvac);
            s.node.ClearFaults();
        });
        EXPECT_EQ(s.node.Part(1), part1);
        EXPECT_EQ(s.node.Part(10)[1], selectorRefused ? 0x00 : 0xFC);
    }
}

}  // namespace
}  // namespace qta1
