#pragma once

#include "pages/regulation/actuator_page.h"

namespace qta1 {

// The heat exchanger (Me1): its mode, manual position, whether it runs and
// its output, and its signal range and inversion; everything is disabled on
// a unit without an exchanger.
class CPage18PropPage final : public CActuatorPage {
public:
    explicit CPage18PropPage(CSheet& sheet);
};

}  // namespace qta1
