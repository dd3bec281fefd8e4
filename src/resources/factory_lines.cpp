#include "resources/factory_lines.h"

namespace qta1 {

namespace {

constexpr const char* kZeroRecord = "0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0";

// clang-format off
constexpr FactoryLine kFactoryLines[] = {
//  NV  part kind                line
    {17, 0,  LineKind::Count,    "255"},
    {24, 0,  LineKind::Time,     "0, 0, 0, 0"},
    {26, 0,  LineKind::Time,     "0, 0, 0, 0"},
    {32, 0,  LineKind::Setpoint, "0.0, 25.00, 0.0, 0.0, 19.00, 0.0"},
    {28, 0,  LineKind::Temp,     "15.00"},
    {34, 0,  LineKind::Temp,     "20.00"},
    {50, 0,  LineKind::Record,   "0, 1500, 2100, 2500, 1700, 0, 4000, 0, 1500, 1900, 2300, 1000, 2300, 2100, 2300, 0"},
    {7,  0,  LineKind::Record,   kZeroRecord},
    {8,  0,  LineKind::Record,   kZeroRecord},
    {56, 1,  LineKind::Record,   "1, 21, 49, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2"},
    {56, 2,  LineKind::Record,   "2, 0, 0, 0, 0, 0, 0, 0, 1700, 400, 800, 1000, 2000, 800, 3000, 0"},
    {56, 3,  LineKind::Record,   "3, 0, 250, 0, 0, 50, 50, 0, 2000, 0, 0, 0, 0, 0, 0, 0"},
    {56, 4,  LineKind::Record,   "4, 50, 50, 30, 0, 0, 0, 0, 0, 0, 0, 0, 0, 10, 60, 5"},
    {56, 5,  LineKind::Record,   "5, 2000, 18000, 0, 0, 0, 2000, 15000, 4000, 3000, 0, 0, 0, 10, 120, 5"},
    // 17 numbers: the last field is the rest of the line, "0, 0", read as 0.
    {56, 6,  LineKind::Record,   "6, 5, 10, 5, 168, 168, 168, 168, 168, 168, 0, 0, 0, 0, 0, 0"},
    {56, 7,  LineKind::Record,   "7, 1000, 1800, 2100, 2000, 0, 0, 0, 0, 0, 0, 0, 0, 10, 60, 5"},
    {56, 8,  LineKind::Record,   "8, 10, 60, 5, 10, 60, 5, 10, 60, 5, 10, 60, 5, 10, 60, 5"},
    {56, 9,  LineKind::Record,   "9, 150, 150, 150, 150, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0"},
    {56, 10, LineKind::Record,   "10, 64622, 64638, 63550, 59528, 37890, 55302, 0, 0, 0, 0, 0, 0, 0, 0, 0"},
    {56, 11, LineKind::Record,   "11, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0"},
    {56, 12, LineKind::Record,   "12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0"},
};
// clang-format on

}  // namespace

std::span<const FactoryLine> FactoryLines() { return kFactoryLines; }

}  // namespace qta1
