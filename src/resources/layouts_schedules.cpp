// Layouts of the schedule pages.
#include "resources/page_layouts.h"

namespace qta1 {

namespace {

using K = ControlKind;

// clang-format off
// Calender: two week calendars side by side, one row per day in screen order
// (the NV keeps Sunday first), the holiday pair below them, the node's clock
// and calendar status on the right. A box's row names its day and calendar,
// because both calendars label their columns "Start " and "Stop ".
#define CAL_ROW(day, y, start1, stop1, start2, stop2)                                                   \
    {IDC_STATIC, K::Static, day,      "",           "",                     kNoFlags, 10,  y + 2, 46, 9},  \
    {start1,     K::Edit,   "Start ", "Calender 1", day ", Calender 1",     kNoFlags, 64,  y,     30, 13}, \
    {stop1,      K::Edit,   "Stop ",  "Calender 1", day ", Calender 1",     kNoFlags, 98,  y,     30, 13}, \
    {start2,     K::Edit,   "Start ", "Calender 2", day ", Calender 2",     kNoFlags, 146, y,     30, 13}, \
    {stop2,      K::Edit,   "Stop ",  "Calender 2", day ", Calender 2",     kNoFlags, 180, y,     30, 13}

constexpr ControlDecl kCalender[] = {
//   id                          kind             label          group         row        flags      x    y    w    h
    {IDC_STATIC,                 K::GroupBox,     "Calender 1",  "",           "",        kNoFlags,  58,  6,   76, 132},
    {IDC_STATIC,                 K::Static,       "Start ",      "Calender 1", "",        kNoFlags,  64,  16,  30,  9},
    {IDC_STATIC,                 K::Static,       "Stop ",       "Calender 1", "",        kNoFlags,  98,  16,  30,  9},
    {IDC_STATIC,                 K::GroupBox,     "Calender 2",  "",           "",        kNoFlags,  140, 6,   76, 132},
    {IDC_STATIC,                 K::Static,       "Start ",      "Calender 2", "",        kNoFlags,  146, 16,  30,  9},
    {IDC_STATIC,                 K::Static,       "Stop ",       "Calender 2", "",        kNoFlags,  180, 16,  30,  9},
    CAL_ROW("Monday",    27, IDC_CALENDER_MON_START1, IDC_CALENDER_MON_STOP1, IDC_CALENDER_MON_START2, IDC_CALENDER_MON_STOP2),
    CAL_ROW("Tuesday",   42, IDC_CALENDER_TUE_START1, IDC_CALENDER_TUE_STOP1, IDC_CALENDER_TUE_START2, IDC_CALENDER_TUE_STOP2),
    CAL_ROW("Wednesday", 57, IDC_CALENDER_WED_START1, IDC_CALENDER_WED_STOP1, IDC_CALENDER_WED_START2, IDC_CALENDER_WED_STOP2),
    CAL_ROW("Thursday",  72, IDC_CALENDER_THU_START1, IDC_CALENDER_THU_STOP1, IDC_CALENDER_THU_START2, IDC_CALENDER_THU_STOP2),
    CAL_ROW("Friday",    87, IDC_CALENDER_FRI_START1, IDC_CALENDER_FRI_STOP1, IDC_CALENDER_FRI_START2, IDC_CALENDER_FRI_STOP2),
    CAL_ROW("Saturday", 102, IDC_CALENDER_SAT_START1, IDC_CALENDER_SAT_STOP1, IDC_CALENDER_SAT_START2, IDC_CALENDER_SAT_STOP2),
    CAL_ROW("Sunday",   117, IDC_CALENDER_SUN_START1, IDC_CALENDER_SUN_STOP1, IDC_CALENDER_SUN_START2, IDC_CALENDER_SUN_STOP2),
    {IDC_STATIC,                 K::Static,       "Start ",      "",           "",        kNoFlags,  64,  144, 30,  9},
    {IDC_STATIC,                 K::Static,       "Stop ",       "",           "",        kNoFlags,  98,  144, 30,  9},
    {IDC_STATIC,                 K::Static,       "Holiday",     "",           "",        kNoFlags,  10,  157, 46,  9},
    {IDC_CALENDER_HOLIDAY_START, K::Edit,         "Start ",      "",           "Holiday", kNoFlags,  64,  155, 30, 13},
    {IDC_CALENDER_HOLIDAY_STOP,  K::Edit,         "Stop ",       "",           "Holiday", kNoFlags,  98,  155, 30, 13},
    {IDC_STATIC,                 K::Static,       "Date",        "",           "",        kNoFlags,  226, 8,   64,  9},
    {IDC_CALENDER_DATE,          K::ReadOnlyEdit, "Date",        "",           "",        kNoFlags,  226, 17,  64, 13},
    {IDC_STATIC,                 K::Static,       "Time",        "",           "",        kNoFlags,  226, 34,  64,  9},
    {IDC_CALENDER_TIME,          K::ReadOnlyEdit, "Time",        "",           "",        kNoFlags,  226, 43,  64, 13},
    {IDC_STATIC,                 K::Static,       "Calender is", "",           "",        kNoFlags,  226, 60,  64,  9},
    {IDC_CALENDER_STATUS,        K::ReadOnlyEdit, "Calender is", "",           "",        kNoFlags,  226, 69,  64, 13},
    {IDC_CALENDER_RESET,         K::PushButton,   "Reset",       "",           "",        kNoFlags,  230, 96,  56, 16},
    {IDC_CALENDER_DEFAULT,       K::PushButton,   "Default",     "",           "",        kNoFlags,  230, 116, 56, 16},
    {IDC_CALENDER_WRITE,         K::PushButton,   "Write",       "",           "",        kNoFlags,  230, 136, 56, 16},
    {IDC_CALENDER_READ,          K::PushButton,   "Read",        "",           "",        kNoFlags,  230, 156, 56, 16},
};
#undef CAL_ROW

// Freecool and PIR: one week calendar on the left, rows in screen order.
#define WEEK_ROW(group, day, y, start, stop)                                          \
    {IDC_STATIC, K::Static, day,      "",    "",  kNoFlags, 12, y + 2, 42, 9},        \
    {start,      K::Edit,   "Start ", group, day, kNoFlags, 55, y,     30, 13},       \
    {stop,       K::Edit,   "Stop ",  group, day, kNoFlags, 89, y,     30, 13}

#define WEEK_GRID(group, prefix)                                                      \
    {IDC_STATIC, K::GroupBox, group,    "",    "", kNoFlags, 8,  6,  114, 132},       \
    {IDC_STATIC, K::Static,   "Start ", group, "", kNoFlags, 55, 16, 30,  9},         \
    {IDC_STATIC, K::Static,   "Stop ",  group, "", kNoFlags, 89, 16, 30,  9},         \
    WEEK_ROW(group, "Monday",     27, prefix##MON_START, prefix##MON_STOP),           \
    WEEK_ROW(group, "Tuesday",    42, prefix##TUE_START, prefix##TUE_STOP),           \
    WEEK_ROW(group, "Wednesday",  57, prefix##WED_START, prefix##WED_STOP),           \
    WEEK_ROW(group, "Thursday",   72, prefix##THU_START, prefix##THU_STOP),           \
    WEEK_ROW(group, "Friday",     87, prefix##FRI_START, prefix##FRI_STOP),           \
    WEEK_ROW(group, "Saturday",  102, prefix##SAT_START, prefix##SAT_STOP),           \
    WEEK_ROW(group, "Sunday",    117, prefix##SUN_START, prefix##SUN_STOP)

// A value box of the right-hand group: its label, the box and its unit.
#define VALUE_ROW(id, kind, label, group, unit, y)                                    \
    {IDC_STATIC, K::Static, label, group, "", kNoFlags, 131, y + 2, 78, 9},           \
    {id,         kind,      label, group, "", kNoFlags, 211, y,     28, 13},          \
    {IDC_STATIC, K::Static, unit,  group, "", kNoFlags, 242, y + 2, 14, 9}

// Texts are in code page 1252, where "\xB0" is the degree sign.
constexpr ControlDecl kFreecool[] = {
    WEEK_GRID("Calender freecool", IDC_FREECOOL_),
    {IDC_STATIC, K::GroupBox, "Start/stop freecool", "", "", kNoFlags, 126, 6, 130, 122},
    VALUE_ROW(IDC_FREECOOL_SETPT_MAX_ROOM,     K::Edit,         "Setpt max room",       "Start/stop freecool", "\xB0" "C", 18),
    VALUE_ROW(IDC_FREECOOL_SETPT_MIN_ROOM,     K::Edit,         "Setpt min room",       "Start/stop freecool", "\xB0" "C", 33),
    VALUE_ROW(IDC_FREECOOL_SPACE_TEMP,         K::ReadOnlyEdit, "Space temp",           "Start/stop freecool", "\xB0" "C", 48),
    VALUE_ROW(IDC_FREECOOL_OUTDOOR_TEMP,       K::ReadOnlyEdit, "Outdoor temp",         "Start/stop freecool", "\xB0" "C", 63),
    VALUE_ROW(IDC_FREECOOL_MAX_TEMP_OUTDOOR,   K::Edit,         "Max temp outdoor",     "Start/stop freecool", "\xB0" "C", 78),
    VALUE_ROW(IDC_FREECOOL_MIN_TEMP_INJECTION, K::Edit,         "Min temp injection",   "Start/stop freecool", "\xB0" "C", 93),
    VALUE_ROW(IDC_FREECOOL_INJECTION_TEMP,     K::ReadOnlyEdit, "Injection Temp (Bs1)", "Start/stop freecool", "\xB0" "C", 108),
    // The status box has no label of its own; its group names it.
    {IDC_STATIC,          K::GroupBox,     "Status", "",       "", kNoFlags, 126, 134, 130, 30},
    {IDC_FREECOOL_STATUS, K::ReadOnlyEdit, "Status", "Status", "", kAlignCenter, 151, 146, 80, 13},
    {IDC_FREECOOL_RESET,  K::PushButton,   "Reset",  "",       "", kNoFlags, 260, 10,  36,  16},
    {IDC_FREECOOL_WRITE,  K::PushButton,   "Write",  "",       "", kNoFlags, 260, 30,  36,  16},
    {IDC_FREECOOL_READ,   K::PushButton,   "Read",   "",       "", kNoFlags, 260, 50,  36,  16},
};

constexpr ControlDecl kPir[] = {
    WEEK_GRID("Calender pir", IDC_PIR_),
    {IDC_STATIC, K::GroupBox, "Pir time", "", "", kNoFlags, 126, 6, 130, 72},
    VALUE_ROW(IDC_PIR_TIME_BEFORE_START, K::Edit, "Time before start", "Pir time", "min", 18),
    VALUE_ROW(IDC_PIR_TIME_BEFORE_STOP,  K::Edit, "Time before stop",  "Pir time", "min", 34),
    // The occupancy box has no label on the screen; "Occupancy" is its name.
    {IDC_PIR_OCCUPANCY, K::ReadOnlyEdit, "Occupancy", "Pir time", "", kAlignCenter, 151, 56, 80, 13},
    {IDC_PIR_RESET,     K::PushButton,   "Reset",     "",         "", kNoFlags, 260, 10, 36, 16},
    {IDC_PIR_WRITE,     K::PushButton,   "Write",     "",         "", kNoFlags, 260, 30, 36, 16},
    {IDC_PIR_READ,      K::PushButton,   "Read",      "",         "", kNoFlags, 260, 50, 36, 16},
};
#undef VALUE_ROW
#undef WEEK_GRID
#undef WEEK_ROW

// Extended operation: the day and night times, each with its own Start.
constexpr ControlDecl kExtendedOperation[] = {
//   id                     kind             label                 group                 row flags     x    y    w    h
    {IDC_STATIC,            K::GroupBox,     "Extended operation", "",                   "", kNoFlags, 10,  6,  180, 104},
    {IDC_STATIC,            K::GroupBox,     "Day",                "Extended operation", "", kNoFlags, 20,  20, 160,  38},
    {IDC_STATIC,            K::Static,       "Hour:Minute",        "Day",                "", kNoFlags, 28,  37,  46,   9},
    {IDC_EXTOP_DAY,         K::Edit,         "Hour:Minute",        "Day",                "", kNoFlags, 78,  35,  40,  13},
    {IDC_EXTOP_DAY_START,   K::PushButton,   "Start",              "Day",                "", kNoFlags, 126, 34,  44,  15},
    {IDC_STATIC,            K::GroupBox,     "Night",              "Extended operation", "", kNoFlags, 20,  64, 160,  38},
    {IDC_STATIC,            K::Static,       "Hour:Minute",        "Night",              "", kNoFlags, 28,  81,  46,   9},
    {IDC_EXTOP_NIGHT,       K::Edit,         "Hour:Minute",        "Night",              "", kNoFlags, 78,  79,  40,  13},
    {IDC_EXTOP_NIGHT_START, K::PushButton,   "Start",              "Night",              "", kNoFlags, 126, 78,  44,  15},
    {IDC_EXTOP_WRITE,       K::PushButton,   "Write",              "",                   "", kNoFlags, 10,  120, 50,  16},
    {IDC_EXTOP_READ,        K::PushButton,   "Read",               "",                   "", kNoFlags, 70,  120, 50,  16},
};

// Open/Close Timer: the four actuator running times in seconds, flush right
// against their unit.
#define TRAVEL_ROW(id, label, y)                                                                   \
    {IDC_STATIC, K::Static, label, "",                      "", kNoFlags,    20,  y + 2, 70, 9},    \
    {id,         K::Edit,   label, "Time Min --> Max open", "", kAlignRight, 96,  y,     50, 13},   \
    {IDC_STATIC, K::Static, "sec", "",                      "", kNoFlags, 152, y + 2, 20, 9}

constexpr ControlDecl kOpenCloseTimer[] = {
    {IDC_STATIC, K::GroupBox, "Time Min --> Max open", "", "", kNoFlags, 10, 6, 180, 82},
    TRAVEL_ROW(IDC_OPENCLOSE_HEAT_VALVE,     "Heat valve",     20),
    TRAVEL_ROW(IDC_OPENCLOSE_EXCHANGER,      "Exchanger",      36),
    TRAVEL_ROW(IDC_OPENCLOSE_DAMPER_INTAKE,  "Damper Intake",  52),
    TRAVEL_ROW(IDC_OPENCLOSE_DAMPER_EXHAUST, "Damper Exhaust", 68),
    {IDC_OPENCLOSE_WRITE, K::PushButton, "Write", "", "", kNoFlags, 10, 98, 50, 16},
    {IDC_OPENCLOSE_READ,  K::PushButton, "Read",  "", "", kNoFlags, 70, 98, 50, 16},
};
#undef TRAVEL_ROW
// clang-format on

}  // namespace

std::span<const ControlDecl> CalenderControls() { return kCalender; }
std::span<const ControlDecl> FreecoolControls() { return kFreecool; }
std::span<const ControlDecl> PirControls() { return kPir; }
std::span<const ControlDecl> ExtendedOperationControls() { return kExtendedOperation; }
std::span<const ControlDecl> OpenCloseTimerControls() { return kOpenCloseTimer; }

}  // namespace qta1
