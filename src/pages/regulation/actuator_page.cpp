#include "pages/regulation/actuator_page.h"

#include "frame/codec.h"

namespace qta1 {

namespace {

constexpr int kEquipmentByte = 2;

}  // namespace

CActuatorPage::CActuatorPage(PageId id, CSheet& sheet, const PageDef& def,
                             const ManualOverride& output)
    : CPropPage(id, sheet, def), output_(output) {}

// The page's rule enables or disables every other data control; the manual
// position is disabled without the output and otherwise keeps following its
// mode, so that "Automatic" never offers a position to type.
void CActuatorPage::ApplyOptionRules(const uint8_t* reversedPart1) {
    CPropPage::ApplyOptionRules(reversedPart1);
    if (TestBit(reversedPart1[kEquipmentByte], output_.equipmentBit) == 0) {
        Enable(output_.position, false);
    }
}

}  // namespace qta1
