// Texts the status and alarm pages show for the values the node reports.
#pragma once

namespace qta1::text {

// A value the page has no text for.
inline constexpr const char* kUnknownValue = "??";

// Position of the rotary mode switch (Sw1).
inline constexpr const char* kSwitchVentilation = "Ventilation";
inline constexpr const char* kSwitchNight = "Night";
inline constexpr const char* kSwitchDay = "Day";
inline constexpr const char* kSwitchOff = "Off";
inline constexpr const char* kSwitchExternal = "External";
inline constexpr const char* kSwitchCalender = "Calender";
inline constexpr const char* kSwitchResetAlarm = "Reset Alarm";
inline constexpr const char* kSwitchAlarmStop = "Alarm Stop!!";

// Unit mode, the values of SNVT_hvac_mode.
inline constexpr const char* kHvacAuto = "Auto";
inline constexpr const char* kHvacHeat = "Heating";
inline constexpr const char* kHvacMorningWarmup = "Morning warm-up";
inline constexpr const char* kHvacCool = "Cooling";
inline constexpr const char* kHvacNightPurge = "Night purge";
inline constexpr const char* kHvacPreCool = "Pre-cool";
inline constexpr const char* kHvacOff = "Off";
inline constexpr const char* kHvacTest = "Test";
inline constexpr const char* kHvacEmergencyHeat = "Emergency heat";
inline constexpr const char* kHvacFanOnly = "Fan only";
inline constexpr const char* kHvacFreeCool = "Free cooling";
inline constexpr const char* kHvacIce = "Ice-making";
inline constexpr const char* kHvacMaxHeat = "Max heating";
inline constexpr const char* kHvacEconomy = "Economic heat/cool";
inline constexpr const char* kHvacDehumidify = "Dehumidification";

// Alarm inputs.
inline constexpr const char* kAlarmClear = "OK";
inline constexpr const char* kAlarmRaised = "Alarm";

// What the regulator is doing.
inline constexpr const char* kRegulatorHeating = "Heating";
inline constexpr const char* kRegulatorCooling = "Cooling";

}  // namespace qta1::text
