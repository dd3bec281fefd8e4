// Layouts of the regulation pages.
#include "resources/page_layouts.h"

namespace qta1 {

namespace {

using K = ControlKind;

// clang-format off
// PID: a 4 x 3 grid, rows in screen order.
#define PID_ROW(label, y, p, i, d)                                                   \
    {IDC_STATIC, K::Static, label, "", "", kNoFlags, 10, y + 2, 95, 10},            \
    {p, K::Edit, "P", "", label, kNoFlags, 110, y, 45, 14},                          \
    {i, K::Edit, "I", "", label, kNoFlags, 165, y, 45, 14},                          \
    {d, K::Edit, "D", "", label, kNoFlags, 220, y, 45, 14}

constexpr ControlDecl kPid[] = {
    {IDC_STATIC, K::Static, "P", "", "", kNoFlags, 110, 10, 45, 10},
    {IDC_STATIC, K::Static, "I", "", "", kNoFlags, 165, 10, 45, 10},
    {IDC_STATIC, K::Static, "D", "", "", kNoFlags, 220, 10, 45, 10},
    PID_ROW("Heat (Mv1)", 24, IDC_PID_HEAT_P, IDC_PID_HEAT_I, IDC_PID_HEAT_D),
    PID_ROW("Recirculation (Md4)", 44, IDC_PID_RECIRC_P, IDC_PID_RECIRC_I, IDC_PID_RECIRC_D),
    PID_ROW("Exchanger (Me1)", 64, IDC_PID_EXCH_P, IDC_PID_EXCH_I, IDC_PID_EXCH_D),
    PID_ROW("Cooling (Mv2)", 84, IDC_PID_COOL_P, IDC_PID_COOL_I, IDC_PID_COOL_D),
    {IDC_STATIC,       K::Static,       "Password", "", "", kNoFlags, 10,  122, 95, 10},
    {IDC_PID_PASSWORD, K::PasswordEdit, "Password", "", "", kNoFlags, 110, 120, 100, 14},
    {IDC_PID_READ,     K::PushButton,   "Read",     "", "", kNoFlags, 110, 150, 50, 16},
    {IDC_PID_WRITE,    K::PushButton,   "Write",    "", "", kNoFlags, 170, 150, 50, 16},
};
#undef PID_ROW

// A labelled value box with its unit: the static at x, the box after it.
// Texts are in code page 1252, where "\xB0" is the degree sign.
// The unit is as wide as its longest text ("hour"), so that it stays inside
// its group box.
#define VALUE_ROW(id, kind, label, group, unit, x, y, w)                             \
    {IDC_STATIC, K::Static, label, group, "", kNoFlags, x,          y + 2, w,  9},   \
    {id,         kind,      label, group, "", kNoFlags, x + w + 4,  y,     36, 13},  \
    {IDC_STATIC, K::Static, unit,  group, "", kNoFlags, x + w + 43, y + 2, 17, 9}
// The same with a label of two lines.
#define TALL_ROW(id, kind, label, group, unit, x, y, w)                              \
    {IDC_STATIC, K::Static, label, group, "", kNoFlags, x,          y,     w,  18},  \
    {id,         kind,      label, group, "", kNoFlags, x + w + 4,  y + 2, 36, 13},  \
    {IDC_STATIC, K::Static, unit,  group, "", kNoFlags, x + w + 43, y + 4, 17, 9}
#define DEGREES "\xB0" "C"
#define READ_WRITE(read, write)                                                     \
    {read,  K::PushButton, "Read",  "", "", kNoFlags, 186, 176, 50, 16},            \
    {write, K::PushButton, "Write", "", "", kNoFlags, 242, 176, 50, 16}

// Temperatures: per sensor its reading and calibration offset; the two
// calculated set-points on the right; "Trend..." beside Read and Write.
#define SENSOR(group, y, actual, offset)                                             \
    {IDC_STATIC, K::GroupBox, group, "", "", kNoFlags, 6, y, 148, 46},               \
    VALUE_ROW(actual, K::ReadOnlyEdit, "Actual", group, DEGREES, 14, y + 12, 40),     \
    VALUE_ROW(offset, K::Edit,         "Offset", group, DEGREES, 14, y + 28, 40)

constexpr ControlDecl kTemperatures[] = {
    SENSOR("Temp sensor injection (Bs1)",    4,   IDC_TEMPS_BS1_ACTUAL, IDC_TEMPS_BS1_OFFSET),
    SENSOR("Temp sensor exhaust/space (Bs2)", 54, IDC_TEMPS_BS2_ACTUAL, IDC_TEMPS_BS2_OFFSET),
    SENSOR("Temp sensor intake/outdoor (Bs3)", 104, IDC_TEMPS_BS3_ACTUAL, IDC_TEMPS_BS3_OFFSET),
    {IDC_STATIC, K::GroupBox, "Calc temp", "", "", kNoFlags, 160, 4, 136, 50},
    VALUE_ROW(IDC_TEMPS_CALC_SPACE,     K::ReadOnlyEdit, "Calc space temp",     "Calc temp", DEGREES, 164, 16, 70),
    VALUE_ROW(IDC_TEMPS_CALC_INJECTION, K::ReadOnlyEdit, "Calc injection temp", "Calc temp", DEGREES, 164, 34, 70),
    READ_WRITE(IDC_TEMPS_READ, IDC_TEMPS_WRITE),
    {IDC_TEMPS_TREND, K::PushButton, "Trend...", "", "", kNoFlags, 130, 176, 50, 16},
};
#undef SENSOR

// Calc injection temp: the set-point and its limits on the left with the
// controller constants below them; the zero-energy zone and the live
// temperatures on the right.
constexpr ControlDecl kCalcInjection[] = {
    {IDC_STATIC,                K::GroupBox, "Calc setpoint",  "",              "", kNoFlags, 4,  4,  134, 104},
    {IDC_CALCINJ_CALC_SETPOINT, K::CheckBox, "Calc. setpoint", "Calc setpoint", "", kNoFlags, 10, 16, 100, 10},
    VALUE_ROW(IDC_CALCINJ_MAX,            K::Edit, "Max Injection",  "Calc setpoint", DEGREES, 10, 30, 56),
    VALUE_ROW(IDC_CALCINJ_CALC,           K::Edit, "Calc",           "Calc setpoint", DEGREES, 10, 45, 56),
    VALUE_ROW(IDC_CALCINJ_MIN,            K::Edit, "Min injection",  "Calc setpoint", DEGREES, 10, 60, 56),
    VALUE_ROW(IDC_CALCINJ_NIGHT_LOWERING, K::Edit, "Night lowering", "Calc setpoint", DEGREES, 10, 75, 56),
    VALUE_ROW(IDC_CALCINJ_BOOST_NIGHT,    K::Edit, "Boost night",    "Calc setpoint", DEGREES, 10, 90, 56),
    {IDC_STATIC,    K::GroupBox, "Calc injection temp setpoint", "",                             "", kNoFlags, 4,  112, 134, 42},
    {IDC_STATIC,    K::Static,   "P",                            "Calc injection temp setpoint", "", kNoFlags, 10, 124, 36, 9},
    {IDC_STATIC,    K::Static,   "I",                            "Calc injection temp setpoint", "", kNoFlags, 52, 124, 36, 9},
    {IDC_STATIC,    K::Static,   "D",                            "Calc injection temp setpoint", "", kNoFlags, 94, 124, 36, 9},
    {IDC_CALCINJ_P, K::Edit,     "P",                            "Calc injection temp setpoint", "", kNoFlags, 10, 135, 36, 13},
    {IDC_CALCINJ_I, K::Edit,     "I",                            "Calc injection temp setpoint", "", kNoFlags, 52, 135, 36, 13},
    {IDC_CALCINJ_D, K::Edit,     "D",                            "Calc injection temp setpoint", "", kNoFlags, 94, 135, 36, 13},
    {IDC_STATIC, K::GroupBox, "0 Energy", "", "", kNoFlags, 140, 4, 156, 58},
    VALUE_ROW(IDC_CALCINJ_DB_COOL,  K::Edit,         "DB cool",  "0 Energy", DEGREES, 144, 16, 91),
    VALUE_ROW(IDC_CALCINJ_DB_HEAT,  K::Edit,         "DB heat",  "0 Energy", DEGREES, 144, 31, 91),
    VALUE_ROW(IDC_CALCINJ_SETPOINT, K::ReadOnlyEdit, "Setpoint", "0 Energy", DEGREES, 144, 46, 91),
    {IDC_STATIC, K::GroupBox, "Actual temp", "", "", kNoFlags, 140, 66, 156, 44},
    VALUE_ROW(IDC_CALCINJ_INJECTION_TEMP, K::ReadOnlyEdit, "Injection Temp (Bs1)",     "Actual temp", DEGREES, 144, 78, 91),
    VALUE_ROW(IDC_CALCINJ_EXHAUST_TEMP,   K::ReadOnlyEdit, "Exhaust/space temp (Bs2)", "Actual temp", DEGREES, 144, 93, 91),
    READ_WRITE(IDC_CALCINJ_READ, IDC_CALCINJ_WRITE),
};

// Calc. space temp: the switch, the winter and summer points, and what the
// unit measures and calculates from them.
#define SEASON(group, x, outdoor, setpoint)                                          \
    {IDC_STATIC, K::GroupBox, group, "", "", kNoFlags, x, 40, 130, 46},              \
    VALUE_ROW(outdoor,  K::Edit, "Outdoor",  group, DEGREES, x + 8, 52, 50),          \
    VALUE_ROW(setpoint, K::Edit, "Setpoint", group, DEGREES, x + 8, 68, 50)

constexpr ControlDecl kCalcSpace[] = {
    {IDC_STATIC,                  K::GroupBox, "Calc space temp", "",                "", kNoFlags, 10, 6,  130, 28},
    {IDC_CALCSPACE_CALC_SETPOINT, K::CheckBox, "Calc. setpoint",  "Calc space temp", "", kNoFlags, 18, 18, 100, 10},
    SEASON("Winter", 10,  IDC_CALCSPACE_WINTER_OUTDOOR, IDC_CALCSPACE_WINTER_SETPOINT),
    SEASON("Summer", 150, IDC_CALCSPACE_SUMMER_OUTDOOR, IDC_CALCSPACE_SUMMER_SETPOINT),
    VALUE_ROW(IDC_CALCSPACE_OUTDOOR_TEMP, K::ReadOnlyEdit, "Outdoor temp",  "", DEGREES, 18, 96,  50),
    VALUE_ROW(IDC_CALCSPACE_CALC,         K::ReadOnlyEdit, "Calc setpoint", "", DEGREES, 18, 112, 50),
    READ_WRITE(IDC_CALCSPACE_READ, IDC_CALCSPACE_WRITE),
};
#undef SEASON

// Mode buttons of an actuator; the first starts the radio group.
#define MODES(group, x, off, manual, automatic)                                                         \
    {off,       K::RadioButton, "Off",       group, "", kStartsGroup, x + 8, 16, 60, 10},              \
    {manual,    K::RadioButton, "Manual",    group, "", kNoFlags,     x + 8, 28, 60, 10},              \
    {automatic, K::RadioButton, "Automatic", group, "", kNoFlags,     x + 8, 40, 60, 10}
// Signal range and inversion of an actuator.
#define SIGNAL(group, zero, two, invert)                                                                \
    {IDC_STATIC, K::GroupBox,    group,    "",    "", kNoFlags,     6,  96,  140, 46},                 \
    {zero,       K::RadioButton, "0-10",   group, "", kStartsGroup, 14, 108, 40,  10},                 \
    {two,        K::RadioButton, "2-10",   group, "", kNoFlags,     62, 108, 40,  10},                 \
    {invert,     K::CheckBox,    "Invert", group, "", kNoFlags,     14, 124, 60,  10}

// Heating surface: the valve and the pump, each with its mode and what it
// does now, and the valve's signal settings.
constexpr ControlDecl kHeatingSurface[] = {
    {IDC_STATIC, K::GroupBox, "Status valve (Mv1)", "", "", kNoFlags, 6, 4, 140, 88},
    MODES("Status valve (Mv1)", 6, IDC_HEAT_VALVE_OFF, IDC_HEAT_VALVE_MANUAL, IDC_HEAT_VALVE_AUTO),
    VALUE_ROW(IDC_HEAT_VALVE_IN,  K::Edit,         "In",  "Status valve (Mv1)", "%", 14, 56, 20),
    VALUE_ROW(IDC_HEAT_VALVE_OUT, K::ReadOnlyEdit, "Out", "Status valve (Mv1)", "%", 14, 74, 20),
    {IDC_STATIC, K::GroupBox, "Status pump (Mp1)", "", "", kNoFlags, 154, 4, 140, 70},
    MODES("Status pump (Mp1)", 154, IDC_HEAT_PUMP_OFF, IDC_HEAT_PUMP_MANUAL, IDC_HEAT_PUMP_AUTO),
    {IDC_STATIC,        K::Static,       "Out", "Status pump (Mp1)", "", kNoFlags, 162, 58, 20, 9},
    {IDC_HEAT_PUMP_OUT, K::ReadOnlyEdit, "Out", "Status pump (Mp1)", "", kNoFlags, 186, 56, 36, 13},
    SIGNAL("Settings valve (Mv1)", IDC_HEAT_0_10, IDC_HEAT_2_10, IDC_HEAT_INVERT),
    READ_WRITE(IDC_HEAT_READ, IDC_HEAT_WRITE),
};

// Exchanger: its mode, manual position, and on one line whether it runs
// (left) and its output (right); its signal settings below.
constexpr ControlDecl kExchanger[] = {
    {IDC_STATIC, K::GroupBox, "Status exchanger (Me1)", "", "", kNoFlags, 6, 4, 140, 88},
    MODES("Status exchanger (Me1)", 6, IDC_EXCH_OFF, IDC_EXCH_MANUAL, IDC_EXCH_AUTO),
    VALUE_ROW(IDC_EXCH_IN, K::Edit, "In", "Status exchanger (Me1)", "%", 14, 56, 20),
    {IDC_STATIC,       K::Static,       "Out", "Status exchanger (Me1)", "",      kNoFlags, 14,  76, 20, 9},
    {IDC_EXCH_RUNNING, K::ReadOnlyEdit, "Out", "Status exchanger (Me1)", "left",  kNoFlags, 38,  74, 36, 13},
    {IDC_EXCH_OUT,     K::ReadOnlyEdit, "Out", "Status exchanger (Me1)", "right", kNoFlags, 78,  74, 36, 13},
    {IDC_STATIC,       K::Static,       "%",   "Status exchanger (Me1)", "",      kNoFlags, 118, 76, 16, 9},
    SIGNAL("Settings exchanger (Me1)", IDC_EXCH_0_10, IDC_EXCH_2_10, IDC_EXCH_INVERT),
    READ_WRITE(IDC_EXCH_READ, IDC_EXCH_WRITE),
};
#undef MODES
#undef SIGNAL

// Antifrost: when antifrost heating starts and stops, the return water it
// holds, the outdoor temperature now, and below the group whether it heats.
constexpr ControlDecl kAntifrost[] = {
    {IDC_STATIC, K::GroupBox, "Antifrost", "", "", kNoFlags, 10, 6, 200, 88},
    VALUE_ROW(IDC_ANTIFROST_START,   K::Edit,         "Outdoor temp start",                    "Antifrost", DEGREES, 18, 18, 100),
    VALUE_ROW(IDC_ANTIFROST_STOP,    K::Edit,         "Outdoor temp stop",                     "Antifrost", DEGREES, 18, 34, 100),
    TALL_ROW(IDC_ANTIFROST_RETURN,   K::Edit,         "Return temp\nheating surface (Bw2)",    "Antifrost", DEGREES, 18, 50, 100),
    VALUE_ROW(IDC_ANTIFROST_OUTDOOR, K::ReadOnlyEdit, "Actual outdoor temp",                   "Antifrost", DEGREES, 18, 74, 100),
    // The status line has no label on the screen; "Status" is its name.
    {IDC_ANTIFROST_STATUS, K::ReadOnlyEdit, "Status", "", "", kNoFlags, 18, 100, 100, 13},
    READ_WRITE(IDC_ANTIFROST_READ, IDC_ANTIFROST_WRITE),
};

// Exercise - Deicing: how long pump and valve may stand still, and the delay
// before the exchanger is deiced.
constexpr ControlDecl kExerciseDeicing[] = {
    {IDC_STATIC, K::GroupBox, "Exercise", "", "", kNoFlags, 10, 6, 200, 46},
    VALUE_ROW(IDC_EXERCISE_PUMP,  K::Edit, "Time before pump (Mp1)",  "Exercise", "hour", 18, 18, 100),
    VALUE_ROW(IDC_EXERCISE_VALVE, K::Edit, "Time before valve (Mv1)", "Exercise", "hour", 18, 34, 100),
    {IDC_STATIC, K::GroupBox, "Deicing exchanger", "", "", kNoFlags, 10, 58, 200, 30},
    VALUE_ROW(IDC_EXERCISE_DEICING, K::Edit, "Time before deicng (Me1)", "Deicing exchanger", "min", 18, 70, 100),
    READ_WRITE(IDC_EXERCISE_READ, IDC_EXERCISE_WRITE),
};

// Temp Start-up: when and how far the heating surface is warmed before a
// cold start, with the outdoor temperature and the start-up mode now; the
// break points of heating and recirculation on the right.
constexpr ControlDecl kTempStartup[] = {
    {IDC_STATIC, K::GroupBox, "Start-up", "", "", kNoFlags, 6, 4, 160, 94},
    VALUE_ROW(IDC_STARTUP_OUTDOOR,        K::Edit,         "Outdoor temp",                       "Start-up", DEGREES, 14, 16, 90),
    TALL_ROW(IDC_STARTUP_RETURN,          K::Edit,         "Return temp\nheating surface (Bw2)", "Start-up", DEGREES, 14, 32, 90),
    VALUE_ROW(IDC_STARTUP_ACTUAL_OUTDOOR, K::ReadOnlyEdit, "Actual outdoor temp",                "Start-up", DEGREES, 14, 56, 90),
    // The status line has no label on the screen; "Status" is its name.
    {IDC_STARTUP_STATUS, K::ReadOnlyEdit, "Status", "Start-up", "", kNoFlags, 14, 76, 100, 13},
    {IDC_STATIC, K::GroupBox, "Start-up outdoor temp", "", "", kNoFlags, 170, 4, 126, 78},
    VALUE_ROW(IDC_STARTUP_50_HEAT,   K::Edit, "50% heat",              "Start-up outdoor temp", DEGREES, 176, 16, 58),
    TALL_ROW(IDC_STARTUP_0_HEAT,     K::Edit, "0% heat\n100% recycle", "Start-up outdoor temp", DEGREES, 176, 32, 58),
    VALUE_ROW(IDC_STARTUP_0_RECYCLE, K::Edit, "0% recycle",            "Start-up outdoor temp", DEGREES, 176, 56, 58),
    READ_WRITE(IDC_STARTUP_READ, IDC_STARTUP_WRITE),
};

// Low temp injection: the alarm switch, its offset below the calculated
// supply temperature and its delay, with both supply temperatures.
constexpr ControlDecl kLowTempInjection[] = {
    {IDC_STATIC,       K::GroupBox, "Low temp injection (Bs1)", "",                         "", kNoFlags, 10, 6,  200, 100},
    {IDC_LOWTEMP_STOP, K::CheckBox, "Stop at low temperatures", "Low temp injection (Bs1)", "", kNoFlags, 18, 18, 120, 10},
    VALUE_ROW(IDC_LOWTEMP_CALC,   K::ReadOnlyEdit, "Calc temp injection", "Low temp injection (Bs1)", DEGREES, 18, 34, 90),
    VALUE_ROW(IDC_LOWTEMP_OFFSET, K::Edit,         "Offset alarm temp",   "Low temp injection (Bs1)", DEGREES, 18, 50, 90),
    VALUE_ROW(IDC_LOWTEMP_ACTUAL, K::ReadOnlyEdit, "Actual temp (Bs1)",   "Low temp injection (Bs1)", DEGREES, 18, 66, 90),
    VALUE_ROW(IDC_LOWTEMP_TIME,   K::Edit,         "Time before alarm",   "Low temp injection (Bs1)", "sec",   18, 82, 90),
    READ_WRITE(IDC_LOWTEMP_READ, IDC_LOWTEMP_WRITE),
};
#undef READ_WRITE
#undef DEGREES
#undef TALL_ROW
#undef VALUE_ROW
// clang-format on

}  // namespace

std::span<const ControlDecl> PidControls() { return kPid; }

std::span<const ControlDecl> TemperaturesControls() { return kTemperatures; }
std::span<const ControlDecl> CalcInjectionControls() { return kCalcInjection; }
std::span<const ControlDecl> CalcSpaceControls() { return kCalcSpace; }
std::span<const ControlDecl> HeatingSurfaceControls() { return kHeatingSurface; }
std::span<const ControlDecl> ExchangerControls() { return kExchanger; }
std::span<const ControlDecl> AntifrostControls() { return kAntifrost; }
std::span<const ControlDecl> ExerciseDeicingControls() { return kExerciseDeicing; }
std::span<const ControlDecl> TempStartupControls() { return kTempStartup; }
std::span<const ControlDecl> LowTempInjectionControls() { return kLowTempInjection; }

}  // namespace qta1
