#pragma once

#include "frame/page.h"
#include "resources/page_ids.h"
#include "resources/resource_ids.h"

namespace qta1 {

// The running-hour counters of the motors, the pump and the exchanger, each
// with a "Reset" that sends the node its reset command at once.
class CPage3PropPage final : public CPropPage {
public:
    explicit CPage3PropPage(CSheet& sheet);

protected:
    void OnControlClicked(int controlId) override;
};

}  // namespace qta1
