#include "frame/page.h"
#include "pages/config/unit_status.h"
#include "resources/page_ids.h"
#include "resources/resource_ids.h"

namespace qta1 {

namespace {

constexpr int kDampersRefreshMs = 2000;

// The unit's outputs are words of the output modes and the manual values;
// the injection damper is the word at byte 9, the exhaust damper at byte 11.
constexpr int kInjectionWord = 9;
constexpr int kExhaustWord = 11;

constexpr RadioChoice kInjectionModes[] = {{IDC_DAMPERS_INJ_OFF, kOutputOff},
                                           {IDC_DAMPERS_INJ_MANUAL, kOutputManual},
                                           {IDC_DAMPERS_INJ_AUTO, kOutputAutomatic}};
constexpr RadioChoice kExhaustModes[] = {{IDC_DAMPERS_EXH_OFF, kOutputOff},
                                         {IDC_DAMPERS_EXH_MANUAL, kOutputManual},
                                         {IDC_DAMPERS_EXH_AUTO, kOutputAutomatic}};
// A mode the node reports without a button of its own is written back as
// it was when the technician chooses none. Only a damper in "Manual" takes a
// typed position.
constexpr RadioGroup kInjectionMode = {
    .choices = kInjectionModes, .governedBox = IDC_DAMPERS_INJ_IN, .enablingValue = kOutputManual};
constexpr RadioGroup kExhaustMode = {
    .choices = kExhaustModes, .governedBox = IDC_DAMPERS_EXH_IN, .enablingValue = kOutputManual};

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
    {.nv = kManualValueNv, .part = 0, .bitReversed = false, .fields = kManualFields},
    {.nv = kOutputModeNv, .part = 0, .bitReversed = false, .fields = kModeFields},
    {.nv = kConfigNv, .part = kOptionPart, .bitReversed = true, .fields = kSignalFields},
    {.nv = kConfigNv,
     .part = kDamperPart,
     .bitReversed = false,
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

// "Min. fresh air" needs the recirculation damper and, with it, the node's
// report in its unit status.
constexpr int kFreshAirBox[] = {IDC_DAMPERS_MIN_FRESH_AIR};
constexpr StatusRule kDampersStatusRules[] = {
    {.nv = kUnitStatusNv,
     .byte = kCoolingOptionsByte,
     .bit = kCoolingOptionsBit,
     .controls = kFreshAirBox,
     .gateByte = kRecirculationByte,
     .gateBit = kRecirculationBit},
};

constexpr PageDef kDampersPage = {
    .blocks = kDampersBlocks,
    .optionRules = kDampersRules,
    .liveReads = kDampersLive,
    .refreshMs = kDampersRefreshMs,
    .readButton = IDC_DAMPERS_READ,
    .writeButton = IDC_DAMPERS_WRITE,
    .statusRules = kDampersStatusRules,
};

}  // namespace

// The injection damper Md1 and the exhaust damper Md2: mode, manual
// position, signal range and inversion, the position the unit drives now,
// and the minimum fresh air.
QTA1_TABLE_PAGE(2, Dampers, CPropPage, kDampersPage)

}  // namespace qta1
