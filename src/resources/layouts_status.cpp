// Layouts of the status and alarm pages.
#include "resources/page_layouts.h"

namespace qta1 {

namespace {

using K = ControlKind;

// clang-format off
// Status: the rotary switch and the unit mode, and the override of the switch.
constexpr ControlDecl kStatus[] = {
//   id                        kind             label                      group                    row flags         x    y    w    h
    {IDC_STATIC,               K::GroupBox,     "Status",                  "",                      "", kNoFlags,     10,  8, 280,  52},
    {IDC_STATIC,               K::Static,       "Rotary switch (Sw1)",     "Status",                "", kNoFlags,     20, 24,  90,  10},
    {IDC_STATUS_ROTARY_SWITCH, K::ReadOnlyEdit, "Rotary switch (Sw1)",     "Status",                "", kNoFlags,    115, 22, 110,  14},
    {IDC_STATIC,               K::Static,       "Unit",                    "Status",                "", kNoFlags,     20, 42,  90,  10},
    {IDC_STATUS_UNIT,          K::ReadOnlyEdit, "Unit",                    "Status",                "", kNoFlags,    115, 40, 110,  14},
    {IDC_STATIC,               K::GroupBox,     "Override rotary switch",  "",                      "", kNoFlags,     10, 68, 280,  82},
    {IDC_STATUS_VENTILATION,   K::RadioButton,  "Ventilation",             "Override rotary switch", "", kStartsGroup, 20, 82, 120,  10},
    {IDC_STATUS_NIGHT,         K::RadioButton,  "Night",                   "Override rotary switch", "", kNoFlags,    20, 98, 120,  10},
    {IDC_STATUS_DAY,           K::RadioButton,  "Day",                     "Override rotary switch", "", kNoFlags,    20, 114, 120, 10},
    {IDC_STATUS_OFF,           K::RadioButton,  "Off",                     "Override rotary switch", "", kNoFlags,    20, 130, 120, 10},
    {IDC_STATUS_EXTERNAL,      K::RadioButton,  "External",                "Override rotary switch", "", kNoFlags,   150, 82, 130,  10},
    {IDC_STATUS_AUTO,          K::RadioButton,  "Auto",                    "Override rotary switch", "", kNoFlags,   150, 98, 130,  10},
    {IDC_STATUS_RESET_ALARM,   K::RadioButton,  "Reset Alarm",             "Override rotary switch", "", kNoFlags,   150, 114, 130, 10},
    {IDC_STATUS_MANUAL_SWITCH, K::RadioButton,  "Use manual rotary switch", "Override rotary switch", "", kNoFlags,  150, 130, 130, 10},
    {IDC_STATUS_READ,          K::PushButton,   "Read",                    "",                      "", kNoFlags,    110, 164,  50, 16},
    {IDC_STATUS_WRITE,         K::PushButton,   "Write",                   "",                      "", kNoFlags,    170, 164,  50, 16},
};

// Status - Regulator: the four regulated outputs in percent, whether the
// regulator heats or cools, and "Trend..." below.
#define REGULATOR_ROW(id, label, y)                                                   \
    {IDC_STATIC, K::Static,       label, "", "", kNoFlags, 20,  y + 2, 100, 10},       \
    {id,         K::ReadOnlyEdit, label, "", "", kNoFlags, 125, y,     50,  14},       \
    {IDC_STATIC, K::Static,       "%",   "", "", kNoFlags, 180, y + 2, 12,  10}

constexpr ControlDecl kStatusRegulator[] = {
    REGULATOR_ROW(IDC_REGULATOR_HEATING,   "Heating (Mv1)",   16),
    REGULATOR_ROW(IDC_REGULATOR_EXCHANGER, "Exchanger (Me1)", 36),
    REGULATOR_ROW(IDC_REGULATOR_RECYCLING, "Recycling (Md4)", 56),
    REGULATOR_ROW(IDC_REGULATOR_COOLING,   "Cooling (Mv2)",   76),
    {IDC_STATIC,          K::GroupBox,     "Heating/Cooling", "",                "", kNoFlags, 20, 102, 172, 40},
    {IDC_REGULATOR_MODE,  K::ReadOnlyEdit, "Heating/Cooling", "Heating/Cooling", "", kAlignCenter, 56, 118, 100, 14},
    {IDC_REGULATOR_TREND, K::PushButton,   "Trend...",        "",                "", kNoFlags,     142, 150, 50, 16},
};
#undef REGULATOR_ROW

// Alarms: one row per alarm input, columns for the injection side, the
// exhaust side and the counters since the last reset.
#define ALARM_ROW_LABEL(label, y) \
    {IDC_STATIC, K::Static, label, "", "", kNoFlags, 8, y + 2, 104, 10}
#define ALARM_BOX(id, column, label, x, y) \
    {id, K::ReadOnlyEdit, column, column, label, kNoFlags, x, y, 40, 14}
#define INJ(id, label, y)   ALARM_BOX(id, "Injection", label, 119, y)
#define EXH(id, label, y)   ALARM_BOX(id, "Exhaust", label, 171, y)
#define COUNT(id, label, y) ALARM_BOX(id, "Alarms since reset", label, 237, y)

constexpr ControlDecl kAlarms[] = {
    {IDC_STATIC, K::GroupBox, "Injection",          "", "", kNoFlags, 114, 4,  50, 174},
    {IDC_STATIC, K::GroupBox, "Exhaust",            "", "", kNoFlags, 166, 4,  50, 174},
    {IDC_STATIC, K::GroupBox, "Alarms since reset", "", "", kNoFlags, 218, 4,  78, 174},
    ALARM_ROW_LABEL("Fire thermostat (Fi1, Fi2)", 20),
    INJ(IDC_ALARMS_FIRE_INJECTION,        "Fire thermostat (Fi1, Fi2)", 20),
    EXH(IDC_ALARMS_FIRE_EXHAUST,          "Fire thermostat (Fi1, Fi2)", 20),
    ALARM_ROW_LABEL("Frost thermostat (Fr1)", 40),
    INJ(IDC_ALARMS_FROST_INJECTION,       "Frost thermostat (Fr1)", 40),
    COUNT(IDC_ALARMS_FROST_COUNT,         "Frost thermostat (Fr1)", 40),
    ALARM_ROW_LABEL("Iced, exchanger  (Fs1)", 60),
    EXH(IDC_ALARMS_ICED_EXHAUST,          "Iced, exchanger  (Fs1)", 60),
    COUNT(IDC_ALARMS_ICED_COUNT,          "Iced, exchanger  (Fs1)", 60),
    ALARM_ROW_LABEL("Thermo fault motor (Ff1, Ff2)", 80),
    INJ(IDC_ALARMS_MOTOR_INJECTION,       "Thermo fault motor (Ff1, Ff2)", 80),
    EXH(IDC_ALARMS_MOTOR_EXHAUST,         "Thermo fault motor (Ff1, Ff2)", 80),
    ALARM_ROW_LABEL("Exchanger error (Ff3)", 100),
    INJ(IDC_ALARMS_EXCHANGER_ERROR,       "Exchanger error (Ff3)", 100),
    ALARM_ROW_LABEL("Thermo fault pump (Ff4)", 120),
    INJ(IDC_ALARMS_PUMP_FAULT,            "Thermo fault pump (Ff4)", 120),
    ALARM_ROW_LABEL("Low injection (Bs1)", 140),
    INJ(IDC_ALARMS_LOW_INJECTION,         "Low injection (Bs1)", 140),
    ALARM_ROW_LABEL("Communication error", 160),
    INJ(IDC_ALARMS_COMMUNICATION,         "Communication error", 160),
    COUNT(IDC_ALARMS_COMMUNICATION_COUNT, "Communication error", 160),
};
#undef ALARM_ROW_LABEL
#undef ALARM_BOX
#undef INJ
#undef EXH
#undef COUNT

// Running Hours: one counter and one "Reset" per row.
#define HOURS_ROW(box, reset, label, y)                                              \
    {IDC_STATIC, K::Static,       label,   "", "",    kNoFlags, 10,  y + 2, 150, 10}, \
    {box,        K::ReadOnlyEdit, label,   "", "",    kNoFlags, 165, y,     55,  14}, \
    {reset,      K::PushButton,   "Reset", "", label, kNoFlags, 228, y - 1, 50,  16}

constexpr ControlDecl kRunningHours[] = {
    HOURS_ROW(IDC_HOURS_VENTILATING, IDC_HOURS_RESET_VENTILATING, "Ventilating", 16),
    HOURS_ROW(IDC_HOURS_PUMP, IDC_HOURS_RESET_PUMP, "Circulation pump heating surface (Mp1)", 40),
    HOURS_ROW(IDC_HOURS_INJECTION_MOTOR, IDC_HOURS_RESET_INJECTION_MOTOR,
              "Ventilation motor injection (Mm1)", 64),
    HOURS_ROW(IDC_HOURS_EXHAUST_MOTOR, IDC_HOURS_RESET_EXHAUST_MOTOR,
              "Ventilation motor exhaust (Mm2)", 88),
    HOURS_ROW(IDC_HOURS_EXCHANGER, IDC_HOURS_RESET_EXCHANGER, "Exchanger (Mr1)", 112),
};
#undef HOURS_ROW
// clang-format on

}  // namespace

std::span<const ControlDecl> StatusControls() { return kStatus; }
std::span<const ControlDecl> StatusRegulatorControls() { return kStatusRegulator; }
std::span<const ControlDecl> AlarmsControls() { return kAlarms; }
std::span<const ControlDecl> RunningHoursControls() { return kRunningHours; }

}  // namespace qta1
