#pragma once

#include "frame/page.h"
#include "resources/page_ids.h"
#include "resources/resource_ids.h"

namespace qta1 {

// How the unit starts in cold weather: the outdoor temperature below which
// the heating surface is warmed first and the return water it is warmed to,
// the outdoor break points of heating and recirculation during start-up,
// and the outdoor temperature and start-up mode now.
class CPage23PropPage final : public CPropPage {
public:
    explicit CPage23PropPage(CSheet& sheet);

protected:
    void ApplyOptionRules(const uint8_t* reversedPart1) override;
};

}  // namespace qta1
