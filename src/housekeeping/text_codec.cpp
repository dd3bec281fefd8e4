#include "housekeeping/text_codec.h"

#include <climits>
#include <cstdio>

#include "frame/codec.h"
#include "frame/decimal.h"

namespace qta1 {

namespace {

std::string Joined(const std::string& a, const std::string& b) {
    return a.empty() ? b : a + ", " + b;
}

// The numbers of each kind of data line: how many, how each is scaled and
// what it may hold, and how many bytes it fills.
struct LineNumber {
    int scale;
    int64_t min;
    int64_t max;
    int bytes;  // 1: a byte, 2: a word (high byte first)
};
// clang-format off
constexpr LineNumber kSignedByte  = {1,   -128,   127,   1};
constexpr LineNumber kWord        = {1,   0,      65535, 2};
constexpr LineNumber kHundredths  = {100, kMinHundredths, kMaxHundredths, 2};
// clang-format on

struct LineShape {
    LineKind kind;
    int count;         // numbers on the line
    LineNumber first;  // the first number
    LineNumber rest;   // every other number
    int length;        // bytes
};
// clang-format off
constexpr LineShape kShapes[] = {
//   kind               count first        rest         bytes
    {LineKind::Record,   16,  kSignedByte, kWord,       31},
    {LineKind::Count,    1,   kWord,       kWord,       2},
    {LineKind::Time,     4,   kSignedByte, kSignedByte, 4},
    {LineKind::Temp,     1,   kHundredths, kHundredths, 2},
    {LineKind::Setpoint, 6,   kHundredths, kHundredths, 12},
};
// clang-format on

const LineShape& ShapeOf(LineKind kind) {
    for (const LineShape& shape : kShapes)
        if (shape.kind == kind) return shape;
    return kShapes[0];
}

}  // namespace

std::string FormatRecordLine(const uint8_t bytes[31]) {
    std::string line = std::to_string(DecodeSignedByte(bytes[0]));
    for (int k = 0; k < 15; ++k)
        line = Joined(line, std::to_string(ComposeWord(bytes[2 * k + 1], bytes[2 * k + 2])));
    return line + "\n\n";
}

std::string FormatCountLine(const uint8_t bytes[2]) {
    return std::to_string(ComposeWord(bytes[0], bytes[1])) + "\n\n";
}

std::string FormatTimeLine(const uint8_t bytes[4]) {
    std::string line;
    for (int i = 0; i < 4; ++i) line = Joined(line, std::to_string(DecodeSignedByte(bytes[i])));
    return line + "\n\n";
}

std::string FormatTempLine(const uint8_t bytes[2]) {
    return FormatScaled(SignedHundredthsWord(bytes[0], bytes[1]), 100, 2) + "\n\n";
}

// One decimal where it holds the value exactly, two where it does not.
std::string FormatSetpointLine(const uint8_t bytes[12]) {
    std::string line;
    for (int k = 0; k < 6; ++k) {
        const int hundredths = SignedHundredthsWord(bytes[2 * k], bytes[2 * k + 1]);
        const bool tenths = hundredths % 10 == 0;
        line = Joined(
            line, tenths ? FormatScaled(hundredths / 10, 10, 1) : FormatScaled(hundredths, 100, 2));
    }
    return line + "\n\n";
}

int DataLineLength(LineKind kind) { return ShapeOf(kind).length; }

std::optional<std::string> ParseDataLine(LineKind kind, std::string_view line) {
    const LineShape& shape = ShapeOf(kind);
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(shape.length));
    std::string_view rest = line;
    for (int n = 0; n < shape.count; ++n) {
        const std::size_t comma = rest.find(',');
        const bool last = n == shape.count - 1;
        // The last number ends the line; every other one ends at a comma.
        if (last == (comma != std::string_view::npos)) return std::nullopt;
        const std::string_view field = last ? rest : rest.substr(0, comma);
        if (!last) rest.remove_prefix(comma + 1);
        const LineNumber& form = n == 0 ? shape.first : shape.rest;
        const std::optional<int64_t> value =
            ParseScaledDecimal(field, form.scale, DecimalMark::PointOnly);
        if (!value || *value < form.min || *value > form.max) return std::nullopt;
        const auto word = static_cast<uint16_t>(*value & 0xFFFF);
        if (form.bytes == 2) bytes += static_cast<char>(word >> 8);
        bytes += static_cast<char>(word & 0xFF);
    }
    return bytes;
}

// The full year, so 2105 stays 2105.
std::string FormatExportDate(const LocalTime& now) {
    return std::to_string(now.day) + "/" + std::to_string(now.month) + "-" +
           std::to_string(now.year) + " ";
}

std::string FormatExportTime(const LocalTime& now) {
    char text[48];
    std::snprintf(text, sizeof text, "%d:%02d:%02d", now.hour, now.minute, now.second);
    return text;
}

}  // namespace qta1
