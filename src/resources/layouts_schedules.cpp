// Layouts of the schedule pages.
#include "resources/page_layouts.h"

namespace qta1 {

namespace {

using K = ControlKind;

// clang-format off
// clang-format on

}  // namespace


// Pages whose layouts are not declared yet show an empty page.
std::span<const ControlDecl> CalenderControls() { return {}; }
std::span<const ControlDecl> FreecoolControls() { return {}; }
std::span<const ControlDecl> PirControls() { return {}; }
std::span<const ControlDecl> ExtendedOperationControls() { return {}; }
std::span<const ControlDecl> OpenCloseTimerControls() { return {}; }

}  // namespace qta1
