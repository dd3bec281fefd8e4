#pragma once

#include "frame/page.h"
#include "resources/page_ids.h"
#include "resources/resource_ids.h"

namespace qta1 {

// The low-temperature alarm on the supply air sensor Bs1: whether the unit
// stops, how far below the calculated supply temperature the alarm lies and
// how long it must last, with both supply temperatures.
class CPage24PropPage final : public CPropPage {
public:
    explicit CPage24PropPage(CSheet& sheet);
};

}  // namespace qta1
