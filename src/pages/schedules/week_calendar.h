// What the three week-calendar pages (Calender, Freecool, PIR) share: time
// boxes holding quarter-hour bytes, the check of the typed times, the rule
// that every calendar has as many start times as stop times over the week,
// the messages that refuse a Write, and the Reset button.
#pragma once

#include <bitset>
#include <span>

#include "frame/page.h"
#include "resources/page_ids.h"
#include "resources/resource_ids.h"

namespace qta1 {

// The free-cooling and PIR calendars share one NV; each page writes only its
// own time bytes and byte 0, and sends back the other page's as read.

// One calendar whose start and stop times must come in equal numbers: `days`
// stop bytes from `firstStop` on, four bytes apart, each followed by its start
// byte. A time of 0:00 counts as unset.
struct StartStopCheck {
    int firstStop;
    int days;
    const char* message;
};

inline constexpr int kDayStride = 4;
inline constexpr int kWeekDays = 7;

using TimeBoxSet = std::bitset<kNvBufferSize>;  // by byte offset

class CWeekCalendarPage : public CPropPage {
protected:
    // `timeBoxes`: every time box of the page in NV byte order.
    CWeekCalendarPage(PageId id, CSheet& sheet, const PageDef& def,
                      std::span<const Field> timeBoxes, int resetButton);

    // Reset: every time box shows 0:00; nothing is sent.
    void OnControlClicked(int controlId) override;

    // Stores the byte of every box whose text is a time; returns the offsets
    // of the boxes whose text is not, whose bytes stay as they were.
    TimeBoxSet StoreTimeBoxes(uint8_t* buffer);
    // Shows the message of every check whose start and stop counts differ and
    // returns how many did. `countedAsSet` boxes count as set whatever their byte.
    int CheckStartStop(std::span<const StartStopCheck> checks, const uint8_t* buffer,
                       const TimeBoxSet& countedAsSet);
    // Shows the summary when there was any error; true when the Write must
    // not send the calendar.
    bool RefuseWrite(int formatErrors, int calendarErrors);
    // The Freecool and PIR calendar write: the node's value of the shared NV, byte 0
    // cleared, this page's times from its boxes, checked, sent and read back.
    void WriteSharedCalendar(const StartStopCheck& check);

private:
    std::span<const Field> timeBoxes_;
    int resetButton_;
};

}  // namespace qta1
