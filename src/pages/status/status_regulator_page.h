#pragma once

#include "frame/page.h"
#include "resources/page_ids.h"
#include "resources/resource_ids.h"

namespace qta1 {

// The present output of the four regulated actuators in percent, and whether
// the regulator heats or cools; boxes of equipment the unit lacks are disabled.
class CPage7PropPage final : public CPropPage {
public:
    explicit CPage7PropPage(CSheet& sheet);
};

}  // namespace qta1
