// The part of the ActiveX control that the core decides: what its properties
// verb does.
#pragma once

#include <cstdint>

#include "frame/host_link.h"
#include "frame/platform.h"

namespace qta1 {

class QTA1Control {
public:
    // The client site is the host's; the control does not own it.
    void SetClientSite(HostUnknown* site) { site_ = site; }

    // Builds the sheet of every registered page on the client site, runs it
    // until "Exit" and destroys it (pages, then the host interfaces). Always
    // reports success (0).
    int32_t OnProperties(Platform& platform);

private:
    HostUnknown* site_ = nullptr;
};

}  // namespace qta1
