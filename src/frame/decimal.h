// Exact decimal numbers: typed text and settings-file numbers become scaled
// integers without passing through binary floating point, so 19.99 in
// hundredths is 1999 and 0.29 is 29. Digits beyond the scale are cut off
// toward zero (2.57 in tenths is 25), as the node's data format has always
// truncated.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qta1 {

enum class DecimalMark {
    PointOrComma,  // what a technician may type into a box: "21.5" or "21,5"
    PointOnly,     // settings-file numbers, whose fields are separated by commas
};

// Parses optional blanks (spaces or tabs), an optional "+" or "-", digits with
// at most one decimal mark (".5" and "5." are fine) and optional blanks; at
// least one digit. No exponent, no hexadecimal, no "inf". Returns
// truncate(number x scale) for a scale of 1, 2, 10, 100 or 200, or nothing
// when the text is not such a number. Numbers too large for any NV saturate
// at +/- 10^18, which every range check refuses.
std::optional<int64_t> ParseScaledDecimal(std::string_view text, int scale, DecimalMark mark);

// The exact decimal text of scaled / scale with `decimals` digits after the
// point (scale must divide 10^decimals): FormatScaled(-55535, 100, 2) is
// "-555.35", FormatScaled(2469, 200, 3) is "12.345".
std::string FormatScaled(int64_t scaled, int scale, int decimals);

}  // namespace qta1
