// One headless plug-in with a simulated node: what tests, qta1-sim and the
// benchmarks run against.
#pragma once

#include <functional>

#include "frame/control.h"
#include "platform/headless/headless_platform.h"
#include "platform/headless/trace.h"
#include "platform/headless/virtual_clock.h"
#include "simulated_node.h"

namespace qta1 {

struct SimSession {
    VirtualClock clock;
    Trace trace{clock};
    SimulatedNode node{clock, &trace};
    SimulatedSite site{node};
    HeadlessPlatform ui{clock, trace};
    QTA1Control control;

    SimSession() { control.SetClientSite(&site); }

    // The properties verb: the sheet opens, `driver` acts as the technician,
    // and the sheet closes when it returns.
    void Open(std::function<void(HeadlessPlatform&)> driver) {
        ui.SetModalDriver(std::move(driver));
        control.OnProperties(ui);
    }
};

}  // namespace qta1
