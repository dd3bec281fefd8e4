// The part-selection handshake and the rules for missing host interfaces.
#include "frame/host_link.h"

#include <gtest/gtest.h>

#include "sim_session.h"
#include "support/golden.h"

namespace qta1 {
namespace {

using testing::SameTrace;
using testing::SplitLines;

struct HandshakeCase {
    const char* name;
    int selectorBefore;
    std::function<bool(NodeLink&)> call;
    bool result;
    int selectorAfter;
    const char* trace;
};

TEST(NodeLink, PartSelectionHandshake) {
    const HandshakeCase cases[] = {
        {"SelectPart when the node shows the part", 7, [](NodeLink& l) { return l.SelectPart(7); },
         true, 7, R"(
   0.000  ReadNv(55, 31) -> 0  [00 07 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00])"},
        {"SelectPart when it shows another", 1, [](NodeLink& l) { return l.SelectPart(7); }, true,
         7, R"(
   0.000  ReadNv(55, 31) -> 0  [00 01 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00]
   0.000  sleep 200
   0.200  WriteNv(55, 2) <- [00 07] -> 0
   0.200  sleep 200)"},
        {"WriteSelector(0) writes without asking", 3,
         [](NodeLink& l) { return l.WriteSelector(0); }, true, 0, R"(
   0.000  sleep 200
   0.200  WriteNv(55, 2) <- [00 00] -> 0
   0.200  sleep 200)"},
        {"WriteSelector(300) sends both bytes", 3, [](NodeLink& l) { return l.WriteSelector(300); },
         true, 300, R"(
   0.000  sleep 200
   0.200  WriteNv(55, 2) <- [01 2C] -> 0
   0.200  sleep 200)"},
    };
    for (const HandshakeCase& c : cases) {
        SCOPED_TRACE(c.name);
        SimSession s;
        s.node.SetSelector(c.selectorBefore);
        NodeLink link(s.ui, s.ui);
        link.Obtain(&s.site);
        EXPECT_EQ(c.call(link), c.result);
        EXPECT_EQ(s.node.Selector(), c.selectorAfter);
        EXPECT_TRUE(SameTrace(SplitLines(std::string(c.trace).substr(1)), s.trace.lines()));
    }
}

// A failed selector read counts as no part selected; a status of 5 is a
// failure like any other.
TEST(NodeLink, FailedSelectorReadSelectsAnyway) {
    for (int32_t status : {1, 5, -1}) {
        SimSession s;
        s.node.SetSelector(7);
        s.node.SetFailureStatus(status);
        s.node.FailCall(1);
        NodeLink link(s.ui, s.ui);
        link.Obtain(&s.site);
        EXPECT_TRUE(link.SelectPart(7));
        EXPECT_EQ(s.trace.lines().size(), 4u) << s.trace.Text();
        EXPECT_EQ(link.ReadSelectedPart(), 7);
    }
}

TEST(NodeLink, MissingInterfacesAreNeverCalled) {
    struct Case {
        bool reader, writer;
        int32_t readStatus, writeStatus;
        int hostCalls;  // of the read, write and SelectPart(2) below
        bool selected;
    };
    const Case cases[] = {
        {true, true, kHostOk, kHostOk, 4, true},
        {true, false, kHostOk, kMissingInterfaceStatus, 2, false},
        {false, true, kMissingInterfaceStatus, kHostOk, 2, true},
        {false, false, kMissingInterfaceStatus, kMissingInterfaceStatus, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.reader) + std::to_string(c.writer));
        SimSession s;
        s.site.OfferReader(c.reader);
        s.site.OfferWriter(c.writer);
        {
            NodeLink link(s.ui, s.ui);
            link.Obtain(&s.site);
            uint8_t buffer[kNvBufferSize] = {};
            EXPECT_EQ(link.ReadNv(kConfigNv, buffer, kNvValueSize), c.readStatus);
            EXPECT_EQ(link.WriteNv(17, buffer, 2), c.writeStatus);
            EXPECT_EQ(link.SelectPart(2), c.selected);
            EXPECT_EQ(s.node.CallCount(), c.hostCalls);
            EXPECT_EQ(s.node.RefCount(), int(c.reader) + int(c.writer));
        }
        EXPECT_EQ(s.node.RefCount(), 0);
    }
    SimSession s;
    NodeLink noSite(s.ui, s.ui);
    noSite.Obtain(nullptr);
    EXPECT_FALSE(noSite.HasAny());
}

}  // namespace
}  // namespace qta1
