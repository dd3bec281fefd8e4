#pragma once

#include "frame/page.h"
#include "resources/page_ids.h"
#include "resources/resource_ids.h"

namespace qta1 {

// The unit's alarm inputs as "OK" or "Alarm" and three alarm counters;
// boxes of equipment the unit lacks are disabled.
class CPage8PropPage final : public CPropPage {
public:
    explicit CPage8PropPage(CSheet& sheet);
};

}  // namespace qta1
