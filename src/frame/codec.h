// Conversions between NV bytes and the numbers and option bits the pages
// show. Words are big-endian; encoders truncate toward zero and never round,
// because the node's stored values depend on that exact arithmetic.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qta1 {

// Decoding.
int ComposeWord(uint8_t high, uint8_t low);  // 0..65535
// Temperatures are words of hundredths of a degree up to 100.00; the words
// above that are the negative ones, down to -555.35.
inline constexpr int kMaxHundredths = 10000;
inline constexpr int kMinHundredths = kMaxHundredths - 65535;
int SignedHundredthsWord(uint8_t high, uint8_t low);       // kMinHundredths..kMaxHundredths
double DecodeSignedHundredths(uint8_t high, uint8_t low);  // that word * 0.01
double DecodeHalfHundredths(uint8_t high, uint8_t low);    // word / 200
double DecodeHalves(uint8_t high, uint8_t low);            // word * 0.5
int DecodeTenthsInteger(uint8_t high, uint8_t low);        // word / 10, remainder dropped
int DecodeSignedByte(uint8_t byte);                        // -128..127
int32_t HighByteOf(int32_t value);                         // value >> 8; caller keeps 8 bits

// Truncation of a double to a 32-bit integer toward zero. Values that do not
// fit (and NaN) give INT32_MIN, as the x86 conversion instruction does, so a
// hostile entry never reaches undefined behaviour.
int32_t TruncateToInt32(double value);

// Encoding: multiply by the factor, truncate; High variants shift right by 8.
int32_t EncodeLow(double x);
int32_t EncodeHigh(double x);
int32_t EncodeHalvesLow(double x);
int32_t EncodeTenthsLow(double x);
int32_t EncodeTenthsHigh(double x);
int32_t EncodeHundredthsLow(double x);
int32_t EncodeHundredthsHigh(double x);
int32_t EncodeHalfHundredthsLow(double x);
int32_t EncodeHalfHundredthsHigh(double x);

// Bits in codec numbering: bit n is mask 0x80 >> n. After ReverseBits, codec
// bit n of a byte is the stored bit n (mask 1 << n).
int TestBit(uint8_t byte, int n);  // 1 or 0; n outside 0..7 returns the byte
uint8_t SetBit(uint8_t byte, int n);
uint8_t ClearBit(uint8_t byte, int n);
uint8_t ReverseBits(uint8_t byte);
void ReverseBits(uint8_t* buffer, int length);

// The standard text-to-double conversion the technician's typing goes
// through: leading blanks skipped, the longest prefix of sign, digits,
// decimal point and exponent, 0 when there is none. Independent of the
// process locale (the decimal point is always ".").
double TextToDouble(std::string_view text);

// printf-style "%.<decimals>f", always with "." as the decimal point.
std::string FormatFixed(double value, int decimals);

// A time of day as one byte of quarter hours since midnight <-> "H:MM".
std::string FormatTimeByte(uint8_t timeByte);
uint8_t ParseTimeByte(std::string_view text);
bool IsValidTimeText(std::string_view text);
bool IsValidHourMinute(std::string_view hourText, std::string_view minuteText);

// 7 is "07", 12 is "12" (a zero goes before anything below 10).
std::string TwoDigits(int value);

// The node clock (year word, month, day, hour, minute, second) as
// "6/12-2026" and "7:05:09".
std::string NodeDateText(const uint8_t* clock);
std::string NodeTimeText(const uint8_t* clock);

}  // namespace qta1
