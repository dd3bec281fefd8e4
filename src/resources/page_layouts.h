// The controls of each page, one function per page, grouped by subsystem in
// layouts_<subsystem>.cpp. The table of pages in layouts.cpp names them.
#pragma once

#include <span>

#include "resources/layout.h"

namespace qta1 {

// Housekeeping.
std::span<const ControlDecl> NodeInformationControls();
std::span<const ControlDecl> SetTimeControls();
std::span<const ControlDecl> ImportExportControls();

// Schedules.
std::span<const ControlDecl> CalenderControls();
std::span<const ControlDecl> FreecoolControls();
std::span<const ControlDecl> PirControls();
std::span<const ControlDecl> ExtendedOperationControls();
std::span<const ControlDecl> OpenCloseTimerControls();

// Status and alarms.
std::span<const ControlDecl> StatusControls();
std::span<const ControlDecl> StatusRegulatorControls();
std::span<const ControlDecl> AlarmsControls();
std::span<const ControlDecl> RunningHoursControls();

// Unit configuration.
std::span<const ControlDecl> ConfigQta12Controls();
std::span<const ControlDecl> ConfigQta3Controls();
std::span<const ControlDecl> ConfigHvacControls();
std::span<const ControlDecl> DampersControls();

// Regulation.
std::span<const ControlDecl> TemperaturesControls();
std::span<const ControlDecl> CalcInjectionControls();
std::span<const ControlDecl> CalcSpaceControls();
std::span<const ControlDecl> PidControls();
std::span<const ControlDecl> HeatingSurfaceControls();
std::span<const ControlDecl> ExchangerControls();
std::span<const ControlDecl> AntifrostControls();
std::span<const ControlDecl> ExerciseDeicingControls();
std::span<const ControlDecl> TempStartupControls();
std::span<const ControlDecl> LowTempInjectionControls();

}  // namespace qta1
