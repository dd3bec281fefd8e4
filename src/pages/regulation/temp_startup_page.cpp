#include "frame/codec.h"
#include "frame/page.h"
#include "resources/page_ids.h"
#include "resources/resource_ids.h"
#include "resources/strings_regulation.h"

namespace qta1 {

// How the unit starts in cold weather: the outdoor temperature below which
// the heating surface is warmed first and the return water it is warmed to,
// the outdoor break points of heating and recirculation during start-up,
// and the outdoor temperature and start-up mode now.
class CPage23PropPage final : public CPropPage {
public:
    explicit CPage23PropPage(CSheet& sheet);

protected:
    void ApplyOptionRules(const uint8_t* reversedPart1) override;
};

namespace {

constexpr int kRefreshMs = 2000;

// Part 2 words 10 and 11 (word 11 is also the antifrost return temperature)
// and part 7 words 0 to 2, all in hundredths of a degree.
// clang-format off
constexpr Field kUpwarmingFields[] = {
//             control                 word  codec
    WordField(IDC_STARTUP_OUTDOOR,     10,   Codec::Temperature),
    WordField(IDC_STARTUP_RETURN,      11,   Codec::Temperature),
};
constexpr Field kBreakPointFields[] = {
    WordField(IDC_STARTUP_50_HEAT,     0,    Codec::Temperature),
    WordField(IDC_STARTUP_0_HEAT,      1,    Codec::Temperature),
    WordField(IDC_STARTUP_0_RECYCLE,   2,    Codec::Temperature),
};
// clang-format on

// Part 7 is selected without asking the node, on Read and on Write alike.
constexpr Block kBlocks[] = {
    {.nv = kConfigNv, .part = kTemperaturesPart, .bitReversed = false, .fields = kUpwarmingFields},
    {.nv = kConfigNv,
     .part = kBreakPointsPart,
     .bitReversed = false,
     .fields = kBreakPointFields,
     .selectorAlways = true,
     .readSelectorAlways = true},
};

constexpr Field kOutdoor[] = {WordAt(IDC_STARTUP_ACTUAL_OUTDOOR, 0, Codec::Temperature)};
// Regulator state byte 0 as stored, mask 0x20: the unit is in its low-temperature start-up.
constexpr ValueText kModeTexts[] = {{1, text::kStartupLowTemp}, {0, text::kStartupHighTemp}};
constexpr TextTable kMode = {kModeTexts};
constexpr Field kStatus[] = {BitTextAt(IDC_STARTUP_STATUS, 0, 2, kMode)};
constexpr LiveRead kLiveReads[] = {
    {kOutdoorTempNv, kNvValueSize, kOutdoor},
    {kRegulatorStateNv, kNvValueSize, kStatus},
};

// Part 1 byte 2: heating surface (bit 0), recirculation damper (bit 1),
// heat exchanger (bit 2); byte 4 bit 3: "Not upwarming heating surface".
constexpr int kEquipmentByte = 2;
constexpr int kUpwarmingBoxes[] = {IDC_STARTUP_OUTDOOR, IDC_STARTUP_RETURN,
                                   IDC_STARTUP_ACTUAL_OUTDOOR, IDC_STARTUP_STATUS};
constexpr int kHeatBox[] = {IDC_STARTUP_50_HEAT};
constexpr int kRecycleBox[] = {IDC_STARTUP_0_RECYCLE};
// clang-format off
constexpr OptionRule kRules[] = {
//   byte            bit  boxes            enable when set  or bit
    {4,              3,   kUpwarmingBoxes, false},
    {kEquipmentByte, 0,   kHeatBox,        true},
    {kEquipmentByte, 1,   kRecycleBox,     true,            2},
};
// clang-format on

constexpr PageDef kTempStartupPage = {
    .blocks = kBlocks,
    .optionRules = kRules,
    .liveReads = kLiveReads,
    .refreshMs = kRefreshMs,
    .readButton = IDC_STARTUP_READ,
    .writeButton = IDC_STARTUP_WRITE,
};

}  // namespace

CPage23PropPage::CPage23PropPage(CSheet& sheet)
    : CPropPage(PageId::TempStartup, sheet, kTempStartupPage) {}

std::unique_ptr<CPropPage> MakeTempStartupPage(CSheet& sheet) {
    return std::make_unique<CPage23PropPage>(sheet);
}

// "0% heat / 100% recycle" matters to a unit with any of heating surface,
// recirculation damper or exchanger.
void CPage23PropPage::ApplyOptionRules(const uint8_t* reversedPart1) {
    CPropPage::ApplyOptionRules(reversedPart1);
    const uint8_t equipment = reversedPart1[kEquipmentByte];
    Enable(IDC_STARTUP_0_HEAT,
           TestBit(equipment, 0) != 0 || TestBit(equipment, 1) != 0 || TestBit(equipment, 2) != 0);
}

}  // namespace qta1
