#include "pages/schedules/week_calendar.h"
#include "resources/strings.h"
#include "resources/strings_schedules.h"

namespace qta1 {

// The node's start/stop schedule: two week calendars and a holiday
// pair, with the node's clock and active calendar refreshed every two seconds.
class CPage6PropPage final : public CWeekCalendarPage {
public:
    explicit CPage6PropPage(CSheet& sheet);

    void OnInitDialog() override;
    void OnTimer(int timerId) override;
    void WritePage() override;

protected:
    void OnControlClicked(int controlId) override;
};

namespace {

constexpr int kRefreshMs = 2000;

// The schedule keeps Sunday first and every pair stop first: per day Calender 1
// stop and start, then Calender 2 stop and start; the holiday pair last.
// clang-format off
constexpr Field kTimeBoxes[] = {
    TimeByteAt(IDC_CALENDER_SUN_STOP1,  1), TimeByteAt(IDC_CALENDER_SUN_START1,  2),
    TimeByteAt(IDC_CALENDER_SUN_STOP2,  3), TimeByteAt(IDC_CALENDER_SUN_START2,  4),
    TimeByteAt(IDC_CALENDER_MON_STOP1,  5), TimeByteAt(IDC_CALENDER_MON_START1,  6),
    TimeByteAt(IDC_CALENDER_MON_STOP2,  7), TimeByteAt(IDC_CALENDER_MON_START2,  8),
    TimeByteAt(IDC_CALENDER_TUE_STOP1,  9), TimeByteAt(IDC_CALENDER_TUE_START1, 10),
    TimeByteAt(IDC_CALENDER_TUE_STOP2, 11), TimeByteAt(IDC_CALENDER_TUE_START2, 12),
    TimeByteAt(IDC_CALENDER_WED_STOP1, 13), TimeByteAt(IDC_CALENDER_WED_START1, 14),
    TimeByteAt(IDC_CALENDER_WED_STOP2, 15), TimeByteAt(IDC_CALENDER_WED_START2, 16),
    TimeByteAt(IDC_CALENDER_THU_STOP1, 17), TimeByteAt(IDC_CALENDER_THU_START1, 18),
    TimeByteAt(IDC_CALENDER_THU_STOP2, 19), TimeByteAt(IDC_CALENDER_THU_START2, 20),
    TimeByteAt(IDC_CALENDER_FRI_STOP1, 21), TimeByteAt(IDC_CALENDER_FRI_START1, 22),
    TimeByteAt(IDC_CALENDER_FRI_STOP2, 23), TimeByteAt(IDC_CALENDER_FRI_START2, 24),
    TimeByteAt(IDC_CALENDER_SAT_STOP1, 25), TimeByteAt(IDC_CALENDER_SAT_START1, 26),
    TimeByteAt(IDC_CALENDER_SAT_STOP2, 27), TimeByteAt(IDC_CALENDER_SAT_START2, 28),
    TimeByteAt(IDC_CALENDER_HOLIDAY_STOP, 29), TimeByteAt(IDC_CALENDER_HOLIDAY_START, 30),
};

constexpr StartStopCheck kChecks[] = {
//   first stop  days       message
    {1,          kWeekDays, text::kCalender1Unequal},
    {3,          kWeekDays, text::kCalender2Unequal},
    {29,         1,         text::kHolidayUnequal},
};

// Default: office hours on Calender 1, weekends and the holiday start off.
struct Preset {
    int control;
    const char* time;
};
constexpr Preset kDefaultWeek[] = {
    {IDC_CALENDER_MON_START1, "8:00"}, {IDC_CALENDER_MON_STOP1, "16:00"},
    {IDC_CALENDER_TUE_START1, "8:00"}, {IDC_CALENDER_TUE_STOP1, "16:00"},
    {IDC_CALENDER_WED_START1, "8:00"}, {IDC_CALENDER_WED_STOP1, "16:00"},
    {IDC_CALENDER_THU_START1, "8:00"}, {IDC_CALENDER_THU_STOP1, "16:00"},
    {IDC_CALENDER_FRI_START1, "8:00"}, {IDC_CALENDER_FRI_STOP1, "16:00"},
    {IDC_CALENDER_SAT_START1, "0:00"}, {IDC_CALENDER_SAT_STOP1, "0:00"},
    {IDC_CALENDER_SUN_START1, "0:00"}, {IDC_CALENDER_SUN_STOP1, "0:00"},
    {IDC_CALENDER_HOLIDAY_START, "0:00"},
};
// clang-format on

constexpr Block kBlocks[] = {
    {.nv = kStartStopNv,
     .part = 0,
     .bitReversed = false,
     .fields = kTimeBoxes,
     .readLength = kNvBufferSize,
     .shownOnly = true},
};

// Other status values leave the box as it was.
constexpr ValueText kStatusTexts[] = {
    {0, text::kCalenderOff},      {1, text::kCalender1Active}, {2, text::kCalender2Active},
    {3, text::kCalender12Active}, {4, text::kHolidayInactive}, {5, text::kHolidayActive},
};
constexpr TextTable kStatusTable = {kStatusTexts};
constexpr Field kStatus[] = {TextAt(IDC_CALENDER_STATUS, 0, Codec::Word, kStatusTable)};
constexpr Field kClock[] = {
    WordAt(IDC_CALENDER_DATE, 0, Codec::NodeDate),
    WordAt(IDC_CALENDER_TIME, 0, Codec::NodeTime),
};
// The node's clock, then its calendar status.
constexpr LiveRead kLiveReads[] = {
    {kNodeClockNv, kNvBufferSize, kClock},
    {kCalendarStatusNv, kNvBufferSize, kStatus},
};

constexpr PageDef kCalenderPage = {
    .blocks = kBlocks,
    .liveReads = kLiveReads,
    .refreshMs = kRefreshMs,
    .readButton = IDC_CALENDER_READ,
    .writeButton = IDC_CALENDER_WRITE,
};

}  // namespace

CPage6PropPage::CPage6PropPage(CSheet& sheet)
    : CWeekCalendarPage(PageId::Calender, sheet, kCalenderPage, kTimeBoxes, IDC_CALENDER_RESET) {}

std::unique_ptr<CPropPage> MakeCalenderPage(CSheet& sheet) {
    return std::make_unique<CPage6PropPage>(sheet);
}

// The status box says "Active/Inactive" until the first tick shows the node's.
void CPage6PropPage::OnInitDialog() {
    CPropPage::OnInitDialog();
    SetText(IDC_CALENDER_STATUS, text::kCalenderStatusUnknown);
}

// Every tick refreshes, whatever its timer.
void CPage6PropPage::OnTimer(int /*timerId*/) { RefreshLiveValues(); }

// The whole schedule is checked before anything is sent; with any error the
// node keeps its schedule and the boxes keep what the technician typed.
void CPage6PropPage::WritePage() {
    const BusyButton busy = ShowBusy(IDC_CALENDER_WRITE);
    uint8_t buffer[kNvBufferSize] = {};  // byte 0, the character set, is sent as 0
    const TimeBoxSet failed = StoreTimeBoxes(buffer);
    // A box whose text is not a time counts as a set time: the technician meant one.
    const int calendarErrors = CheckStartStop(kChecks, buffer, failed);
    if (!RefuseWrite(static_cast<int>(failed.count()), calendarErrors)) {
        BeginWriteReport();
        SendNv(kStartStopNv, 0, false, kTimeBoxes, buffer);
        ReadPage();
        FinishWriteReport();
    }
}

void CPage6PropPage::OnControlClicked(int controlId) {
    if (controlId == IDC_CALENDER_DEFAULT) {
        for (const Preset& preset : kDefaultWeek) SetText(preset.control, preset.time);
        return;
    }
    CWeekCalendarPage::OnControlClicked(controlId);
}

}  // namespace qta1
