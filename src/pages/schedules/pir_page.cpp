#include "pages/schedules/week_calendar.h"
#include "resources/strings_schedules.h"

namespace qta1 {

// Presence detection: the PIR week calendar (the PIR bytes of the calendar NV
// it shares with Freecool), the delays before start and stop, and the node's
// occupancy state.
class CPage14PropPage final : public CWeekCalendarPage {
public:
    explicit CPage14PropPage(CSheet& sheet);

protected:
    void AfterWriteBlocks() override;
};

namespace {

constexpr int kRefreshMs = 2000;

// The shared calendar, per day from Sunday: PIR stop and start (bytes 1 + 4d and 2 + 4d) on
// this page, then the free-cooling pair.
// clang-format off
constexpr Field kTimeBoxes[] = {
    TimeByteAt(IDC_PIR_SUN_STOP,  1), TimeByteAt(IDC_PIR_SUN_START,  2),
    TimeByteAt(IDC_PIR_MON_STOP,  5), TimeByteAt(IDC_PIR_MON_START,  6),
    TimeByteAt(IDC_PIR_TUE_STOP,  9), TimeByteAt(IDC_PIR_TUE_START, 10),
    TimeByteAt(IDC_PIR_WED_STOP, 13), TimeByteAt(IDC_PIR_WED_START, 14),
    TimeByteAt(IDC_PIR_THU_STOP, 17), TimeByteAt(IDC_PIR_THU_START, 18),
    TimeByteAt(IDC_PIR_FRI_STOP, 21), TimeByteAt(IDC_PIR_FRI_START, 22),
    TimeByteAt(IDC_PIR_SAT_STOP, 25), TimeByteAt(IDC_PIR_SAT_START, 26),
};
constexpr StartStopCheck kCheck = {1, kWeekDays, text::kPirUnequal};

// Part 6 words 0 and 1: minutes of presence before the unit starts and stops.
constexpr Field kDelays[] = {
    WordField(IDC_PIR_TIME_BEFORE_START, 0, Codec::Word),
    WordField(IDC_PIR_TIME_BEFORE_STOP,  1, Codec::Word),
};
// clang-format on

// Read: the calendar, then the delays; Write sends the delays first, the
// calendar only after its checks.
constexpr Block kBlocks[] = {
    {.nv = kFreecoolPirCalendarNv,
     .part = 0,
     .bitReversed = false,
     .fields = kTimeBoxes,
     .readLength = kNvBufferSize,
     .shownOnly = true},
    {.nv = kConfigNv,
     .part = kDelaysPart,
     .bitReversed = false,
     .fields = kDelays,
     .rmwLength = kNvValueSize},
};

// The occupancy codes; others (the node's "no value" is -1) leave the box as it was.
constexpr ValueText kOccupancyTexts[] = {
    {0, text::kOccupied}, {1, text::kUnoccupied}, {2, text::kBypass}, {3, text::kStandby}};
constexpr TextTable kOccupancyTable = {kOccupancyTexts};
constexpr Field kOccupancy[] = {TextAt(IDC_PIR_OCCUPANCY, 0, Codec::SignedByte, kOccupancyTable)};
constexpr LiveRead kLiveReads[] = {{kOccupancyNv, kNvBufferSize, kOccupancy}};

constexpr PageDef kPirPage = {
    .blocks = kBlocks,
    .liveReads = kLiveReads,
    .refreshMs = kRefreshMs,
    .readButton = IDC_PIR_READ,
    .writeButton = IDC_PIR_WRITE,
};

}  // namespace

CPage14PropPage::CPage14PropPage(CSheet& sheet)
    : CWeekCalendarPage(PageId::Pir, sheet, kPirPage, kTimeBoxes, IDC_PIR_RESET) {}

std::unique_ptr<CPropPage> MakePirPage(CSheet& sheet) {
    return std::make_unique<CPage14PropPage>(sheet);
}

// The delays are written whatever becomes of the calendar.
void CPage14PropPage::AfterWriteBlocks() { WriteSharedCalendar(kCheck); }

}  // namespace qta1
