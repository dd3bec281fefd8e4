#include "frame/page.h"
#include "resources/page_ids.h"
#include "resources/resource_ids.h"
#include "resources/strings_status.h"

namespace qta1 {

namespace {

constexpr int kRegulatorRefreshMs = 2000;

// Regulator state byte 0, mask 0x80 as stored: set while the regulator cools.
constexpr ValueText kModeTexts[] = {{0, text::kRegulatorHeating}, {1, text::kRegulatorCooling}};
constexpr TextTable kMode = {kModeTexts};

constexpr Field kHeatingValve[] = {WordAt(IDC_REGULATOR_HEATING, 0, Codec::HalfHundredths)};
constexpr Field kExchanger[] = {WordAt(IDC_REGULATOR_EXCHANGER, 0, Codec::HalfHundredths)};
// Analogue outputs of the room mode NV, counted 0 to 4095.
constexpr Field kOutputs[] = {
    WordAt(IDC_REGULATOR_RECYCLING, 7, Codec::Percent4095),
    WordAt(IDC_REGULATOR_COOLING, 9, Codec::Percent4095),
};
constexpr Field kHeatingCooling[] = {BitTextAt(IDC_REGULATOR_MODE, 0, 0, kMode)};

constexpr LiveRead kRegulatorLive[] = {
    {kHeatingValveOutputNv, kNvValueSize, kHeatingValve},
    {kExchangerOutputNv, kNvValueSize, kExchanger},
    {kRoomModeNv, kNvValueSize, kOutputs},
    {kRegulatorStateNv, kNvValueSize, kHeatingCooling},
};

constexpr int kHeating[] = {IDC_REGULATOR_HEATING};
constexpr int kRecycling[] = {IDC_REGULATOR_RECYCLING};
constexpr int kExchangerBox[] = {IDC_REGULATOR_EXCHANGER};
constexpr int kCooling[] = {IDC_REGULATOR_COOLING};
constexpr int kMixing[] = {IDC_REGULATOR_MODE};

// Part 1 byte 2: the equipment fitted.
// clang-format off
constexpr OptionRule kRegulatorRules[] = {
//   byte bit  boxes
    {2,   0,   kHeating},                       // heating surface
    {2,   1,   kRecycling},                     // recirculation damper
    {2,   2,   kExchangerBox},                  // heat exchanger
    {2,   3,   kCooling},                       // cooling surface
    {2,   1,   kMixing, true, 2},               // recirculation damper or heat exchanger
};
// clang-format on

constexpr PageDef kRegulatorPage = {
    .optionRules = kRegulatorRules,
    .liveReads = kRegulatorLive,
    .refreshMs = kRegulatorRefreshMs,
    .trendButton = IDC_REGULATOR_TREND,
};

}  // namespace

// The present output of the four regulated actuators in percent, and whether
// the regulator heats or cools; boxes of equipment the unit lacks are disabled.
// "Trend..." opens the sheet's trend window.
QTA1_TABLE_PAGE(7, StatusRegulator, CPropPage, kRegulatorPage)

}  // namespace qta1
