#include "simulated_node.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "platform/headless/trace.h"
#include "platform/headless/virtual_clock.h"

namespace qta1 {
namespace {

using Bytes = std::vector<uint8_t>;
constexpr int32_t kFail = 1;

struct NodeFixture {
    VirtualClock clock;
    Trace trace{clock};
    SimulatedNode node{clock, &trace};

    int32_t Read(int nv, Bytes& out, int len = 31) {
        out.assign(static_cast<size_t>(std::max(len, 0)), 0xEE);
        return node.ReadNv(nv, out.data(), len);
    }
    int32_t Write(int nv, Bytes bytes) {
        return node.WriteNv(nv, bytes.data(), static_cast<int32_t>(bytes.size()));
    }
    int Word(int nv, int offset) const {
        return node.Nv(nv)[offset] << 8 | node.Nv(nv)[offset + 1];
    }
};

TEST(CivilDate, DaysAndWeekdaysAcrossLeapYearsAndEpoch) {
    // clang-format off
    struct Case { int y, m, d; int64_t days; int dayOfWeek; };
    const Case cases[] = {
        {1970, 1, 1, 0, 4},       {1969, 12, 31, -1, 3},   {2000, 2, 29, 11016, 2},
        {2026, 12, 7, 20794, 1},  {2027, 1, 0, 20818, 4},  {2026, 13, 1, 20819, 5},
        {2100, 3, 1, 47541, 1},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.days);
        EXPECT_EQ(DaysFromCivil(c.y, c.m, c.d), c.days);
        const LocalTime t = CivilFromSeconds(c.days * 86400 + 3661);
        EXPECT_EQ(DaysFromCivil(t.year, t.month, t.day), c.days);
        EXPECT_EQ(t.dayOfWeek, c.dayOfWeek);
        EXPECT_EQ(t.hour * 10000 + t.minute * 100 + t.second, 10101);
    }
}

TEST(SimulatedNode, SelectorChoosesThePartBehindNv56) {
    // clang-format off
    struct Step { Bytes selector; int32_t writeStatus; int selected; bool partReachable; };
    const Step steps[] = {
        {{0x00, 0x07}, kHostOk, 7,   true},
        {{0x00},       kFail,   7,   true},   // one byte is not a part number
        {{0x00, 0x0C}, kHostOk, 12,  true},
        {{0x00, 0x00}, kHostOk, 0,   false},  // left so after a download
        {{0x01, 0x01}, kHostOk, 257, false},
    };
    // clang-format on
    NodeFixture f;
    EXPECT_EQ(f.Word(56, 29), 2);  // factory part 1: configured
    for (const Step& s : steps) {
        SCOPED_TRACE(s.selected);
        Bytes buf;
        EXPECT_EQ(f.Write(55, s.selector), s.writeStatus);
        ASSERT_EQ(f.Read(55, buf), kHostOk);
        EXPECT_EQ(buf[0] << 8 | buf[1], s.selected);
        EXPECT_EQ(f.Read(56, buf) == kHostOk, s.partReachable);
        EXPECT_EQ(f.Write(56, Bytes(40, 0x5A)) == kHostOk, s.partReachable);  // 31 bytes land
        if (s.partReachable) {
            EXPECT_EQ(f.node.Part(s.selected)[30], 0x5A);
        }
    }
    EXPECT_EQ(f.node.Part(1)[0], 1);  // parts never selected keep their values
    EXPECT_EQ(f.node.Part(8)[0], 8);
}

TEST(SimulatedNode, HostCallsRefuseBadArgumentsWithoutTouchingMemory) {
    // clang-format off
    struct Case { bool write; int nv; int len; bool null; int32_t status; int copied; };
    const Case cases[] = {
        {false, 55, 50, false, kHostOk, 31},  // bytes beyond one value are the caller's
        {false, 55, 1,  false, kHostOk, 1},
        {false, 55, -1, false, kFail,   0},
        {false, 55, 31, true,  kFail,   0},
        {false, 57, 31, false, kFail,   0},   // not an NV of this node
        {true,  17, 2,  false, kHostOk, 0},
        {true,  10, 2,  false, kFail,   0},   // injection temperature is a status output
        {true,  9,  7,  false, kFail,   0},   // the clock is set through NV 51 only
        {true,  17, 0,  false, kFail,   0},
        {true,  17, 2,  true,  kFail,   0},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.nv) + (c.write ? " write " : " read ") +
                     std::to_string(c.len));
        NodeFixture f;
        f.node.SetAnimated(false);
        Bytes buf(64, 0xEE);
        uint8_t* p = c.null ? nullptr : buf.data();
        const NvValue before = f.node.Nv(c.nv);
        EXPECT_EQ(c.write ? f.node.WriteNv(c.nv, p, c.len) : f.node.ReadNv(c.nv, p, c.len),
                  c.status);
        const int untouchedFrom = c.write ? 0 : c.copied;
        EXPECT_EQ(std::count(buf.begin() + untouchedFrom, buf.end(), 0xEE), 64 - untouchedFrom);
        if (c.status != kHostOk || !c.write) {
            EXPECT_EQ(f.node.Nv(c.nv), before);
        }
    }
    NodeFixture f;  // a short write keeps the rest of the stored value
    f.Write(50, Bytes(31, 0x11));
    f.Write(50, {0x22, 0x22});
    EXPECT_EQ(f.Word(50, 1), 0x2211);
}

enum class Call { Read17, Write17, Name };

TEST(SimulatedNode, FaultInjection) {
    struct Case {
        const char* name;
        std::function<void(SimulatedNode&)> setup;
        std::vector<Call> calls;
        std::vector<int32_t> statuses;
    };
    using C = Call;
    // clang-format off
    const Case cases[] = {
        {"third call from now", [](SimulatedNode& n) { n.FailCall(3); },
         {C::Read17, C::Name, C::Write17, C::Read17}, {0, 0, 1, 0}},
        {"reads of one NV", [](SimulatedNode& n) { n.FailNv(17, FaultOn::Reads); },
         {C::Read17, C::Write17, C::Name}, {1, 0, 0}},
        {"writes of one NV", [](SimulatedNode& n) { n.FailNv(17, FaultOn::Writes); },
         {C::Read17, C::Write17}, {0, 1}},
        {"everything, status 5", [](SimulatedNode& n) { n.FailAll(true); n.SetFailureStatus(5); },
         {C::Read17, C::Write17, C::Name}, {5, 5, 5}},
        {"name only", [](SimulatedNode& n) { n.FailNameRead(true); }, {C::Name, C::Read17}, {1, 0}},
        {"0 is no failure status", [](SimulatedNode& n) { n.FailAll(true); n.SetFailureStatus(0); },
         {C::Read17}, {1}},
        {"cleared", [](SimulatedNode& n) { n.FailAll(true); n.FailCall(1); n.ClearFaults(); },
         {C::Read17, C::Write17, C::Name}, {0, 0, 0}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        NodeFixture f;
        Bytes buf;
        f.Read(17, buf);  // FailCall counts from when it is called, not from the start
        c.setup(f.node);
        for (size_t i = 0; i < c.calls.size(); ++i) {
            const NvValue before = f.node.Nv(17);
            Bytes name(50, 0xEE);
            const int32_t status = c.calls[i] == Call::Read17 ? f.Read(17, buf)
                                   : c.calls[i] == Call::Write17
                                       ? f.Write(17, {0x00, 0x03})
                                       : f.node.ReadNodeName(name.data(), 50);
            EXPECT_EQ(status, c.statuses[i]) << "call " << i;
            if (status != kHostOk) {
                EXPECT_EQ(f.node.Nv(17), before);
                if (c.calls[i] != Call::Write17) {
                    EXPECT_EQ(c.calls[i] == Call::Name ? name[0] : buf[0], 0xEE);
                }
            }
        }
    }
}

TEST(SimulatedNode, NameStaysWithinTheCallersBuffer) {
    const std::string fifty(50, 'N');
    // clang-format off
    struct Case { std::string name; int len; std::string expected; std::string traced; };
    // clang-format on
    const Case cases[] = {
        {"ABCD", 50, "ABCD" + std::string(46, '\0'), "-> 0  \"ABCD\""},
        {fifty, 50, fifty, "\"" + fifty + "\""},  // no terminating zero
        {fifty, 20, std::string(20, 'N'), "\"" + std::string(20, 'N') + "\""},
        {fifty + "surplus", 50, fifty, ""},
        {std::string("A\0B", 3), 3, std::string("A\0B", 3), "\"A\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.len);
        NodeFixture f;
        f.node.SetName(c.name);
        Bytes buf(static_cast<size_t>(c.len));  // exact size: ASan sees any overrun
        ASSERT_EQ(f.node.ReadNodeName(buf.data(), c.len), kHostOk);
        EXPECT_EQ(std::string(buf.begin(), buf.end()), c.expected);
        EXPECT_NE(f.trace.lines().back().find(c.traced), std::string::npos);
    }
}

TEST(SimulatedNode, LiveValuesFollowVirtualTimeOnly) {
    NodeFixture a, b;
    int lowest = 65535, highest = 0;
    for (int minute = 0; minute < 24 * 60; minute += 7) {
        for (const int nv : {2, 9, 10, 11, 19, 20, 43, 44, 49}) {
            EXPECT_EQ(a.node.Nv(nv), b.node.Nv(nv));
        }
        const int outdoor = static_cast<int16_t>(a.Word(2, 5));
        EXPECT_TRUE(outdoor >= -200 && outdoor <= 400) << outdoor;
        EXPECT_LE(a.Word(43, 0), 20000);
        lowest = std::min(lowest, a.Word(10, 0));
        highest = std::max(highest, a.Word(10, 0));
        a.clock.Advance(7 * 60000);
        b.clock.Advance(7 * 60000);
    }
    EXPECT_EQ(lowest, 1800);  // injection swings between 18 and 22 degrees
    EXPECT_EQ(highest, 2200);

    NodeFixture f;
    f.clock.Advance(2 * 3600000);
    EXPECT_EQ(f.Word(49, 1), 4382);
    EXPECT_EQ(f.Write(40, {0x00, 0x04}), kHostOk);  // reset the exchanger counter
    f.clock.Advance(3600000);
    EXPECT_EQ(f.Word(49, 7), 1);
    EXPECT_EQ(f.Word(49, 1), 4383);

    const NvValue pinned{0x07};
    f.node.SetNv(10, pinned);
    f.clock.Advance(90000);
    const NvValue outdoor = f.node.Nv(2);
    f.node.SetAnimated(false);
    const NvValue clock = f.node.Nv(9);
    f.clock.Advance(5 * 60000 + 1000);
    EXPECT_EQ(f.node.Nv(10), pinned);
    EXPECT_EQ(f.node.Nv(2), outdoor);
    EXPECT_NE(f.node.Nv(9), clock);  // the node clock runs on
}

TEST(SimulatedNode, ClockSettingNvSetsTheNodeClock) {
    const Bytes unchanged = {0x07, 0xEA, 12, 7, 9, 0, 3};
    // clang-format off
    struct Case { Bytes written; int32_t status; Bytes oneSecondLater; };
    const Case cases[] = {
        {{0x07, 0xEA, 12, 31, 23, 59, 59}, kHostOk, {0x07, 0xEB, 1, 1, 0, 0, 0}},
        {{0x07, 0xD0, 2, 29, 7, 5, 9},     kHostOk, {0x07, 0xD0, 2, 29, 7, 5, 10}},
        {{0x07, 0xEB, 2, 29, 7, 5, 9},     kFail,   unchanged},  // 2027 has no 29 February
        {{0x07, 0xEA, 13, 1, 7, 5, 9},     kFail,   unchanged},
        {{0x07, 0xEA, 12, 6, 24, 0, 0},    kFail,   unchanged},
        {{0x07, 0xEA, 12, 6, 7, 5},        kFail,   unchanged},  // six bytes
    };
    // clang-format on
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        NodeFixture f;
        Bytes buf;
        f.clock.Advance(2500);  // the written time counts from the write, not from the start
        ASSERT_EQ(f.Read(9, buf, 32), kHostOk);
        EXPECT_EQ(Bytes(buf.begin(), buf.begin() + 7), (Bytes{0x07, 0xEA, 12, 7, 9, 0, 2}));
        EXPECT_EQ(f.Write(51, cases[i].written), cases[i].status);
        f.clock.Advance(1000);
        ASSERT_EQ(f.Read(9, buf, 32), kHostOk);
        EXPECT_EQ(Bytes(buf.begin(), buf.begin() + 7), cases[i].oneSecondLater);
    }
    NodeFixture f;  // Monday 9:00 lies inside Calender 1's 8:00 to 16:00
    Bytes schedule(31, 0);
    schedule[5] = 64;
    schedule[6] = 32;
    f.Write(8, schedule);
    EXPECT_EQ(f.Word(11, 0), 1);
    f.clock.Advance(7 * 3600000);
    EXPECT_EQ(f.Word(11, 0), 0);
}

TEST(SimulatedNode, TraceLineFormats) {
    NodeFixture f;
    f.clock.Advance(1234);
    Bytes buf;
    f.Read(55, buf, 2);
    f.Read(3, buf, 40);
    f.Read(57, buf, 31);
    f.Write(55, {0x00, 0x07});
    f.Write(56, Bytes(33, 0xAB));
    f.Write(9, {0xFF});
    f.node.ReadNodeName(buf.data(), 20);
    f.node.FailNameRead(true);
    f.node.ReadNodeName(buf.data(), 20);
    f.trace.SetRecording(false);
    f.Read(55, buf);
    f.trace.SetRecording(true);
    f.clock.Advance(12345678 - 1234);
    f.Write(40, {});
    std::string zeros31 = "00", ab31 = "AB";
    for (int i = 1; i < 31; ++i) zeros31 += " 00", ab31 += " AB";
    EXPECT_EQ(f.trace.Text(),
              "   1.234  ReadNv(55, 2) -> 0  [00 01]\n"
              "   1.234  ReadNv(3, 40) -> 0  [" +
                  zeros31 +
                  "]\n"
                  "   1.234  ReadNv(57, 31) -> 1\n"
                  "   1.234  WriteNv(55, 2) <- [00 07] -> 0\n"
                  "   1.234  WriteNv(56, 33) <- [" +
                  ab31 +
                  " ...] -> 0\n"
                  "   1.234  WriteNv(9, 1) <- [FF] -> 1\n"
                  "   1.234  ReadNodeName(20) -> 0  \"QTA1 Sim\"\n"
                  "   1.234  ReadNodeName(20) -> 1\n"
                  "12345.678  WriteNv(40, 0) <- [] -> 1\n");
    EXPECT_EQ(QuoteText(std::string("a\"b\\c\x01\xE9", 7)), "\"a\\\"b\\\\c\\x01\\xE9\"");
}

TEST(SimulatedNode, SiteHandsOutCountedInterfaces) {
    // clang-format off
    struct Case { bool offerReader, offerWriter; Guid iid; int32_t status; };
    const Case cases[] = {
        {true,  true,  kIidNvReader, kHostOk},      {true, true,  kIidNvWriter, kHostOk},
        {false, true,  kIidNvReader, kNoInterface}, {true, false, kIidNvWriter, kNoInterface},
        {true,  true,  Guid{1, 2, 3, {4}}, kNoInterface},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.iid.data1);
        NodeFixture f;
        SimulatedSite site(f.node);
        site.OfferReader(c.offerReader);
        site.OfferWriter(c.offerWriter);
        void* out = &f;
        EXPECT_EQ(site.QueryInterface(c.iid, &out), c.status);
        EXPECT_EQ(f.node.RefCount(), c.status == kHostOk ? 1 : 0);
        if (c.status != kHostOk) {
            EXPECT_EQ(out, nullptr);
            continue;
        }
        HostUnknown* unknown = c.iid == kIidNvReader
                                   ? static_cast<HostUnknown*>(static_cast<NvReader*>(out))
                                   : static_cast<NvWriter*>(out);
        void* again = nullptr;
        EXPECT_EQ(unknown->QueryInterface(c.iid, &again), kHostOk);
        EXPECT_EQ(again, out);
        unknown->Release();
        unknown->Release();
        EXPECT_EQ(f.node.RefCount(), 0);
    }
}

// A COM host calls by method-table position, not by name; the sanitizers
// cannot know that the plain function types match the methods.
#if defined(__clang__)
#define QTA1_RAW_SLOT_CALL __attribute__((no_sanitize("vptr", "function")))
#else
#define QTA1_RAW_SLOT_CALL __attribute__((no_sanitize("vptr")))
#endif
QTA1_RAW_SLOT_CALL void CallThroughMethodTables(SimulatedNode& node) {
    NvReader* reader = &node;
    NvWriter* writer = &node;
    auto readerTable = *reinterpret_cast<void* const* const*>(reader);
    auto writerTable = *reinterpret_cast<void* const* const*>(writer);
    using ReadFn = int32_t(QTA1_COMCALL*)(NvReader*, int32_t, uint8_t*, int32_t);
    using NameFn = int32_t(QTA1_COMCALL*)(NvReader*, uint8_t*, int32_t);
    using WriteFn = int32_t(QTA1_COMCALL*)(NvWriter*, int32_t, const uint8_t*, int32_t);
    const uint8_t part[2] = {0x00, 0x09};
    EXPECT_EQ(reinterpret_cast<WriteFn>(writerTable[kWriteNvSlot])(writer, 55, part, 2), kHostOk);
    uint8_t buf[32] = {};
    EXPECT_EQ(reinterpret_cast<ReadFn>(readerTable[kReadNvSlot])(reader, 56, buf, 32), kHostOk);
    EXPECT_EQ(buf[0], 9);
    EXPECT_EQ(reinterpret_cast<NameFn>(readerTable[kReadNodeNameSlot])(reader, buf, 32), kHostOk);
    EXPECT_STREQ(reinterpret_cast<const char*>(buf), "QTA1 Sim");
}

TEST(SimulatedNode, MethodsSitAtTheHostsSlots) {
    NodeFixture f;
    CallThroughMethodTables(f.node);
    EXPECT_EQ(f.node.CallCount(), 3);
}

}  // namespace
}  // namespace qta1
