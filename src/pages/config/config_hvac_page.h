#pragma once

#include "frame/page.h"
#include "resources/page_ids.h"
#include "resources/resource_ids.h"

namespace qta1 {

// For four unit functions (the columns "Ind", "Ud", "Genv", "Varme") the
// HVAC modes in which each may run, as bit sets in part 10. The page also
// gives part 10 its factory value when it finds it uninitialised.
class CPage27PropPage final : public CPropPage {
public:
    explicit CPage27PropPage(CSheet& sheet);

    void OnPageShown() override;
    void OnPageHidden() override;

private:
    void InitialiseModeSets();
};

}  // namespace qta1
