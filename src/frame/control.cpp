#include "frame/control.h"

#include "frame/sheet.h"
#include "resources/strings.h"

namespace qta1 {

namespace {
QTA1Control* g_current = nullptr;
}

QTA1Control* QTA1Control::Current() { return g_current; }

std::string QTA1Control::GetProgramId() const { return text::kProgramId; }

int32_t QTA1Control::OnProperties(Platform& platform) {
    g_current = this;
    CSheet sheet(platform, site_);
    sheet.RunModal();
    return kHostOk;
}

}  // namespace qta1
