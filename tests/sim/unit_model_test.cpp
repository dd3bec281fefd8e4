#include "unit_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "platform/headless/trace.h"
#include "platform/headless/virtual_clock.h"
#include "simulated_node.h"

namespace qta1 {
namespace {

using Bytes = std::vector<uint8_t>;
constexpr int64_t kSecond = 1000;
constexpr int64_t kMinute = 60 * kSecond;

// A factory unit, written down here byte by byte: part 1 with heating and
// exchanger fitted (byte 2 = 0x15) and both set points calculated (byte 4
// = 0x31); every loop of the PID part at P 1.0, I 60, D 5; injection
// between 15.0 and 25.0, the space at 21.0 in winter (10.0 outdoor) and
// 23.0 in summer (23.0 outdoor).
Bytes Part1(uint8_t equipment = 0x15) {
    Bytes b(31, 0);
    b[0] = 1;
    b[2] = equipment;
    b[4] = 0x31;
    return b;
}
Bytes PidPart(int pTenths, int i, int d) {
    Bytes b(31, 0);
    b[0] = 8;
    for (int loop = 0; loop < 4; ++loop) {
        const int words[] = {pTenths, i, d};
        for (int k = 0; k < 3; ++k) {
            b[static_cast<size_t>(6 * loop + 2 * k + 1)] = static_cast<uint8_t>(words[k] >> 8);
            b[static_cast<size_t>(6 * loop + 2 * k + 2)] = static_cast<uint8_t>(words[k] & 0xFF);
        }
    }
    return b;
}
Bytes Setpoints(int winterSetpoint = 2100) {
    Bytes b(31, 0);
    const auto put = [&b](int word, int hundredths) {
        const auto bits = static_cast<uint16_t>(hundredths);
        b[static_cast<size_t>(2 * word + 1)] = static_cast<uint8_t>(bits >> 8);
        b[static_cast<size_t>(2 * word + 2)] = static_cast<uint8_t>(bits & 0xFF);
    };
    put(0, 1500);
    put(1, 2100);
    put(2, 2500);
    put(10, 1000);
    put(11, 2300);
    put(12, winterSetpoint);
    put(13, 2300);
    return b;
}

UnitSettings Settings(int pTenths, int i, int d, int winterSetpoint = 2100,
                      uint8_t equipment = 0x15) {
    return UnitSettings::FromNode(Part1(equipment), PidPart(pTenths, i, d),
                                  Setpoints(winterSetpoint));
}

bool OutputsInRange(const UnitModel& m) {
    for (Actuator a :
         {Actuator::Heating, Actuator::Exchanger, Actuator::Recycling, Actuator::Cooling}) {
        const double percent = m.OutputPercent(a);
        if (!(percent >= 0 && percent <= 100)) return false;
    }
    return true;
}

// The stages' positions in the heating sequence (less cooling, exchanger,
// recycling, heating) of the fitted ones: fully open up to the one that
// regulates, closed after it.
bool OneStageRegulates(const UnitModel& m, const UnitSettings& s) {
    const Actuator sequence[] = {Actuator::Cooling, Actuator::Exchanger, Actuator::Recycling,
                                 Actuator::Heating};
    bool pastRegulating = false;
    for (Actuator a : sequence) {
        if (!s.fitted[static_cast<size_t>(a)]) continue;
        const double position =
            a == Actuator::Cooling ? 100 - m.OutputPercent(a) : m.OutputPercent(a);
        if (pastRegulating && position != 0) return false;
        if (position < 100) pastRegulating = true;
    }
    return true;
}

// The winter set point goes from 21.0 to 24.0 on a unit at rest (outdoor
// about 1 degree, so the space set point is the winter one). How far Bs1
// has come after one minute, when it first comes within 0.5 degree of the
// new set point, and how far it overshoots pin the response: a model that
// goes flat, ignores P or I, or runs away fails them.
TEST(UnitModel, StepResponseFollowsTheLoopConstants) {
    // clang-format off
    struct Case { int pTenths, i, d; double movedAfterMinute; int withinAfterS; double overshoot; };
    const Case cases[] = {
        {10, 60,  5, 2.75, 46,  0.10},  // the factory constants
        {2,  60,  5, 1.18, 188, 0.26},  // a smaller P gets there later
        {30, 60,  5, 2.98, 26,  0.03},  // a larger P sooner, with less overshoot
        {10, 20,  5, 3.51, 28,  0.53},  // a shorter integral time overshoots
        {10, 240, 5, 2.25, 110, 0.10},  // a longer one is slower
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE("P " + std::to_string(c.pTenths) + " I " + std::to_string(c.i));
        UnitModel m(0, Settings(c.pTenths, c.i, c.d));
        EXPECT_NEAR(m.InjectionC(), 21.0, 0.01);  // at rest
        m.AdvanceTo(kMinute, Settings(c.pTenths, c.i, c.d));
        EXPECT_NEAR(m.InjectionC(), 21.0, 0.01);
        const UnitSettings raised = Settings(c.pTenths, c.i, c.d, 2400);
        int within = -1;
        double afterMinute = 0;
        double peak = 0;
        for (int s = 1; s <= 20 * 60; ++s) {
            m.AdvanceTo(kMinute + s * kSecond, raised);
            ASSERT_TRUE(OutputsInRange(m)) << s;
            peak = std::max(peak, m.InjectionC());
            if (s == 60) afterMinute = m.InjectionC();
            if (within < 0 && std::fabs(m.InjectionC() - 24.0) <= 0.5) within = s;
        }
        EXPECT_DOUBLE_EQ(m.CalcInjectionSetpointC(), 24.0);
        EXPECT_NEAR(afterMinute - 21.0, c.movedAfterMinute, 0.05);
        EXPECT_NEAR(within, c.withinAfterS, 3);
        EXPECT_NEAR(peak - 24.0, c.overshoot, 0.05);
        EXPECT_NEAR(m.InjectionC(), 24.0, 0.15);  // settled after 20 minutes
    }
}

// Whatever the constants and the set point a unit resting at 21 degrees is
// given, every output stays within 0 to 100 %, the stages take turns (heat recovery before
// recycling before the heating coil, no heating while cooling), and the air ends where the fitted
// equipment can bring it.
TEST(UnitModel, OutputsStayInRangeAndTheStagesTakeTurns) {
    const auto custom = [](uint8_t equipment, double setpoint, int pTenths, int i, int d) {
        UnitSettings s = Settings(pTenths, i, d, 2100, equipment);
        s.calcSpace = false;
        s.calcInjection = false;
        s.fixedSetpoint = setpoint;
        return s;
    };
    // clang-format off
    struct Case {
        const char* name; UnitSettings settings;
        double endsNear;  // where Bs1 ends after two hours (NAN: anywhere)
        Actuator regulating; double percent;  // and the output of the stage that regulates then
    };
    const Case cases[] = {
        {"factory unit, warm set point", custom(0x15, 24, 10, 60, 5),       24,  Actuator::Heating,   19.5},
        {"no heating coil",              custom(0x04, 24, 10, 60, 5),       NAN, Actuator::Exchanger, 100},
        {"recycling before the coil",    custom(0x07, 22, 10, 60, 5),       22,  Actuator::Recycling, 81.4},
        {"cooling below outdoor",        custom(0x0F, -5, 10, 60, 5),       -5,  Actuator::Cooling,   54.4},
        {"largest constants",            custom(0x0F, 24, 65535, 1, 65535), NAN, Actuator::Heating,   NAN},
        {"P 0 holds every output",       custom(0x15, 24, 0, 60, 5),        NAN, Actuator::Heating,   17.0},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // At rest at 21 degrees with the factory constants first.
        UnitSettings before = c.settings;
        before.fixedSetpoint = 21;
        before.loops = Settings(10, 60, 5).loops;
        UnitModel m(0, before);
        for (int s = 1; s <= 2 * 3600; ++s) {
            m.AdvanceTo(s * kSecond, c.settings);
            ASSERT_TRUE(OutputsInRange(m)) << s;
            ASSERT_TRUE(OneStageRegulates(m, c.settings)) << s;
            ASSERT_TRUE(std::isfinite(m.InjectionC()) && std::isfinite(m.ExhaustC())) << s;
        }
        if (!std::isnan(c.endsNear)) {
            EXPECT_NEAR(m.InjectionC(), c.endsNear, 0.1);
        }
        if (!std::isnan(c.percent)) {
            EXPECT_NEAR(m.OutputPercent(c.regulating), c.percent, 1.0);
        }
    }
}

struct ModelNode {
    VirtualClock clock;
    Trace trace{clock};
    SimulatedNode node{clock, &trace};

    ModelNode() { node.UseUnitModel(true); }
    void At(int64_t ms) { clock.Advance(ms - clock.NowMs()); }
    int Word(int nv, int offset) const {
        return node.Nv(nv)[offset] << 8 | node.Nv(nv)[offset + 1];
    }
    double Celsius(int nv, int offset) const {
        return static_cast<int16_t>(Word(nv, offset)) / 100.0;
    }
    void Write(int nv, const Bytes& bytes) {
        ASSERT_EQ(node.WriteNv(nv, bytes.data(), static_cast<int32_t>(bytes.size())), kHostOk);
    }
};

// The plug-in reads the live NVs every 2 s on most pages, every second on
// some, not at all on others; what the node shows at a moment must not
// depend on that, also across writes of the PID part and the set points
// made between reads.
TEST(UnitModelOnTheNode, ReadsAtAnyPaceGiveTheSameValues) {
    const int64_t periods[] = {7 * kMinute, kSecond, 2 * kSecond, 10 * kSecond, 3700};
    const int64_t samples[] = {kMinute, 5 * kMinute, 10 * kMinute, 20 * kMinute};
    const int liveNvs[] = {2, 10, 19, 20, 22, 29, 43, 44, 48};
    std::vector<std::vector<NvValue>> first;
    for (int64_t period : periods) {
        SCOPED_TRACE(period);
        ModelNode n;
        // Events in time order: reads at the row's pace, a P of 3.0 written
        // to the PID part at 61.5 s, a winter set point of 24.0 at 5 min.
        std::vector<NvValue> seen;
        bool wroteP = false, wroteSetpoint = false;
        size_t nextSample = 0;
        for (int64_t t = 0; nextSample < std::size(samples);) {
            const int64_t nextRead = (t / period + 1) * period;
            int64_t next = std::min(nextRead, samples[nextSample]);
            if (!wroteP) next = std::min<int64_t>(next, 61500);
            if (!wroteSetpoint) next = std::min(next, 5 * kMinute);
            n.At(next);
            t = next;
            if (!wroteP && t == 61500) {
                n.Write(55, {0x00, 0x08});
                n.Write(56, PidPart(30, 60, 5));
                n.Write(55, {0x00, 0x01});
                wroteP = true;
            }
            if (!wroteSetpoint && t == 5 * kMinute) {
                n.Write(50, Setpoints(2400));
                wroteSetpoint = true;
            }
            for (int nv : liveNvs) n.node.Nv(nv);  // a read at this pace
            if (t == samples[nextSample]) {
                for (int nv : liveNvs) seen.push_back(n.node.Nv(nv));
                ++nextSample;
            }
        }
        if (first.empty()) {
            first.push_back(seen);
            EXPECT_NEAR(n.Celsius(10, 0), 24.0, 0.5);  // Bs1 got to the new set point
        } else {
            EXPECT_EQ(seen, first[0]);
        }
    }
}

// What the node shows with the model on, against what the technician and the
// scenarios do to it.
TEST(UnitModelOnTheNode, ShowsTheModelWhereNothingElseDecides) {
    const NvValue sensorFault{0x95, 0x5C};  // -273.00
    struct Case {
        const char* name;
        std::function<void(ModelNode&)> act;          // at 2 minutes
        std::function<void(const ModelNode&)> check;  // at 12 minutes
    };
    const Case cases[] = {
        {"the calculated set points follow NV 50 at once",
         [](ModelNode& n) { n.Write(50, Setpoints(2400)); },
         [](const ModelNode& n) {
             EXPECT_EQ(n.Word(19, 0), 2400);
             EXPECT_EQ(n.Word(20, 0), 2400);
             EXPECT_NEAR(n.Celsius(10, 0), 24.0, 0.5);
             EXPECT_GT(n.Celsius(2, 3), 22.5);  // the space warms after it
         }},
        {"without the calculation the fixed set point holds, within no limits",
         [](ModelNode& n) {
             Bytes part1 = Part1();
             part1[4] = 0x00;
             n.Write(56, part1);
             Bytes setpoints = Setpoints();
             setpoints[3] = 0x0A;  // "Calc" 25.60, above the 25.00 maximum
             setpoints[4] = 0x00;
             n.Write(50, setpoints);
         },
         [](const ModelNode& n) {
             EXPECT_EQ(n.Word(19, 0), 2560);
             EXPECT_EQ(n.Word(20, 0), 2560);
         }},
        {"a unit without equipment regulates nothing",
         [](ModelNode& n) {
             n.node.SetPart(1, NvValue{0x01, 0x00, 0x00, 0x00, 0x31});
         },
         [](const ModelNode& n) {
             for (int nv : {43, 44}) EXPECT_EQ(n.Word(nv, 0), 0) << nv;
             EXPECT_EQ(n.Word(48, 7), 0);
             EXPECT_EQ(n.Word(48, 9), 0);
             EXPECT_LT(n.Celsius(10, 0), 10.0);  // Bs1 falls toward outdoor
         }},
        {"cooling and recycling show in the room mode NV, counted to 4095",
         [](ModelNode& n) {
             n.node.SetPart(1, NvValue{0x01, 0x00, 0x0F, 0x00, 0x00});
             Bytes setpoints = Setpoints();
             setpoints[3] = 0xFE;  // "Calc" -3.00, below outdoor
             setpoints[4] = 0xD4;
             n.Write(50, setpoints);
         },
         [](const ModelNode& n) {
             EXPECT_GT(n.Word(48, 9), 0);
             EXPECT_LE(n.Word(48, 9), 4095);
             EXPECT_EQ(n.Word(48, 7), 0);
             EXPECT_EQ(n.Word(43, 0), 0);
             EXPECT_NEAR(n.Celsius(10, 0), -3.0, 0.5);
         }},
        {"a sensor fault set by SetNv wins", [&](ModelNode& n) { n.node.SetNv(10, sensorFault); },
         [&](const ModelNode& n) {
             EXPECT_EQ(n.node.Nv(10), sensorFault);
             EXPECT_GT(n.Word(43, 0), 0);  // the unit still heats
         }},
        {"held still, the model holds too", [](ModelNode& n) { n.node.SetAnimated(false); },
         [](const ModelNode& n) {
             ModelNode atTwo;
             atTwo.At(2 * kMinute);
             for (int nv : {2, 10, 20, 43, 44, 48})
                 EXPECT_EQ(n.node.Nv(nv), atTwo.node.Nv(nv)) << nv;
         }},
        {"switched back, the waves return", [](ModelNode& n) { n.node.UseUnitModel(false); },
         [](const ModelNode& n) {
             VirtualClock clock;
             SimulatedNode waves(clock, nullptr);
             clock.Advance(n.clock.NowMs());
             for (int nv : {2, 10, 19, 20, 22, 43, 44, 48})
                 EXPECT_EQ(n.node.Nv(nv), waves.Nv(nv)) << nv;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ModelNode n;
        n.At(2 * kMinute);
        c.act(n);
        n.At(12 * kMinute);
        c.check(n);
    }
}

}  // namespace
}  // namespace qta1
