// The page cycle on a page of its own that no product page resembles: its
// layout and table are given to the sheet here, so Read and Write are checked
// without any real page.
#include <gtest/gtest.h>

#include <memory>
#include <regex>

#include "frame/sheet.h"
#include "platform/headless/headless_platform.h"
#include "simulated_node.h"

namespace qta1 {
namespace {

constexpr PageId kPage{90};

enum : int { kDelay = 9001, kOption, kOff, kManual, kAuto, kPosition, kRead, kWrite };

// clang-format off
constexpr ControlDecl kControls[] = {
    {kDelay,    ControlKind::Edit,        "Delay",    "", "", kNoFlags,     0,  0, 40, 14},
    {kOption,   ControlKind::CheckBox,    "Option",   "", "", kNoFlags,     0, 20, 40, 10},
    {kOff,      ControlKind::RadioButton, "Off",      "", "", kStartsGroup, 0, 40, 40, 10},
    {kManual,   ControlKind::RadioButton, "Manual",   "", "", kNoFlags,     0, 50, 40, 10},
    {kAuto,     ControlKind::RadioButton, "Auto",     "", "", kNoFlags,     0, 60, 40, 10},
    {kPosition, ControlKind::Edit,        "Position", "", "", kNoFlags,     0, 80, 40, 14},
    {kRead,     ControlKind::PushButton,  "Read",     "", "", kNoFlags,     0, 99, 40, 14},
    {kWrite,    ControlKind::PushButton,  "Write",    "", "", kNoFlags,    50, 99, 40, 14},
};
// clang-format on

constexpr Field kDelayField[] = {WordField(kDelay, 0, Codec::Tenths)};
constexpr Field kOptionField[] = {BitField(kOption, 3, 2)};
constexpr RadioChoice kModes[] = {
    {kOff, kOutputOff}, {kManual, kOutputManual}, {kAuto, kOutputAutomatic}};
constexpr RadioGroup kMode = {
    .choices = kModes, .governedBox = kPosition, .enablingValue = kOutputManual};
constexpr Field kModeField[] = {RadioWordAt(1, kMode)};
constexpr Field kPositionField[] = {WordAt(kPosition, 1, Codec::Halves)};
constexpr Block kBlocks[] = {
    {.nv = kConfigNv, .part = kTravelTimesPart, .bitReversed = false, .fields = kDelayField},
    {.nv = kConfigNv, .part = kOptionPart, .bitReversed = true, .fields = kOptionField},
    {.nv = kManualValueNv, .part = 0, .bitReversed = false, .fields = kPositionField},
    {.nv = kOutputModeNv, .part = 0, .bitReversed = false, .fields = kModeField},
};
constexpr int kWriteOrder[] = {3, 2, 1, 0};
constexpr PageDef kDef = {
    .blocks = kBlocks, .writeOrder = kWriteOrder, .readButton = kRead, .writeButton = kWrite};

std::unique_ptr<CPropPage> MakePage(CSheet& sheet) {
    return std::make_unique<CPropPage>(kPage, sheet, kDef);
}
const SheetPage kPages[] = {{kPage, kControls, &MakePage}};
const SheetPages kSheet = {kPages, kPage, kPage, {}, {}};

struct Bench {
    VirtualClock clock;
    Trace trace{clock};
    SimulatedNode node{clock, &trace};
    SimulatedSite site{node};
    HeadlessPlatform ui{clock, trace};

    Bench() {
        node.SetAnimated(false);
        NvValue travel = node.Part(kTravelTimesPart);
        travel[1] = 0x00;
        travel[2] = 150;  // 15.0
        node.SetPart(kTravelTimesPart, travel);
        NvValue modes{};
        modes[2] = kOutputManual;
        node.SetNv(kOutputModeNv, modes);
        NvValue manual{};
        manual[1] = 0x12;
        manual[2] = 0x34;  // 0x1234 halves: 2330
        node.SetNv(kManualValueNv, manual);
    }

    void Run(const std::function<void(HeadlessPlatform&)>& technician) {
        CSheet sheet(ui, &site, kSheet);
        ui.SetModalDriver(technician);
        sheet.RunModal();
    }

    // The NVs the trace shows written, the part selector left out.
    std::vector<std::string> Writes() const {
        static const std::regex kWrite(R"(WriteNv\((\d+), (\d+)\))");
        std::vector<std::string> writes;
        for (const std::string& line : trace.lines()) {
            std::smatch m;
            if (std::regex_search(line, m, kWrite) && m[1] != "55") writes.push_back(m[0]);
        }
        return writes;
    }
};

TEST(PageEngine, ReadShowsTheNodeAndTheModeGovernsItsBox) {
    Bench b;
    b.Run([](HeadlessPlatform& ui) {
        EXPECT_EQ(ui.Tabs(), std::vector<PageId>{kPage});
        EXPECT_EQ(ui.State(kPage, kDelay)->text, "15.0");
        EXPECT_EQ(ui.State(kPage, kPosition)->text, "2330");
        EXPECT_TRUE(ui.State(kPage, kManual)->checked);
        EXPECT_TRUE(ui.State(kPage, kPosition)->enabled);
        ui.Click(kPage, kAuto);
        EXPECT_FALSE(ui.State(kPage, kPosition)->enabled);
        ui.Click(kPage, kManual);
        EXPECT_TRUE(ui.State(kPage, kPosition)->enabled);
    });
}

TEST(PageEngine, WriteSendsTheEditedBoxesInTheWriteOrder) {
    Bench b;
    const NvValue part1 = b.node.Part(kOptionPart);
    b.Run([&](HeadlessPlatform& ui) {
        ui.Type(kPage, kDelay, "12.3");
        ui.Type(kPage, kPosition, "40");
        b.trace.Clear();
        ui.Click(kPage, kWrite);
        EXPECT_EQ(ui.State(kPage, kWrite)->text, "Write");
    });
    // The modes, the manual values, part 1, part 9: the table's order reversed.
    EXPECT_EQ(b.Writes(), (std::vector<std::string>{"WriteNv(38, 31)", "WriteNv(39, 31)",
                                                    "WriteNv(56, 31)", "WriteNv(56, 31)"}));
    EXPECT_EQ(b.node.Part(kTravelTimesPart)[2], 123);
    EXPECT_EQ(b.node.Nv(kManualValueNv)[1], 0x12);  // the high byte is the node's
    EXPECT_EQ(b.node.Nv(kManualValueNv)[2], 80);
    EXPECT_EQ(b.node.Nv(kOutputModeNv)[2], kOutputManual);
    EXPECT_EQ(b.node.Part(kOptionPart), part1);
}

TEST(PageEngine, AValueNoBoxCanStoreStopsTheWholeWrite) {
    Bench b;
    b.Run([&](HeadlessPlatform& ui) {
        ui.Type(kPage, kPosition, "40");
        ui.Type(kPage, kDelay, "-1");
        b.trace.Clear();
        ui.Click(kPage, kWrite);
        EXPECT_EQ(ui.Focused(kPage), kDelay);
    });
    EXPECT_TRUE(b.Writes().empty());
    EXPECT_EQ(b.node.Part(kTravelTimesPart)[2], 150);
}

}  // namespace
}  // namespace qta1
