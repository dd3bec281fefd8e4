// Layouts of the status and alarm pages.
#include "resources/page_layouts.h"

namespace qta1 {

namespace {

using K = ControlKind;

// clang-format off
// clang-format on

}  // namespace


// Pages whose layouts are not declared yet show an empty page.
std::span<const ControlDecl> StatusControls() { return {}; }
std::span<const ControlDecl> StatusRegulatorControls() { return {}; }
std::span<const ControlDecl> AlarmsControls() { return {}; }
std::span<const ControlDecl> RunningHoursControls() { return {}; }

}  // namespace qta1
