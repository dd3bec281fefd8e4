#include "housekeeping/text_codec.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <string>
#include <utility>

namespace qta1 {
namespace {

TEST(TextCodecTest, TimeTexts) {
    EXPECT_EQ(FormatTimeByte(1), "0:15");
    EXPECT_EQ(FormatTimeByte(255), "63:45");
    for (int b = 0; b <= 96; ++b) EXPECT_EQ(ParseTimeByte(FormatTimeByte(uint8_t(b))), b);
    EXPECT_EQ(ParseTimeByte("7:20"), 29);
    const std::pair<std::string, bool> valid[] = {
        {"08:30", true},  {"24:00", true},  {"8:10", true},   {"830", false},    {"8:3", false},
        {"8.30", false},  {" 8:30", false}, {"8 :30", false}, {"\t8:30", false}, {"24:15", false},
        {"25:00", false}, {"7:60", false},  {"-1:00", false}, {"8::30", false},  {"", false},
    };
    for (const auto& [text, ok] : valid) EXPECT_EQ(IsValidTimeText(text), ok) << text;
}

TEST(TextCodecTest, DataLinesRoundTripThroughTheirParsers) {
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        uint8_t b[31];
        for (uint8_t& byte : b) byte = round == 0 ? 0xFF : uint8_t(random());
        const std::string record = FormatRecordLine(b), time = FormatTimeLine(b);
        for (int i = 0; i < 31; ++i) ASSERT_EQ(ParseRecordByte(record, i), b[i]) << record;
        for (int i = 0; i < 4; ++i) ASSERT_EQ(ParseTimeLineByte(time, i), b[i]) << time;
        ASSERT_EQ(ParseIntegerByte(FormatCountLine(b), 1), b[1]);
    }
    const uint8_t setpoints[12] = {0, 0, 0x09, 0xC4, 0, 0, 0, 0, 0x07, 0x6C, 0xFE, 0x0C};
    const std::string line = FormatSetpointLine(setpoints);
    EXPECT_EQ(line, "0.0, 25.0, 0.0, 0.0, 19.0, -5.0\n\n");
    for (int i = 0; i < 12; ++i) EXPECT_EQ(ParseSetpointByte(line, i), setpoints[i]);
}

TEST(TextCodecTest, ShortOddAndHostileLines) {
    const std::string record = "1, 21, 49, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 77\n";
    const std::pair<int, int> cases[] = {
        {ParseRecordByte(record, 30), 2},
        {ParseRecordByte("5, 6, 7", 2), 6},
        {ParseRecordByte("5, 6, 7", 4), 0},
        {ParseRecordByte("1e999, 1e999, ", 1), 0},
        {ParseRecordByte(std::string("3\0, 4", 5), 0), 3},
        {ParseTimeLineByte("1, 2, 35", 3), 5},
        {ParseHundredthsByte("15.00", 2), 0xDC},
        {FieldOffset("a,", 2), 4},
        {FieldOffset("1,2", INT_MAX), INT_MAX},
    };
    for (const auto& [got, want] : cases) EXPECT_EQ(got, want);
}

TEST(TextCodecTest, ExportTimestamp) {
    EXPECT_EQ(FormatExportDate({2105, 12, 6}), "6/12-2105 ");
    EXPECT_EQ(FormatExportTime({2026, 1, 1, 7, 5, 9}), "7:05:09");
}

}  // namespace
}  // namespace qta1
