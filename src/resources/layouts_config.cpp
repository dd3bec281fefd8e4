// Layouts of the unit configuration pages.
#include "resources/page_layouts.h"

namespace qta1 {

namespace {

using K = ControlKind;

// clang-format off
// Configuring QTA1+2: the equipment and functions of the QTA1 and QTA1+2
// variants. The type buttons and "Deicing enabled" start disabled: only the
// "Exchanger" box enables them. "Morning heating" exists but is never shown.
constexpr ControlDecl kConfigQta12[] = {
//   id                         kind             label                                    group        row flags                        x    y    w    h
    {IDC_STATIC,                K::GroupBox,     "Exchanger",                             "",          "", kNoFlags,                    10,   4, 280,  62},
    {IDC_QTA12_EXCHANGER,       K::CheckBox,     "Exchanger",                             "Exchanger", "", kNoFlags,                    20,  16, 120,  10},
    {IDC_QTA12_BYPASS,          K::RadioButton,  "Bypass ",                               "Exchanger", "", kStartsGroup | kInitiallyOff, 32, 32,  70,  10},
    {IDC_QTA12_ROTATING,        K::RadioButton,  "Rotating ",                             "Exchanger", "", kInitiallyOff,              107,  32,  70,  10},
    {IDC_QTA12_BATTERY,         K::RadioButton,  "Battery ",                              "Exchanger", "", kInitiallyOff,              182,  32,  70,  10},
    {IDC_QTA12_DEICING,         K::CheckBox,     "Deicing enabled",                       "Exchanger", "", kInitiallyOff,               32,  48, 150,  10},
    {IDC_QTA12_HEATING_SURFACE, K::CheckBox,     "Heating surface",                       "",          "", kNoFlags,                    20,  74, 150,  10},
    {IDC_QTA12_ANTIFROST,       K::CheckBox,     "Antifrost enabled when system stopped", "",          "", kNoFlags,                    32,  86, 180,  10},
    {IDC_QTA12_NO_UPWARMING,    K::CheckBox,     "Not upwarming heating surface",         "",          "", kNoFlags,                    32,  98, 180,  10},
    {IDC_QTA12_SUMMER_STOP,     K::CheckBox,     "Summer Stop",                           "",          "", kNoFlags,                    32, 110, 180,  10},
    {IDC_QTA12_MORNING_HEATING, K::CheckBox,     "Morning heating",                       "",          "", kHidden,                    218,  74,  72,  10},
    {IDC_QTA12_NIGHT_LOWERING,  K::CheckBox,     "Night lowering",                        "",          "", kNoFlags,                    20, 126, 150,  10},
    {IDC_QTA12_REPLACE_AIR,     K::CheckBox,     "Replace air",                           "",          "", kNoFlags,                    32, 138, 150,  10},
    {IDC_QTA12_FREECOOLING,     K::CheckBox,     "Freecooling",                           "",          "", kNoFlags,                    20, 154, 150,  10},
    {IDC_QTA12_OUTDOOR_SENSOR,  K::CheckBox,     "Temperature sensor outdoor (Bs3)",      "",          "", kNoFlags,                    20, 166, 150,  10},
    {IDC_STATIC,                K::Static,       "Password",                              "",          "", kNoFlags,                   190, 142,  40,  10},
    {IDC_QTA12_PASSWORD,        K::PasswordEdit, "Password",                              "",          "", kNoFlags,                   190, 154,  90,  14},
    {IDC_QTA12_WRITE,           K::PushButton,   "Write",                                 "",          "", kNoFlags,                   230, 176,  50,  16},
};

// Configuring QTA3: the cooling equipment of the QTA3 variant. "Cool down"
// exists, indented under "Cooling surface", but is never shown.
constexpr ControlDecl kConfigQta3[] = {
//   id                          kind             label                     group row flags     x    y    w    h
    {IDC_QTA3_RECIRCULATION,     K::CheckBox,     "Recirculation",          "", "", kNoFlags, 20,  16, 150, 10},
    {IDC_QTA3_COOLING_SURFACE,   K::CheckBox,     "Cooling surface",        "", "", kNoFlags, 20,  32, 150, 10},
    {IDC_QTA3_COOL_DOWN,         K::CheckBox,     "Cool down",              "", "", kHidden,  32,  44, 150, 10},
    {IDC_QTA3_COOLING_EXCHANGER, K::CheckBox,     "Cooling with exchanger", "", "", kNoFlags, 20,  60, 150, 10},
    {IDC_STATIC,                 K::Static,       "Password",               "", "", kNoFlags, 20,  92,  50, 10},
    {IDC_QTA3_PASSWORD,          K::PasswordEdit, "Password",               "", "", kNoFlags, 75,  90, 100, 14},
    {IDC_QTA3_WRITE,             K::PushButton,   "Write",                  "", "", kNoFlags, 75, 114,  50, 16},
};

// Config HVAC: for each unit function (a column) the HVAC modes (rows) in
// which it may run. The boxes carry no visible text: each is only as wide as
// its square, and its label (the column) names it for tests and screen
// readers; the column captions are centred over them. The 15 combinations the unit does not offer are disabled for good.
#define HVAC_ROW_LABEL(label, r) \
    {IDC_STATIC, K::Static, label, "", "", kNoFlags, 10, 26 + 16 * (r), 90, 10}
#define HVAC_BOX(r, c, column, row, flags) \
    {IDC_HVAC_BOX(r, c), K::CheckBox, column, column, row, flags, 122 + 46 * (c), 26 + 16 * (r), 9, 10}
#define HVAC_ROW(r, row, ind, ud, genv, varme)                                     \
    HVAC_ROW_LABEL(row, r), HVAC_BOX(r, 0, "Ind", row, ind),                       \
    HVAC_BOX(r, 1, "Ud", row, ud), HVAC_BOX(r, 2, "Genv", row, genv),             \
    HVAC_BOX(r, 3, "Varme", row, varme)
constexpr uint8_t kLive = kNoFlags;
constexpr uint8_t kOff = kInitiallyOff;

constexpr ControlDecl kConfigHvac[] = {
    {IDC_STATIC, K::GroupBox, "Ind",   "", "", kAlignCenter, 108, 8, 40, 130},
    {IDC_STATIC, K::GroupBox, "Ud",    "", "", kAlignCenter, 154, 8, 40, 130},
    {IDC_STATIC, K::GroupBox, "Genv",  "", "", kAlignCenter, 200, 8, 40, 130},
    {IDC_STATIC, K::GroupBox, "Varme", "", "", kAlignCenter, 246, 8, 40, 130},
//           row  label               Ind    Ud     Genv   Varme
    HVAC_ROW(0, "HVAC_HEAT",          kOff,  kOff,  kLive, kOff),
    HVAC_ROW(1, "HVAC_MRNG_WRMUP",    kOff,  kLive, kLive, kLive),
    HVAC_ROW(2, "HVAC_COOL",          kOff,  kOff,  kLive, kOff),
    HVAC_ROW(3, "HVAC_NIGHT_PURGE",   kOff,  kLive, kLive, kLive),
    HVAC_ROW(4, "HVAC_PRE_COOL",      kOff,  kLive, kOff,  kOff),
    HVAC_ROW(5, "HVAC_FAN_ONLY",      kLive, kLive, kOff,  kOff),
    HVAC_ROW(6, "HVAC_FREE_COOL",     kOff,  kLive, kLive, kOff),
    {IDC_STATIC,        K::Static,       "Password", "", "", kNoFlags, 10,  150, 50, 10},
    {IDC_HVAC_PASSWORD, K::PasswordEdit, "Password", "", "", kNoFlags, 62,  148, 90, 14},
    {IDC_HVAC_READ,     K::PushButton,   "Read",     "", "", kNoFlags, 176, 172, 50, 16},
    {IDC_HVAC_WRITE,    K::PushButton,   "Write",    "", "", kNoFlags, 236, 172, 50, 16},
};
#undef HVAC_ROW_LABEL
#undef HVAC_BOX
#undef HVAC_ROW

// Dampers: per damper its mode, manual position and live position (status),
// and its signal range and inversion (settings); the minimum fresh air below.
#define DAMPER(x, side, status, settings)                                                                     \
    {IDC_STATIC,                    K::GroupBox,     status,   "",       "", kNoFlags,     x,      4,  140, 88}, \
    {IDC_DAMPERS_##side##_OFF,      K::RadioButton,  "Off",       status,   "", kStartsGroup, x + 8,  16, 60, 10}, \
    {IDC_DAMPERS_##side##_MANUAL,   K::RadioButton,  "Manual",    status,   "", kNoFlags,     x + 8,  28, 60, 10}, \
    {IDC_DAMPERS_##side##_AUTO,     K::RadioButton,  "Automatic", status,   "", kNoFlags,     x + 8,  40, 60, 10}, \
    {IDC_STATIC,                    K::Static,       "In",        status,   "", kNoFlags,     x + 8,  58, 22, 10}, \
    {IDC_DAMPERS_##side##_IN,       K::Edit,         "In",        status,   "", kNoFlags,     x + 32, 56, 40, 14}, \
    {IDC_STATIC,                    K::Static,       "%",         status,   "", kNoFlags,     x + 76, 58, 10, 10}, \
    {IDC_STATIC,                    K::Static,       "Out",       status,   "", kNoFlags,     x + 8,  76, 22, 10}, \
    {IDC_DAMPERS_##side##_OUT,      K::ReadOnlyEdit, "Out",       status,   "", kNoFlags,     x + 32, 74, 40, 14}, \
    {IDC_STATIC,                    K::Static,       "%",         status,   "", kNoFlags,     x + 76, 76, 10, 10}, \
    {IDC_STATIC,                    K::GroupBox,     settings, "",       "", kNoFlags,     x,      96, 140, 46}, \
    {IDC_DAMPERS_##side##_0_10,     K::RadioButton,  "0-10",      settings, "", kStartsGroup, x + 8,  108, 40, 10}, \
    {IDC_DAMPERS_##side##_2_10,     K::RadioButton,  "2-10",      settings, "", kNoFlags,     x + 56, 108, 40, 10}, \
    {IDC_DAMPERS_##side##_INVERT,   K::CheckBox,     "Invert",    settings, "", kNoFlags,     x + 8,  124, 60, 10}

constexpr ControlDecl kDampers[] = {
    DAMPER(6,   INJ, "Status injection (Md1)", "Settings injection (Md1)"),
    DAMPER(154, EXH, "Status exhaust (Md2)",   "Settings exhaust (Md2)"),
    {IDC_STATIC,                K::Static,     "Min. fresh air", "", "", kNoFlags, 10,  154, 60, 10},
    {IDC_DAMPERS_MIN_FRESH_AIR, K::Edit,       "Min. fresh air", "", "", kNoFlags, 72,  152, 40, 14},
    {IDC_STATIC,                K::Static,     "%",              "", "", kNoFlags, 116, 154, 10, 10},
    {IDC_DAMPERS_READ,          K::PushButton, "Read",           "", "", kNoFlags, 176, 176, 50, 16},
    {IDC_DAMPERS_WRITE,         K::PushButton, "Write",          "", "", kNoFlags, 236, 176, 50, 16},
};
#undef DAMPER
// clang-format on

}  // namespace

std::span<const ControlDecl> ConfigQta12Controls() { return kConfigQta12; }
std::span<const ControlDecl> ConfigQta3Controls() { return kConfigQta3; }
std::span<const ControlDecl> ConfigHvacControls() { return kConfigHvac; }
std::span<const ControlDecl> DampersControls() { return kDampers; }

}  // namespace qta1
