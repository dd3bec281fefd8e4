#include "frame/page.h"
#include "resources/page_ids.h"
#include "resources/resource_ids.h"
#include "resources/strings_regulation.h"

namespace qta1 {

namespace {

constexpr int kRefreshMs = 2000;

// Part 2, in hundredths of a degree; word 11 is also the start-up return
// temperature.
// clang-format off
constexpr Field kFields[] = {
//             control               word  codec
    WordField(IDC_ANTIFROST_START,   8,    Codec::Temperature),
    WordField(IDC_ANTIFROST_STOP,    9,    Codec::Temperature),
    WordField(IDC_ANTIFROST_RETURN,  11,   Codec::Temperature),
};
// clang-format on
constexpr Block kBlocks[] = {
    {.nv = kConfigNv, .part = kTemperaturesPart, .bitReversed = false, .fields = kFields},
};

constexpr Field kOutdoor[] = {WordAt(IDC_ANTIFROST_OUTDOOR, 0, Codec::Temperature)};
// Regulator state byte 0 as stored, mask 0x40: antifrost heats.
constexpr ValueText kHeatingTexts[] = {{1, text::kAntifrostHeating}, {0, text::kAntifrostIdle}};
constexpr TextTable kHeating = {kHeatingTexts};
constexpr Field kStatus[] = {BitTextAt(IDC_ANTIFROST_STATUS, 0, 1, kHeating)};
constexpr LiveRead kLiveReads[] = {
    {kOutdoorTempNv, kNvValueSize, kOutdoor},
    {kRegulatorStateNv, kNvValueSize, kStatus},
};

// "Antifrost enabled when system stopped": part 1 byte 8 bit 0.
constexpr int kAntifrostBoxes[] = {IDC_ANTIFROST_START, IDC_ANTIFROST_STOP, IDC_ANTIFROST_RETURN,
                                   IDC_ANTIFROST_OUTDOOR, IDC_ANTIFROST_STATUS};
constexpr OptionRule kRules[] = {{8, 0, kAntifrostBoxes}};

constexpr PageDef kAntifrostPage = {
    .blocks = kBlocks,
    .optionRules = kRules,
    .liveReads = kLiveReads,
    .refreshMs = kRefreshMs,
    .readButton = IDC_ANTIFROST_READ,
    .writeButton = IDC_ANTIFROST_WRITE,
};

}  // namespace

// Antifrost while the unit is stopped: the outdoor temperatures at which it
// starts and stops heating, the return water it holds, the outdoor
// temperature now and whether it heats; disabled without the option.
QTA1_TABLE_PAGE(20, Antifrost, CPropPage, kAntifrostPage)

}  // namespace qta1
