// One run of the substitute host, shared by qta1host.exe and the programs
// built on the host: the common options, the host's window with the control
// embedded in it, the node and the site prepared, one mode run against them,
// and afterwards the trace written and every reference the control took from
// the host checked to be back.
#pragma once

// clang-format off
#include <windows.h>
// clang-format on

#include <span>
#include <string>

#include "host_control.h"
#include "host_scenario.h"

namespace qta1::host {

// What a mode works with: the host with the control embedded in its window,
// and the value given after the mode's option (empty when it takes none).
struct Session {
    RealSheetHost& host;
    EmbeddedControl& control;
    HWND window;
    const std::wstring& value;
};

// One thing a program does, chosen by its option. `run` runs with the control
// embedded; `alone`, when set, runs instead before anything is loaded. The
// result is the program's exit code.
struct Mode {
    enum class Takes { Nothing, Path, Count };
    const wchar_t* option;
    Takes takes;
    int (*run)(Session& session);
    int (*alone)(const std::wstring& value) = nullptr;
};

// The program's main: reads the common options (--unconfigured, --no-node,
// --state FILE, --trace FILE, --ocx FILE, --registered) and the modes' own;
// of the modes named on the command line the first row of `modes` runs,
// `byDefault` when none is named. `name` starts the program's error lines.
// The exit code is 0 on success, 1 on a usage or start-up error, what the
// mode returns otherwise, and 3 when the node, the site or a settings file
// opened as the node is still referenced after the control has gone.
int HostMain(const wchar_t* name, std::span<const Mode> modes, int (*byDefault)(Session&));

// Output as bytes (traces, reports), and an error line on stderr.
void Print(const std::string& text);
void PrintError(const std::wstring& text);

// Runs the scenario in `file` against the host; false when it cannot be read.
bool RunScript(RealSheetHost& host, const std::wstring& file, std::string& output, int& result);

// The host's window for the user until it closes; with `openAtStart` the
// sheet opens at once and the host closes with it.
int RunWindow(Session& session, bool openAtStart);

}  // namespace qta1::host
