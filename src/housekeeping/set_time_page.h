#pragma once

#include "frame/page.h"
#include "resources/page_ids.h"
#include "resources/resource_ids.h"

namespace qta1 {

// The PC's clock and the node's clock side by side, refreshed every second,
// and "Sync", which copies the PC's clock into the node.
class CPage16PropPage final : public CPropPage {
public:
    explicit CPage16PropPage(CSheet& sheet);

    void RefreshLiveValues() override;
    void OnPageShown() override {}

protected:
    void OnControlClicked(int controlId) override;
};

// The seven bytes of the clock setting that set the node clock to `now`.
void ClockBytes(const LocalTime& now, uint8_t bytes[kNodeClockLength]);

}  // namespace qta1
