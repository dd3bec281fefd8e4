#pragma once

#include "pages/regulation/actuator_page.h"

namespace qta1 {

// The heating surface: mode and manual position of its valve (Mv1), mode of
// its pump (Mp1), what both do now, and the valve's signal range and
// inversion; everything is disabled on a unit without a heating surface.
class CPage4PropPage final : public CActuatorPage {
public:
    explicit CPage4PropPage(CSheet& sheet);
};

}  // namespace qta1
