#include "housekeeping/text_codec.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>

#include "frame/codec.h"

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
    const LineKind kinds[] = {LineKind::Record, LineKind::Count, LineKind::Time, LineKind::Temp,
                              LineKind::Setpoint};
    std::string (*const formats[])(const uint8_t*) = {
        FormatRecordLine, FormatCountLine, FormatTimeLine, FormatTempLine, FormatSetpointLine};
    for (int round = 0; round < 2000; ++round) {
        uint8_t b[31];
        for (uint8_t& byte : b) byte = round == 0 ? 0xFF : uint8_t(random());
        for (int k = 0; k < 5; ++k) {
            std::string line = formats[k](b);
            ASSERT_TRUE(line.ends_with("\n\n"));
            line.resize(line.size() - 2);
            const std::optional<std::string> bytes = ParseDataLine(kinds[k], line);
            ASSERT_TRUE(bytes) << line;
            ASSERT_EQ(*bytes, std::string(b, b + DataLineLength(kinds[k]))) << line;
        }
    }
    const uint8_t setpoints[12] = {0,    0,    0x09, 0xC4, 0x08, 0x4D,
                                   0x27, 0x11, 0x07, 0x6C, 0xFE, 0x0C};
    EXPECT_EQ(FormatSetpointLine(setpoints), "0.0, 25.0, 21.25, -555.35, 19.0, -5.0\n\n");
    const uint8_t temp[2] = {0x07, 0xCF};
    EXPECT_EQ(FormatTempLine(temp), "19.99\n\n");
}

TEST(TextCodecTest, ExportTimestamp) {
    EXPECT_EQ(FormatExportDate({2105, 12, 6}), "6/12-2105 ");
    EXPECT_EQ(FormatExportTime({2026, 1, 1, 7, 5, 9}), "7:05:09");
}

}  // namespace
}  // namespace qta1
