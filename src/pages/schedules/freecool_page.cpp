#include "frame/codec.h"
#include "pages/schedules/week_calendar.h"
#include "resources/strings_schedules.h"

namespace qta1 {

// Free cooling: its week calendar (the free-cooling bytes of the calendar NV
// it shares with PIR), the temperatures that start and stop it, and its live
// temperatures and state.
class CPage13PropPage final : public CWeekCalendarPage {
public:
    explicit CPage13PropPage(CSheet& sheet);

protected:
    void AfterWriteBlocks() override;
};

namespace {

constexpr int kRefreshMs = 2000;

// The shared calendar, per day from Sunday: PIR stop and start, then free-cooling stop and
// start (bytes 3 + 4d and 4 + 4d) on this page.
// clang-format off
constexpr Field kTimeBoxes[] = {
    TimeByteAt(IDC_FREECOOL_SUN_STOP,  3), TimeByteAt(IDC_FREECOOL_SUN_START,  4),
    TimeByteAt(IDC_FREECOOL_MON_STOP,  7), TimeByteAt(IDC_FREECOOL_MON_START,  8),
    TimeByteAt(IDC_FREECOOL_TUE_STOP, 11), TimeByteAt(IDC_FREECOOL_TUE_START, 12),
    TimeByteAt(IDC_FREECOOL_WED_STOP, 15), TimeByteAt(IDC_FREECOOL_WED_START, 16),
    TimeByteAt(IDC_FREECOOL_THU_STOP, 19), TimeByteAt(IDC_FREECOOL_THU_START, 20),
    TimeByteAt(IDC_FREECOOL_FRI_STOP, 23), TimeByteAt(IDC_FREECOOL_FRI_START, 24),
    TimeByteAt(IDC_FREECOOL_SAT_STOP, 27), TimeByteAt(IDC_FREECOOL_SAT_START, 28),
};
constexpr StartStopCheck kCheck = {3, kWeekDays, text::kFreecoolUnequal};

constexpr Field kMinInjection[] = {WordAt(IDC_FREECOOL_MIN_TEMP_INJECTION, 0, Codec::Temperature)};
constexpr Field kMaxOutdoor[] = {WordAt(IDC_FREECOOL_MAX_TEMP_OUTDOOR, 0, Codec::Temperature)};
// The standby cooling and heating set points of the room set-point NV.
constexpr Field kRoomSetpoints[] = {
    WordAt(IDC_FREECOOL_SETPT_MAX_ROOM, 2, Codec::Temperature),
    WordAt(IDC_FREECOOL_SETPT_MIN_ROOM, 8, Codec::Temperature),
};

// Read: the calendar, then the temperatures; Write sends the temperatures
// first, the calendar only after its checks.
constexpr Block kBlocks[] = {
    {.nv = kFreecoolPirCalendarNv, .part = 0, .bitReversed = false, .fields = kTimeBoxes,
     .readLength = kNvBufferSize, .shownOnly = true},
    {.nv = kMinNightCoolNv, .part = 0, .bitReversed = false, .fields = kMinInjection,
     .readLength = kNvBufferSize, .rmwLength = kNvValueSize},
    {.nv = kMaxOutNightNv, .part = 0, .bitReversed = false, .fields = kMaxOutdoor,
     .readLength = kNvBufferSize, .rmwLength = kNvValueSize},
    {.nv = kRoomSetpointsNv, .part = 0, .bitReversed = false, .fields = kRoomSetpoints,
     .readLength = kNvBufferSize, .rmwLength = kNvValueSize},
};

constexpr Field kSpaceTemp[] = {WordAt(IDC_FREECOOL_SPACE_TEMP, 0, Codec::Temperature)};
constexpr Field kInjectionTemp[] = {WordAt(IDC_FREECOOL_INJECTION_TEMP, 0, Codec::Temperature)};
constexpr Field kOutdoorTemp[] = {WordAt(IDC_FREECOOL_OUTDOOR_TEMP, 0, Codec::Temperature)};
// Free cooling runs when the state word (bytes 1 and 2) is 10.
constexpr ValueText kStateTexts[] = {{10, text::kFreeCoolOn}};
constexpr TextTable kStateTable = {kStateTexts, text::kFreeCoolOff};
constexpr Field kState[] = {TextAt(IDC_FREECOOL_STATUS, 1, Codec::Word, kStateTable)};
constexpr LiveRead kLiveReads[] = {
    {kSpaceTempNv, kNvValueSize, kSpaceTemp},
    {kInjectionTempNv, kNvValueSize, kInjectionTemp},
    {kOutdoorTempNv, kNvValueSize, kOutdoorTemp},
    {kFreecoolStateNv, kNvValueSize, kState},
};

// Without free cooling (part 1 byte 20 bit 0) every box is disabled; with it
// these are enabled and the four below follow the room mode NV.
constexpr int kFollowPart1[] = {
    IDC_FREECOOL_MON_START, IDC_FREECOOL_MON_STOP, IDC_FREECOOL_TUE_START, IDC_FREECOOL_TUE_STOP,
    IDC_FREECOOL_WED_START, IDC_FREECOOL_WED_STOP, IDC_FREECOOL_THU_START, IDC_FREECOOL_THU_STOP,
    IDC_FREECOOL_FRI_START, IDC_FREECOOL_FRI_STOP, IDC_FREECOOL_SAT_START, IDC_FREECOOL_SAT_STOP,
    IDC_FREECOOL_SUN_START, IDC_FREECOOL_SUN_STOP, IDC_FREECOOL_OUTDOOR_TEMP,
    IDC_FREECOOL_MIN_TEMP_INJECTION, IDC_FREECOOL_INJECTION_TEMP, IDC_FREECOOL_STATUS,
};
constexpr int kFreeCoolingByte = 20;
constexpr int kFreeCoolingBit = 0;
constexpr OptionRule kRules[] = {{kFreeCoolingByte, kFreeCoolingBit, kFollowPart1}};

constexpr int kRoomSetpointBoxes[] = {IDC_FREECOOL_SETPT_MAX_ROOM, IDC_FREECOOL_SETPT_MIN_ROOM};
constexpr int kSpaceTempBox[] = {IDC_FREECOOL_SPACE_TEMP};
constexpr int kMaxOutdoorBox[] = {IDC_FREECOOL_MAX_TEMP_OUTDOOR};
// Room mode byte 22: mask 0x40 set disables the room set points; mask 0x80
// set offers the space temperature instead of the outdoor limit.
constexpr StatusRule kRoomModeRules[] = {
//   NV            byte bit boxes               enable when set  needs free cooling
    {kRoomModeNv,  22,  1,  kRoomSetpointBoxes, false,           kFreeCoolingByte, kFreeCoolingBit},
    {kRoomModeNv,  22,  0,  kSpaceTempBox,      true,            kFreeCoolingByte, kFreeCoolingBit},
    {kRoomModeNv,  22,  0,  kMaxOutdoorBox,     false,           kFreeCoolingByte, kFreeCoolingBit},
};
// clang-format on

constexpr PageDef kFreecoolPage = {
    .blocks = kBlocks,
    .optionRules = kRules,
    .liveReads = kLiveReads,
    .refreshMs = kRefreshMs,
    .readButton = IDC_FREECOOL_READ,
    .writeButton = IDC_FREECOOL_WRITE,
    .statusRules = kRoomModeRules,
};

}  // namespace

CPage13PropPage::CPage13PropPage(CSheet& sheet)
    : CWeekCalendarPage(PageId::Freecool, sheet, kFreecoolPage, kTimeBoxes, IDC_FREECOOL_RESET) {}

std::unique_ptr<CPropPage> MakeFreecoolPage(CSheet& sheet) {
    return std::make_unique<CPage13PropPage>(sheet);
}

// The temperatures are written whatever becomes of the calendar.
void CPage13PropPage::AfterWriteBlocks() { WriteSharedCalendar(kCheck); }

}  // namespace qta1
