#pragma once

#include "frame/page.h"
#include "resources/page_ids.h"
#include "resources/resource_ids.h"

namespace qta1 {

// P, I and D of the heating, recirculation, exchanger and cooling loops, in
// part 8 of the configuration NV; rows of loops the unit lacks are disabled.
class CPage11PropPage final : public CPropPage {
public:
    explicit CPage11PropPage(CSheet& sheet);
};

}  // namespace qta1
