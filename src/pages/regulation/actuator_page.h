#pragma once

#include "frame/page.h"
#include "resources/page_ids.h"
#include "resources/resource_ids.h"

namespace qta1 {

// An output the technician can override (the heating valve, the exchanger):
// the box that takes its manual position, and the bit of part 1 byte 2 that
// says the unit has it.
struct ManualOverride {
    int position;
    int equipmentBit;
};

// A page that overrides one output. The manual position takes typing only
// in "Manual" (its mode buttons' radio group governs it), and only on a unit
// fitted with the output.
class CActuatorPage : public CPropPage {
protected:
    CActuatorPage(PageId id, CSheet& sheet, const PageDef& def, const ManualOverride& output);

    void ApplyOptionRules(const uint8_t* reversedPart1) override;

private:
    const ManualOverride& output_;
};

}  // namespace qta1
