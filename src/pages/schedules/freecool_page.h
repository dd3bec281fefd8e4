#pragma once

#include "pages/schedules/week_calendar.h"

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

}  // namespace qta1
