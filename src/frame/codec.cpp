#include "frame/codec.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace qta1 {

int ComposeWord(uint8_t high, uint8_t low) { return (high << 8) | low; }

int SignedHundredthsWord(uint8_t high, uint8_t low) {
    const int word = ComposeWord(high, low);
    return word > kMaxHundredths ? word - 65536 : word;
}

double DecodeSignedHundredths(uint8_t high, uint8_t low) {
    return SignedHundredthsWord(high, low) * 0.01;
}

double DecodeHalfHundredths(uint8_t high, uint8_t low) {
    return ComposeWord(high, low) * 0.01 * 0.5;
}
double DecodeHalves(uint8_t high, uint8_t low) { return ComposeWord(high, low) * 0.5; }
int DecodeTenthsInteger(uint8_t high, uint8_t low) { return ComposeWord(high, low) / 10; }
int DecodeSignedByte(uint8_t byte) { return byte < 0x80 ? byte : byte - 256; }

// Arithmetic shift: a negative value keeps its two's-complement high byte.
int32_t HighByteOf(int32_t value) { return value >> 8; }

int32_t TruncateToInt32(double value) {
    // The negated comparison also catches NaN.
    if (!(value > -2147483649.0 && value < 2147483648.0))
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

int32_t EncodeLow(double x) { return TruncateToInt32(x); }
int32_t EncodeHigh(double x) { return HighByteOf(EncodeLow(x)); }
int32_t EncodeHalvesLow(double x) { return TruncateToInt32(x * 2); }
int32_t EncodeTenthsLow(double x) { return TruncateToInt32(x * 10); }
int32_t EncodeTenthsHigh(double x) { return HighByteOf(EncodeTenthsLow(x)); }
int32_t EncodeHundredthsLow(double x) { return TruncateToInt32(x * 100); }
int32_t EncodeHundredthsHigh(double x) { return HighByteOf(EncodeHundredthsLow(x)); }
int32_t EncodeHalfHundredthsLow(double x) { return TruncateToInt32(x * 200); }
int32_t EncodeHalfHundredthsHigh(double x) { return HighByteOf(EncodeHalfHundredthsLow(x)); }

static bool ValidBit(int n) { return n >= 0 && n <= 7; }

int TestBit(uint8_t byte, int n) {
    if (!ValidBit(n)) return byte;
    return (byte & (0x80 >> n)) != 0 ? 1 : 0;
}

uint8_t SetBit(uint8_t byte, int n) {
    return ValidBit(n) ? static_cast<uint8_t>(byte | (0x80 >> n)) : byte;
}

uint8_t ClearBit(uint8_t byte, int n) {
    return ValidBit(n) ? static_cast<uint8_t>(byte & ~(0x80 >> n)) : byte;
}

uint8_t ReverseBits(uint8_t byte) {
    uint8_t out = 0;
    for (int i = 0; i < 8; ++i) out = TestBit(byte, i) ? SetBit(out, 7 - i) : ClearBit(out, 7 - i);
    return out;
}

void ReverseBits(uint8_t* buffer, int length) {
    for (int i = 0; buffer != nullptr && i < length; ++i) buffer[i] = ReverseBits(buffer[i]);
}

double TextToDouble(std::string_view text) {
    const auto isDigit = [&](std::size_t i) {
        return i < text.size() && text[i] >= '0' && text[i] <= '9';
    };
    const auto skipDigits = [&](std::size_t& i) {
        const std::size_t from = i;
        while (isDigit(i)) ++i;
        return i - from;
    };
    std::size_t i = text.find_first_not_of(" \t\n\v\f\r");
    if (i == std::string_view::npos) return 0.0;
    bool negative = false;
    if (text[i] == '+' || text[i] == '-') negative = text[i++] == '-';
    const std::size_t mantissa = i;
    const std::size_t intDigits = skipDigits(i);
    std::size_t fracDigits = 0;
    if (i < text.size() && text[i] == '.') fracDigits = skipDigits(++i);
    if (intDigits + fracDigits == 0) return 0.0;
    std::size_t end = i;
    long exponent = 0;  // saturated, only used to tell overflow from underflow
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        const bool negativeExponent = j < text.size() && text[j] == '-';
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        for (; isDigit(j); end = ++j)
            exponent = std::min(exponent * 10 + (text[j] - '0'), 1000000L);
        if (negativeExponent) exponent = -exponent;
    }
    double value = 0.0;
    const auto result = std::from_chars(text.data() + mantissa, text.data() + end, value);
    if (result.ec == std::errc::result_out_of_range) {
        // Decimal exponent of the leading non-zero digit: above 0 means too large.
        std::size_t firstNonZero = 0;
        for (char c : text.substr(mantissa, end - mantissa)) {
            if (c != '0' && c != '.') break;
            if (c == '0') ++firstNonZero;
        }
        const long magnitude = static_cast<long>(intDigits) - 1 - static_cast<long>(firstNonZero);
        value = magnitude + exponent > 0 ? HUGE_VAL : 0.0;
    } else if (result.ec != std::errc()) {
        value = 0.0;
    }
    return negative ? -value : value;
}

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
    return static_cast<uint8_t>(TruncateToInt32(quarters) & 0xFF);
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

std::string TwoDigits(int value) {
    const std::string text = FormatFixed(value, 0);
    return value < 10 ? "0" + text : text;
}

std::string NodeDateText(const uint8_t* clock) {
    return FormatFixed(DecodeSignedByte(clock[3]), 0) + "/" +
           FormatFixed(DecodeSignedByte(clock[2]), 0) + "-" +
           FormatFixed(ComposeWord(clock[0], clock[1]), 0);
}

std::string NodeTimeText(const uint8_t* clock) {
    return FormatFixed(DecodeSignedByte(clock[4]), 0) + ":" +
           TwoDigits(DecodeSignedByte(clock[5])) + ":" + TwoDigits(DecodeSignedByte(clock[6]));
}

std::string FormatFixed(double value, int decimals) {
    char buffer[400];  // sign, 309 integer digits, point and at most 40 decimals
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::fixed, std::clamp(decimals, 0, 40));
    return std::string(buffer, result.ptr);
}

}  // namespace qta1
