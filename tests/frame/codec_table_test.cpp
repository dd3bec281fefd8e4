// Every codec a value box can have, at its edges: what the page shows for
// the node's bytes, the lowest and highest text the box stores with the
// bytes it stores them as (and nothing else of the buffer touched), the
// texts just beyond each edge refused (digits beyond a box's precision are
// cut off, not refused), the range the refusal names, and the stored value
// typed back with every digit giving the same bytes.
#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "frame/page.h"

namespace qta1 {
namespace {

struct Typed {
    const char* text;
    std::vector<uint8_t> bytes;  // what the value's bytes hold afterwards
};

struct CodecCase {
    Codec codec;
    std::vector<uint8_t> node;  // the value's bytes as the node sends them
    const char* shown;
    std::optional<Typed> lowest;   // none: the box is shown only
    std::optional<Typed> highest;
    std::vector<const char*> refused;
    const char* range;
};

constexpr int kOffset = 3;
constexpr uint8_t kUntouched = 0xEE;

TEST(CodecTable, EveryCodecAtItsEdges) {
    // clang-format off
    const CodecCase cases[] = {
        {Codec::Word,           {0x01, 0x00}, "256",
         Typed{"0", {0x00, 0x00}},      Typed{"65535", {0xFF, 0xFF}},
         {"-1", "65536", "abc", ""},          "a number from 0 to 65535"},
        {Codec::Tenths,         {0x00, 0x19}, "2.5",
         Typed{"0", {0x00, 0x00}},      Typed{"6553.5", {0xFF, 0xFF}},
         {"-0.1", "6553.6", "x"},                    "a number from 0.0 to 6553.5"},
        {Codec::Temperature,    {0xFE, 0x0C}, "-5.0",
         Typed{"-555.35", {0x27, 0x11}}, Typed{"100", {0x27, 0x10}},
         {"-555.36", "100.01", "1e2"},               "a number from -555.35 to 100.00"},
        {Codec::TimeByte,       {0x20},       "8:00",
         Typed{"0:00", {0x00}},         Typed{"24:00", {0x60}},
         {"24:15", "25:00", "8", "abc"},             "a time from 0:00 to 24:00"},
        {Codec::HourMinute,     {0x07, 0x2D}, "7:45",
         Typed{"-128:-128", {0x80, 0x80}}, Typed{"127:127", {0x7F, 0x7F}},
         {"128:0", "0:-129", "1.5:0", "745"},
         "H:MM, hours and minutes whole numbers from -128 to 127"},
        {Codec::HalfHundredths, {0x00, 0xC8}, "1",
         Typed{"0", {0x00, 0x00}},      Typed{"327.675", {0xFF, 0xFF}},
         {"-0.005", "327.68"},                       "a number from 0.000 to 327.675"},
        // The high byte is the node's: only the low byte is the box's.
        {Codec::Halves,         {0xAA, 0x03}, "21762",
         Typed{"0", {0xAA, 0x00}},      Typed{"127.5", {0xAA, 0xFF}},
         {"-0.5", "128"},                            "a number from 0.0 to 127.5"},
        {Codec::Percent4095,    {0x0F, 0xFF}, "100",
         std::nullopt, std::nullopt, {"50", "0"},    ""},
        {Codec::SignedByte,     {0xFF},       "-1",
         Typed{"-128", {0x80}},         Typed{"127", {0x7F}},
         {"-129", "128", "x"},                     "a number from -128 to 127"},
        {Codec::TenthsWhole,    {0x00, 0x19}, "2",
         Typed{"0", {0x00, 0x00}},      Typed{"6553.5", {0xFF, 0xFF}},
         {"-0.1", "6553.6"},                         "a number from 0.0 to 6553.5"},
        {Codec::NodeDate,       {0x07, 0xEA, 0x0C, 0x06, 0x17, 0x1C, 0x29}, "6/12-2026",
         std::nullopt, std::nullopt, {"6/12-2026"},  ""},
        {Codec::NodeTime,       {0x07, 0xEA, 0x0C, 0x06, 0x17, 0x1C, 0x29}, "23:28:41",
         std::nullopt, std::nullopt, {"23:28:41"},   ""},
    };
    // clang-format on
    ASSERT_EQ(std::size(cases), static_cast<size_t>(Codec::NodeTime) + 1) << "a codec without a row";
    for (const CodecCase& c : cases) {
        SCOPED_TRACE("codec " + std::to_string(static_cast<int>(c.codec)));
        const Field field = WordAt(1, kOffset, c.codec);
        ASSERT_EQ(static_cast<size_t>(FieldWidth(field)), c.node.size());
        std::array<uint8_t, kNvBufferSize> node{};
        node.fill(kUntouched);
        std::copy(c.node.begin(), c.node.end(), node.begin() + kOffset);
        EXPECT_EQ(FormatField(field, node.data()), c.shown);
        EXPECT_EQ(FieldStored(field), c.lowest.has_value());
        EXPECT_EQ(AcceptedRange(field), c.range);
        for (const std::optional<Typed>& typed : {c.lowest, c.highest}) {
            if (!typed) continue;
            SCOPED_TRACE(typed->text);
            std::array<uint8_t, kNvBufferSize> buffer = node;
            ASSERT_TRUE(EncodeField(field, typed->text, buffer.data()));
            std::array<uint8_t, kNvBufferSize> expected = node;
            std::copy(typed->bytes.begin(), typed->bytes.end(), expected.begin() + kOffset);
            EXPECT_EQ(buffer, expected);
            // What the box stored, with every digit it stores, types back to
            // the same bytes.
            const std::string exact = DifferingValueTexts(field, buffer.data(), buffer.data(), {}).first;
            std::array<uint8_t, kNvBufferSize> again = node;
            ASSERT_TRUE(EncodeField(field, exact, again.data())) << exact;
            EXPECT_EQ(again, buffer) << exact;
        }
        for (const char* text : c.refused) {
            SCOPED_TRACE(text);
            std::array<uint8_t, kNvBufferSize> buffer = node;
            EXPECT_FALSE(EncodeField(field, text, buffer.data()));
            EXPECT_EQ(buffer, node) << "a refused text changed the buffer";
        }
    }
}

}  // namespace
}  // namespace qta1
