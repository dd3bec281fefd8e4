#include "frame/codec.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <string>
#include <utility>

namespace qta1 {
namespace {

TEST(CodecTest, WordsScaleAndEncodersTruncate) {
    const std::pair<int, double> hundredths[] = {
        {10000, 100.0}, {10001, -555.35}, {65535, -0.01}, {65036, -5.0}, {0, 0.0},
    };
    for (const auto& [word, want] : hundredths)
        EXPECT_DOUBLE_EQ(DecodeSignedHundredths(uint8_t(word >> 8), uint8_t(word)), want);
    EXPECT_DOUBLE_EQ(DecodeHalfHundredths(0x00, 0xC8), 1.0);
    EXPECT_EQ(DecodeTenthsInteger(0x00, 0x19), 2);
    const std::pair<double, int32_t> encoded[] = {
        {0.29, 28}, {2.57, 257}, {-5.0, -500}, {-0.019, -1}, {NAN, INT32_MIN}, {-3e7, INT32_MIN},
    };
    for (const auto& [x, want] : encoded) EXPECT_EQ(EncodeHundredthsLow(x), want) << x;
    EXPECT_EQ(EncodeHundredthsHigh(2.57), 1);
    EXPECT_EQ(EncodeHundredthsHigh(-5.0) & 0xFF, 0xFE);
    EXPECT_EQ(EncodeTenthsLow(2.57), 25);
}

TEST(CodecTest, BitsUseTheCodecNumbering) {
    const std::pair<int, int> reversed[] = {{0x01, 0x80}, {0x15, 0xA8}, {0xF0, 0x0F}, {0, 0}};
    for (const auto& [in, out] : reversed) EXPECT_EQ(ReverseBits(uint8_t(in)), out);
    for (int b = 0; b < 256; ++b) EXPECT_EQ(ReverseBits(ReverseBits(uint8_t(b))), b);
    EXPECT_EQ(TestBit(ReverseBits(0x04), 2), 1);
    EXPECT_EQ(TestBit(ReverseBits(0x04), 5), 0);
    EXPECT_EQ(TestBit(0x5A, 8), 0x5A);
}

TEST(CodecTest, TextToDoubleTakesTheLongestNumericPrefix) {
    const std::pair<std::string, double> cases[] = {
        {" \t12.5x", 12.5},
        {"-.5", -0.5},
        {"1e", 1},
        {"1,5", 1},
        {"", 0},
        {"0x1A", 0},
        {"inf", 0},
        {std::string("4\0005", 3), 4},
        {"1e999", HUGE_VAL},
        {"-1e999", -HUGE_VAL},
        {"1e-999", 0},
    };
    for (const auto& [text, want] : cases) EXPECT_EQ(TextToDouble(text), want) << text;
    EXPECT_EQ(FormatFixed(-0.01, 2), "-0.01");
}

TEST(CodecTest, NumbersKeepTheDecimalPointUnderACommaLocale) {
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "German_Germany.1252"}) {
        if (std::setlocale(LC_ALL, name) != nullptr) break;
    }
    const bool comma = *std::localeconv()->decimal_point == ',';
    const double parsed = TextToDouble("2.5");
    const std::string formatted = FormatFixed(2.5, 1);
    std::setlocale(LC_ALL, previous.c_str());
    if (!comma) GTEST_SKIP() << "no comma-decimal locale installed";
    EXPECT_EQ(parsed, 2.5);
    EXPECT_EQ(formatted, "2.5");
}

}  // namespace
}  // namespace qta1
