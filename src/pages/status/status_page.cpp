#include "frame/codec.h"
#include "frame/page.h"
#include "resources/page_ids.h"
#include "resources/resource_ids.h"
#include "resources/strings_status.h"

namespace qta1 {

// The rotary switch, the unit mode and the override of the switch from the
// PC, refreshed every second. With the switch at "Off" the override
// cannot be changed, unless the override itself is "Off".
class CPage15PropPage final : public CPropPage {
public:
    explicit CPage15PropPage(CSheet& sheet);

    void RefreshLiveValues() override;
};

namespace {

constexpr int kSwitchOff = 4;
constexpr int kStatusRefreshMs = 1000;

// clang-format off
constexpr ValueText kSwitchTexts[] = {
    {1, text::kSwitchVentilation}, {2, text::kSwitchNight},    {3, text::kSwitchDay},
    {4, text::kSwitchOff},         {5, text::kSwitchExternal}, {6, text::kSwitchCalender},
    {7, text::kSwitchResetAlarm},  {9, text::kSwitchAlarmStop},
};
constexpr TextTable kSwitch = {kSwitchTexts, text::kUnknownValue};

constexpr ValueText kUnitModeTexts[] = {
    {0, text::kHvacAuto},         {1, text::kHvacHeat},           {2, text::kHvacMorningWarmup},
    {3, text::kHvacCool},         {4, text::kHvacNightPurge},     {5, text::kHvacPreCool},
    {6, text::kHvacOff},          {7, text::kHvacTest},           {8, text::kHvacEmergencyHeat},
    {9, text::kHvacFanOnly},      {10, text::kHvacFreeCool},      {11, text::kHvacIce},
    {12, text::kHvacMaxHeat},     {13, text::kHvacEconomy},       {14, text::kHvacDehumidify},
};
constexpr TextTable kUnitMode = {kUnitModeTexts, text::kUnknownValue};

// The override word; any value without a button of its own means
// the switch on the unit decides.
constexpr RadioChoice kOverrideChoices[] = {
//   button                    value
    {IDC_STATUS_VENTILATION,   1},
    {IDC_STATUS_NIGHT,         2},
    {IDC_STATUS_DAY,           3},
    {IDC_STATUS_OFF,           kSwitchOff},
    {IDC_STATUS_EXTERNAL,      5},
    {IDC_STATUS_AUTO,          6},
    {IDC_STATUS_RESET_ALARM,   7},
    {IDC_STATUS_MANUAL_SWITCH, 255},
};
// clang-format on
constexpr RadioGroup kOverride = {
    .choices = kOverrideChoices, .otherControl = IDC_STATUS_MANUAL_SWITCH, .noneValue = 0};

constexpr Field kOverrideFields[] = {RadioWordAt(0, kOverride)};
constexpr Field kSwitchFields[] = {TextAt(IDC_STATUS_ROTARY_SWITCH, 0, Codec::Word, kSwitch)};
constexpr Field kUnitFields[] = {TextAt(IDC_STATUS_UNIT, 0, Codec::SignedByte, kUnitMode)};

// The override takes two bytes; the read before the write only confirms the
// node answers.
constexpr Block kStatusBlocks[] = {
    {.nv = kSwitchOverrideNv, .part = 0, .bitReversed = false, .fields = kOverrideFields},
};

constexpr LiveRead kStatusLive[] = {
    {kRotarySwitchNv, kNvBufferSize, kSwitchFields},
    {kUnitModeNv, kNvBufferSize, kUnitFields},
};

constexpr PageDef kStatusPage = {
    .blocks = kStatusBlocks,
    .liveReads = kStatusLive,
    .refreshMs = kStatusRefreshMs,
    .readButton = IDC_STATUS_READ,
    .writeButton = IDC_STATUS_WRITE,
};

}  // namespace

CPage15PropPage::CPage15PropPage(CSheet& sheet) : CPropPage(PageId::Status, sheet, kStatusPage) {}

std::unique_ptr<CPropPage> MakeStatusPage(CSheet& sheet) {
    return std::make_unique<CPage15PropPage>(sheet);
}

// After the two boxes: with the unit's switch at "Off" the override buttons
// are disabled, unless the PC's override is "Off" already.
void CPage15PropPage::RefreshLiveValues() {
    CPropPage::RefreshLiveValues();
    uint8_t buffer[kNvBufferSize] = {};
    if (node().ReadNv(kSwitchOverrideNv, buffer, kNvBufferSize) != kHostOk) return;
    if (ComposeWord(buffer[0], buffer[1]) == kSwitchOff) return;
    const bool switchOff = node().ReadNv(kRotarySwitchNv, buffer, kNvBufferSize) == kHostOk &&
                           ComposeWord(buffer[0], buffer[1]) == kSwitchOff;
    for (const RadioChoice& choice : kOverrideChoices) Enable(choice.control, !switchOff);
}

}  // namespace qta1
