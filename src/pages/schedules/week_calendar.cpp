#include "pages/schedules/week_calendar.h"

#include "frame/codec.h"
#include "resources/strings.h"
#include "resources/strings_schedules.h"

namespace qta1 {

CWeekCalendarPage::CWeekCalendarPage(PageId id, CSheet& sheet, const PageDef& def,
                                     std::span<const Field> timeBoxes, int resetButton)
    : CPropPage(id, sheet, def), timeBoxes_(timeBoxes), resetButton_(resetButton) {}

void CWeekCalendarPage::OnControlClicked(int controlId) {
    if (controlId != resetButton_) return;
    for (const Field& box : timeBoxes_) SetText(box.control, text::kUnsetTime);
}

TimeBoxSet CWeekCalendarPage::StoreTimeBoxes(uint8_t* buffer) {
    TimeBoxSet failed;
    for (const Field& box : timeBoxes_) {
        const std::string typed = Text(box.control);
        if (IsValidTimeText(typed)) {
            EncodeField(box, typed, buffer);
        } else {
            failed.set(static_cast<size_t>(box.offset));
        }
    }
    return failed;
}

int CWeekCalendarPage::CheckStartStop(std::span<const StartStopCheck> checks, const uint8_t* buffer,
                                      const TimeBoxSet& countedAsSet) {
    auto isSet = [&](int offset) {
        return countedAsSet.test(static_cast<size_t>(offset)) || buffer[offset] != 0;
    };
    int errors = 0;
    for (const StartStopCheck& check : checks) {
        int starts = 0;
        int stops = 0;
        for (int day = 0; day < check.days; ++day) {
            const int stop = check.firstStop + kDayStride * day;
            stops += isSet(stop) ? 1 : 0;
            starts += isSet(stop + 1) ? 1 : 0;
        }
        if (starts == stops) continue;
        screen().MessageBox(check.message, "", MsgButtons::Ok, MsgIcon::None);
        ++errors;
    }
    return errors;
}

bool CWeekCalendarPage::RefuseWrite(int formatErrors, int calendarErrors) {
    const int total = formatErrors + calendarErrors;
    if (total == 0) return false;
    const char* tail = formatErrors > 0 ? text::kErrorsNotWrittenFormat : text::kErrorsNotWritten;
    LogRefusal(text::kWriteAction, {FormatFixed(total, 0) + tail});
    screen().MessageBox(FormatFixed(total, 0) + tail, "", MsgButtons::Ok, MsgIcon::None);
    return true;
}

void CWeekCalendarPage::WriteSharedCalendar(const StartStopCheck& check) {
    uint8_t buffer[kNvBufferSize] = {};
    if (node().ReadNv(kFreecoolPirCalendarNv, buffer, kNvValueSize) != kHostOk) {
        NoteWriteProblem(text::kCalendarTimes, text::kNotReadBeforeWrite);
        return;
    }
    buffer[0] = 0;
    NoteBefore(kFreecoolPirCalendarNv, 0, buffer);
    // A box that holds no time keeps the node's byte, which then counts as it is.
    const int formatErrors = static_cast<int>(StoreTimeBoxes(buffer).count());
    const int calendarErrors = CheckStartStop({&check, 1}, buffer, TimeBoxSet{});
    if (RefuseWrite(formatErrors, calendarErrors)) return;
    SendNv(kFreecoolPirCalendarNv, 0, false, timeBoxes_, buffer);
    ReadPage();
}

}  // namespace qta1
