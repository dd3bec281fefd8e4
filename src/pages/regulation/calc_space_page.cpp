#include "frame/page.h"
#include "resources/page_ids.h"
#include "resources/resource_ids.h"

namespace qta1 {

namespace {

constexpr int kRefreshMs = 2000;

// The injection set-point NV, words 10 to 13, in hundredths of a degree; the words before
// them belong to the injection set-point.
// clang-format off
constexpr Field kPointFields[] = {
//             control                         word  codec
    WordField(IDC_CALCSPACE_WINTER_OUTDOOR,   10,   Codec::Temperature),
    WordField(IDC_CALCSPACE_SUMMER_OUTDOOR,   11,   Codec::Temperature),
    WordField(IDC_CALCSPACE_WINTER_SETPOINT,  12,   Codec::Temperature),
    WordField(IDC_CALCSPACE_SUMMER_SETPOINT,  13,   Codec::Temperature),
};
// clang-format on
constexpr Field kCalculatedField[] = {BitField(IDC_CALCSPACE_CALC_SETPOINT, 4, 4)};

constexpr Block kBlocks[] = {
    {.nv = kInjectionSetpointsNv, .part = 0, .bitReversed = false, .fields = kPointFields},
    {.nv = kConfigNv, .part = kOptionPart, .bitReversed = true, .fields = kCalculatedField},
};

// The points and what the calculation gives matter only while it is on.
constexpr int kCalculationBoxes[] = {
    IDC_CALCSPACE_WINTER_OUTDOOR,  IDC_CALCSPACE_WINTER_SETPOINT, IDC_CALCSPACE_SUMMER_OUTDOOR,
    IDC_CALCSPACE_SUMMER_SETPOINT, IDC_CALCSPACE_OUTDOOR_TEMP,    IDC_CALCSPACE_CALC,
};
constexpr CheckRule kCheckRules[] = {{IDC_CALCSPACE_CALC_SETPOINT, kCalculationBoxes}};

constexpr Field kCalcSetpoint[] = {WordAt(IDC_CALCSPACE_CALC, 0, Codec::Temperature)};
constexpr Field kOutdoor[] = {WordAt(IDC_CALCSPACE_OUTDOOR_TEMP, 0, Codec::Temperature)};
constexpr LiveRead kLiveReads[] = {
    {kCalcSpaceSetpointNv, kNvValueSize, kCalcSetpoint},
    {kOutdoorTempNv, kNvValueSize, kOutdoor},
};

constexpr PageDef kCalcSpacePage = {
    .blocks = kBlocks,
    .liveReads = kLiveReads,
    .refreshMs = kRefreshMs,
    .readButton = IDC_CALCSPACE_READ,
    .writeButton = IDC_CALCSPACE_WRITE,
    .checkRules = kCheckRules,
};

}  // namespace

// The winter and summer points from which the unit calculates its space
// set-point out of the outdoor temperature, the switch for that
// calculation, and the outdoor temperature and the set-point it gives now.
QTA1_TABLE_PAGE(19, CalcSpace, CPropPage, kCalcSpacePage)

}  // namespace qta1
