#include "frame/page.h"
#include "resources/page_ids.h"
#include "resources/resource_ids.h"

namespace qta1 {

namespace {

// Part 8 keeps the loops as Heat, Exchanger, Recirculation, Cooling; the
// screen shows Recirculation before Exchanger. P in tenths, I and D plain.
// clang-format off
constexpr Field kPidFields[] = {
//  control            word  codec
    WordField(IDC_PID_HEAT_P,    0, Codec::Tenths),
    WordField(IDC_PID_HEAT_I,    1, Codec::Word),
    WordField(IDC_PID_HEAT_D,    2, Codec::Word),
    WordField(IDC_PID_EXCH_P,    3, Codec::Tenths),
    WordField(IDC_PID_EXCH_I,    4, Codec::Word),
    WordField(IDC_PID_EXCH_D,    5, Codec::Word),
    WordField(IDC_PID_RECIRC_P,  6, Codec::Tenths),
    WordField(IDC_PID_RECIRC_I,  7, Codec::Word),
    WordField(IDC_PID_RECIRC_D,  8, Codec::Word),
    WordField(IDC_PID_COOL_P,    9, Codec::Tenths),
    WordField(IDC_PID_COOL_I,   10, Codec::Word),
    WordField(IDC_PID_COOL_D,   11, Codec::Word),
};
// clang-format on

constexpr Block kPidBlocks[] = {
    {.nv = kConfigNv, .part = kPidPart, .bitReversed = false, .fields = kPidFields},
};

constexpr int kHeatRow[] = {IDC_PID_HEAT_P, IDC_PID_HEAT_I, IDC_PID_HEAT_D};
constexpr int kRecircRow[] = {IDC_PID_RECIRC_P, IDC_PID_RECIRC_I, IDC_PID_RECIRC_D};
constexpr int kExchRow[] = {IDC_PID_EXCH_P, IDC_PID_EXCH_I, IDC_PID_EXCH_D};
constexpr int kCoolRow[] = {IDC_PID_COOL_P, IDC_PID_COOL_I, IDC_PID_COOL_D};

// Part 1 byte 2: the loops the unit is fitted with.
// clang-format off
constexpr OptionRule kPidRules[] = {
//   byte bit  row
    {2,   0,   kHeatRow},    // heating surface
    {2,   1,   kRecircRow},  // recirculation damper
    {2,   2,   kExchRow},    // heat exchanger
    {2,   3,   kCoolRow},    // cooling surface
};
// clang-format on

constexpr PageDef kPidPage = {
    .blocks = kPidBlocks,
    .optionRules = kPidRules,
    .readButton = IDC_PID_READ,
    .writeButton = IDC_PID_WRITE,
    .passwordBox = IDC_PID_PASSWORD,
};

}  // namespace

// P, I and D of the heating, recirculation, exchanger and cooling loops, in
// part 8 of the configuration NV; rows of loops the unit lacks are disabled.
QTA1_TABLE_PAGE(11, Pid, CPropPage, kPidPage)

}  // namespace qta1
