#include "frame/page.h"
#include "resources/page_ids.h"
#include "resources/resource_ids.h"

namespace qta1 {

namespace {

constexpr int kRefreshMs = 2000;

// "Stop at low temperatures": part 1 byte 4 bit 5.
constexpr Field kStopField[] = {BitField(IDC_LOWTEMP_STOP, 4, 5)};
// Part 2 word 12 in hundredths of a degree, word 13 in tenths of a second
// shown as whole seconds.
// clang-format off
constexpr Field kAlarmFields[] = {
//             control              word  codec
    WordField(IDC_LOWTEMP_OFFSET,   12,   Codec::Temperature),
    WordField(IDC_LOWTEMP_TIME,     13,   Codec::TenthsWhole),
};
// clang-format on
constexpr Block kBlocks[] = {
    {.nv = kConfigNv, .part = kOptionPart, .bitReversed = true, .fields = kStopField},
    {.nv = kConfigNv, .part = kTemperaturesPart, .bitReversed = false, .fields = kAlarmFields},
};

// The alarm's values and temperatures matter only while the unit stops on it.
constexpr int kAlarmBoxes[] = {IDC_LOWTEMP_CALC, IDC_LOWTEMP_OFFSET, IDC_LOWTEMP_ACTUAL,
                               IDC_LOWTEMP_TIME};
constexpr CheckRule kCheckRules[] = {{IDC_LOWTEMP_STOP, kAlarmBoxes}};

constexpr Field kActual[] = {WordAt(IDC_LOWTEMP_ACTUAL, 0, Codec::Temperature)};
constexpr Field kCalc[] = {WordAt(IDC_LOWTEMP_CALC, 0, Codec::Temperature)};
constexpr LiveRead kLiveReads[] = {
    {kInjectionTempNv, kNvValueSize, kActual},
    {kCalcInjectionSetpointNv, kNvValueSize, kCalc},
};

// The unit's option bits play no part here.
constexpr PageDef kLowTempInjectionPage = {
    .blocks = kBlocks,
    .liveReads = kLiveReads,
    .refreshMs = kRefreshMs,
    .readButton = IDC_LOWTEMP_READ,
    .writeButton = IDC_LOWTEMP_WRITE,
    .checkRules = kCheckRules,
};

}  // namespace

// The low-temperature alarm on the supply air sensor Bs1: whether the unit
// stops, how far below the calculated supply temperature the alarm lies and
// how long it must last, with both supply temperatures.
QTA1_TABLE_PAGE(24, LowTempInjection, CPropPage, kLowTempInjectionPage)

}  // namespace qta1
