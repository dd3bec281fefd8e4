#pragma once

#include "frame/page.h"
#include "resources/page_ids.h"
#include "resources/resource_ids.h"

namespace qta1 {

// The winter and summer points from which the unit calculates its space
// set-point out of the outdoor temperature, the switch for that
// calculation, and the outdoor temperature and the set-point it gives now.
class CPage19PropPage final : public CPropPage {
public:
    explicit CPage19PropPage(CSheet& sheet);
};

}  // namespace qta1
