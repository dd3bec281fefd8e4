// Every network variable of the QTA1 node that the plug-in touches, described
// once: its index, its name, how many bytes a read brings and a write sends,
// whether the plug-in writes it and whether it moves by itself, whether
// settings files carry it, and the twelve parts of the configuration NV. The
// pages, the settings file, the factory data, the simulated node and the fault
// sweep all name NVs through here; no NV number is written anywhere else.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace qta1 {

// The longest value an NV holds, and the buffer every read is made into.
inline constexpr int kNvValueSize = 31;
inline constexpr int kNvBufferSize = 32;

// clang-format off
inline constexpr int kSensorTempsNv           = 2;   // Bs2 (exhaust/space) at bytes 3-4, Bs3 (outdoor) at 5-6
inline constexpr int kUnitStatusNv            = 3;   // the equipment the unit reports available
inline constexpr int kOccupancyNv             = 6;   // occupancy code, a signed byte
inline constexpr int kFreecoolPirCalendarNv   = 7;   // per day: PIR stop/start, free-cooling stop/start
inline constexpr int kStartStopNv             = 8;   // the start/stop schedule: two week calendars, holiday
inline constexpr int kNodeClockNv             = 9;   // year word, month, day, hour, minute, second
inline constexpr int kInjectionTempNv         = 10;  // Bs1 at bytes 0-1
inline constexpr int kCalendarStatusNv        = 11;  // which calendar is active
inline constexpr int kAlarmInputsNv           = 15;  // alarm inputs, bits of byte 0
inline constexpr int kAlarmFaultsNv           = 16;  // exchanger error and pump fault, bits of byte 0
inline constexpr int kSwitchOverrideNv        = 17;  // the PC's override of the unit's rotary switch
inline constexpr int kCalcSpaceSetpointNv     = 19;
inline constexpr int kCalcInjectionSetpointNv = 20;
inline constexpr int kOutdoorTempNv           = 22;
inline constexpr int kDayExtensionNv          = 24;  // extended operation by day: hours, minutes
inline constexpr int kNightExtensionNv        = 26;  // extended operation by night
inline constexpr int kCommunicationAlarmsNv   = 27;  // communication alarm count
inline constexpr int kMinNightCoolNv          = 28;  // free cooling: lowest injection temperature
inline constexpr int kSpaceTempNv             = 29;
inline constexpr int kRotarySwitchNv          = 31;  // the rotary switch on the unit
inline constexpr int kRoomSetpointsNv         = 32;  // six room set points
inline constexpr int kMaxOutNightNv           = 34;  // free cooling: highest outdoor temperature
inline constexpr int kAlarmCountersNv         = 35;  // iced and frost alarm counts, signed bytes
inline constexpr int kRegulatorStateNv        = 36;  // heating/cooling, antifrost and start-up bits
inline constexpr int kUnitModeNv              = 37;  // the unit's HVAC mode, a signed byte
inline constexpr int kOutputModeNv            = 38;  // one mode word per output
inline constexpr int kManualValueNv           = 39;  // one manual value word per output
inline constexpr int kResetCommandNv          = 40;  // running-hours reset command
inline constexpr int kExchangerRunningNv      = 41;
inline constexpr int kPumpStateNv             = 42;  // heating pump, a signed byte
inline constexpr int kHeatingValveOutputNv    = 43;  // 1/200 percent
inline constexpr int kExchangerOutputNv       = 44;  // 1/200 percent
inline constexpr int kInjectionDamperOutputNv = 45;  // 1/200 percent
inline constexpr int kExhaustDamperOutputNv   = 46;  // 1/200 percent
inline constexpr int kFreecoolStateNv         = 47;  // state word at bytes 1-2
inline constexpr int kRoomModeNv              = 48;  // option bits (byte 22), analogue outputs
inline constexpr int kRunningHoursNv          = 49;  // five counters, word k at bytes 2k+1, 2k+2
inline constexpr int kInjectionSetpointsNv    = 50;  // injection and space set-point words
inline constexpr int kClockSettingNv          = 51;  // sets the node clock: year word, month ... second
inline constexpr int kPartSelectorNv          = 55;  // which part of the configuration NV is shown
inline constexpr int kConfigNv                = 56;  // the configuration NV: twelve parts of 31 bytes
// clang-format on

// The mode word of each output in the output modes NV.
inline constexpr int kOutputOff = 0;
inline constexpr int kOutputManual = 1;
inline constexpr int kOutputAutomatic = 2;

// The node clock and the clock setting: year (high, low), month, day, hour,
// minute, second.
inline constexpr int kNodeClockLength = 7;

// What the plug-in does with an NV.
enum class NvRole : uint8_t {
    Setting,  // read and written; the node keeps what it is sent
    Command,  // written only; the node acts on it and keeps nothing to read back
    Status,   // read only; the node's state, which changes with the unit's
    Live,     // read only; a measurement, a counter or the clock, moving by itself
};

// The data-line form of an NV in a settings file: a record of a signed byte
// and 15 words, a count word, four signed bytes of time, a temperature word,
// or six set-point words.
enum class LineKind : uint8_t { Record, Count, Time, Temp, Setpoint };

// How a settings file carries an NV: its place among the file's blocks
// (0: not carried), its data line, and the comment line that names it (for
// the configuration NV the part number and a blank follow).
struct SettingsBlock {
    int position = 0;
    LineKind kind = LineKind::Record;
    const char* comment = nullptr;
};

struct NvEntry {
    int nv;
    const char* name;  // the node's own name where settings files print it
    int readLength;    // bytes of the value a read must bring; fields lie within them
    int writeLength;   // bytes a write sends; 0: never written
    NvRole role;
    SettingsBlock file = {};
};

// clang-format off
inline constexpr NvEntry kNvCatalogue[] = {
//   NV                         name                               read  write role              settings file: position, line, comment line (its blanks belong to the file)
    {kSensorTempsNv,           "Exhaust and outdoor temperatures", 31,   0,    NvRole::Live},
    {kUnitStatusNv,            "Unit status",                      31,   0,    NvRole::Status},
    {kOccupancyNv,             "Occupancy",                        31,   0,    NvRole::Status},
    {kFreecoolPirCalendarNv,   "nciFCAct_OccAct",                  31,   31,   NvRole::Setting, {1,  LineKind::Record,   "* nciFCAct_OccAct   ( 8) - SNVT_str_int            "}},
    {kStartStopNv,             "nciStartStopClr",                  31,   31,   NvRole::Setting, {2,  LineKind::Record,   "* nciStartStopClr   ( 9) - SNVT_str_int            "}},
    {kNodeClockNv,             "Node clock",                       31,   0,    NvRole::Live},
    {kInjectionTempNv,         "Injection temperature",            31,   0,    NvRole::Live},
    {kCalendarStatusNv,        "Calendar status",                  31,   0,    NvRole::Live},
    {kAlarmInputsNv,           "Alarm inputs",                     31,   0,    NvRole::Status},
    {kAlarmFaultsNv,           "Exchanger and pump faults",        31,   0,    NvRole::Status},
    {kSwitchOverrideNv,        "nciSwitchExt",                     2,    2,    NvRole::Setting, {3,  LineKind::Count,    "* nciSwitchExt     (16) - SNVT_count              "}},
    {kCalcSpaceSetpointNv,     "Calculated space set-point",       31,   0,    NvRole::Live},
    {kCalcInjectionSetpointNv, "Calculated injection set-point",   31,   0,    NvRole::Live},
    {kOutdoorTempNv,           "Outdoor temperature",              31,   0,    NvRole::Live},
    {kDayExtensionNv,          "nciTimeDayOn",                     4,    4,    NvRole::Setting, {4,  LineKind::Time,     "* nciTimeDayOn     (23) - SNVT_time_passed        "}},
    {kNightExtensionNv,        "nciTimeNightOn",                   4,    4,    NvRole::Setting, {5,  LineKind::Time,     "* nciTimeNightOn   (25) - SNVT_time_passed        "}},
    {kCommunicationAlarmsNv,   "Communication alarm count",        31,   0,    NvRole::Status},
    {kMinNightCoolNv,          "nciMinNightCool",                  2,    2,    NvRole::Setting, {8,  LineKind::Temp,     "* nciMinNightCool  (31) - SNVT_temp_p              "}},
    {kSpaceTempNv,             "Space temperature",                31,   0,    NvRole::Live},
    {kRotarySwitchNv,          "Rotary switch",                    31,   0,    NvRole::Status},
    {kRoomSetpointsNv,         "nciSetptTempRoom",                 12,   12,   NvRole::Setting, {7,  LineKind::Setpoint, "* nciSetptTempRoom   (30) - SNVT_temp_setpt              "}},
    {kMaxOutNightNv,           "nciMaxOutNight",                   2,    2,    NvRole::Setting, {6,  LineKind::Temp,     "* nciMaxOutNight   (28) - SNVT_temp_p              "}},
    {kAlarmCountersNv,         "Iced and frost alarm counts",      31,   0,    NvRole::Status},
    {kRegulatorStateNv,        "Regulator state",                  31,   0,    NvRole::Status},
    {kUnitModeNv,              "Unit mode",                        31,   0,    NvRole::Status},
    {kOutputModeNv,            "Output modes",                     31,   31,   NvRole::Setting},
    {kManualValueNv,           "Manual output values",             31,   31,   NvRole::Setting},
    {kResetCommandNv,          "Running-hours reset",              0,    2,    NvRole::Command},
    {kExchangerRunningNv,      "Exchanger running",                31,   0,    NvRole::Status},
    {kPumpStateNv,             "Heating pump state",               31,   0,    NvRole::Status},
    {kHeatingValveOutputNv,    "Heating valve output",             31,   0,    NvRole::Live},
    {kExchangerOutputNv,       "Exchanger output",                 31,   0,    NvRole::Live},
    {kInjectionDamperOutputNv, "Injection damper output",          31,   0,    NvRole::Live},
    {kExhaustDamperOutputNv,   "Exhaust damper output",            31,   0,    NvRole::Live},
    {kFreecoolStateNv,         "Free-cooling state",               31,   0,    NvRole::Status},
    {kRoomModeNv,              "Room mode and analogue outputs",   31,   0,    NvRole::Status},
    {kRunningHoursNv,          "Running hours",                    31,   0,    NvRole::Live},
    {kInjectionSetpointsNv,    "nciSetInjtTemp",                   31,   31,   NvRole::Setting, {9,  LineKind::Record,   "* nciSetInjtTemp   (49) - SNVT_str_int              "}},
    {kClockSettingNv,          "Node clock setting",               0,    kNodeClockLength, NvRole::Command},
    {kPartSelectorNv,          "Part selector",                    2,    2,    NvRole::Setting},
    {kConfigNv,                "nviPluginCnf",                     31,   31,   NvRole::Setting, {10, LineKind::Record,   "* nviPluginCnf     (60) - SNVT_str_int     ** Part "}},
};
// clang-format on

// The parts of the configuration NV, reached through the part selector.
// clang-format off
inline constexpr int kOptionPart       = 1;   // the unit's equipment and functions, as option bits
inline constexpr int kTemperaturesPart = 2;   // sensor offsets, antifrost, start-up and low-temperature alarm
inline constexpr int kDamperPart       = 3;   // word 14: minimum fresh air
inline constexpr int kDelaysPart       = 6;   // PIR delays, deicing delay, exercise intervals
inline constexpr int kBreakPointsPart  = 7;   // start-up break points, injection set-point PID
inline constexpr int kPidPart          = 8;   // P, I and D of the four loops
inline constexpr int kTravelTimesPart  = 9;   // actuator travel times
inline constexpr int kModeSetsPart     = 10;  // HVAC mode sets of the unit functions

struct PartEntry {
    int part;
    const char* name;
    bool bitReversed;  // stored bit-reversed: codec bit n of a byte is its stored bit n
};

inline constexpr PartEntry kConfigParts[] = {
    {kOptionPart,       "Unit options",                true},
    {kTemperaturesPart, "Temperatures",                false},
    {kDamperPart,       "Dampers",                     false},
    {4,                 "Part 4",                      false},
    {5,                 "Part 5",                      false},
    {kDelaysPart,       "Delays and exercise",         false},
    {kBreakPointsPart,  "Break points and supply PID", false},
    {kPidPart,          "PID",                         false},
    {kTravelTimesPart,  "Travel times",                false},
    {kModeSetsPart,     "HVAC mode sets",              false},
    {11,                "Part 11",                     false},
    {12,                "Part 12",                     false},
};
// clang-format on
inline constexpr int kConfigPartCount = static_cast<int>(std::size(kConfigParts));

// Part 1 word 14 (bytes 29 and 30, as stored): 0 on a node that has never
// been configured, which then gets only Node Information and Import / Export.
// The sheet and Node Information read it with a 50-byte read of part 1.
inline constexpr int kConfiguredWordOffset = 29;
inline constexpr int kConfiguredWordReadLength = 50;
inline int ConfiguredWord(const uint8_t* part1) {
    return part1[kConfiguredWordOffset] << 8 | part1[kConfiguredWordOffset + 1];
}

// The entry of an NV, or nullptr for an NV the plug-in never touches.
constexpr const NvEntry* NvEntryOf(int nv) {
    for (const NvEntry& entry : kNvCatalogue)
        if (entry.nv == nv) return &entry;
    return nullptr;
}
constexpr const PartEntry* PartEntryOf(int part) {
    for (const PartEntry& entry : kConfigParts)
        if (entry.part == part) return &entry;
    return nullptr;
}
// How many bytes a write of the NV sends; 0 for an NV the plug-in never writes.
constexpr int WriteLengthOf(int nv) {
    for (const NvEntry& entry : kNvCatalogue)
        if (entry.nv == nv) return entry.writeLength;
    return 0;
}

namespace catalogue_checks {

// Every NV once; writes exactly for the roles that write; a setting reads back
// what it is sent; settings-file positions 1..n once each; parts 1..n in order.
constexpr bool Consistent() {
    int filePositions = 0;
    for (const NvEntry& a : kNvCatalogue) {
        int same = 0;
        for (const NvEntry& b : kNvCatalogue) same += a.nv == b.nv ? 1 : 0;
        if (same != 1 || a.nv < 0 || a.name == nullptr) return false;
        const bool writes = a.role == NvRole::Setting || a.role == NvRole::Command;
        if (writes != (a.writeLength > 0) || a.writeLength > kNvValueSize) return false;
        if ((a.role == NvRole::Command) != (a.readLength == 0) || a.readLength > kNvValueSize)
            return false;
        if (a.role == NvRole::Setting && a.readLength != a.writeLength) return false;
        if (a.file.position != 0) {
            if (a.role != NvRole::Setting || a.file.comment == nullptr) return false;
            ++filePositions;
        }
    }
    for (int position = 1; position <= filePositions; ++position) {
        int holders = 0;
        for (const NvEntry& a : kNvCatalogue) holders += a.file.position == position ? 1 : 0;
        if (holders != 1) return false;
    }
    for (int i = 0; i < kConfigPartCount; ++i)
        if (kConfigParts[i].part != i + 1) return false;
    return WriteLengthOf(kConfigNv) == kNvValueSize && WriteLengthOf(kPartSelectorNv) > 0;
}

}  // namespace catalogue_checks

static_assert(catalogue_checks::Consistent(), "the NV catalogue contradicts itself");

}  // namespace qta1
