#pragma once

#include "frame/page.h"
#include "resources/page_ids.h"
#include "resources/resource_ids.h"

namespace qta1 {

// The rotary switch, the unit mode and the override of the switch from the
// PC, refreshed every second. With the switch at "Off" the override
// cannot be changed, unless the override itself is "Off".
class CPage15PropPage final : public CPropPage {
public:
    explicit CPage15PropPage(CSheet& sheet);

    void RefreshLiveValues() override;
};

}  // namespace qta1
