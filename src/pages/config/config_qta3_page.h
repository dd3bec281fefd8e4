#pragma once

#include "frame/page.h"
#include "resources/page_ids.h"
#include "resources/resource_ids.h"

namespace qta1 {

// The cooling equipment of a QTA3 unit as option bits of part 1. The boxes
// can be changed only when the node reports the QTA3 functions in its unit
// status, and "Cool down" only while no alarm input blocks it.
class CPage10PropPage final : public CPropPage {
public:
    explicit CPage10PropPage(CSheet& sheet);

    void OnPageShown() override;

protected:
    void OnControlClicked(int controlId) override;
    void AfterBlockRead(const Block& block, const uint8_t* buffer) override;

private:
    void ApplyCoolDownRule();
};

}  // namespace qta1
