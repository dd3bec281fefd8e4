// Texts of settings-file data lines and export timestamps.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "frame/platform.h"
#include "node/nv_catalogue.h"

namespace qta1 {

// Data-line formatters; every line ends with "\n\n". Each number carries
// its bytes exactly: a set point keeps one decimal when that holds it
// (21.0) and gets two when it does not (21.25).
std::string FormatRecordLine(const uint8_t bytes[31]);
std::string FormatCountLine(const uint8_t bytes[2]);
std::string FormatTimeLine(const uint8_t bytes[4]);
std::string FormatTempLine(const uint8_t bytes[2]);
std::string FormatSetpointLine(const uint8_t bytes[12]);

// The bytes a data line stands for (31, 2, 4, 2 or 12 of them), or nothing
// when the line is not exactly a data line of its kind: its count of numbers,
// separated by "," with blanks allowed around them, each in the number form
// of a typed value with "." as the only decimal point, and each fitting its
// bytes so that the line's formatter gives it back (a record line's first
// number is a signed byte, its words unsigned; temperatures and set points
// are hundredths from -555.35 to 100.00; digits beyond them are cut off).
std::optional<std::string> ParseDataLine(LineKind kind, std::string_view line);
// How many bytes a line of the kind stands for.
int DataLineLength(LineKind kind);

// Export timestamp of the settings file: "6/12-2026 " and "7:05:09".
std::string FormatExportDate(const LocalTime& now);
std::string FormatExportTime(const LocalTime& now);

}  // namespace qta1
