#include "platform/headless/virtual_clock.h"

namespace qta1 {

namespace {

constexpr int64_t kSecondsPerDay = 86400;

// Division and remainder that round toward minus infinity, so dates before
// 1970 and times before midnight come out right.
int64_t FloorDiv(int64_t a, int64_t b) {
    int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

int64_t FloorMod(int64_t a, int64_t b) {
    return a - FloorDiv(a, b) * b;
}

int64_t SecondsOf(const LocalTime& t) {
    return DaysFromCivil(t.year, t.month, t.day) * kSecondsPerDay + int64_t{t.hour} * 3600 +
           int64_t{t.minute} * 60 + t.second;
}

}  // namespace

// Proleptic Gregorian calendar, counted in 400-year eras of 146097 days with
// the year starting in March so that the leap day falls at its end. A month
// outside 1..12 carries into the year; a day outside the month simply counts on.
int64_t DaysFromCivil(int year, int month, int day) {
    int64_t y = int64_t{year} + FloorDiv(int64_t{month} - 1, 12);
    const int64_t m = FloorMod(int64_t{month} - 1, 12) + 1;
    if (m <= 2) --y;
    const int64_t era = FloorDiv(y, 400);
    const int64_t yearOfEra = y - era * 400;                            // 0..399
    const int64_t dayOfYear = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5;  // 0..365
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468 + (int64_t{day} - 1);
}

LocalTime CivilFromSeconds(int64_t seconds) {
    const int64_t days = FloorDiv(seconds, kSecondsPerDay);
    const int64_t secondOfDay = seconds - days * kSecondsPerDay;

    const int64_t z = days + 719468;
    const int64_t era = FloorDiv(z, 146097);
    const int64_t dayOfEra = z - era * 146097;  // 0..146096
    const int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;  // 0..399
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t mp = (5 * dayOfYear + 2) / 153;  // 0 = March
    const int64_t month = mp < 10 ? mp + 3 : mp - 9;

    LocalTime t;
    t.year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
    t.month = static_cast<int>(month);
    t.day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
    t.hour = static_cast<int>(secondOfDay / 3600);
    t.minute = static_cast<int>(secondOfDay / 60 % 60);
    t.second = static_cast<int>(secondOfDay % 60);
    // 1 January 1970 was a Thursday.
    t.dayOfWeek = static_cast<int>(FloorMod(days + 4, 7));
    return t;
}

VirtualClock::VirtualClock() : VirtualClock(LocalTime{2026, 12, 7, 9, 0, 0, 1}) {}

VirtualClock::VirtualClock(const LocalTime& start) : startSeconds_(SecondsOf(start)) {}

// Time only runs forward: a negative step is ignored, so timers and the
// node's counters never see virtual time go back.
void VirtualClock::Advance(int64_t ms) {
    if (ms > 0) nowMs_ += ms;
}

LocalTime VirtualClock::LocalNow() const {
    return CivilFromSeconds(startSeconds_ + FloorDiv(nowMs_, 1000));
}

void VirtualClock::SetLocal(const LocalTime& now) {
    startSeconds_ = SecondsOf(now) - FloorDiv(nowMs_, 1000);
}

}  // namespace qta1
