// The part of the ActiveX control that the core decides: which control opened
// the sheet last, and what its properties verb does.
#pragma once

#include <string>

#include "frame/host_link.h"
#include "frame/platform.h"

namespace qta1 {

class QTA1Control {
public:
    // The client site is the host's; the control does not own it.
    void SetClientSite(HostUnknown* site) { site_ = site; }
    HostUnknown* ClientSite() const { return site_; }

    // Records this control as the current one, builds the sheet on its client
    // site, runs it until "Exit" and destroys it (pages, then the host
    // interfaces). Always reports success (0).
    int32_t OnProperties(Platform& platform);

    // The node program this plug-in serves, as the settings file prints it.
    std::string GetProgramId() const;

    // The control that last opened the sheet; never cleared.
    static QTA1Control* Current();

private:
    HostUnknown* site_ = nullptr;
};

}  // namespace qta1
