// The scenario language of qta1-sim: a small script that sets up a simulated
// node, opens the plug-in's sheet, acts as the technician and prints what the
// plug-in shows. The run's output is the trace of everything that happened;
// the acceptance scenarios compare it with an expected trace. The language is
// described in docs/scenarios.md.
#pragma once

#include <string>
#include <string_view>

namespace qta1 {

inline constexpr int kScenarioOk = 0;
inline constexpr int kScenarioError = 2;

// Runs `script` against a fresh simulated node and headless plug-in and
// appends the trace to `output`. On a scenario error (unknown command, bad
// syntax, a control or tab that cannot be found) the run stops: `output`
// holds the trace up to that point followed by
// "error: <scriptName>:<line>: <message>\n", and the result is kScenarioError.
int RunScenario(std::string_view script, std::string_view scriptName, std::string& output);

class ScenarioHost;
// The same against another host, such as the real sheet under Windows.
int RunScenario(ScenarioHost& host, std::string_view script, std::string_view scriptName,
                std::string& output);

}  // namespace qta1
