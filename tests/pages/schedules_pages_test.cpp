// The schedule pages: what a Calender Write refuses and with which messages,
// the hour:minute entry of Extended operation, the fitted-actuator enabling
// of Open/Close Timer, and what a Write of any of them may change in the node
// (Freecool and PIR share NV 7).
#include <gtest/gtest.h>

#include <random>
#include <regex>

#include "frame/codec.h"
#include "frame/page.h"
#include "housekeeping/text_codec.h"
#include "sim_session.h"

namespace qta1 {
namespace {

using Typing = std::vector<std::pair<int, std::string>>;

// Opens the sheet with the technician set, shows `page`, types, and runs
// `act` with the trace emptied.
void OnPage(SimSession& s, PageId page, const Typing& typed,
            const std::function<void(HeadlessPlatform&)>& act) {
    s.node.SetAnimated(false);
    s.Open([&](HeadlessPlatform& ui) {
        ui.Idle(100);
        ASSERT_TRUE(ui.Click(PageId::NodeInformation, IDC_NODEINFO_TECHNICIAN));
        ASSERT_TRUE(ui.SelectTab(page));
        for (const auto& [control, text] : typed) ASSERT_TRUE(ui.Type(page, control, text));
        s.trace.Clear();
        act(ui);
    });
}

std::vector<std::string> Messages(const Trace& trace) {
    static const std::regex kMessage(R"re(msgbox "(.*)" title )re");
    std::vector<std::string> texts;
    for (const std::string& line : trace.lines()) {
        std::smatch m;
        if (std::regex_search(line, m, kMessage)) texts.push_back(m[1]);
    }
    return texts;
}

TEST(CalenderPage, WriteChecksEveryBoxAndEveryCalendarBeforeSending) {
    const std::string c1 = "Error in Calender 1, unequal start and stoptimes";
    const std::string c2 = "Error in Calender 2, unequal start and stoptimes";
    const std::string holiday = "Error in holiday, unequal start and stoptimes";
    const std::string refused = " errors occured, data not written to NV";
    const std::string hint = refused + ". (Correct time format is 'H:MM' or 'HH:MM')";
    struct Case {
        const char* name;
        Typing typed;  // over a node whose schedule is all 0:00
        std::vector<std::string> messages;
        int sundayStop1 = -1;  // byte 1 after the Write; -1: NV 8 not written
    };
    const Case cases[] = {
        {"start without stop", {{IDC_CALENDER_MON_START1, "8:00"}}, {c1, "1" + refused}},
        {"counts over the week, not per day",
         {{IDC_CALENDER_MON_START1, "8:00"}, {IDC_CALENDER_TUE_STOP1, "16:00"}},
         {},
         0},
        {"24:00, minutes to the quarter below",
         {{IDC_CALENDER_SUN_START1, "8:07"}, {IDC_CALENDER_SUN_STOP1, "24:00"}},
         {},
         96},
        // A box that is not a time counts as set, so a mistyped stop is reported
        // only as a format error.
        {"mistyped stop counts as set",
         {{IDC_CALENDER_MON_START1, "8:00"}, {IDC_CALENDER_MON_STOP1, "16.00"}},
         {"1" + hint}},
        {"mistyped lone start counts as set",
         {{IDC_CALENDER_WED_START2, "24:15"}},
         {c2, "2" + hint}},
        {"malformed pair",
         {{IDC_CALENDER_THU_START1, "008:00"}, {IDC_CALENDER_THU_STOP1, " 8:00"}},
         {"2" + hint}},
        {"holiday stop alone", {{IDC_CALENDER_HOLIDAY_STOP, "1:00"}}, {holiday, "1" + refused}},
        {"every message in order",
         {{IDC_CALENDER_MON_START1, "8:00"},
          {IDC_CALENDER_TUE_STOP2, "9:00"},
          {IDC_CALENDER_HOLIDAY_START, "7:00"},
          {IDC_CALENDER_FRI_START1, "x"}},
         {c1, c2, holiday, "4" + hint}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SimSession s;
        const NvValue before = s.node.Nv(8);
        OnPage(s, PageId::Calender, c.typed,
               [&](HeadlessPlatform& ui) { ui.Click(PageId::Calender, IDC_CALENDER_WRITE); });
        EXPECT_EQ(Messages(s.trace), c.messages);
        if (c.sundayStop1 < 0) {
            EXPECT_EQ(s.node.Nv(8), before);
        } else {
            EXPECT_EQ(s.node.Nv(8)[1], c.sundayStop1);
        }
    }
}

// "H:MM" with whole hours and minutes, each a byte as the box shows it
// (signed); anything else stops the Write and the node keeps its time.
TEST(ExtendedOperationPage, TimesAreCheckedAndShownAsStored) {
    struct Case {
        const char* typed;
        bool stored;
        uint8_t hours, minutes;
        const char* shown;
    };
    const Case cases[] = {
        {"1:5", true, 1, 5, "1:05"},
        {"30:75", true, 30, 75, "30:75"},
        {"-1:00", true, 255, 0, "-1:00"},
        {" 7 : 30 ", true, 7, 30, "7:30"},
        {"127:127", true, 127, 127, "127:127"},
        {"90", false, 0, 0, "90"},
        {"7:3x", false, 0, 0, "7:3x"},
        {"abc", false, 0, 0, "abc"},
        {"12:30:45", false, 0, 0, "12:30:45"},
        {"300:0", false, 0, 0, "300:0"},
        {"128:0", false, 0, 0, "128:0"},
        {"1.5:00", false, 0, 0, "1.5:00"},
        {"7:", false, 0, 0, "7:"},
        {":30", false, 0, 0, ":30"},
        {"", false, 0, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        SimSession s;
        const NvValue before{20, 0, 0xAB, 0xCD};
        s.node.SetNv(26, before);
        OnPage(s, PageId::ExtendedOperation, {{IDC_EXTOP_NIGHT, c.typed}},
               [&](HeadlessPlatform& ui) {
                   ui.Click(PageId::ExtendedOperation, IDC_EXTOP_WRITE);
                   EXPECT_EQ(ui.State(PageId::ExtendedOperation, IDC_EXTOP_NIGHT)->text, c.shown);
               });
        const NvValue stored{c.hours, c.minutes, 0xAB, 0xCD};
        EXPECT_EQ(s.node.Nv(26), c.stored ? stored : before);
    }
}

TEST(OpenCloseTimerPage, HeatValveAndExchangerFollowTheFittedEquipment) {
    struct Case {
        uint8_t byte2;  // part 1 byte 2 as stored
        bool heatValve, exchanger;
    };
    const Case cases[] = {
        {0x05, true, true}, {0x04, false, true}, {0x01, true, false}, {0xFA, false, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(int{c.byte2});
        SimSession s;
        NvValue part1 = s.node.Part(1);
        part1[2] = c.byte2;
        s.node.SetPart(1, part1);
        OnPage(s, PageId::OpenCloseTimer, {}, [&](HeadlessPlatform& ui) {
            auto enabled = [&](int id) { return ui.State(PageId::OpenCloseTimer, id)->enabled; };
            EXPECT_EQ(enabled(IDC_OPENCLOSE_HEAT_VALVE), c.heatValve);
            EXPECT_EQ(enabled(IDC_OPENCLOSE_EXCHANGER), c.exchanger);
            EXPECT_TRUE(enabled(IDC_OPENCLOSE_DAMPER_INTAKE) &&
                        enabled(IDC_OPENCLOSE_DAMPER_EXHAUST));
        });
    }
}

// --- What a Write may change ------------------------------------------------

constexpr int kPart = 100;  // kPart + n stands for part n of the configuration NV

std::map<int, NvValue> NodeValues(const SimulatedNode& node) {
    std::map<int, NvValue> values;
    for (int nv : {7, 8, 24, 26, 28, 32, 34}) values[nv] = node.Nv(nv);
    for (int part = 1; part <= 12; ++part) values[kPart + part] = node.Part(part);
    return values;
}

// A temperature word that survives being shown ("%.1f") and typed back.
int ShownTemperatureWord(std::mt19937& random) {
    const Field field = WordAt(0, 0, Codec::Temperature);
    for (;;) {
        const int word = static_cast<int>(random() % 65536);
        uint8_t bytes[2] = {static_cast<uint8_t>(word >> 8), static_cast<uint8_t>(word)};
        EncodeField(field, FormatField(field, bytes), bytes);
        if (ComposeWord(bytes[0], bytes[1]) == word) return word;
    }
}

NvValue RandomValue(std::mt19937& random) {
    NvValue value;
    for (uint8_t& b : value) b = static_cast<uint8_t>(random());
    return value;
}

// A calendar NV of random bytes whose calendars at `stopOffsets` hold a start
// and a stop every day, so that a Write passes its checks.
NvValue RandomCalendar(std::mt19937& random, std::initializer_list<int> stopOffsets) {
    NvValue value = RandomValue(random);
    for (int first : stopOffsets) {
        for (int stop = first; stop + 1 < kNvValueSize; stop += 4) {
            value[stop] = static_cast<uint8_t>(1 + random() % 96);
            value[stop + 1] = static_cast<uint8_t>(1 + random() % 96);
        }
    }
    return value;
}

// For random node contents, typing a new value into one box and writing
// changes exactly that box's bytes (and clears byte 0 of a calendar NV);
// Freecool keeps every PIR byte of NV 7 as the node held it, and the reverse.
TEST(SchedulePages, WriteChangesOnlyTheEditedBox) {
    struct Box {
        PageId page;
        int write;
        int where;  // NV index, or kPart + part
        Field field;
    };
    const Box boxes[] = {
        {PageId::Calender, IDC_CALENDER_WRITE, 8, TimeByteAt(IDC_CALENDER_SUN_STOP1, 1)},
        {PageId::Calender, IDC_CALENDER_WRITE, 8, TimeByteAt(IDC_CALENDER_WED_START2, 16)},
        {PageId::Calender, IDC_CALENDER_WRITE, 8, TimeByteAt(IDC_CALENDER_HOLIDAY_START, 30)},
        {PageId::Freecool, IDC_FREECOOL_WRITE, 7, TimeByteAt(IDC_FREECOOL_SUN_STOP, 3)},
        {PageId::Freecool, IDC_FREECOOL_WRITE, 7, TimeByteAt(IDC_FREECOOL_SAT_START, 28)},
        {PageId::Freecool, IDC_FREECOOL_WRITE, 28,
         WordAt(IDC_FREECOOL_MIN_TEMP_INJECTION, 0, Codec::Temperature)},
        {PageId::Freecool, IDC_FREECOOL_WRITE, 34,
         WordAt(IDC_FREECOOL_MAX_TEMP_OUTDOOR, 0, Codec::Temperature)},
        {PageId::Freecool, IDC_FREECOOL_WRITE, 32,
         WordAt(IDC_FREECOOL_SETPT_MAX_ROOM, 2, Codec::Temperature)},
        {PageId::Freecool, IDC_FREECOOL_WRITE, 32,
         WordAt(IDC_FREECOOL_SETPT_MIN_ROOM, 8, Codec::Temperature)},
        {PageId::Pir, IDC_PIR_WRITE, 7, TimeByteAt(IDC_PIR_SUN_STOP, 1)},
        {PageId::Pir, IDC_PIR_WRITE, 7, TimeByteAt(IDC_PIR_SAT_START, 26)},
        {PageId::Pir, IDC_PIR_WRITE, kPart + 6,
         WordField(IDC_PIR_TIME_BEFORE_START, 0, Codec::Word)},
        {PageId::Pir, IDC_PIR_WRITE, kPart + 6,
         WordField(IDC_PIR_TIME_BEFORE_STOP, 1, Codec::Word)},
        {PageId::ExtendedOperation, IDC_EXTOP_WRITE, 24,
         WordAt(IDC_EXTOP_DAY, 0, Codec::HourMinute)},
        {PageId::ExtendedOperation, IDC_EXTOP_WRITE, 26,
         WordAt(IDC_EXTOP_NIGHT, 0, Codec::HourMinute)},
        {PageId::OpenCloseTimer, IDC_OPENCLOSE_WRITE, kPart + 9,
         WordField(IDC_OPENCLOSE_DAMPER_INTAKE, 2, Codec::Word)},
        {PageId::OpenCloseTimer, IDC_OPENCLOSE_WRITE, kPart + 9,
         WordField(IDC_OPENCLOSE_DAMPER_EXHAUST, 3, Codec::Word)},
    };
    std::mt19937 random(20261207);
    for (int round = 0; round < 3 * static_cast<int>(std::size(boxes)); ++round) {
        const Box& box = boxes[static_cast<size_t>(round) % std::size(boxes)];
        SimSession s;
        s.node.SetNv(8, RandomCalendar(random, {1, 3, 29}));
        s.node.SetNv(7, RandomCalendar(random, {box.page == PageId::Pir ? 1 : 3}));
        for (int nv : {28, 34, 32}) {
            NvValue value = RandomValue(random);
            for (int offset : {0, 2, 8}) {
                const int word = ShownTemperatureWord(random);
                value[offset] = static_cast<uint8_t>(word >> 8);
                value[offset + 1] = static_cast<uint8_t>(word);
            }
            s.node.SetNv(nv, value);
        }
        for (int nv : {24, 26}) {
            NvValue time = RandomValue(random);
            time[1] &= 0x7F;  // minutes: a negative one is shown as "0-5" and not typed back
            s.node.SetNv(nv, time);
        }
        s.node.SetPart(6, RandomValue(random));
        s.node.SetPart(9, RandomValue(random));
        NvValue part1 = s.node.Part(1);
        part1[2] = static_cast<uint8_t>(random());  // disabled travel boxes are written too
        part1[20] |= 0x01;                          // free cooling, so its boxes take typing
        s.node.SetPart(1, part1);
        s.node.SetNv(48, NvValue{});

        uint8_t bytes[2] = {static_cast<uint8_t>(random()), static_cast<uint8_t>(random())};
        if (box.field.codec == Codec::TimeByte) bytes[0] = static_cast<uint8_t>(1 + random() % 96);
        if (box.field.codec == Codec::HourMinute) bytes[1] &= 0x7F;
        if (box.field.codec == Codec::Temperature) {
            const int word = ShownTemperatureWord(random);
            bytes[0] = static_cast<uint8_t>(word >> 8);
            bytes[1] = static_cast<uint8_t>(word);
        }
        const std::string typed = FormatField(WordAt(0, 0, box.field.codec), bytes);
        std::map<int, NvValue> expected = NodeValues(s.node);
        expected[box.where][box.field.offset] = bytes[0];
        if (box.field.codec != Codec::TimeByte)
            expected[box.where][box.field.offset + 1] = bytes[1];
        if (box.page == PageId::Calender) expected[8][0] = 0;  // the character-set byte
        if (box.page == PageId::Freecool || box.page == PageId::Pir) expected[7][0] = 0;

        OnPage(s, box.page, {{box.field.control, typed}},
               [&](HeadlessPlatform& ui) { ui.Click(box.page, box.write); });
        EXPECT_EQ(Messages(s.trace), std::vector<std::string>{}) << typed;
        for (const auto& [where, value] : NodeValues(s.node)) {
            EXPECT_EQ(value, expected[where])
                << CaptionOf(box.page) << ": NV " << where << " after typing " << typed;
        }
    }
}

}  // namespace
}  // namespace qta1
