#pragma once

#include "frame/page.h"
#include "resources/page_ids.h"
#include "resources/resource_ids.h"

namespace qta1 {

// The day and night extended-operation times; each "Start" sends 0:00 and,
// two seconds later, the time in its box.
class CPage21PropPage final : public CPropPage {
public:
    explicit CPage21PropPage(CSheet& sheet);

protected:
    void OnControlClicked(int controlId) override;

private:
    void Start(const Field& time, int nv);
};

}  // namespace qta1
