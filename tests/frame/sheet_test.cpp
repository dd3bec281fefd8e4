// Start-up of the sheet and the page-set switch, against the simulated node.
#include "frame/sheet.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "app/page_registry.h"
#include "sim_session.h"
#include "support/golden.h"

namespace qta1 {
namespace {

using testing::SameTrace;
using testing::SplitLines;

std::vector<PageId> WithNodeInformation(std::span<const PageId> set) {
    std::vector<PageId> tabs{PageId::NodeInformation};
    tabs.insert(tabs.end(), set.begin(), set.end());
    return tabs;
}

struct StartupCase {
    const char* name;
    std::function<void(SimSession&)> setup;
    std::vector<PageId> tabsAfterSwitch;  // 150 ms after opening
    bool userEnabled;
    bool technicianEnabled;
    const char* trace;
};

TEST(SheetStartup, ChoosesThePageSetFromTheConfiguredWord) {
    const std::vector<PageId> user = WithNodeInformation(UserSet());
    const std::vector<PageId> nodeInfoOnly{PageId::NodeInformation};
    const StartupCase cases[] = {
        {"configured", [](SimSession&) {}, user, false, true, R"(
   0.000  ReadNv(55, 31) -> 0  [00 01 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00]
   0.000  ReadNv(56, 50) -> 0  [01 00 15 00 31 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 02]
   0.000  sheet "QTA1" opens
   0.000  ReadNodeName(50) -> 0  "QTA1 Sim"
   0.000  ReadNv(55, 31) -> 0  [00 01 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00]
   0.000  ReadNv(56, 50) -> 0  [01 00 15 00 31 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 02]
   0.100  timer "Node Information" 1
   0.150  sheet closes)"},
        {"unconfigured, selector elsewhere",
         [](SimSession& s) {
             s.node.SetConfiguredWord(0);
             s.node.SetSelector(3);
         },
         {PageId::NodeInformation, PageId::ImportExport},
         false,
         false,
         R"(
   0.000  ReadNv(55, 31) -> 0  [00 03 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00]
   0.000  sleep 200
   0.200  WriteNv(55, 2) <- [00 01] -> 0
   0.200  sleep 200
   0.400  ReadNv(56, 50) -> 0  [01 00 15 00 31 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00]
   0.400  sheet "QTA1" opens
   0.400  ReadNodeName(50) -> 0  "QTA1 Sim"
   0.400  ReadNv(55, 31) -> 0  [00 01 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00]
   0.400  ReadNv(56, 50) -> 0  [01 00 15 00 31 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00]
   0.550  sheet closes)"},
        {"configured-word read fails", [](SimSession& s) { s.node.FailNv(56, FaultOn::Reads); },
         nodeInfoOnly, true, true, R"(
   0.000  ReadNv(55, 31) -> 0  [00 01 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00]
   0.000  ReadNv(56, 50) -> 1
   0.000  sheet "QTA1" opens
   0.000  ReadNodeName(50) -> 0  "QTA1 Sim"
   0.000  ReadNv(55, 31) -> 0  [00 01 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00]
   0.000  ReadNv(56, 50) -> 1
   0.150  sheet closes)"},
        {"no host interfaces",
         [](SimSession& s) {
             s.site.OfferReader(false);
             s.site.OfferWriter(false);
         },
         nodeInfoOnly, true, true, R"(
   0.000  sheet "QTA1" opens
   0.000  msgbox "Node not available!" title "Plugin" OK exclamation -> OK
   0.150  sheet closes)"},
    };
    for (const StartupCase& c : cases) {
        SCOPED_TRACE(c.name);
        SimSession s;
        s.node.SetAnimated(false);
        c.setup(s);
        s.Open([&](HeadlessPlatform& ui) {
            ui.Idle(150);
            EXPECT_EQ(ui.Tabs(), c.tabsAfterSwitch);
            EXPECT_EQ(ui.ActivePage(), PageId::NodeInformation);
            EXPECT_EQ(ui.State(PageId::NodeInformation, IDC_NODEINFO_USER)->enabled, c.userEnabled);
            EXPECT_EQ(ui.State(PageId::NodeInformation, IDC_NODEINFO_TECHNICIAN)->enabled,
                      c.technicianEnabled);
            EXPECT_EQ(ui.OkCaption(), "Exit");
            EXPECT_TRUE(ui.ApplyAndCancelHidden());
            EXPECT_EQ(ui.SheetCaption(), "QTA1");
        });
        EXPECT_TRUE(SameTrace(SplitLines(std::string(c.trace).substr(1)), s.trace.lines()));
        EXPECT_EQ(s.node.RefCount(), 0) << "the sheet releases what it obtained";
    }
}

TEST(SheetStartup, ConfiguredNodeShowsTheTechnicianSetUntilTheSwitch) {
    SimSession s;
    s.Open([&](HeadlessPlatform& ui) {
        EXPECT_EQ(ui.Tabs(), WithNodeInformation(TechnicianSet()));
        ui.Idle(99);
        EXPECT_EQ(ui.Tabs(), WithNodeInformation(TechnicianSet()));
        ui.Idle(1);
        EXPECT_EQ(ui.Tabs(), WithNodeInformation(UserSet()));
        ui.Idle(1000);  // the switch happens once
        EXPECT_EQ(ui.Tabs(), WithNodeInformation(UserSet()));
    });
    EXPECT_EQ(s.node.Selector(), 1);
}

TEST(SheetStartup, ConfiguredWordIsComparedUnsigned) {
    for (int word : {0x0001, 0x0100, 0x8000, 0xFFFF}) {
        SCOPED_TRACE(word);
        SimSession s;
        s.node.SetConfiguredWord(word);
        s.Open([&](HeadlessPlatform& ui) {
            ui.Idle(100);
            EXPECT_EQ(ui.Tabs(), WithNodeInformation(UserSet()));
        });
    }
}

TEST(SheetStartup, NodeNameIsShownUpToItsZeroAndNeverBeyondTheBuffer) {
    struct Case {
        std::string raw;
        std::string shown;
    };
    const Case cases[] = {
        {std::string("AHU3") + std::string(46, '\0'), "AHU3"},
        {std::string(50, 'N'), std::string(50, 'N')},  // no terminating zero
        {"", ""},
    };
    for (const Case& c : cases) {
        SimSession s;
        s.node.SetName(c.raw);
        s.Open([&](HeadlessPlatform& ui) {
            EXPECT_EQ(ui.State(PageId::NodeInformation, IDC_NODEINFO_NAME)->text, c.shown);
        });
    }
    SimSession failing;
    failing.node.FailNameRead(true);
    failing.Open([&](HeadlessPlatform& ui) {
        EXPECT_EQ(ui.State(PageId::NodeInformation, IDC_NODEINFO_NAME)->text, "");
    });
}

TEST(SheetSwitch, ButtonsExchangeTheSetsInTheirOrder) {
    SimSession s;
    s.Open([&](HeadlessPlatform& ui) {
        ui.Idle(100);
        ASSERT_TRUE(ui.Click(PageId::NodeInformation, IDC_NODEINFO_TECHNICIAN));
        EXPECT_EQ(ui.Tabs(), WithNodeInformation(TechnicianSet()));
        EXPECT_TRUE(ui.State(PageId::NodeInformation, IDC_NODEINFO_USER)->enabled);
        EXPECT_FALSE(ui.State(PageId::NodeInformation, IDC_NODEINFO_TECHNICIAN)->enabled);
        ASSERT_TRUE(ui.Click(PageId::NodeInformation, IDC_NODEINFO_USER));
        EXPECT_EQ(ui.Tabs(), WithNodeInformation(UserSet()));
        EXPECT_EQ(ui.ActivePage(), PageId::NodeInformation);
    });
}

// While the technician set is still shown before the automatic switch, both
// buttons are enabled; pressing "Technician" then must not remove and re-add
// the set that is already there (a visited page would lose its window).
TEST(SheetSwitch, AskingForTheSetAlreadyShownChangesNoPage) {
    SimSession s;
    s.node.SetAnimated(false);
    s.Open([&](HeadlessPlatform& ui) {
        ASSERT_TRUE(ui.SelectTab(PageId::Pid));
        ASSERT_TRUE(ui.SelectTab(PageId::NodeInformation));
        ASSERT_TRUE(ui.Click(PageId::NodeInformation, IDC_NODEINFO_TECHNICIAN));
        EXPECT_TRUE(ui.WindowExists(PageId::Pid));
        EXPECT_EQ(ui.Tabs(), WithNodeInformation(TechnicianSet()));
        EXPECT_TRUE(ui.State(PageId::NodeInformation, IDC_NODEINFO_USER)->enabled);
        EXPECT_FALSE(ui.State(PageId::NodeInformation, IDC_NODEINFO_TECHNICIAN)->enabled);
        ui.Idle(100);  // the automatic switch still happens
        EXPECT_EQ(ui.Tabs(), WithNodeInformation(UserSet()));
        EXPECT_FALSE(ui.WindowExists(PageId::Pid));
        ASSERT_TRUE(ui.Click(PageId::NodeInformation, IDC_NODEINFO_TECHNICIAN));
        ASSERT_TRUE(ui.SelectTab(PageId::Status));
        ASSERT_TRUE(ui.SelectTab(PageId::NodeInformation));
        ASSERT_TRUE(ui.Click(PageId::NodeInformation, IDC_NODEINFO_USER));
        EXPECT_FALSE(
            ui.WindowExists(PageId::Status));  // in both sets, yet a real switch recreates it
    });
}

TEST(SheetSwitch, SetsMatchTheirDeclaredMembership) {
    // Every user page is also a technician page; Node Information is in neither.
    for (PageId id : UserSet()) {
        EXPECT_NE(std::find(TechnicianSet().begin(), TechnicianSet().end(), id),
                  TechnicianSet().end())
            << CaptionOf(id);
    }
    EXPECT_EQ(UserSet().size(), 12u);
    EXPECT_EQ(TechnicianSet().size(), 25u);
}

TEST(Control, PropertiesVerbTwiceOpensTwoFreshSheets) {
    SimSession s;
    int opened = 0;
    for (int i = 0; i < 2; ++i) {
        s.Open([&](HeadlessPlatform& ui) {
            ++opened;
            EXPECT_EQ(ui.ActivePage(), PageId::NodeInformation);
            EXPECT_EQ(ui.Tabs().front(), PageId::NodeInformation);
        });
        EXPECT_EQ(s.node.RefCount(), 0);
    }
    EXPECT_EQ(opened, 2);
}

// No to the closing question brings the typed page back as it was left; once
// the technician leaves it, it reads the node again when it returns, whether
// it was in front when the question came or was brought there.
TEST(SheetClosing, TheTypedPageIsKeptOnlyUntilItIsLeft) {
    struct Case {
        const char* what;
        PageId closedFrom;
    };
    for (const Case& c : {Case{"closed from the typed page", PageId::Pid},
                          Case{"closed from another page", PageId::Status}}) {
        SCOPED_TRACE(c.what);
        SimSession s;
        s.node.SetAnimated(false);
        s.Open([&](HeadlessPlatform& ui) {
            ui.Idle(100);
            ASSERT_TRUE(ui.Click(PageId::NodeInformation, IDC_NODEINFO_TECHNICIAN));
            ASSERT_TRUE(ui.SelectTab(PageId::Pid));
            const std::string read = ui.State(PageId::Pid, IDC_PID_HEAT_P)->text;
            ASSERT_TRUE(ui.Type(PageId::Pid, IDC_PID_HEAT_P, "2.5"));
            ASSERT_TRUE(ui.SelectTab(c.closedFrom));
            EXPECT_FALSE(ui.Close(CloseWay::Escape));  // unanswered: No
            EXPECT_EQ(ui.ActivePage(), PageId::Pid);
            EXPECT_EQ(ui.State(PageId::Pid, IDC_PID_HEAT_P)->text, "2.5");
            ASSERT_TRUE(ui.SelectTab(PageId::Temperatures));
            ASSERT_TRUE(ui.SelectTab(PageId::Pid));
            EXPECT_EQ(ui.State(PageId::Pid, IDC_PID_HEAT_P)->text, read);
        });
    }
}

}  // namespace
}  // namespace qta1
