#include "frame/decimal.h"

namespace qta1 {

namespace {

constexpr int64_t kSaturated = 1'000'000'000'000'000'000;  // 10^18
// Integer digits kept before saturating: 10^15 x 200 still fits in 64 bits.
constexpr std::size_t kMaxIntegerDigits = 15;
// Fraction digits that decide truncate(number x scale) for every scale that
// divides 10^6: the digits after the sixth can never carry into the result.
constexpr int kFractionDigits = 6;
constexpr int64_t kFractionUnit = 1'000'000;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int64_t PowerOfTen(int n) {
    int64_t p = 1;
    while (n-- > 0) p *= 10;
    return p;
}

}  // namespace

std::optional<int64_t> ParseScaledDecimal(std::string_view text, int scale, DecimalMark mark) {
    if (scale <= 0 || kFractionUnit % scale != 0) return std::nullopt;
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && IsBlank(text[i])) ++i;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';

    int64_t whole = 0;
    std::size_t significantDigits = 0;
    int64_t fraction = 0;  // the first six fraction digits, as millionths
    int fractionDigits = 0;
    bool anyDigit = false;
    bool seenMark = false;
    for (; i < n; ++i) {
        const char c = text[i];
        if (IsDigit(c)) {
            anyDigit = true;
            if (seenMark) {
                if (fractionDigits < kFractionDigits) {
                    fraction = fraction * 10 + (c - '0');
                    ++fractionDigits;
                }
            } else if (significantDigits > 0 || c != '0') {
                if (++significantDigits <= kMaxIntegerDigits) whole = whole * 10 + (c - '0');
            }
        } else if (!seenMark && (c == '.' || (c == ',' && mark == DecimalMark::PointOrComma))) {
            seenMark = true;
        } else {
            break;
        }
    }
    while (i < n && IsBlank(text[i])) ++i;
    if (i != n || !anyDigit) return std::nullopt;
    if (significantDigits > kMaxIntegerDigits) return negative ? -kSaturated : kSaturated;

    fraction *= PowerOfTen(kFractionDigits - fractionDigits);
    // Exact: scale divides 10^6, so the cut-off digits cannot reach a unit.
    const int64_t magnitude = whole * scale + fraction * scale / kFractionUnit;
    return negative ? -magnitude : magnitude;
}

std::string FormatScaled(int64_t scaled, int scale, int decimals) {
    const int64_t unit = PowerOfTen(decimals);
    const bool negative = scaled < 0;
    const uint64_t magnitude =
        negative ? 0 - static_cast<uint64_t>(scaled) : static_cast<uint64_t>(scaled);
    const uint64_t inUnits = magnitude * static_cast<uint64_t>(unit / scale);
    std::string text = std::to_string(inUnits / static_cast<uint64_t>(unit));
    if (decimals > 0) {
        std::string digits = std::to_string(inUnits % static_cast<uint64_t>(unit));
        text += "." + std::string(static_cast<std::size_t>(decimals) - digits.size(), '0') + digits;
    }
    return (negative && magnitude != 0 ? "-" : "") + text;
}

}  // namespace qta1
