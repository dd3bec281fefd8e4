// A small thermal model of the air-handling unit behind the simulated node,
// so that a person at the sheet sees a unit that answers what they write: a
// higher set point warms the injection air, a larger P gets there sooner.
//
// It is a plain class: no host calls and no clock of its own. It is stepped
// to a given virtual time in fixed steps of one second, so that the values
// at a moment never depend on how often, or when, they were read. Only
// +, -, * and / on doubles are used (no library sine), so that every build
// of the simulated node gives the same bytes at the same moment.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace qta1 {

// The four regulated actuators, in the order the PID part keeps their loops.
enum class Actuator { Heating, Exchanger, Recycling, Cooling };
inline constexpr int kActuatorCount = 4;

// One loop's constants as the PID page shows them: P (the stored word in
// tenths), I and D in seconds. I = 0 turns the integral action off.
struct LoopConstants {
    double p = 0;
    int i = 0;
    int d = 0;
};

// What the unit regulates by, decoded from the bytes the plug-in writes.
struct UnitSettings {
    std::array<LoopConstants, kActuatorCount> loops{};  // by Actuator
    std::array<bool, kActuatorCount> fitted{};          // by Actuator
    bool calcInjection = false;                         // the injection set point is limited
    bool calcSpace = false;                             // the space set point follows outdoor
    double minInjection = 0;                            // degrees Celsius
    double fixedSetpoint = 0;
    double maxInjection = 0;
    double winterOutdoor = 0;
    double summerOutdoor = 0;
    double winterSetpoint = 0;
    double summerSetpoint = 0;

    // Part 1 (as stored, not bit-reversed), the PID part and the injection
    // set-point NV, 31 bytes each, read as their pages read them.
    static UnitSettings FromNode(std::span<const uint8_t> part1, std::span<const uint8_t> pidPart,
                                 std::span<const uint8_t> setpoints);
};

class UnitModel {
public:
    static constexpr int64_t kStepMs = 1000;

    // A unit at rest at virtual time `ms` (rounded down to a whole step):
    // settled under `settings` and the outdoor temperature of that moment.
    UnitModel(int64_t ms, const UnitSettings& settings);

    // Steps on to `ms` (rounded down to a whole step) under `settings`; an
    // earlier time changes nothing.
    void AdvanceTo(int64_t ms, const UnitSettings& settings);

    int64_t Ms() const { return ms_; }
    double OutdoorC() const { return outdoor_; }
    double InjectionC() const { return injection_; }
    double ExhaustC() const { return exhaust_; }
    double CalcSpaceSetpointC() const { return spaceSetpoint_; }
    double CalcInjectionSetpointC() const { return injectionSetpoint_; }
    double OutputPercent(Actuator actuator) const;

    // The outdoor temperature over the day of virtual time: coldest at the
    // start of each day, warmest twelve hours later.
    static double OutdoorAt(int64_t ms);

private:
    void Step(const UnitSettings& settings, double outdoor);

    int64_t ms_ = 0;
    double outdoor_ = 0;
    double injection_ = 0;  // Bs1
    double exhaust_ = 0;    // Bs2
    double spaceSetpoint_ = 0;
    double injectionSetpoint_ = 0;
    // Each stage's position in the heating sequence, 0 to 100: the heating
    // actuators' outputs, and for cooling 100 minus its output.
    std::array<double, kActuatorCount> position_{};
    double lastError_ = 0;
    // Each loop's Bs1 smoothed for its derivative, and its last derivative term.
    std::array<double, kActuatorCount> smoothed_{};
    std::array<double, kActuatorCount> lastDerivative_{};
};

}  // namespace qta1
