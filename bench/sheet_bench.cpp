// CPU cost of what the technician waits for, against the simulated node.
// Sleeps run on the virtual clock, so the node protocol's waits are excluded.
#include <benchmark/benchmark.h>

#include "sim_session.h"

namespace qta1 {
namespace {

void Quiet(SimSession& s) {
    s.node.SetAnimated(false);
    s.trace.SetRecording(false);
}

// Properties verb to a sheet on screen: constructing every page, the
// configured-word read, Node Information's start-up, and closing again.
void BM_OpenSheet(benchmark::State& state) {
    SimSession s;
    Quiet(s);
    for (auto _ : state) {
        s.Open([](HeadlessPlatform& ui) { benchmark::DoNotOptimize(ui.Tabs().size()); });
    }
}
BENCHMARK(BM_OpenSheet);

// A page action on the PID page, repeated inside one open sheet.
void RunOnPid(benchmark::State& state, int button, bool withPassword) {
    SimSession s;
    Quiet(s);
    s.Open([&](HeadlessPlatform& ui) {
        ui.Idle(100);
        ui.Click(PageId::NodeInformation, IDC_NODEINFO_TECHNICIAN);
        ui.SelectTab(PageId::Pid);
        for (auto _ : state) {
            if (withPassword) ui.Type(PageId::Pid, IDC_PID_PASSWORD, "Tarvel");
            ui.Click(PageId::Pid, button);
        }
    });
}

void BM_PidRead(benchmark::State& state) { RunOnPid(state, IDC_PID_READ, false); }
void BM_PidWrite(benchmark::State& state) { RunOnPid(state, IDC_PID_WRITE, true); }
BENCHMARK(BM_PidRead);
BENCHMARK(BM_PidWrite);

}  // namespace
}  // namespace qta1

BENCHMARK_MAIN();
