#include "resources/factory_lines.h"

namespace qta1 {

namespace {

constexpr const char* kZeroRecord = "0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0";

// clang-format off
constexpr FactoryLine kFactoryLines[] = {
//   NV                     part line
    {kSwitchOverrideNv,      0,  "255"},
    {kDayExtensionNv,        0,  "0, 0, 0, 0"},
    {kNightExtensionNv,      0,  "0, 0, 0, 0"},
    {kRoomSetpointsNv,       0,  "0.0, 25.00, 0.0, 0.0, 19.00, 0.0"},
    {kMinNightCoolNv,        0,  "15.00"},
    {kMaxOutNightNv,         0,  "20.00"},
    {kInjectionSetpointsNv,  0,  "0, 1500, 2100, 2500, 1700, 0, 4000, 0, 1500, 1900, 2300, 1000, 2300, 2100, 2300, 0"},
    {kFreecoolPirCalendarNv, 0,  kZeroRecord},
    {kStartStopNv,           0,  kZeroRecord},
    {kConfigNv,              1,  "1, 21, 49, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2"},
    {kConfigNv,              2,  "2, 0, 0, 0, 0, 0, 0, 0, 1700, 400, 800, 1000, 2000, 800, 3000, 0"},
    {kConfigNv,              3,  "3, 0, 250, 0, 0, 50, 50, 0, 2000, 0, 0, 0, 0, 0, 0, 0"},
    {kConfigNv,              4,  "4, 50, 50, 30, 0, 0, 0, 0, 0, 0, 0, 0, 0, 10, 60, 5"},
    {kConfigNv,              5,  "5, 2000, 18000, 0, 0, 0, 2000, 15000, 4000, 3000, 0, 0, 0, 10, 120, 5"},
    {kConfigNv,              6,  "6, 5, 10, 5, 168, 168, 168, 168, 168, 168, 0, 0, 0, 0, 0, 0"},
    {kConfigNv,              7,  "7, 1000, 1800, 2100, 2000, 0, 0, 0, 0, 0, 0, 0, 0, 10, 60, 5"},
    {kConfigNv,              8,  "8, 10, 60, 5, 10, 60, 5, 10, 60, 5, 10, 60, 5, 10, 60, 5"},
    {kConfigNv,              9,  "9, 150, 150, 150, 150, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0"},
    {kConfigNv,              10, "10, 64622, 64638, 63550, 59528, 37890, 55302, 0, 0, 0, 0, 0, 0, 0, 0, 0"},
    {kConfigNv,              11, "11, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0"},
    {kConfigNv,              12, "12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0"},
};
// clang-format on

}  // namespace

std::span<const FactoryLine> FactoryLines() { return kFactoryLines; }

}  // namespace qta1
