#include "frame/page.h"
#include "resources/page_ids.h"
#include "resources/resource_ids.h"
#include "resources/strings_status.h"

namespace qta1 {

namespace {

constexpr int kAlarmsRefreshMs = 2000;

constexpr ValueText kFlagTexts[] = {{0, text::kAlarmClear}, {1, text::kAlarmRaised}};
constexpr TextTable kFlag = {kFlagTexts};

// Alarm inputs in byte 0 as stored; codec bit n is mask 0x80 >> n.
// clang-format off
constexpr Field kInputs[] = {
//             box                          byte bit   mask
    BitTextAt(IDC_ALARMS_FIRE_INJECTION,    0,   0, kFlag),  // 0x80
    BitTextAt(IDC_ALARMS_FIRE_EXHAUST,      0,   1, kFlag),  // 0x40
    BitTextAt(IDC_ALARMS_FROST_INJECTION,   0,   2, kFlag),  // 0x20
    BitTextAt(IDC_ALARMS_ICED_EXHAUST,      0,   3, kFlag),  // 0x10
    BitTextAt(IDC_ALARMS_MOTOR_INJECTION,   0,   4, kFlag),  // 0x08
    BitTextAt(IDC_ALARMS_MOTOR_EXHAUST,     0,   5, kFlag),  // 0x04
    BitTextAt(IDC_ALARMS_LOW_INJECTION,     0,   6, kFlag),  // 0x02
    BitTextAt(IDC_ALARMS_COMMUNICATION,     0,   7, kFlag),  // 0x01
};
constexpr Field kFaults[] = {
    BitTextAt(IDC_ALARMS_EXCHANGER_ERROR,   0,   0, kFlag),  // 0x80
    BitTextAt(IDC_ALARMS_PUMP_FAULT,        0,   1, kFlag),  // 0x40
};
// clang-format on
constexpr Field kCounters[] = {
    WordAt(IDC_ALARMS_ICED_COUNT, 0, Codec::SignedByte),
    WordAt(IDC_ALARMS_FROST_COUNT, 1, Codec::SignedByte),
};
constexpr Field kCommunicationCount[] = {WordAt(IDC_ALARMS_COMMUNICATION_COUNT, 0, Codec::Word)};

constexpr LiveRead kAlarmsLive[] = {
    {kAlarmInputsNv, kNvValueSize, kInputs},
    {kAlarmFaultsNv, kNvValueSize, kFaults},
    {kAlarmCountersNv, kNvValueSize, kCounters},
    {kCommunicationAlarmsNv, kNvValueSize, kCommunicationCount},
};

constexpr int kPump[] = {IDC_ALARMS_PUMP_FAULT};
constexpr int kExchanger[] = {IDC_ALARMS_EXCHANGER_ERROR};
constexpr int kIcing[] = {IDC_ALARMS_ICED_EXHAUST, IDC_ALARMS_ICED_COUNT};

// clang-format off
constexpr OptionRule kAlarmsRules[] = {
//   byte bit  boxes
    {2,   0,   kPump},       // heating surface (its pump)
    {2,   2,   kExchanger},  // heat exchanger
    {8,   1,   kIcing},      // exchanger deicing
};
// clang-format on

constexpr PageDef kAlarmsPage = {
    .optionRules = kAlarmsRules,
    .liveReads = kAlarmsLive,
    .refreshMs = kAlarmsRefreshMs,
};

}  // namespace

// The unit's alarm inputs as "OK" or "Alarm" and three alarm counters;
// boxes of equipment the unit lacks are disabled.
QTA1_TABLE_PAGE(8, Alarms, CPropPage, kAlarmsPage)

}  // namespace qta1
