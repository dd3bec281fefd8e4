#pragma once

#include "frame/page.h"
#include "resources/page_ids.h"
#include "resources/resource_ids.h"

namespace qta1 {

// The live readings of sensors Bs1, Bs2 and Bs3 with the calibration offset
// of each, and the two set-points the unit calculates. A sensor that reads
// below -200.0 °C is not fitted: its row is disabled.
class CPage5PropPage final : public CPropPage {
public:
    explicit CPage5PropPage(CSheet& sheet);

    void ApplyOptionEnabling() override;
};

}  // namespace qta1
