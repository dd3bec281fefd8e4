#pragma once

#include "frame/page.h"
#include "resources/page_ids.h"
#include "resources/resource_ids.h"

namespace qta1 {

// The equipment and functions of a QTA1 or QTA1+2 unit as option bits of
// part 1: heat exchanger and its type, heating surface, outdoor sensor,
// night lowering, replace air, antifrost, deicing, summer stop, free cooling.
class CPage9PropPage final : public CPropPage {
public:
    explicit CPage9PropPage(CSheet& sheet);

    void OnInitDialog() override;
    void OnPageShown() override;

protected:
    void OnControlClicked(int controlId) override;
    void AfterBlockRead(const Block& block, const uint8_t* buffer) override;
};

}  // namespace qta1
