#pragma once

#include "frame/page.h"
#include "resources/page_ids.h"
#include "resources/resource_ids.h"

namespace qta1 {

// How many seconds each actuator takes from minimum to maximum opening
// (part 9); the heat-valve and exchanger boxes only on units that have them.
class CPage26PropPage final : public CPropPage {
public:
    explicit CPage26PropPage(CSheet& sheet);
};

}  // namespace qta1
