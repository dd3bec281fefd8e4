#pragma once

#include "frame/page.h"
#include "resources/page_ids.h"
#include "resources/resource_ids.h"

namespace qta1 {

// The injection damper Md1 and the exhaust damper Md2: mode, manual
// position, signal range and inversion, the position the unit drives now,
// and the minimum fresh air.
class CPage2PropPage final : public CPropPage {
public:
    explicit CPage2PropPage(CSheet& sheet);
};

}  // namespace qta1
