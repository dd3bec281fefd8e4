#include "frame/page.h"
#include "resources/page_ids.h"
#include "resources/resource_ids.h"

namespace qta1 {

namespace {

// Part 9 words 0 to 3, whole seconds.
// clang-format off
constexpr Field kTravelTimes[] = {
//  control                             word  codec
    WordField(IDC_OPENCLOSE_HEAT_VALVE,     0, Codec::Word),
    WordField(IDC_OPENCLOSE_EXCHANGER,      1, Codec::Word),
    WordField(IDC_OPENCLOSE_DAMPER_INTAKE,  2, Codec::Word),
    WordField(IDC_OPENCLOSE_DAMPER_EXHAUST, 3, Codec::Word),
};
// clang-format on

constexpr Block kBlocks[] = {
    {.nv = kConfigNv, .part = kTravelTimesPart, .bitReversed = false, .fields = kTravelTimes},
};

constexpr int kHeatValve[] = {IDC_OPENCLOSE_HEAT_VALVE};
constexpr int kExchanger[] = {IDC_OPENCLOSE_EXCHANGER};

// Part 1 byte 2: the actuators the unit is fitted with. A disabled box's
// text is still written.
// clang-format off
constexpr OptionRule kRules[] = {
//   byte bit  box
    {2,   0,   kHeatValve},  // heating surface
    {2,   2,   kExchanger},  // heat exchanger
};
// clang-format on

constexpr PageDef kOpenCloseTimerPage = {
    .blocks = kBlocks,
    .optionRules = kRules,
    .readButton = IDC_OPENCLOSE_READ,
    .writeButton = IDC_OPENCLOSE_WRITE,
};

}  // namespace

// How many seconds each actuator takes from minimum to maximum opening
// (part 9); the heat-valve and exchanger boxes only on units that have them.
QTA1_TABLE_PAGE(26, OpenCloseTimer, CPropPage, kOpenCloseTimerPage)

}  // namespace qta1
