// The trend's model (samples kept, window, axes, texts, CSV, legend) and its
// sampling through the sheet: what it reads, and that it stays out of the
// pages' actions.
#include "frame/trend.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <regex>
#include <set>

#include "app/page_registry.h"
#include "frame/codec.h"
#include "frame/sheet.h"
#include "platform/headless/headless_platform.h"
#include "resources/resource_ids.h"
#include "sim_session.h"

namespace qta1 {
namespace {

constexpr size_t kBs1 = 0;
constexpr size_t kBs3 = 2;
constexpr size_t kCalcSpace = 4;
constexpr size_t kMv1 = 5;
constexpr size_t kMd4 = 7;

// A tick every 2 s from 2026-12-09 08:00:00 on, every series read.
TrendSample SampleAt(int64_t tick, uint16_t word = 0x0834) {
    TrendSample sample;
    sample.seconds = tick * 2;
    const int64_t s = 8 * 3600 + tick * 2;
    sample.time = {2026,
                   12,
                   9,
                   static_cast<int>(s / 3600 % 24),
                   static_cast<int>(s / 60 % 60),
                   static_cast<int>(s % 60),
                   3};
    sample.words.fill(word);
    return sample;
}

TEST(TrendBuffer, KeepsEightHoursAndDropsTheOldest) {
    ASSERT_EQ(kTrendCapacity, 14400u);  // 8 h of a sample every 2 s
    struct Case {
        int64_t added;
        size_t kept;
        int64_t oldestTick;
    };
    const Case cases[] = {
        {0, 0, 0},         {1, 1, 0},         {14399, 14399, 0},
        {14400, 14400, 0}, {14401, 14400, 1}, {2 * 14400 + 7, 14400, 14400 + 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.added);
        TrendModel model;
        for (int64_t t = 0; t < c.added; ++t) model.Add(SampleAt(t));
        ASSERT_EQ(model.samples().size(), c.kept);
        if (c.kept == 0) continue;
        EXPECT_EQ(model.samples()[0].seconds, c.oldestTick * 2);
        EXPECT_EQ(model.samples()[c.kept - 1].seconds, (c.added - 1) * 2);
    }
}

TEST(TrendValues, AsThePagesShowThemAndInHundredths) {
    struct Case {
        size_t series;
        uint16_t word;
        const char* text;
        int64_t floor;
        int64_t ceil;
    };
    const Case cases[] = {
        {kBs1, 0x0834, "21.0", 2100, 2100},
        {kBs1, 0xFF38, "-2.0", -200, -200},        // the words above 100.00 are negative
        {kBs1, 0x2710, "100.0", 10000, 10000},     // the highest temperature
        {kBs1, 0x2711, "-555.4", -55535, -55535},  // "%.1f" of -555.35
        {kMv1, 20000, "100", 10000, 10000},        // 1/200 %
        {kMv1, 1001, "5", 500, 501},               // 5.005 %
        {kMd4, 4095, "100", 10000, 10000},         // 0 to 4095
        {kMd4, 2048, "50", 5001, 5002},            // 50.012 %
        {kMd4, 0, "0", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(kTrendSeries[c.series].key) + " " + std::to_string(c.word));
        EXPECT_EQ(TrendValueText(kTrendSeries[c.series], c.word), c.text);
        EXPECT_EQ(TrendHundredthsFloor(kTrendSeries[c.series], c.word), c.floor);
        EXPECT_EQ(TrendHundredthsCeil(kTrendSeries[c.series], c.word), c.ceil);
    }
}

TEST(TrendModel, AFailedReadIsAGapNotAZero) {
    TrendModel model;
    EXPECT_EQ(model.LatestText(kBs1), "");
    TrendSample first = SampleAt(0, 0x0834);
    model.Add(first);
    TrendSample gap = SampleAt(1, 0x0834);
    gap.words[kBs1].reset();
    model.Add(gap);
    EXPECT_EQ(model.LatestText(kBs1), "-");
    EXPECT_EQ(model.LatestText(kBs3), "21.0");
    // The gap takes no part in the scale: 21.0 alone, not 0 to 21.
    EXPECT_EQ(model.Scale(TrendAxis::Temperature), (TrendScale{2040, 2160, 20}));
}

TEST(TrendModel, TheWindowHoldsItsMinutesAndStaysWhereItWasPaused) {
    struct Case {
        const char* what;
        int minutes;
        int64_t ticks;    // samples added before the window is looked at
        int64_t pauseAt;  // -1: never paused
        size_t first;     // index of the first sample in the window
        size_t end;       // one past the last
        int64_t endSeconds;
    };
    const Case cases[] = {
        {"2 min of 3 h", 2, 5400, -1, 5400 - 60, 5400, 10798},
        {"10 min", 10, 5400, -1, 5400 - 300, 5400, 10798},
        {"30 min", 30, 5400, -1, 5400 - 900, 5400, 10798},
        {"60 min", 60, 5400, -1, 5400 - 1800, 5400, 10798},
        {"fewer samples than the window", 60, 10, -1, 0, 10, 18},
        {"paused after 100 ticks of 200", 2, 200, 100, 40, 100, 198},
        {"empty", 2, 0, -1, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TrendModel model;
        ASSERT_TRUE(model.SetWindow(c.minutes));
        for (int64_t t = 0; t < c.ticks; ++t) {
            if (t == c.pauseAt) model.SetPaused(true);
            model.Add(SampleAt(t));
        }
        const TrendModel::Window window = model.Visible();
        EXPECT_EQ(window.first, c.first);
        EXPECT_EQ(window.end, c.end);
        EXPECT_EQ(window.endSeconds, c.endSeconds);
        EXPECT_EQ(model.paused(), c.pauseAt >= 0);
        model.SetPaused(false);
        EXPECT_EQ(model.Visible().end, model.samples().size());
    }
    TrendModel model;
    for (const int refused : {0, 1, 5, 61, 120}) {
        EXPECT_FALSE(model.SetWindow(refused)) << refused;
        EXPECT_EQ(model.windowMinutes(), 2);
    }
}

TEST(TrendModel, AClockSetBackDoesNotReorderTheSamples) {
    TrendModel model;
    model.Add(SampleAt(100));
    model.Add(SampleAt(10));  // the PC's clock went back
    EXPECT_EQ(model.samples()[1].seconds, 200);
    EXPECT_EQ(model.Visible().first, 0u);
    EXPECT_EQ(model.Visible().end, 2u);
}

TEST(TrendAxis, RoundStepsOfOneTwoFive) {
    struct Case {
        TrendAxis axis;
        std::optional<int64_t> low;
        std::optional<int64_t> high;
        TrendScale scale;
    };
    const auto T = TrendAxis::Temperature;
    const auto P = TrendAxis::Percent;
    const Case cases[] = {
        {T, std::nullopt, std::nullopt, {0, 3000, 500}},  // no data: 0 to 30 °C
        {T, 2130, 2130, {2080, 2180, 20}},                // a flat line: half a degree around it
        {T, 2100, 2103, {2100, 2110, 10}},                // never finer than 0.1
        {T, 1820, 2370, {1800, 2400, 100}},
        {T, 1801, 2399, {1800, 2400, 100}},
        {T, -200, 2100, {-500, 2500, 500}},
        {T, -1234, -1001, {-1250, -1000, 50}},
        {T, kMinHundredths, kMaxHundredths, {-60000, 20000, 20000}},
        {P, std::nullopt, std::nullopt, {0, 10000, 2000}},  // outputs: 0 to 100 %
        {P, 3500, 3500, {0, 10000, 2000}},
        {P, 0, 12000, {0, 12000, 2000}},  // a word above 100 %
        {P, 0, 32768, {0, 40000, 10000}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.low.value_or(-1)) + " to " +
                     std::to_string(c.high.value_or(-1)));
        const TrendScale scale = ScaleTrendAxis(c.axis, c.low, c.high);
        EXPECT_EQ(scale, c.scale);
        EXPECT_LE((scale.max - scale.min) / scale.step, 6);
        if (c.low) {
            EXPECT_LE(scale.min, *c.low);
        }
        if (c.high) {
            EXPECT_GE(scale.max, *c.high);
        }
    }
}

TEST(TrendAxis, TemperaturesAndOutputsScaleApart) {
    TrendModel model;
    TrendSample sample = SampleAt(0, 0);
    sample.words[kBs1] = 0x0834;  // 21.0 °C
    sample.words[kMv1] = 7000;    // 35 %
    model.Add(sample);
    // Every other series reads 0 (0.0 °C, 0 %).
    EXPECT_EQ(model.Scale(TrendAxis::Temperature), (TrendScale{0, 2500, 500}));
    EXPECT_EQ(model.Scale(TrendAxis::Percent), (TrendScale{0, 10000, 2000}));
    // Unchecked series take no part.
    for (size_t i = 1; i < kTrendSeriesCount; ++i) model.SetShown(i, false);
    EXPECT_EQ(model.Scale(TrendAxis::Temperature), (TrendScale{2040, 2160, 20}));
}

TEST(TrendAxis, LabelsHaveTheDecimalsOfTheStep) {
    struct Case {
        int64_t value;
        int64_t step;
        const char* text;
    };
    const Case cases[] = {
        {2400, 100, "24"},  {-500, 500, "-5"}, {2080, 20, "20.8"},
        {2110, 10, "21.1"}, {0, 2000, "0"},    {-60000, 20000, "-600"},
    };
    for (const Case& c : cases) EXPECT_EQ(TrendScaleText(c.value, c.step), c.text);
}

TEST(TrendCsv, HeaderThenOneLinePerSample) {
    const std::string header =
        "Time,Injection Bs1 (\xB0"
        "C),Exhaust/space Bs2 (\xB0"
        "C),Intake/outdoor Bs3 (\xB0"
        "C),Calc injection (\xB0"
        "C),Calc space (\xB0"
        "C),Heating Mv1 (%),Exchanger Me1 (%),"
        "Recycling Md4 (%),Cooling Mv2 (%)\r\n";
    struct Case {
        const char* what;
        std::vector<TrendSample> samples;
        const char* lines;
    };
    TrendSample mixed = SampleAt(1, 0);
    mixed.words = {0xFF38, 0x0834, 0x01F4, 0x076C, 0x0866, 20000, 1001, 2048, 4095};
    TrendSample gaps = SampleAt(2, 0);
    gaps.words[kBs1].reset();
    gaps.words[kCalcSpace].reset();
    gaps.words[kTrendSeriesCount - 1].reset();
    TrendSample noon = SampleAt(0, 0x0834);
    noon.time = {2027, 1, 2, 12, 5, 9, 6};
    const Case cases[] = {
        {"no samples", {}, ""},
        {"every value as its page shows it",
         {mixed},
         "2026-12-09 08:00:02,-2.0,21.0,5.0,19.0,21.5,100,5,50,100\r\n"},
        {"gaps are empty fields", {gaps}, "2026-12-09 08:00:04,,0.0,0.0,0.0,,0,0,0,\r\n"},
        {"two digits for every part of the time",
         {noon, mixed},
         "2027-01-02 12:05:09,21.0,21.0,21.0,21.0,21.0,10,10,51,51\r\n"
         "2026-12-09 08:00:02,-2.0,21.0,5.0,19.0,21.5,100,5,50,100\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TrendModel model;
        for (const TrendSample& sample : c.samples) model.Add(sample);
        EXPECT_EQ(model.CsvText(), header + c.lines);
    }
}

TEST(TrendLegend, HitTestFindsTheEntryAndItsCheckBox) {
    const TrendLayout layout = LayOutTrend();
    struct Case {
        const char* what;
        int x;
        int y;
        std::optional<TrendHit> hit;
    };
    const TrendRect box0 = layout.legend[0].checkBox;
    const TrendRect box8 = layout.legend[8].checkBox;
    const TrendRect text3 = layout.legend[3].text;
    const Case cases[] = {
        {"first check box", box0.x + 1, box0.y + 1, TrendHit{0, true}},
        {"its last point", box0.x + box0.w - 1, box0.y + box0.h - 1, TrendHit{0, true}},
        {"just past it, in its row", box0.x + box0.w, box0.y, TrendHit{0, false}},
        {"a name", text3.x + 10, text3.y + 10, TrendHit{3, false}},
        {"last check box", box8.x + 5, box8.y + 5, TrendHit{8, true}},
        {"between two rows", box0.x, layout.legend[1].entry.y - 1, std::nullopt},
        {"the plot", layout.plot.x + 10, layout.plot.y + 10, std::nullopt},
        {"left of the legend", layout.legend[0].entry.x - 1, box0.y, std::nullopt},
        {"outside the chart", kTrendWidth + 5, box0.y, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(HitTestTrend(layout, c.x, c.y), c.hit);
    }
    // The parts of the chart stay apart and inside it.
    for (const TrendLayout::Row& row : layout.legend) {
        EXPECT_GE(row.entry.x, layout.percentAxis.x + layout.percentAxis.w);
        EXPECT_LE(row.entry.x + row.entry.w, kTrendWidth);
        EXPECT_LE(row.entry.y + row.entry.h, kTrendHeight);
    }
    EXPECT_LE(layout.plot.y + layout.plot.h, kTrendHeight);
}

// Every series is a live value of a page that offers the trend, read from
// the same NV and bytes and shown with the same codec as that page shows it.
TEST(TrendSeries, EachIsShownByAPageThatOffersTheTrend) {
    SimSession s;
    CSheet sheet(s.ui, &s.site, PageRegistry());
    std::set<PageId> offering;
    for (const TrendSeries& series : kTrendSeries) {
        SCOPED_TRACE(series.key);
        bool found = false;
        for (const SheetPage& entry : PageRegistry().pages) {
            const PageDef& def = sheet.Page(entry.id)->definition();
            if (def.trendButton == 0) continue;
            offering.insert(entry.id);
            for (const LiveRead& live : def.liveReads) {
                for (const Field& field : live.fields) {
                    found |= live.nv == series.nv && field.kind == FieldKind::Word &&
                             field.offset == series.offset && field.codec == series.codec &&
                             live.length == kNvValueSize;
                }
            }
        }
        EXPECT_TRUE(found);
    }
    EXPECT_EQ(offering, (std::set<PageId>{PageId::Temperatures, PageId::StatusRegulator}));
    EXPECT_EQ(TrendNvs(),
              (std::vector<int>{kInjectionTempNv, kSensorTempsNv, kCalcInjectionSetpointNv,
                                kCalcSpaceSetpointNv, kHeatingValveOutputNv, kExchangerOutputNv,
                                kRoomModeNv}));
}

// Series whose boxes the unit's options disable start unchecked.
TEST(TrendSeries, TheUnitsOptionsChooseTheSeriesItStartsWith) {
    SimSession s;
    CSheet sheet(s.ui, &s.site, PageRegistry());
    std::vector<const PageDef*> offering;
    for (const SheetPage& entry : PageRegistry().pages) {
        const PageDef& def = sheet.Page(entry.id)->definition();
        if (def.trendButton != 0) offering.push_back(&def);
    }
    struct Case {
        const char* what;
        uint8_t equipment;  // reversed part 1 byte 2: heating, recirculation, exchanger, cooling
        uint8_t functions;  // byte 4: the calculated space set point at 0x08
        const char* unchecked;
    };
    const Case cases[] = {
        {"everything fitted", 0xF0, 0x08, ""},
        {"no outputs", 0x00, 0x08, "Mv1 Me1 Md4 Mv2"},
        {"heating and exchanger", 0xA0, 0x08, "Md4 Mv2"},
        {"recirculation and cooling, no calculated space", 0x50, 0x00, "CalcSpace Mv1 Me1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        uint8_t part1[kNvBufferSize] = {};
        part1[2] = c.equipment;
        part1[4] = c.functions;
        const std::array<bool, kTrendSeriesCount> fitted = TrendSeriesFitted(offering, part1);
        std::string unchecked;
        for (size_t i = 0; i < kTrendSeriesCount; ++i) {
            if (!fitted[i])
                unchecked += (unchecked.empty() ? "" : " ") + std::string(kTrendSeries[i].key);
        }
        EXPECT_EQ(unchecked, c.unchecked);
    }
    const std::array<bool, kTrendSeriesCount> unknown = TrendSeriesFitted(offering, nullptr);
    EXPECT_TRUE(std::all_of(unknown.begin(), unknown.end(), [](bool b) { return b; }));
}

// --- Sampling through the sheet ----------------------------------------------

// A page of its own with a trend button, whose Read and Write let the trend's
// timer fire in the middle, as a platform that keeps its message loop running
// through the node's waits would.
constexpr PageId kPage{91};
enum : int { kValue = 9101, kRead, kWrite, kTrend };
// clang-format off
constexpr ControlDecl kControls[] = {
    {kValue, ControlKind::Edit,       "Value", "", "", kNoFlags,   0,  0, 40, 14},
    {kRead,  ControlKind::PushButton, "Read",  "", "", kNoFlags,   0, 99, 40, 14},
    {kWrite, ControlKind::PushButton, "Write", "", "", kNoFlags,  50, 99, 40, 14},
    {kTrend, ControlKind::PushButton, "Trend", "", "", kNoFlags, 100, 99, 40, 14},
};
// clang-format on
constexpr Field kValueField[] = {WordField(kValue, 0, Codec::Tenths)};
constexpr Block kBlocks[] = {
    {.nv = kConfigNv, .part = kTravelTimesPart, .bitReversed = false, .fields = kValueField},
};
constexpr PageDef kDef = {
    .blocks = kBlocks, .readButton = kRead, .writeButton = kWrite, .trendButton = kTrend};

class TickingPage final : public CPropPage {
public:
    explicit TickingPage(CSheet& sheet) : CPropPage(kPage, sheet, kDef) {}
    bool tickInRead = false;
    bool tickInWrite = false;

protected:
    void AfterRead() override {
        if (tickInRead) OnTimer(kTrendTimerId);
    }
    void AfterWriteBlocks() override {
        if (tickInWrite) OnTimer(kTrendTimerId);
    }
};
std::unique_ptr<CPropPage> MakePage(CSheet& sheet) { return std::make_unique<TickingPage>(sheet); }
const SheetPage kPages[] = {{kPage, kControls, &MakePage}};
const SheetPages kSheet = {kPages, kPage, kPage, {}, {}};

// Trace lines without their times.
std::vector<std::string> Texts(const std::vector<std::string>& lines) {
    std::vector<std::string> texts;
    for (const std::string& line : lines) texts.push_back(line.substr(10));
    return texts;
}

// The trend NVs a stretch of trace read, in order.
std::vector<int> NvsRead(const std::vector<std::string>& lines) {
    static const std::regex kRead(R"(ReadNv\((\d+), 31\))");
    std::vector<int> nvs;
    for (const std::string& line : lines) {
        std::smatch m;
        if (std::regex_search(line, m, kRead)) nvs.push_back(std::stoi(m[1]));
    }
    return nvs;
}

TEST(TrendSampling, EachTickReadsTheSeriesNvsOnceAndNeverDuringAnAction) {
    struct Case {
        const char* what;
        int click;  // 0: the timer fires with the sheet idle
        bool inRead;
        bool inWrite;
        size_t samplesAdded;
    };
    const Case cases[] = {
        {"idle", 0, false, false, 1},
        {"during a Read", kRead, true, false, 0},
        {"during a Write", kWrite, false, true, 0},
    };
    const std::vector<int> oneTick = TrendNvs();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        VirtualClock clock;
        Trace trace{clock};
        SimulatedNode node{clock, &trace};
        SimulatedSite site{node};
        HeadlessPlatform ui{clock, trace};
        CSheet sheet(ui, &site, kSheet);
        ui.SetModalDriver([&](HeadlessPlatform& tech) {
            trace.Clear();
            ASSERT_TRUE(tech.Click(kPage, kTrend));
            // Opening reads nothing.
            EXPECT_EQ(Texts(trace.lines()),
                      (std::vector<std::string>{"> click \"Trend\"", "trend opens"}));
            ASSERT_NE(sheet.trend(), nullptr);
            auto& page = static_cast<TickingPage&>(*sheet.Page(kPage));
            page.tickInRead = c.inRead;
            page.tickInWrite = c.inWrite;
            trace.Clear();
            if (c.click != 0) {
                ASSERT_TRUE(tech.Click(kPage, c.click));
            } else {
                page.OnTimer(kTrendTimerId);
            }
            EXPECT_EQ(sheet.trend()->Model().samples().size(), c.samplesAdded);
            std::vector<int> read = NvsRead(trace.lines());
            std::erase_if(read, [](int nv) { return nv == kPartSelectorNv || nv == kConfigNv; });
            EXPECT_EQ(read, c.samplesAdded > 0 ? oneTick : std::vector<int>{});
            page.tickInRead = page.tickInWrite = false;
            // Afterwards it samples again.
            page.OnTimer(kTrendTimerId);
            EXPECT_EQ(sheet.trend()->Model().samples().size(), c.samplesAdded + 1);
        });
        sheet.RunModal();
    }
}

// The trend ends with the page whose timer samples for it, and with the sheet.
TEST(TrendSampling, TheTrendClosesWithItsPageAndTheSheet) {
    SimSession s;
    s.node.SetAnimated(false);
    std::vector<std::string> closing;
    s.Open([&](HeadlessPlatform& ui) {
        ui.Idle(100);
        ASSERT_TRUE(ui.Click(PageId::NodeInformation, IDC_NODEINFO_TECHNICIAN));
        ASSERT_TRUE(ui.SelectTab(PageId::StatusRegulator));
        ASSERT_TRUE(ui.Click(PageId::StatusRegulator, IDC_REGULATOR_TREND));
        ASSERT_NE(ui.TrendShown(), nullptr);
        // From the other page it comes to the front; the sampling stays.
        ASSERT_TRUE(ui.SelectTab(PageId::Temperatures));
        s.trace.Clear();
        ASSERT_TRUE(ui.Click(PageId::Temperatures, IDC_TEMPS_TREND));
        EXPECT_EQ(Texts(s.trace.lines()),
                  (std::vector<std::string>{"> click \"Trend...\"", "trend to the front"}));
        ui.Idle(2000);
        EXPECT_EQ(ui.TrendShown()->samples().size(), 1u);
        // The user set has no Status - Regulator: its timer, and the trend, end.
        ASSERT_TRUE(ui.SelectTab(PageId::NodeInformation));
        ASSERT_TRUE(ui.Click(PageId::NodeInformation, IDC_NODEINFO_USER));
        EXPECT_EQ(ui.TrendShown(), nullptr);
        s.trace.Clear();
        ui.Idle(4000);
        for (const std::string& line : s.trace.lines())
            EXPECT_EQ(line.find("trend"), std::string::npos) << line;
        ASSERT_TRUE(ui.Click(PageId::NodeInformation, IDC_NODEINFO_TECHNICIAN));
        ASSERT_TRUE(ui.SelectTab(PageId::Temperatures));
        ASSERT_TRUE(ui.Click(PageId::Temperatures, IDC_TEMPS_TREND));
        ASSERT_NE(ui.TrendShown(), nullptr);
        s.trace.Clear();
        ASSERT_TRUE(ui.Close(CloseWay::Exit));
        closing = s.trace.lines();
    });
    ASSERT_FALSE(closing.empty());
    EXPECT_EQ(Texts(closing), std::vector<std::string>{"trend closes"});
}

// "Save data..." writes the CSV where the technician says, in one step, and
// says so when the disk refuses it.
TEST(TrendSampling, SaveDataWritesTheCsvThroughTheSaveDialog) {
    struct Case {
        const char* what;
        std::optional<std::string> answer;
        HeadlessPlatform::SaveFault fault;
        bool saved;
        const char* message;  // the last trace line's start, after the dialog
    };
    const Case cases[] = {
        {"saved", "C:\\Data\\AHU 3.csv", HeadlessPlatform::SaveFault::None, true, nullptr},
        {"cancelled", std::nullopt, HeadlessPlatform::SaveFault::None, false, nullptr},
        {"a full disk", "C:\\Data\\AHU 3.csv", HeadlessPlatform::SaveFault::WriteStops, false,
         "msgbox \"AHU 3.csv could not be saved.\" title \"QTA1\" OK stop"},
        {"the move refused", "C:\\Data\\AHU 3.csv", HeadlessPlatform::SaveFault::MoveRefused, false,
         "msgbox \"AHU 3.csv could not be saved.\" title \"QTA1\" OK stop"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SimSession s;
        s.node.SetAnimated(false);
        std::string csv;
        s.Open([&](HeadlessPlatform& ui) {
            ui.Idle(100);
            ASSERT_TRUE(ui.Click(PageId::NodeInformation, IDC_NODEINFO_TECHNICIAN));
            ASSERT_TRUE(ui.SelectTab(PageId::Temperatures));
            ASSERT_TRUE(ui.Click(PageId::Temperatures, IDC_TEMPS_TREND));
            ui.Idle(4000);
            csv = ui.TrendShown()->CsvText();
            ui.QueueFileAnswer(c.answer);
            ui.FailNextSave(c.fault);
            s.trace.Clear();
            ASSERT_TRUE(ui.TrendSaveData());
        });
        const std::vector<std::string> texts = Texts(s.trace.lines());
        ASSERT_FALSE(texts.empty());
        ASSERT_EQ(texts.front(), "> trend save data");
        EXPECT_EQ(texts[1].rfind("save-dialog name \"Trend.csv\" ext \"*.csv\"", 0), 0u)
            << texts[1];
        EXPECT_EQ(s.FileBytes("C:\\Data\\AHU 3.csv"),
                  c.saved ? std::optional<std::string>(csv) : std::nullopt);
        ASSERT_GE(texts.size(), 3u);
        if (c.message != nullptr) {
            EXPECT_EQ(texts[2].rfind(c.message, 0), 0u) << texts[2];
        } else {
            EXPECT_EQ(texts[2], "trend closes");  // the sheet closes with it
        }
    }
}

}  // namespace
}  // namespace qta1
