// qta1host.exe, the substitute host: a small window that embeds the QTA1
// control, offers the simulated node on its client site and opens the
// property sheet through the control's properties verb from a button.
//
//   qta1host.exe [options]
//     --unconfigured        the node holds no configuration (configured word 0)
//     --no-node             the client site offers neither NvReader nor NvWriter
//     --state FILE          node state: a scenario (node, fault and site commands,
//                           as in qta1-sim) run before anything else
//     --trace FILE          write the trace (host calls, sleeps, timers, boxes) to FILE
//     --ocx FILE            the module to load (default: QTA1.OCX beside the host,
//                           else the registered control)
//     --registered          the registered control, as a host creates it (the
//                           installed module), even with QTA1.OCX beside the host;
//                           says on stderr which module that is
//     --open                open the sheet at start (for the user); the host
//                           closes when the sheet does
//     --scenario FILE       run a qta1-sim scenario against the real sheet, print
//                           its trace and exit with the scenario's result
//     --screenshots FOLDER  save BMP pictures of the sheet and every page
//     --snapshot FILE       open the sheet, save one BMP picture of it, close
//
// Opened for the user (the button, or --open) the sheet runs in real time on
// a simulated unit that regulates (the node's thermal model), and the user
// answers its message boxes; the trace is still kept and --trace
// writes it when the host closes. Every other mode runs the sheet scripted, on
// the virtual clock. The checks of the real sheet are a program of their own
// built on the same host (tests/win32/sheet).
//
// The exit code is 0 on success, 1 on a usage or start-up error, 2 on a
// scenario error or a picture not taken, 3 when the node, the site or a
// settings file opened as the node is still referenced after the control has
// gone.
#include <windows.h>

#include "host_session.h"
#include "host_shots.h"
#include "scenario.h"

namespace qta1::host {

namespace {

int RunScenarioFile(Session& session) {
    std::string report;
    int result = 0;
    int exitCode = 0;
    if (!RunScript(session.host, session.value, report, result)) {
        exitCode = 1;
    } else if (result != kScenarioOk) {
        exitCode = 2;
    }
    session.host.RemoveScenarioFiles();
    Print(report);
    return exitCode;
}

int SaveScreenshots(Session& session) {
    std::string report;
    const int failures = TakeScreenshots(session.host, session.value, report);
    Print(report);
    return failures != 0 ? 2 : 0;
}

int SaveSnapshot(Session& session) {
    if (TakeSnapshot(session.host, session.value)) return 0;
    PrintError(L"could not save " + session.value);
    return 2;
}

// A person watching the sheet sees a unit that answers what they write: the
// live values come from the node's thermal model rather than fixed waves.
int OpenForUserAtStart(Session& session) {
    session.host.Node().UseUnitModel(true);
    return RunWindow(session, true);
}
int WaitForUser(Session& session) {
    session.host.Node().UseUnitModel(true);
    return RunWindow(session, false);
}

// Of the modes named, the first row runs.
constexpr Mode kModes[] = {
    {L"--scenario", Mode::Takes::Path, RunScenarioFile},
    {L"--screenshots", Mode::Takes::Path, SaveScreenshots},
    {L"--snapshot", Mode::Takes::Path, SaveSnapshot},
    {L"--open", Mode::Takes::Nothing, OpenForUserAtStart},
};

}  // namespace

}  // namespace qta1::host

int main() {
    return qta1::host::HostMain(L"qta1host", qta1::host::kModes, qta1::host::WaitForUser);
}
