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

constexpr int32_t kFail = 1;

struct NodeFixture {
    VirtualClock clock;
    Trace trace{clock};
    SimulatedNode node{clock, &trace};

    int32_t Read(int nv, std::vector<uint8_t>& out, int len = 31) {
        out.assign(static_cast<size_t>(std::max(len, 0)), 0xEE);
        return node.ReadNv(nv, out.data(), len);
    }
    int32_t Write(int nv, std::vector<uint8_t> bytes) {
        return node.WriteNv(nv, bytes.data(), static_cast<int32_t>(bytes.size()));
    }
};

int Word(const std::vector<uint8_t>& b, int offset) { return b[offset] << 8 | b[offset + 1]; }

TEST(CivilDate, DaysSecondsAndWeekdays) {
    struct Case { int y, m, d; int64_t days; int dayOfWeek; };
    const Case cases[] = {
        {1970, 1, 1, 0, 4},        {1969, 12, 31, -1, 3},      {2000, 2, 29, 11016, 2},
        {2000, 3, 1, 11017, 3},    {2026, 12, 7, 20794, 1},    {2027, 1, 0, 20818, 4},
        {2026, 13, 1, 20819, 5},   {2100, 3, 1, 47541, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.y) + "-" + std::to_string(c.m) + "-" + std::to_string(c.d));
        EXPECT_EQ(DaysFromCivil(c.y, c.m, c.d), c.days);
        const LocalTime t = CivilFromSeconds(c.days * 86400 + 3661);
        EXPECT_EQ(DaysFromCivil(t.year, t.month, t.day), c.days);
        EXPECT_EQ(t.dayOfWeek, c.dayOfWeek);
        EXPECT_EQ(t.hour * 10000 + t.minute * 100 + t.second, 10101);
    }
    const LocalTime before = CivilFromSeconds(-1);
    EXPECT_EQ(before.year * 10000 + before.month * 100 + before.day, 19691231);
    EXPECT_EQ(before.second, 59);
}

TEST(SimulatedNode, SelectorChoosesThePartBehindNv56) {
    struct Step { std::vector<uint8_t> selector; int32_t writeStatus; int selected; bool partReadable; };
    const Step steps[] = {
        {{0x00, 0x07}, kHostOk, 7, true},
        {{0x00}, kFail, 7, true},              // one byte is not a part number
        {{0x00, 0x0C}, kHostOk, 12, true},
        {{0x00, 0x00}, kHostOk, 0, false},     // left after a download: no part shown
        {{0x01, 0x01}, kHostOk, 257, false},
    };
    NodeFixture f;
    std::vector<uint8_t> buf;
    ASSERT_EQ(f.Read(56, buf), kHostOk);
    EXPECT_EQ(buf[0], 1);
    EXPECT_EQ(Word(buf, 29), 2);  // factory configured word
    for (const Step& s : steps) {
        SCOPED_TRACE(s.selected);
        EXPECT_EQ(f.Write(55, s.selector), s.writeStatus);
        ASSERT_EQ(f.Read(55, buf), kHostOk);
        EXPECT_EQ(Word(buf, 0), s.selected);
        EXPECT_EQ(f.Read(56, buf) == kHostOk, s.partReadable);
        std::vector<uint8_t> value(40, 0x5A);  // only 31 bytes may land in the part
        EXPECT_EQ(f.Write(56, value) == kHostOk, s.partReadable);
        if (s.partReadable) { EXPECT_EQ(f.node.Part(s.selected)[30], 0x5A); }
    }
    EXPECT_EQ(f.node.Part(1)[0], 1);  // parts never selected stay as they were
    EXPECT_EQ(f.node.Part(8)[0], 8);
}

TEST(SimulatedNode, ReadsCopyAtMostOneValueAndRefuseBadArguments) {
    struct Case { int nv; int len; bool nullBuffer; int32_t status; int copied; };
    const Case cases[] = {
        {55, 31, false, kHostOk, 31}, {55, 50, false, kHostOk, 31}, {55, 1, false, kHostOk, 1},
        {55, 0, false, kHostOk, 0},   {55, -1, false, kFail, 0},    {55, 31, true, kFail, 0},
        {1, 31, false, kFail, 0},     {57, 31, false, kFail, 0},    {40, 31, false, kHostOk, 31},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("nv " + std::to_string(c.nv) + " len " + std::to_string(c.len));
        NodeFixture f;
        std::vector<uint8_t> buf(64, 0xEE);
        EXPECT_EQ(f.node.ReadNv(c.nv, c.nullBuffer ? nullptr : buf.data(), c.len), c.status);
        for (int i = 0; i < 64; ++i) {
            if (i >= c.copied) { EXPECT_EQ(buf[i], 0xEE) << "byte " << i; }
        }
    }
}

TEST(SimulatedNode, WritesStoreOnlyWhatTheNodeAccepts) {
    struct Case { int nv; std::vector<uint8_t> bytes; int32_t status; };
    const Case cases[] = {
        {17, {0x00, 0x07}, kHostOk},
        {10, {0x12, 0x34}, kFail},  // injection temperature is a status output
        {9, {0x07, 0xEA}, kFail},   // the clock is set through NV 51 only
        {99, {0x01}, kFail},
        {17, {}, kFail},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("nv " + std::to_string(c.nv));
        NodeFixture f;
        f.node.SetAnimated(false);
        const NvValue before = f.node.Nv(c.nv);
        EXPECT_EQ(f.Write(c.nv, c.bytes), c.status);
        NvValue expected = before;
        if (c.status == kHostOk) std::copy(c.bytes.begin(), c.bytes.end(), expected.begin());
        EXPECT_EQ(f.node.Nv(c.nv), expected);
    }
    NodeFixture f;  // a short write keeps the rest of the stored value
    f.Write(50, std::vector<uint8_t>(31, 0x11));
    f.Write(50, {0x22, 0x22});
    EXPECT_EQ(f.node.Nv(50)[1], 0x22);
    EXPECT_EQ(f.node.Nv(50)[2], 0x11);
}

enum class Call { Read17, Write17, Name };

TEST(SimulatedNode, FaultInjection) {
    struct Case {
        const char* name;
        std::function<void(SimulatedNode&)> setup;
        std::vector<Call> calls;
        std::vector<int32_t> statuses;
    };
    const Case cases[] = {
        {"third call from now", [](SimulatedNode& n) { n.FailCall(3); },
         {Call::Read17, Call::Name, Call::Write17, Call::Read17}, {0, 0, 1, 0}},
        {"reads of one NV", [](SimulatedNode& n) { n.FailNv(17, FaultOn::Reads); },
         {Call::Read17, Call::Write17, Call::Name}, {1, 0, 0}},
        {"writes of one NV", [](SimulatedNode& n) { n.FailNv(17, FaultOn::Writes); },
         {Call::Read17, Call::Write17}, {0, 1}},
        {"everything, status 5",
         [](SimulatedNode& n) { n.FailAll(true); n.SetFailureStatus(5); },
         {Call::Read17, Call::Write17, Call::Name}, {5, 5, 5}},
        {"name only", [](SimulatedNode& n) { n.FailNameRead(true); },
         {Call::Name, Call::Read17}, {1, 0}},
        {"status 0 is refused", [](SimulatedNode& n) { n.FailAll(true); n.SetFailureStatus(0); },
         {Call::Read17}, {1}},
        {"cleared",
         [](SimulatedNode& n) {
             n.FailAll(true); n.FailNv(17, FaultOn::Both); n.FailCall(1); n.ClearFaults();
         },
         {Call::Read17, Call::Write17, Call::Name}, {0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        NodeFixture f;
        std::vector<uint8_t> buf;
        f.Read(17, buf);  // FailCall counts from when it is called, not from the start
        c.setup(f.node);
        for (size_t i = 0; i < c.calls.size(); ++i) {
            const NvValue before = f.node.Nv(17);
            int32_t status = 0;
            std::vector<uint8_t> name(50, 0xEE);
            switch (c.calls[i]) {
                case Call::Read17: status = f.Read(17, buf); break;
                case Call::Write17: status = f.Write(17, {0x00, 0x03}); break;
                case Call::Name: status = f.node.ReadNodeName(name.data(), 50); break;
            }
            EXPECT_EQ(status, c.statuses[i]) << "call " << i;
            if (status != kHostOk) {
                EXPECT_EQ(f.node.Nv(17), before);
                if (c.calls[i] == Call::Read17) { EXPECT_EQ(buf[0], 0xEE); }
                if (c.calls[i] == Call::Name) { EXPECT_EQ(name[0], 0xEE); }
            }
        }
        EXPECT_EQ(f.node.CallCount(), static_cast<int>(c.calls.size()) + 1);
    }
}

TEST(SimulatedNode, NameIsCopiedWithinTheCallersBuffer) {
    const std::string fifty(50, 'N');
    struct Case { std::string name; int len; std::string expected; const char* traced; };
    const Case cases[] = {
        {"ABCD", 50, std::string("ABCD") + std::string(46, '\0'), "\"ABCD\""},
        {fifty, 50, fifty, nullptr},
        {fifty, 20, std::string(20, 'N'), nullptr},
        {fifty + "overflow", 50, fifty, nullptr},
        {std::string("A\0B", 3), 3, std::string("A\0B", 3), "\"A\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.len);
        NodeFixture f;
        f.node.SetName(c.name);
        std::vector<uint8_t> buf(static_cast<size_t>(c.len));  // exact size: ASan sees any overrun
        ASSERT_EQ(f.node.ReadNodeName(buf.data(), c.len), kHostOk);
        EXPECT_EQ(std::string(buf.begin(), buf.end()), c.expected);
        if (c.traced) { EXPECT_NE(f.trace.lines().back().find(c.traced), std::string::npos); }
    }
    NodeFixture f;
    EXPECT_EQ(f.node.ReadNodeName(nullptr, 50), kFail);
    uint8_t one = 0xEE;
    EXPECT_EQ(f.node.ReadNodeName(&one, -1), kFail);
    EXPECT_EQ(one, 0xEE);
}

TEST(SimulatedNode, LiveValuesFollowVirtualTimeOnly) {
    NodeFixture a;
    NodeFixture b;
    int lowest = 65535;
    int highest = 0;
    for (int minute = 0; minute < 24 * 60; minute += 7) {
        SCOPED_TRACE(minute);
        for (const int nv : {2, 10, 19, 20, 43, 44, 49}) EXPECT_EQ(a.node.Nv(nv), b.node.Nv(nv));
        const NvValue temps = a.node.Nv(2);
        const int outdoor = static_cast<int16_t>(temps[5] << 8 | temps[6]);
        EXPECT_GE(outdoor, -200);
        EXPECT_LE(outdoor, 400);
        const NvValue injection = a.node.Nv(10);
        lowest = std::min(lowest, injection[0] << 8 | injection[1]);
        highest = std::max(highest, injection[0] << 8 | injection[1]);
        const NvValue valve = a.node.Nv(43);
        EXPECT_LE(valve[0] << 8 | valve[1], 20000);
        a.clock.Advance(7 * 60000);
        b.clock.Advance(7 * 60000);
    }
    EXPECT_EQ(lowest, 1800);  // the injection temperature swings between 18 and 22 degrees
    EXPECT_EQ(highest, 2200);
    NodeFixture f;
    f.clock.Advance(2 * 3600000);
    EXPECT_EQ(f.node.Nv(49)[1] << 8 | f.node.Nv(49)[2], 4382);
    EXPECT_EQ(f.Write(40, {0x00, 0x04}), kHostOk);   // exchanger counter
    f.clock.Advance(3600000);
    EXPECT_EQ(f.node.Nv(49)[7] << 8 | f.node.Nv(49)[8], 1);
    EXPECT_EQ(f.node.Nv(49)[1] << 8 | f.node.Nv(49)[2], 4383);

    NvValue pinned{};
    pinned[0] = 0x07;
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
    struct Case { std::vector<uint8_t> bytes; int32_t status; std::vector<uint8_t> afterOneSecond; };
    const std::vector<uint8_t> unchanged = {0x07, 0xEA, 12, 7, 9, 0, 3};
    const Case cases[] = {
        {{0x07, 0xEA, 12, 31, 23, 59, 59}, kHostOk, {0x07, 0xEB, 1, 1, 0, 0, 0}},
        {{0x07, 0xD0, 2, 29, 7, 5, 9}, kHostOk, {0x07, 0xD0, 2, 29, 7, 5, 10}},
        {{0x07, 0xEB, 2, 29, 7, 5, 9}, kFail, unchanged},  // 2027 has no 29 February
        {{0x07, 0xEA, 13, 1, 7, 5, 9}, kFail, unchanged},
        {{0x07, 0xEA, 12, 6, 24, 0, 0}, kFail, unchanged},
        {{0x07, 0xEA, 12, 6, 7, 5}, kFail, unchanged},     // six bytes
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(i);
        NodeFixture f;
        std::vector<uint8_t> buf;
        ASSERT_EQ(f.Read(9, buf, 32), kHostOk);
        EXPECT_EQ(std::vector<uint8_t>(buf.begin(), buf.begin() + 7),
                  (std::vector<uint8_t>{0x07, 0xEA, 12, 7, 9, 0, 0}));
        f.clock.Advance(2500);  // the written time counts from the write, not from the start
        EXPECT_EQ(f.Write(51, c.bytes), c.status);
        f.clock.Advance(1000);
        ASSERT_EQ(f.Read(9, buf, 32), kHostOk);
        EXPECT_EQ(std::vector<uint8_t>(buf.begin(), buf.begin() + 7), c.afterOneSecond);
        EXPECT_EQ(buf[31], 0xEE);
    }
    NodeFixture f;  // Monday 9:00 inside Calender 1's 8:00 to 16:00
    std::vector<uint8_t> schedule(31, 0);
    schedule[5] = 64;
    schedule[6] = 32;
    f.Write(8, schedule);
    EXPECT_EQ(f.node.Nv(11)[1], 1);
    f.clock.Advance(7 * 3600000);
    EXPECT_EQ(f.node.Nv(11)[1], 0);
}

TEST(SimulatedNode, TraceLineFormats) {
    NodeFixture f;
    f.clock.Advance(1234);
    std::vector<uint8_t> buf;
    f.Read(55, buf, 2);
    f.Read(3, buf, 40);
    f.Read(57, buf, 31);
    f.Write(55, {0x00, 0x07});
    f.Write(56, std::vector<uint8_t>(33, 0xAB));
    f.Write(9, {0xFF});
    f.node.ReadNodeName(buf.data(), 20);
    f.node.FailNameRead(true);
    f.node.ReadNodeName(buf.data(), 20);
    f.trace.SetRecording(false);
    f.Read(55, buf);
    f.trace.SetRecording(true);
    f.clock.Advance(12345678 - 1234);
    f.Write(40, {});
    const std::string zeros31 =
        "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
        "00 00";
    std::string ab31 = "AB";
    for (int i = 1; i < 31; ++i) ab31 += " AB";
    const std::string expected = "   1.234  ReadNv(55, 2) -> 0  [00 01]\n"
                                 "   1.234  ReadNv(3, 40) -> 0  [" + zeros31 + "]\n"
                                 "   1.234  ReadNv(57, 31) -> 1\n"
                                 "   1.234  WriteNv(55, 2) <- [00 07] -> 0\n"
                                 "   1.234  WriteNv(56, 33) <- [" + ab31 + " ...] -> 0\n"
                                 "   1.234  WriteNv(9, 1) <- [FF] -> 1\n"
                                 "   1.234  ReadNodeName(20) -> 0  \"QTA1 Sim\"\n"
                                 "   1.234  ReadNodeName(20) -> 1\n"
                                 "12345.678  WriteNv(40, 0) <- [] -> 1\n";
    EXPECT_EQ(f.trace.Text(), expected);
    EXPECT_EQ(QuoteText(std::string("a\"b\\c\x01\xE9", 7)), "\"a\\\"b\\\\c\\x01\\xE9\"");
}

TEST(SimulatedNode, SiteHandsOutCountedInterfaces) {
    struct Case { bool offerReader, offerWriter; Guid iid; int32_t status; int refs; };
    const Case cases[] = {
        {true, true, kIidNvReader, kHostOk, 1},   {true, true, kIidNvWriter, kHostOk, 1},
        {false, true, kIidNvReader, kNoInterface, 0}, {true, false, kIidNvWriter, kNoInterface, 0},
        {true, true, Guid{1, 2, 3, {4}}, kNoInterface, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.iid.data1);
        NodeFixture f;
        SimulatedSite site(f.node);
        site.OfferReader(c.offerReader);
        site.OfferWriter(c.offerWriter);
        void* out = &f;
        EXPECT_EQ(site.QueryInterface(c.iid, &out), c.status);
        EXPECT_EQ(f.node.RefCount(), c.refs);
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
        EXPECT_EQ(f.node.RefCount(), 2);
        unknown->Release();
        unknown->Release();
        EXPECT_EQ(f.node.RefCount(), 0);
    }
    NodeFixture f;
    void* asUnknown = nullptr;
    ASSERT_EQ(f.node.QueryInterface(kIidUnknown, &asUnknown), kHostOk);
    EXPECT_EQ(asUnknown, static_cast<void*>(static_cast<NvReader*>(&f.node)));
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
    EXPECT_EQ(f.node.Selector(), 9);
}

}  // namespace
}  // namespace qta1
