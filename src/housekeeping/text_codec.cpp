#include "housekeeping/text_codec.h"

#include <climits>
#include <cstdio>

#include "frame/codec.h"

namespace qta1 {

namespace {

uint8_t Low8(int32_t value) {
    return static_cast<uint8_t>(value & 0xFF);
}

// Character index where field n starts. Each step skips up to the next comma
// and the one blank the writer puts after it; with no comma left it skips a
// single character, so the index can run past the end of the line.
std::size_t OffsetOfField(std::string_view line, int n) {
    std::size_t offset = 0;
    for (int i = 0; i < n; ++i) {
        if (offset >= line.size()) return offset + static_cast<std::size_t>(n - i);
        const std::size_t comma = line.find(',', offset);
        offset = comma == std::string_view::npos ? offset + 1 : comma + 2;
    }
    return offset;
}

// Field n of a data line. The last field of its kind runs to the end of the
// line; any other field ends at the next comma and is empty when none follows.
std::string_view FieldText(std::string_view line, int n, bool last) {
    const std::size_t start = OffsetOfField(line, n);
    if (start >= line.size()) return {};
    const std::string_view rest = line.substr(start);
    if (last) return rest;
    const std::size_t comma = rest.find(',');
    return comma == std::string_view::npos ? std::string_view{} : rest.substr(0, comma);
}

double FieldNumber(std::string_view line, int n, int lastField) {
    return TextToDouble(FieldText(line, n, n == lastField));
}

std::string Joined(const std::string& a, const std::string& b) {
    return a.empty() ? b : a + ", " + b;
}

}  // namespace

// Bytes above 96 use the same arithmetic (255 reads 63:45), so nothing is hidden.
std::string FormatTimeByte(uint8_t timeByte) {
    const int minutes = timeByte % 4 * 15;
    return std::to_string(timeByte / 4) + ":" + (minutes == 0 ? "00" : std::to_string(minutes));
}

// A text without ":" reads as whole hours.
uint8_t ParseTimeByte(std::string_view text) {
    const std::size_t colon = text.find(':');
    const double hours = TextToDouble(text.substr(0, colon));
    const double minutes =
        colon == std::string_view::npos ? 0.0 : TextToDouble(text.substr(colon + 1));
    double quarters = hours * 4;
    if (minutes != 0) quarters += minutes * (1.0 / 15.0);
    return Low8(TruncateToInt32(quarters));
}

bool IsValidTimeText(std::string_view text) {
    if (text.size() != 4 && text.size() != 5) return false;
    if (text.find_first_of(" \t\n\v\f\r") != std::string_view::npos) return false;
    const std::size_t hourLength = text.size() - 3;
    if (text.find(':') != hourLength) return false;
    return IsValidHourMinute(text.substr(0, hourLength), text.substr(text.size() - 2));
}

bool IsValidHourMinute(std::string_view hourText, std::string_view minuteText) {
    if (hourText == "24" && minuteText != "00") return false;
    const int32_t h = TruncateToInt32(TextToDouble(hourText));
    const int32_t m = TruncateToInt32(TextToDouble(minuteText));
    return h >= 0 && h <= 24 && m >= 0 && m <= 59;
}

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
    return FormatFixed(DecodeSignedHundredths(bytes[0], bytes[1]), 2) + "\n\n";
}

std::string FormatSetpointLine(const uint8_t bytes[12]) {
    std::string line;
    for (int k = 0; k < 6; ++k)
        line = Joined(line, FormatFixed(DecodeSignedHundredths(bytes[2 * k], bytes[2 * k + 1]), 1));
    return line + "\n\n";
}

int FieldOffset(std::string_view line, int n) {
    const std::size_t offset = OffsetOfField(line, n);
    return offset > INT_MAX ? INT_MAX : static_cast<int>(offset);
}

uint8_t ParseRecordByte(std::string_view line, int index) {
    if (index < 0 || index > 30) return 0;
    if (index == 0) return Low8(TruncateToInt32(FieldNumber(line, 0, 15)));
    const int32_t value = TruncateToInt32(FieldNumber(line, (index - 1) / 2 + 1, 15));
    return Low8(index % 2 == 1 ? HighByteOf(value) : LowByteOf(value));
}

uint8_t ParseSetpointByte(std::string_view line, int index) {
    if (index < 0 || index > 11) return 0;
    const double value = FieldNumber(line, index / 2, 5);
    return Low8(index % 2 == 0 ? EncodeHundredthsHigh(value) : EncodeHundredthsLow(value));
}

uint8_t ParseTimeLineByte(std::string_view line, int index) {
    if (index < 0 || index > 3) return 0;
    return Low8(TruncateToInt32(FieldNumber(line, index, 3)));
}

uint8_t ParseHundredthsByte(std::string_view text, int selector) {
    const double value = TextToDouble(text);
    return Low8(selector == 0 ? EncodeHundredthsHigh(value) : EncodeHundredthsLow(value));
}

uint8_t ParseIntegerByte(std::string_view text, int selector) {
    const double value = TextToDouble(text);
    return Low8(selector == 0 ? EncodeHigh(value) : EncodeLow(value));
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
