#include "frame/codec.h"
#include "frame/page.h"
#include "pages/config/unit_status.h"
#include "resources/page_ids.h"
#include "resources/resource_ids.h"

namespace qta1 {

// The cooling equipment of a QTA3 unit as option bits of part 1. The boxes
// can be changed only when the node reports the QTA3 functions in its unit
// status, and "Cool down" only while no alarm input blocks it.
class CPage10PropPage final : public CPropPage {
public:
    explicit CPage10PropPage(CSheet& sheet);

    void OnPageShown() override;

protected:
    void OnControlClicked(int controlId) override;
    void AfterBlockRead(const Block& block, const uint8_t* buffer) override;

private:
    void ApplyCoolDownRule();
};

namespace {

// clang-format off
constexpr Field kQta3Fields[] = {
//                box                          byte bit
    BitField(     IDC_QTA3_RECIRCULATION,      2,   1),
    BitField(     IDC_QTA3_COOLING_SURFACE,    2,   3),
    BitField(     IDC_QTA3_COOLING_EXCHANGER,  4,   1),
    // Cool down means something only with a cooling surface.
    GatedBitField(IDC_QTA3_COOL_DOWN,          24,  1, IDC_QTA3_COOLING_SURFACE),
};
// clang-format on

constexpr Block kQta3Blocks[] = {
    {.nv = kConfigNv, .part = kOptionPart, .bitReversed = true, .fields = kQta3Fields},
};

// The boxes take changes only when the unit status offers the QTA3
// functions: the cooling options bit, or bytes 27 (high) and 28 (low) above
// 65530.
constexpr int kUnitStatusControls[] = {IDC_QTA3_COOLING_SURFACE, IDC_QTA3_COOLING_EXCHANGER,
                                       IDC_QTA3_RECIRCULATION, IDC_QTA3_PASSWORD};
constexpr StatusRule kUnitStatusRules[] = {
    {.nv = kUnitStatusNv,
     .byte = kCoolingOptionsByte,
     .bit = kCoolingOptionsBit,
     .controls = kUnitStatusControls,
     .wordAt = 27,
     .wordAbove = 65530},
};

constexpr PageDef kQta3Page = {
    .blocks = kQta3Blocks,
    .writeButton = IDC_QTA3_WRITE,
    .passwordBox = IDC_QTA3_PASSWORD,
    .statusRules = kUnitStatusRules,
};
// Alarm inputs byte 0, mask 0x01 as stored, blocks the cool-down function.
constexpr int kCoolDownBlockedBit = 7;

}  // namespace

CPage10PropPage::CPage10PropPage(CSheet& sheet) : CPropPage(PageId::ConfigQta3, sheet, kQta3Page) {}

std::unique_ptr<CPropPage> MakeConfigQta3Page(CSheet& sheet) {
    return std::make_unique<CPage10PropPage>(sheet);
}

// The unit status decides before the page is read; no option of part 1
// gates it.
void CPage10PropPage::OnPageShown() {
    ApplyStatusRules(nullptr);
    ReadPage();
    ApplyCoolDownRule();
}

void CPage10PropPage::OnControlClicked(int controlId) {
    if (controlId == IDC_QTA3_COOLING_SURFACE) ApplyCoolDownRule();
}

// "Cool down" follows "Cooling surface" as the node now holds it.
void CPage10PropPage::AfterBlockRead(const Block& /*block*/, const uint8_t* /*buffer*/) {
    const bool cooling = Checked(IDC_QTA3_COOLING_SURFACE);
    Enable(IDC_QTA3_COOL_DOWN, cooling);
    if (!cooling) SetChecked(IDC_QTA3_COOL_DOWN, false);
}

void CPage10PropPage::ApplyCoolDownRule() {
    uint8_t alarms[kNvBufferSize] = {};
    if (node().ReadNv(kAlarmInputsNv, alarms, kNvValueSize) != kHostOk) return;
    const bool allowed =
        TestBit(alarms[0], kCoolDownBlockedBit) == 0 && Checked(IDC_QTA3_COOLING_SURFACE);
    Enable(IDC_QTA3_COOL_DOWN, allowed);
    if (!allowed) SetChecked(IDC_QTA3_COOL_DOWN, false);
}

}  // namespace qta1
