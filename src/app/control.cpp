#include "app/control.h"

#include "app/page_registry.h"
#include "frame/sheet.h"

namespace qta1 {

int32_t QTA1Control::OnProperties(Platform& platform) {
    CSheet sheet(platform, site_, PageRegistry());
    sheet.RunModal();
    return kHostOk;
}

}  // namespace qta1
