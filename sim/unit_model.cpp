#include "unit_model.h"

#include <algorithm>
#include <cmath>

#include "frame/codec.h"

namespace qta1 {

namespace {

constexpr double kStepS = static_cast<double>(UnitModel::kStepMs) / 1000;
constexpr int64_t kDayMs = int64_t{24} * 3600 * 1000;

// The outdoor air: a mean with a daily swing.
constexpr double kOutdoorMeanC = 5.0;
constexpr double kOutdoorSwingK = 4.0;
// The injection sensor sits just after the coils: it follows the air they
// deliver within a minute or so. The space, and the exhaust air taken from
// it, follow the injection air over ten minutes, a little warmer for the
// people, lights and machines in it.
constexpr double kInjectionLagS = 60;
constexpr double kSpaceLagS = 600;
constexpr double kSpaceGainK = 1.0;
// What each actuator does at 100 %: the exchanger brings the fresh air three
// quarters of the way to the exhaust temperature, the recycling damper
// replaces all fresh air by exhaust air, the heating coil adds 25 K, the
// cooling coil takes 12 K away.
constexpr double kExchangerEfficiency = 0.75;
constexpr double kHeatingRiseK = 25;
constexpr double kCoolingDropK = 12;
// A loop with P = 1.0 moves its output by 10 % per degree of error.
constexpr double kPercentPerKelvin = 10;
// A new model runs this long with the outdoor temperature held, so that it
// starts at rest.
constexpr int kSettleSteps = 4 * 3600;

constexpr double kPi = 3.14159265358979323846;

// cos(2 pi turns) from a polynomial, so that every build gives the same
// bits; accurate to better than 1e-6.
double CosTurns(double turns) {
    const double fraction = turns - std::floor(turns);   // 0 <= fraction < 1
    double angle = std::fabs(2 * kPi * fraction - kPi);  // cos(2 pi f) = -cos(angle)
    double sign = -1;
    if (angle > kPi / 2) {
        angle = kPi - angle;
        sign = 1;
    }
    const double a2 = angle * angle;
    const double cosine =
        1 - a2 / 2 * (1 - a2 / 12 * (1 - a2 / 30 * (1 - a2 / 56 * (1 - a2 / 90 * (1 - a2 / 132)))));
    return sign * cosine;
}

int WordOf(std::span<const uint8_t> value, int word) {
    return ComposeWord(value[static_cast<size_t>(2 * word + 1)],
                       value[static_cast<size_t>(2 * word + 2)]);
}

double TemperatureOf(std::span<const uint8_t> value, int word) {
    return DecodeSignedHundredths(value[static_cast<size_t>(2 * word + 1)],
                                  value[static_cast<size_t>(2 * word + 2)]);
}

bool StoredBit(uint8_t byte, int bit) { return (byte >> bit & 1) != 0; }

// The space set point: with its calculation on, the straight line between
// the winter and the summer point over the outdoor temperature, held flat
// beyond them; otherwise the fixed set point.
double SpaceSetpoint(const UnitSettings& s, double outdoor) {
    if (!s.calcSpace) return s.fixedSetpoint;
    const double low = std::min(s.winterOutdoor, s.summerOutdoor);
    const double high = std::max(s.winterOutdoor, s.summerOutdoor);
    if (high == low) return s.winterSetpoint;
    const double at = std::clamp(outdoor, low, high);
    return s.winterSetpoint + (s.summerSetpoint - s.winterSetpoint) * (at - s.winterOutdoor) /
                                  (s.summerOutdoor - s.winterOutdoor);
}

// The injection set point is the space set point; with "Calc. setpoint"
// checked the unit keeps it between the minimum and maximum injection
// temperatures.
double InjectionSetpoint(const UnitSettings& s, double space) {
    if (!s.calcInjection) return space;
    return std::max(s.minInjection, std::min(space, s.maxInjection));
}

// The stages of the heating sequence, from the coldest to the warmest: less
// cooling, then heat recovered by the exchanger, then recycled exhaust air,
// then the heating coil. A stage opens further only while every fitted
// stage before it is fully open, and closes only while every fitted stage
// after it is closed, so one stage at a time regulates. The stages move in
// this order within a step, each seeing where the ones before it went.
constexpr Actuator kSequence[] = {Actuator::Cooling, Actuator::Exchanger, Actuator::Recycling,
                                  Actuator::Heating};

size_t IndexOf(Actuator a) { return static_cast<size_t>(a); }

}  // namespace

UnitSettings UnitSettings::FromNode(std::span<const uint8_t> part1,
                                    std::span<const uint8_t> pidPart,
                                    std::span<const uint8_t> setpoints) {
    UnitSettings s;
    for (int loop = 0; loop < kActuatorCount; ++loop) {
        LoopConstants& c = s.loops[static_cast<size_t>(loop)];
        c.p = WordOf(pidPart, 3 * loop) * 0.1;
        c.i = WordOf(pidPart, 3 * loop + 1);
        c.d = WordOf(pidPart, 3 * loop + 2);
    }
    // Part 1 byte 2: heating surface, recirculation damper, exchanger, cooling surface.
    s.fitted[IndexOf(Actuator::Heating)] = StoredBit(part1[2], 0);
    s.fitted[IndexOf(Actuator::Recycling)] = StoredBit(part1[2], 1);
    s.fitted[IndexOf(Actuator::Exchanger)] = StoredBit(part1[2], 2);
    s.fitted[IndexOf(Actuator::Cooling)] = StoredBit(part1[2], 3);
    s.calcInjection = StoredBit(part1[4], 0);
    s.calcSpace = StoredBit(part1[4], 4);
    s.minInjection = TemperatureOf(setpoints, 0);
    s.fixedSetpoint = TemperatureOf(setpoints, 1);
    s.maxInjection = TemperatureOf(setpoints, 2);
    s.winterOutdoor = TemperatureOf(setpoints, 10);
    s.summerOutdoor = TemperatureOf(setpoints, 11);
    s.winterSetpoint = TemperatureOf(setpoints, 12);
    s.summerSetpoint = TemperatureOf(setpoints, 13);
    return s;
}

double UnitModel::OutdoorAt(int64_t ms) {
    return kOutdoorMeanC - kOutdoorSwingK * CosTurns(static_cast<double>(ms % kDayMs) /
                                                     static_cast<double>(kDayMs));
}

UnitModel::UnitModel(int64_t ms, const UnitSettings& settings) {
    ms_ = ms - ms % kStepMs;
    outdoor_ = OutdoorAt(ms_);
    spaceSetpoint_ = SpaceSetpoint(settings, outdoor_);
    injectionSetpoint_ = InjectionSetpoint(settings, spaceSetpoint_);
    injection_ = injectionSetpoint_;
    exhaust_ = injectionSetpoint_ + kSpaceGainK;
    smoothed_.fill(injection_);
    position_[IndexOf(Actuator::Cooling)] = 100;  // no cooling
    for (int i = 0; i < kSettleSteps; ++i) Step(settings, outdoor_);
}

void UnitModel::AdvanceTo(int64_t ms, const UnitSettings& settings) {
    while (ms_ + kStepMs <= ms) {
        ms_ += kStepMs;
        Step(settings, OutdoorAt(ms_));
    }
}

double UnitModel::OutputPercent(Actuator actuator) const {
    const double position = position_[IndexOf(actuator)];
    return actuator == Actuator::Cooling ? 100 - position : position;
}

// One step: each loop moves its stage by the change of its PID output
// (velocity form). The error is the injection set point minus Bs1; the
// derivative is taken on Bs1 alone, smoothed over half the derivative time,
// so a set-point change kicks only through P and a large D cannot make the
// stage flap from one second to the next. Working on changes, a loop cannot
// wind up: a stage held at 0 or 100 % simply stops there. Then the air
// follows the outputs.
void UnitModel::Step(const UnitSettings& s, double outdoor) {
    outdoor_ = outdoor;
    spaceSetpoint_ = SpaceSetpoint(s, outdoor);
    injectionSetpoint_ = InjectionSetpoint(s, spaceSetpoint_);
    const double error = injectionSetpoint_ - injection_;

    for (size_t k = 0; k < std::size(kSequence); ++k) {
        const size_t stage = IndexOf(kSequence[k]);
        const LoopConstants& c = s.loops[stage];
        const double gain = c.p * kPercentPerKelvin;
        const double before = smoothed_[stage];
        smoothed_[stage] += (injection_ - before) * kStepS / (c.d / 2.0 + kStepS);
        const double derivative = -gain * c.d * (smoothed_[stage] - before) / kStepS;
        double change = gain * (error - lastError_) + derivative - lastDerivative_[stage];
        if (c.i > 0) change += gain * error * kStepS / c.i;
        lastDerivative_[stage] = derivative;
        if (!s.fitted[stage]) {
            position_[stage] = kSequence[k] == Actuator::Cooling ? 100 : 0;
            continue;
        }
        bool earlierOpen = true;
        bool laterClosed = true;
        for (size_t j = 0; j < std::size(kSequence); ++j) {
            const size_t other = IndexOf(kSequence[j]);
            if (!s.fitted[other]) continue;
            if (j < k && position_[other] < 100) earlierOpen = false;
            if (j > k && position_[other] > 0) laterClosed = false;
        }
        if ((change > 0 && !earlierOpen) || (change < 0 && !laterClosed)) change = 0;
        position_[stage] = std::clamp(position_[stage] + change, 0.0, 100.0);
    }
    lastError_ = error;

    const double recycled = OutputPercent(Actuator::Recycling) / 100;
    const double recovered = OutputPercent(Actuator::Exchanger) / 100;
    const double mixed = outdoor + recycled * (exhaust_ - outdoor);
    const double afterExchanger = mixed + kExchangerEfficiency * recovered * (exhaust_ - mixed);
    const double supply = afterExchanger + kHeatingRiseK * OutputPercent(Actuator::Heating) / 100 -
                          kCoolingDropK * OutputPercent(Actuator::Cooling) / 100;
    injection_ += (supply - injection_) * kStepS / kInjectionLagS;
    exhaust_ += (injection_ + kSpaceGainK - exhaust_) * kStepS / kSpaceLagS;
}

}  // namespace qta1
