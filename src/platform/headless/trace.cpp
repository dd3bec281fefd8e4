#include "platform/headless/trace.h"

#include <cstdio>

#include "platform/headless/virtual_clock.h"

namespace qta1 {

namespace {

// The stamp "%8.3f" of the virtual time in seconds, built from the integer
// milliseconds so that it is exact and never depends on the C locale's
// decimal point.
std::string TimeStamp(int64_t ms) {
    const bool negative = ms < 0;
    const uint64_t magnitude =
        negative ? uint64_t{0} - static_cast<uint64_t>(ms) : static_cast<uint64_t>(ms);
    char digits[32];
    std::snprintf(digits, sizeof digits, "%s%llu.%03llu", negative ? "-" : "",
                  static_cast<unsigned long long>(magnitude / 1000),
                  static_cast<unsigned long long>(magnitude % 1000));
    std::string stamp(digits);
    if (stamp.size() < 8) stamp.insert(0, 8 - stamp.size(), ' ');
    return stamp;
}

}  // namespace

void Trace::Add(std::string_view text) {
    if (!recording_) return;
    std::string line = TimeStamp(clock_.NowMs());
    line += "  ";
    line += text;
    lines_.push_back(std::move(line));
}

std::string Trace::Text() const {
    std::string text;
    for (const std::string& line : lines_) {
        text += line;
        text += '\n';
    }
    return text;
}

std::string HexBytes(const uint8_t* bytes, int count) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    if (bytes == nullptr || count <= 0) return text;
    text.reserve(static_cast<size_t>(count) * 3);
    for (int i = 0; i < count; ++i) {
        if (i > 0) text += ' ';
        text += kDigits[bytes[i] >> 4];
        text += kDigits[bytes[i] & 0x0F];
    }
    return text;
}

std::string QuoteText(std::string_view text) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string quoted = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (byte >= 0x20 && byte < 0x7F) {
            quoted += c;
        } else {
            quoted += "\\x";
            quoted += kDigits[byte >> 4];
            quoted += kDigits[byte & 0x0F];
        }
    }
    quoted += '"';
    return quoted;
}

}  // namespace qta1
