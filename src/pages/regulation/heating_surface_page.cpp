#include "pages/regulation/actuator_page.h"
#include "resources/strings_regulation.h"

namespace qta1 {

namespace {

constexpr int kRefreshMs = 2000;

// The output modes and the manual values keep one word per output: the
// heating valve at byte 7, the pump's mode at byte 5.
constexpr int kValveWord = 7;
constexpr int kPumpWord = 5;
constexpr int kHeatingSurfaceBit = 0;  // part 1 byte 2

// A mode the node reports without a button of its own is written back as it
// was when the technician chooses none. Only a valve in "Manual" takes a
// typed position.
constexpr RadioChoice kValveModes[] = {{IDC_HEAT_VALVE_OFF, kOutputOff},
                                       {IDC_HEAT_VALVE_MANUAL, kOutputManual},
                                       {IDC_HEAT_VALVE_AUTO, kOutputAutomatic}};
constexpr RadioChoice kPumpModes[] = {{IDC_HEAT_PUMP_OFF, kOutputOff},
                                      {IDC_HEAT_PUMP_MANUAL, kOutputManual},
                                      {IDC_HEAT_PUMP_AUTO, kOutputAutomatic}};
constexpr RadioGroup kValveMode = {
    .choices = kValveModes, .governedBox = IDC_HEAT_VALVE_IN, .enablingValue = kOutputManual};
constexpr RadioGroup kPumpMode = {.choices = kPumpModes};
// The signal range bit: set for "2-10", and set unless "0-10" is chosen.
constexpr RadioChoice kRanges[] = {{IDC_HEAT_0_10, 0}, {IDC_HEAT_2_10, 1}};
constexpr RadioGroup kRange = {.choices = kRanges, .noneValue = 1};

// The manual position in half percent; Write stores only its low byte.
constexpr Field kManualFields[] = {WordAt(IDC_HEAT_VALVE_IN, kValveWord, Codec::Halves)};
constexpr Field kModeFields[] = {
    RadioWordAt(kValveWord, kValveMode),
    RadioWordAt(kPumpWord, kPumpMode),
};
// clang-format off
constexpr Field kSignalFields[] = {
//                  box / buttons    byte bit
    RadioBitField(                   14,  0, kRange),
    BitField(       IDC_HEAT_INVERT, 16,  0),
};
// clang-format on

constexpr Block kBlocks[] = {
    {.nv = kManualValueNv, .part = 0, .bitReversed = false, .fields = kManualFields},
    {.nv = kOutputModeNv, .part = 0, .bitReversed = false, .fields = kModeFields},
    {.nv = kConfigNv, .part = kOptionPart, .bitReversed = true, .fields = kSignalFields},
};

constexpr Field kValveOut[] = {WordAt(IDC_HEAT_VALVE_OUT, 0, Codec::HalfHundredths)};
// The pump runs while byte 0, taken as a signed byte, is not zero.
constexpr ValueText kPumpTexts[] = {{0, text::kStopped}};
constexpr TextTable kPumpState = {kPumpTexts, text::kRunning};
constexpr Field kPumpOut[] = {TextAt(IDC_HEAT_PUMP_OUT, 0, Codec::SignedByte, kPumpState)};
constexpr LiveRead kLiveReads[] = {
    {kHeatingValveOutputNv, kNvValueSize, kValveOut},
    {kPumpStateNv, kNvValueSize, kPumpOut},
};

// Every data control but the manual position, which the page adds itself.
constexpr int kDataControls[] = {
    IDC_HEAT_VALVE_OFF, IDC_HEAT_VALVE_MANUAL, IDC_HEAT_VALVE_AUTO, IDC_HEAT_VALVE_OUT,
    IDC_HEAT_PUMP_OFF,  IDC_HEAT_PUMP_MANUAL,  IDC_HEAT_PUMP_AUTO,  IDC_HEAT_PUMP_OUT,
    IDC_HEAT_0_10,      IDC_HEAT_2_10,         IDC_HEAT_INVERT,
};
constexpr OptionRule kRules[] = {{2, kHeatingSurfaceBit, kDataControls}};

constexpr PageDef kHeatingSurfacePage = {
    .blocks = kBlocks,
    .optionRules = kRules,
    .liveReads = kLiveReads,
    .refreshMs = kRefreshMs,
    .readButton = IDC_HEAT_READ,
    .writeButton = IDC_HEAT_WRITE,
};

constexpr ManualOverride kValve = {IDC_HEAT_VALVE_IN, kHeatingSurfaceBit};

}  // namespace

// The heating surface: mode and manual position of its valve (Mv1), mode of
// its pump (Mp1), what both do now, and the valve's signal range and
// inversion; everything is disabled on a unit without a heating surface.
QTA1_TABLE_PAGE(4, HeatingSurface, CActuatorPage, kHeatingSurfacePage, kValve)

}  // namespace qta1
