#pragma once

#include "pages/schedules/week_calendar.h"

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

}  // namespace qta1
