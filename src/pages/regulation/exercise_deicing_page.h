#pragma once

#include "frame/page.h"
#include "resources/page_ids.h"
#include "resources/resource_ids.h"

namespace qta1 {

// How long the heating pump and valve may stand still before the node
// exercises them, and the delay before the exchanger is deiced.
class CPage22PropPage final : public CPropPage {
public:
    explicit CPage22PropPage(CSheet& sheet);
};

}  // namespace qta1
