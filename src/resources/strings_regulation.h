// Texts the regulation pages show for the states the node reports.
#pragma once

namespace qta1::text {

// A pump or exchanger that runs, or stands still.
inline constexpr const char* kRunning = "On";
inline constexpr const char* kStopped = "Off";

// Antifrost heating while the unit is stopped.
inline constexpr const char* kAntifrostHeating = "Heating ON";
inline constexpr const char* kAntifrostIdle = "Heating OFF";

// The unit's start-up mode in cold weather.
inline constexpr const char* kStartupLowTemp = "Low temp";
inline constexpr const char* kStartupHighTemp = "High temp";

}  // namespace qta1::text
