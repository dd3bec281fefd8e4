#pragma once

#include "frame/page.h"
#include "resources/page_ids.h"
#include "resources/resource_ids.h"

namespace qta1 {

// Antifrost while the unit is stopped: the outdoor temperatures at which it
// starts and stops heating, the return water it holds, the outdoor
// temperature now and whether it heats; disabled without the option.
class CPage20PropPage final : public CPropPage {
public:
    explicit CPage20PropPage(CSheet& sheet);
};

}  // namespace qta1
