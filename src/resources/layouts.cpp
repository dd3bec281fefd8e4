#include <algorithm>

#include "resources/layout.h"
#include "resources/strings.h"

namespace qta1 {

namespace {

using K = ControlKind;

// clang-format off
// Node Information: the node's name and the page-set switch.
constexpr ControlDecl kNodeInformation[] = {
//   id                       kind            label          group       row  flags     x    y    w    h
    {IDC_STATIC,              K::GroupBox,     "Nodename",   "",         "", kNoFlags, 10,  10, 280,  36},
    {IDC_NODEINFO_NAME,       K::ReadOnlyEdit, "Nodename",   "Nodename", "", kNoFlags, 20,  24, 260,  14},
    {IDC_NODEINFO_USER,       K::PushButton,   "User",       "",         "", kNoFlags, 20,  60,  80,  16},
    {IDC_NODEINFO_TECHNICIAN, K::PushButton,   "Technician", "",         "", kNoFlags, 110, 60,  80,  16},
    {IDC_NODEINFO_VERSION,    K::Static,       text::kVersionLine, "",   "", kNoFlags, 20,  90, 260,  10},
};

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

// Set Time: the PC's clock beside the node's, and the button that copies it.
constexpr ControlDecl kSetTime[] = {
//   id                     kind             label                   group                   row flags     x    y    w    h
    {IDC_STATIC,            K::GroupBox,     "Current time on PC",   "",                     "", kNoFlags, 10,  10, 135,  60},
    {IDC_STATIC,            K::Static,       "Date",                 "Current time on PC",   "", kNoFlags, 20,  28,  28,  10},
    {IDC_SETTIME_PC_DATE,   K::ReadOnlyEdit, "Date",                 "Current time on PC",   "", kNoFlags, 50,  26,  85,  14},
    {IDC_STATIC,            K::Static,       "Time",                 "Current time on PC",   "", kNoFlags, 20,  48,  28,  10},
    {IDC_SETTIME_PC_TIME,   K::ReadOnlyEdit, "Time",                 "Current time on PC",   "", kNoFlags, 50,  46,  85,  14},
    {IDC_STATIC,            K::GroupBox,     "Current time in Node", "",                     "", kNoFlags, 155, 10, 135,  60},
    {IDC_STATIC,            K::Static,       "Date",                 "Current time in Node", "", kNoFlags, 165, 28,  28,  10},
    {IDC_SETTIME_NODE_DATE, K::ReadOnlyEdit, "Date",                 "Current time in Node", "", kNoFlags, 195, 26,  85,  14},
    {IDC_STATIC,            K::Static,       "Time",                 "Current time in Node", "", kNoFlags, 165, 48,  28,  10},
    {IDC_SETTIME_NODE_TIME, K::ReadOnlyEdit, "Time",                 "Current time in Node", "", kNoFlags, 195, 46,  85,  14},
    {IDC_SETTIME_SYNC,      K::PushButton,   "Sync",                 "",                     "", kNoFlags, 125, 85,  50,  16},
};

// Import / Export: settings files and the factory settings.
constexpr ControlDecl kImportExport[] = {
//   id                   kind             label               group               row flags          x    y    w    h
    {IDC_STATIC,          K::Static,       "Nodename :",       "",                 "", kNoFlags,      10,  12,  60,  10},
    {IDC_IMPEXP_NODENAME, K::ReadOnlyEdit, "Nodename :",       "",                 "", kNoFlags,      75,  10, 150,  14},
    {IDC_STATIC,          K::GroupBox,     "Factory settings", "",                 "", kNoFlags,      10,  34, 280, 124},
    {IDC_STATIC,          K::Static,       "Filename",         "Factory settings", "", kNoFlags,      20,  52,  50,  10},
    {IDC_IMPEXP_FILENAME, K::Edit,         "Filename",         "Factory settings", "", kNoFlags,      75,  50, 150,  14},
    {IDC_IMPEXP_DEFAULT,  K::PushButton,   "Default",          "Factory settings", "", kNoFlags,      232, 49,  50,  16},
    {IDC_IMPEXP_SAVE,     K::PushButton,   "Save to file",     "Factory settings", "", kInitiallyOff, 20,  74,  80,  16},
    {IDC_IMPEXP_READ,     K::PushButton,   "Read from file",   "Factory settings", "", kNoFlags,      110, 74,  80,  16},
    {IDC_IMPEXP_FACTORY,  K::PushButton,   "Default settings", "Factory settings", "", kNoFlags,      200, 74,  80,  16},
    {IDC_STATIC,          K::Static,       "Password",         "Factory settings", "", kNoFlags,      20,  100, 50,  10},
    {IDC_IMPEXP_PASSWORD, K::PasswordEdit, "Password",         "Factory settings", "", kNoFlags,      75,  98, 100,  14},
    {IDC_STATIC,          K::Static,       "Please note: After setting the software values to factory settings, you must RESTART the plugin.",
                                                               "Factory settings", "", kNoFlags,      20,  122, 260, 24},
};

constexpr PageLayout kLayouts[] = {
    {PageId::Dampers,           IDD_DAMPERS,            "Dampers",             {}},
    {PageId::RunningHours,      IDD_RUNNING_HOURS,      "Running Hours",       {}},
    {PageId::HeatingSurface,    IDD_HEATING_SURFACE,    "Heating surface",     {}},
    {PageId::Temperatures,      IDD_TEMPERATURES,       "Temperatures",        {}},
    {PageId::Calender,          IDD_CALENDER,           "Calender",            {}},
    {PageId::StatusRegulator,   IDD_STATUS_REGULATOR,   "Status - Regulator",  {}},
    {PageId::Alarms,            IDD_ALARMS,             "Alarms",              {}},
    {PageId::ConfigQta12,       IDD_CONFIG_QTA12,       "Configuring QTA1+2",  {}},
    {PageId::ConfigQta3,        IDD_CONFIG_QTA3,        "Configuring QTA3",    {}},
    {PageId::Pid,               IDD_PID,                "PID",                 kPid},
    {PageId::NodeInformation,   IDD_NODEINFO,           "Node Information",    kNodeInformation},
    {PageId::Freecool,          IDD_FREECOOL,           "Freecool",            {}},
    {PageId::Pir,               IDD_PIR,                "PIR",                 {}},
    {PageId::Status,            IDD_STATUS,             "Status",              {}},
    {PageId::SetTime,           IDD_SET_TIME,           "Set Time",            kSetTime},
    {PageId::CalcInjection,     IDD_CALC_INJECTION,     "Calc injection temp", {}},
    {PageId::Exchanger,         IDD_EXCHANGER,          "Exchanger",           {}},
    {PageId::CalcSpace,         IDD_CALC_SPACE,         "Calc. space temp",    {}},
    {PageId::Antifrost,         IDD_ANTIFROST,          "Antifrost",           {}},
    {PageId::ExtendedOperation, IDD_EXTENDED_OPERATION, "Extended operation",  {}},
    {PageId::ExerciseDeicing,   IDD_EXERCISE_DEICING,   "Exercise - Deicing",  {}},
    {PageId::TempStartup,       IDD_TEMP_STARTUP,       "Temp Start-up",       {}},
    {PageId::LowTempInjection,  IDD_LOW_TEMP_INJECTION, "Low temp injection",  {}},
    {PageId::ImportExport,      IDD_IMPORT_EXPORT,      "Import / Export",     kImportExport},
    {PageId::OpenCloseTimer,    IDD_OPEN_CLOSE_TIMER,   "Open/Close Timer",    {}},
    {PageId::ConfigHvac,        IDD_CONFIG_HVAC,        "Config HVAC",         {}},
};
// clang-format on
static_assert(std::size(kLayouts) == kPageCount);

}  // namespace

std::span<const PageLayout> AllLayouts() { return kLayouts; }

const PageLayout& LayoutOf(PageId page) {
    return kLayouts[static_cast<int>(page) - kFirstPageNumber];
}

PageId PageFromNumber(int number) { return static_cast<PageId>(number); }

std::string_view CaptionOf(PageId page) { return LayoutOf(page).caption; }

const ControlDecl* FindControl(PageId page, int id) {
    if (id == IDC_STATIC) return nullptr;
    const auto& controls = LayoutOf(page).controls;
    auto it = std::find_if(controls.begin(), controls.end(),
                           [id](const ControlDecl& c) { return c.id == id; });
    return it != controls.end() ? &*it : nullptr;
}

}  // namespace qta1
