// Time for the headless platform and the simulated node: nothing moves
// unless a sleep or an idle wait advances it, so every run is repeatable.
#pragma once

#include <cstdint>

#include "frame/platform.h"

namespace qta1 {

class VirtualClock {
public:
    // Monday 7 December 2026, 09:00:00 unless told otherwise.
    VirtualClock();
    explicit VirtualClock(const LocalTime& start);

    int64_t NowMs() const { return nowMs_; }
    void Advance(int64_t ms);
    // The PC's local time: the start plus the virtual time elapsed.
    LocalTime LocalNow() const;
    // Moves the PC clock without moving virtual time (timers keep their due times).
    void SetLocal(const LocalTime& now);

private:
    int64_t startSeconds_ = 0;  // seconds since 1970-01-01 of the local start time
    int64_t nowMs_ = 0;
};

// Days since 1970-01-01 of a civil date, and back.
int64_t DaysFromCivil(int year, int month, int day);
LocalTime CivilFromSeconds(int64_t seconds);

}  // namespace qta1
