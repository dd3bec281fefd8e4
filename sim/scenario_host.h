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
    // The properties verb over a settings file as the node, as the settings
    // editor opens it: the file at `path` (with `factory`, a new file of the
    // factory settings to be kept at `path`). The host's simulated node is
    // not on the site meanwhile. Returns why the file did not open, or
    // nothing once the sheet has run `driver` and closed.
    virtual std::optional<std::string> OpenFile(const std::string& /*path*/, bool /*factory*/,
                                                const std::function<void()>& /*driver*/) {
        return "this host cannot open a file as the node";
    }

    // The files the plug-in's file dialogs lead to.
    virtual void SeedFile(const std::string& path, const std::string& bytes) = 0;
    virtual std::optional<std::string> FileBytes(const std::string& path) = 0;
    // Each returns false where the host cannot do it.
    virtual bool SetFileReadOnly(const std::string& /*path*/, bool /*on*/) { return false; }
    virtual bool SetPcClock(const LocalTime& /*now*/) { return false; }
};

}  // namespace qta1
