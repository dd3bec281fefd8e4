#pragma once

#include "pages/schedules/week_calendar.h"

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

}  // namespace qta1
