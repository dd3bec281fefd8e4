#pragma once

#include "frame/page.h"
#include "resources/page_ids.h"
#include "resources/resource_ids.h"

namespace qta1 {

// How the unit works out its injection (supply) air set-point: fixed or
// calculated within limits with its own P, I and D, night lowering and night
// boost, the dead bands of the zero-energy zone, and the live temperatures.
class CPage17PropPage final : public CPropPage {
public:
    explicit CPage17PropPage(CSheet& sheet);

protected:
    void ApplyOptionRules(const uint8_t* reversedPart1) override;
};

}  // namespace qta1
