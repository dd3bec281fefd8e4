#include "pages/config/dampers_page.h"

#include "pages/config/unit_status.h"

namespace qta1 {

namespace {

constexpr int kDampersRefreshMs = 2000;

// The unit's outputs are words of the output modes and the manual values;
// the injection damper is the word at byte 9, the exhaust damper at byte 11.
constexpr int kInjectionWord = 9;
constexpr int kExhaustWord = 11;

constexpr RadioChoice kInjectionModes[] = {
    {IDC_DAMPERS_INJ_OFF, 0}, {IDC_DAMPERS_INJ_MANUAL, 1}, {IDC_DAMPERS_INJ_AUTO, 2}};
constexpr RadioChoice kExhaustModes[] = {
    {IDC_DAMPERS_EXH_OFF, 0}, {IDC_DAMPERS_EXH_MANUAL, 1}, {IDC_DAMPERS_EXH_AUTO, 2}};
// A mode the node reports without a button of its own is written back as
// it was when the technician chooses none.
constexpr RadioGroup kInjectionMode = {.choices = kInjectionModes};
constexpr RadioGroup kExhaustMode = {.choices = kExhaustModes};

// The signal range bit: set for "2-10", and set unless "0-10" is chosen.
constexpr RadioChoice kInjectionRanges[] = {{IDC_DAMPERS_INJ_0_10, 0}, {IDC_DAMPERS_INJ_2_10, 1}};
constexpr RadioChoice kExhaustRanges[] = {{IDC_DAMPERS_EXH_0_10, 0}, {IDC_DAMPERS_EXH_2_10, 1}};
constexpr RadioGroup kInjectionRange = {.choices = kInjectionRanges, .noneValue = 1};
constexpr RadioGroup kExhaustRange = {.choices = kExhaustRanges, .noneValue = 1};

// The manual position in half percent; Write stores only its low byte.
constexpr Field kManualFields[] = {
    WordAt(IDC_DAMPERS_INJ_IN, kInjectionWord, Codec::Halves),
    WordAt(IDC_DAMPERS_EXH_IN, kExhaustWord, Codec::Halves),
};
constexpr Field kModeFields[] = {
    RadioWordAt(kInjectionWord, kInjectionMode),
    RadioWordAt(kExhaustWord, kExhaustMode),
};
// clang-format off
constexpr Field kSignalFields[] = {
//                  box / buttons           byte bit
    RadioBitField(                          14,  3, kInjectionRange),
    RadioBitField(                          14,  4, kExhaustRange),
    BitField(       IDC_DAMPERS_INJ_INVERT, 16,  3),
    BitField(       IDC_DAMPERS_EXH_INVERT, 16,  4),
};
// clang-format on
constexpr Field kFreshAirFields[] = {
    WordField(IDC_DAMPERS_MIN_FRESH_AIR, 14, Codec::HalfHundredths)};

// Part 3 is selected without asking the node which part it shows.
constexpr Block kDampersBlocks[] = {
    {.nv = kManualValueNv, .part = 0, .optionBits = false, .fields = kManualFields},
    {.nv = kOutputModeNv, .part = 0, .optionBits = false, .fields = kModeFields},
    {.nv = kConfigNv, .part = kOptionPart, .optionBits = true, .fields = kSignalFields},
    {.nv = kConfigNv,
     .part = kDamperPart,
     .optionBits = false,
     .fields = kFreshAirFields,
     .selectorAlways = true,
     .readSelectorAlways = true},
};

constexpr Field kInjectionOut[] = {WordAt(IDC_DAMPERS_INJ_OUT, 0, Codec::HalfHundredths)};
constexpr Field kExhaustOut[] = {WordAt(IDC_DAMPERS_EXH_OUT, 0, Codec::HalfHundredths)};
constexpr LiveRead kDampersLive[] = {
    {kInjectionDamperOutputNv, kNvValueSize, kInjectionOut},
    {kExhaustDamperOutputNv, kNvValueSize, kExhaustOut},
};

// Range and inversion belong to a unit with a recirculation damper.
constexpr int kSettings[] = {IDC_DAMPERS_INJ_0_10, IDC_DAMPERS_INJ_2_10, IDC_DAMPERS_INJ_INVERT,
                             IDC_DAMPERS_EXH_0_10, IDC_DAMPERS_EXH_2_10, IDC_DAMPERS_EXH_INVERT};
constexpr int kRecirculationByte = 2;
constexpr int kRecirculationBit = 1;
constexpr OptionRule kDampersRules[] = {{kRecirculationByte, kRecirculationBit, kSettings}};

constexpr PageDef kDampersPage = {
    .blocks = kDampersBlocks,
    .optionRules = kDampersRules,
    .liveReads = kDampersLive,
    .refreshMs = kDampersRefreshMs,
    .readButton = IDC_DAMPERS_READ,
    .writeButton = IDC_DAMPERS_WRITE,
};

// Each damper's mode buttons and the manual position they govern.
struct ModeButtons {
    int off, manual, automatic, manualPosition;
};
constexpr ModeButtons kDampers[] = {
    {IDC_DAMPERS_INJ_OFF, IDC_DAMPERS_INJ_MANUAL, IDC_DAMPERS_INJ_AUTO, IDC_DAMPERS_INJ_IN},
    {IDC_DAMPERS_EXH_OFF, IDC_DAMPERS_EXH_MANUAL, IDC_DAMPERS_EXH_AUTO, IDC_DAMPERS_EXH_IN},
};

}  // namespace

CPage2PropPage::CPage2PropPage(CSheet& sheet) : CPropPage(PageId::Dampers, sheet, kDampersPage) {}

std::unique_ptr<CPropPage> MakeDampersPage(CSheet& sheet) {
    return std::make_unique<CPage2PropPage>(sheet);
}

// Only a damper in "Manual" takes a typed position.
void CPage2PropPage::OnControlClicked(int controlId) {
    for (const ModeButtons& damper : kDampers) {
        if (controlId == damper.off || controlId == damper.automatic) {
            Enable(damper.manualPosition, false);
        } else if (controlId == damper.manual) {
            Enable(damper.manualPosition, true);
        }
    }
}

// "Min. fresh air" needs the recirculation damper and, with it, the node's
// report in its unit status; when that cannot be read the box keeps its enabling.
void CPage2PropPage::ApplyOptionRules(const uint8_t* reversedPart1) {
    CPropPage::ApplyOptionRules(reversedPart1);
    if (TestBit(reversedPart1[kRecirculationByte], kRecirculationBit) == 0) {
        Enable(IDC_DAMPERS_MIN_FRESH_AIR, false);
        return;
    }
    uint8_t status[kNvBufferSize] = {};
    if (node().ReadNv(kUnitStatusNv, status, kNvValueSize) != kHostOk) return;
    Enable(IDC_DAMPERS_MIN_FRESH_AIR, CoolingOptionsReported(status));
}

}  // namespace qta1
