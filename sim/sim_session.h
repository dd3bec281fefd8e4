// One headless plug-in with a simulated node: what tests, qta1-sim and the
// benchmarks run against.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "app/control.h"
#include "housekeeping/file_node.h"
#include "platform/headless/headless_platform.h"
#include "platform/headless/trace.h"
#include "platform/headless/virtual_clock.h"
#include "scenario_host.h"
#include "simulated_node.h"

namespace qta1 {

struct SimSession final : ScenarioHost {
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

    // --- ScenarioHost --------------------------------------------------------
    SimulatedNode& Node() override { return node; }
    SimulatedSite& Site() override { return site; }
    Trace& Log() override { return trace; }
    Technician& Tech() override { return ui; }
    void Open(const std::function<void()>& driver) override {
        Open([&driver](HeadlessPlatform&) { driver(); });
    }
    std::optional<std::string> OpenFile(const std::string& path, bool factory,
                                        const std::function<void()>& driver) override {
        FileNode::Opened opened;
        if (factory) {
            opened.node = FileNode::Factory(ui, ui, path);
        } else {
            opened = FileNode::Open(ui, ui, path);
        }
        if (!opened.node) return opened.refusal;
        opened.node->SetLog([this](const std::string& line) { trace.Add(line); });
        control.SetClientSite(opened.node->Site());
        Open(driver);
        control.SetClientSite(&site);
        return std::nullopt;
    }
    void SeedFile(const std::string& path, const std::string& bytes) override {
        ui.SeedFile(path, bytes);
    }
    std::optional<std::string> FileBytes(const std::string& path) override {
        return ui.ReadFile(path);
    }
    bool SetFileReadOnly(const std::string& path, bool on) override {
        ui.SetReadOnly(path, on);
        return true;
    }
    bool SetPcClock(const LocalTime& now) override {
        clock.SetLocal(now);
        return true;
    }
};

}  // namespace qta1
