#include "frame/codec.h"
#include "frame/page.h"
#include "resources/page_ids.h"
#include "resources/resource_ids.h"

namespace qta1 {

// The equipment and functions of a QTA1 or QTA1+2 unit as option bits of
// part 1: heat exchanger and its type, heating surface, outdoor sensor,
// night lowering, replace air, antifrost, deicing, summer stop, free cooling.
class CPage9PropPage final : public CPropPage {
public:
    explicit CPage9PropPage(CSheet& sheet);

    void OnInitDialog() override;
    void OnPageShown() override;

protected:
    void OnControlClicked(int controlId) override;
    void AfterBlockRead(const Block& block, const uint8_t* buffer) override;
};

namespace {

// How long the page waits after showing before its interlocks settle.
constexpr int kInterlockDelayMs = 1000;
constexpr int kTypeButtons[] = {IDC_QTA12_BYPASS, IDC_QTA12_ROTATING, IDC_QTA12_BATTERY};

// Part 1, bits as stored (codec bits of the reversed bytes). A type bit and
// "Morning heating" are stored only with the equipment they belong to.
// clang-format off
constexpr Field kQta12Fields[] = {
//                box                          byte bit  needs
    GatedBitField(IDC_QTA12_BYPASS,            1,   0,   IDC_QTA12_EXCHANGER),
    GatedBitField(IDC_QTA12_ROTATING,          1,   1,   IDC_QTA12_EXCHANGER),
    GatedBitField(IDC_QTA12_BATTERY,           1,   2,   IDC_QTA12_EXCHANGER),
    BitField(     IDC_QTA12_HEATING_SURFACE,   2,   0),
    BitField(     IDC_QTA12_EXCHANGER,         2,   2),
    BitField(     IDC_QTA12_OUTDOOR_SENSOR,    2,   6),
    BitField(     IDC_QTA12_NO_UPWARMING,      4,   3),
    BitField(     IDC_QTA12_NIGHT_LOWERING,    6,   0),
    BitField(     IDC_QTA12_REPLACE_AIR,       6,   1),
    BitField(     IDC_QTA12_ANTIFROST,         8,   0),
    BitField(     IDC_QTA12_DEICING,           8,   1),
    BitField(     IDC_QTA12_SUMMER_STOP,       12,  0),
    BitField(     IDC_QTA12_FREECOOLING,       20,  0),
    GatedBitField(IDC_QTA12_MORNING_HEATING,   24,  0,   IDC_QTA12_HEATING_SURFACE),
};
// clang-format on

constexpr Block kQta12Blocks[] = {
    {.nv = kConfigNv, .part = kOptionPart, .bitReversed = true, .fields = kQta12Fields},
};

constexpr PageDef kQta12Page = {
    .blocks = kQta12Blocks,
    .writeButton = IDC_QTA12_WRITE,
    .passwordBox = IDC_QTA12_PASSWORD,
};

// Boxes that mean something only with the box above them: checking it
// enables them, unchecking it unchecks and disables them.
constexpr int kHeatingDependents[] = {IDC_QTA12_MORNING_HEATING, IDC_QTA12_ANTIFROST,
                                      IDC_QTA12_NO_UPWARMING, IDC_QTA12_SUMMER_STOP};
constexpr int kNightDependents[] = {IDC_QTA12_REPLACE_AIR};

struct Dependents {
    int box;
    std::span<const int> dependents;
};
constexpr Dependents kDependents[] = {
    {IDC_QTA12_HEATING_SURFACE, kHeatingDependents},
    {IDC_QTA12_NIGHT_LOWERING, kNightDependents},
};

}  // namespace

CPage9PropPage::CPage9PropPage(CSheet& sheet) : CPropPage(PageId::ConfigQta12, sheet, kQta12Page) {}

std::unique_ptr<CPropPage> MakeConfigQta12Page(CSheet& sheet) {
    return std::make_unique<CPage9PropPage>(sheet);
}

void CPage9PropPage::OnInitDialog() {
    CPropPage::OnInitDialog();
    ReadPage();
}

// After a pause the interlocks run as if each box had been clicked as it
// stands, so every dependent box agrees with the box it belongs to.
void CPage9PropPage::OnPageShown() {
    ReadPage();
    node().Wait(kInterlockDelayMs);
    OnControlClicked(IDC_QTA12_NIGHT_LOWERING);
    OnControlClicked(IDC_QTA12_HEATING_SURFACE);
    OnControlClicked(IDC_QTA12_EXCHANGER);
}

void CPage9PropPage::OnControlClicked(int controlId) {
    for (const Dependents& rule : kDependents) {
        if (rule.box != controlId) continue;
        const bool on = Checked(rule.box);
        for (int dependent : rule.dependents) {
            Enable(dependent, on);
            if (!on) SetChecked(dependent, false);
        }
    }
    if (controlId == IDC_QTA12_EXCHANGER) {
        // Checking the box offers the types; deicing waits for a type.
        const bool on = Checked(IDC_QTA12_EXCHANGER);
        EnableAll(kTypeButtons, on);
        if (!on) {
            for (int type : kTypeButtons) SetChecked(type, false);
            SetChecked(IDC_QTA12_DEICING, false);
            Enable(IDC_QTA12_DEICING, false);
        }
    }
    for (int type : kTypeButtons) {
        if (type != controlId) continue;
        for (int other : kTypeButtons) SetChecked(other, other == type);
        SetChecked(IDC_QTA12_EXCHANGER, true);
        Enable(IDC_QTA12_DEICING, true);
    }
}

// "Exchanger" shows byte 2 bit 2 as the node holds it; of several type bits
// the last one (Battery over Rotating over Bypass) is the chosen type. Then
// the exchanger controls are made to agree, so a Write stores a consistent
// set: types only with an exchanger, deicing offered only with a type.
void CPage9PropPage::AfterBlockRead(const Block& /*block*/, const uint8_t* part1) {
    int chosen = 0;
    for (int bit = 0; bit < 3; ++bit) {
        if (TestBit(part1[1], bit) != 0) chosen = kTypeButtons[bit];
    }
    for (int type : kTypeButtons) SetChecked(type, type == chosen);
    OnControlClicked(IDC_QTA12_EXCHANGER);
    Enable(IDC_QTA12_DEICING, Checked(IDC_QTA12_EXCHANGER) && chosen != 0);
}

}  // namespace qta1
