// Layouts of the unit configuration pages.
#include "resources/page_layouts.h"

namespace qta1 {

namespace {

using K = ControlKind;

// clang-format off
// clang-format on

}  // namespace


// Pages whose layouts are not declared yet show an empty page.
std::span<const ControlDecl> ConfigQta12Controls() { return {}; }
std::span<const ControlDecl> ConfigQta3Controls() { return {}; }
std::span<const ControlDecl> ConfigHvacControls() { return {}; }
std::span<const ControlDecl> DampersControls() { return {}; }

}  // namespace qta1
