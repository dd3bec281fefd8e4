#include <algorithm>

#include "resources/layout.h"
#include "resources/page_layouts.h"

namespace qta1 {

namespace {

// Every page: its dialog, its tab caption and its controls, in the order of
// the page classes.
std::span<const PageLayout> Table() {
    // clang-format off
    static const PageLayout kLayouts[] = {
        {PageId::Dampers,           IDD_DAMPERS,            "Dampers",             DampersControls()},
        {PageId::RunningHours,      IDD_RUNNING_HOURS,      "Running Hours",       RunningHoursControls()},
        {PageId::HeatingSurface,    IDD_HEATING_SURFACE,    "Heating surface",     HeatingSurfaceControls()},
        {PageId::Temperatures,      IDD_TEMPERATURES,       "Temperatures",        TemperaturesControls()},
        {PageId::Calender,          IDD_CALENDER,           "Calender",            CalenderControls()},
        {PageId::StatusRegulator,   IDD_STATUS_REGULATOR,   "Status - Regulator",  StatusRegulatorControls()},
        {PageId::Alarms,            IDD_ALARMS,             "Alarms",              AlarmsControls()},
        {PageId::ConfigQta12,       IDD_CONFIG_QTA12,       "Configuring QTA1+2",  ConfigQta12Controls()},
        {PageId::ConfigQta3,        IDD_CONFIG_QTA3,        "Configuring QTA3",    ConfigQta3Controls()},
        {PageId::Pid,               IDD_PID,                "PID",                 PidControls()},
        {PageId::NodeInformation,   IDD_NODEINFO,           "Node Information",    NodeInformationControls()},
        {PageId::Freecool,          IDD_FREECOOL,           "Freecool",            FreecoolControls()},
        {PageId::Pir,               IDD_PIR,                "PIR",                 PirControls()},
        {PageId::Status,            IDD_STATUS,             "Status",              StatusControls()},
        {PageId::SetTime,           IDD_SET_TIME,           "Set Time",            SetTimeControls()},
        {PageId::CalcInjection,     IDD_CALC_INJECTION,     "Calc injection temp", CalcInjectionControls()},
        {PageId::Exchanger,         IDD_EXCHANGER,          "Exchanger",           ExchangerControls()},
        {PageId::CalcSpace,         IDD_CALC_SPACE,         "Calc. space temp",    CalcSpaceControls()},
        {PageId::Antifrost,         IDD_ANTIFROST,          "Antifrost",           AntifrostControls()},
        {PageId::ExtendedOperation, IDD_EXTENDED_OPERATION, "Extended operation",  ExtendedOperationControls()},
        {PageId::ExerciseDeicing,   IDD_EXERCISE_DEICING,   "Exercise - Deicing",  ExerciseDeicingControls()},
        {PageId::TempStartup,       IDD_TEMP_STARTUP,       "Temp Start-up",       TempStartupControls()},
        {PageId::LowTempInjection,  IDD_LOW_TEMP_INJECTION, "Low temp injection",  LowTempInjectionControls()},
        {PageId::ImportExport,      IDD_IMPORT_EXPORT,      "Import / Export",     ImportExportControls()},
        {PageId::OpenCloseTimer,    IDD_OPEN_CLOSE_TIMER,   "Open/Close Timer",    OpenCloseTimerControls()},
        {PageId::ConfigHvac,        IDD_CONFIG_HVAC,        "Config HVAC",         ConfigHvacControls()},
    };
    // clang-format on
    static_assert(std::size(kLayouts) == kPageCount);
    return kLayouts;
}

}  // namespace

std::span<const PageLayout> AllLayouts() { return Table(); }

const PageLayout& LayoutOf(PageId page) {
    return Table()[static_cast<size_t>(static_cast<int>(page) - kFirstPageNumber)];
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
