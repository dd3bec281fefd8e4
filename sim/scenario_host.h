// Where a scenario runs: a simulated node behind a plug-in whose sheet is
// either headless or the real Windows sheet. The scenario runner sees only
// this, so one script and one expected trace serve both.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/headless/trace.h"
#include "platform/technician.h"
#include "simulated_node.h"

namespace qta1 {

class ScenarioHost {
public:
    virtual ~ScenarioHost() = default;

    virtual SimulatedNode& Node() = 0;
    virtual SimulatedSite& Site() = 0;
    virtual Trace& Log() = 0;

    // The technician's side of the sheet. It lives as long as the host, so
    // answers queued before the sheet opens wait for its message boxes.
    virtual Technician& Tech() = 0;

    // The properties verb: the sheet opens, `driver` acts as the technician
    // through Tech(), and the sheet closes when the driver returns (or
    // once Tech().Close() has closed it).
    virtual void Open(const std::function<void()>& driver) = 0;

    // The files the plug-in's file dialogs lead to.
    virtual void SeedFile(const std::string& path, const std::string& bytes) = 0;
    virtual std::optional<std::string> FileBytes(const std::string& path) = 0;
    // Each returns false where the host cannot do it.
    virtual bool SetFileReadOnly(const std::string& /*path*/, bool /*on*/) { return false; }
    virtual bool SetPcClock(const LocalTime& /*now*/) { return false; }
};

}  // namespace qta1
