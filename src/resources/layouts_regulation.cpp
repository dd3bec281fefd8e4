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
// clang-format on

}  // namespace

std::span<const ControlDecl> PidControls() { return kPid; }

// Pages whose layouts are not declared yet show an empty page.
std::span<const ControlDecl> TemperaturesControls() { return {}; }
std::span<const ControlDecl> CalcInjectionControls() { return {}; }
std::span<const ControlDecl> CalcSpaceControls() { return {}; }
std::span<const ControlDecl> HeatingSurfaceControls() { return {}; }
std::span<const ControlDecl> ExchangerControls() { return {}; }
std::span<const ControlDecl> AntifrostControls() { return {}; }
std::span<const ControlDecl> ExerciseDeicingControls() { return {}; }
std::span<const ControlDecl> TempStartupControls() { return {}; }
std::span<const ControlDecl> LowTempInjectionControls() { return {}; }

}  // namespace qta1
