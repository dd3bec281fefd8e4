// Texts of times of day, settings-file data lines and export timestamps.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "frame/platform.h"

namespace qta1 {

// Quarter hours since midnight <-> "H:MM".
std::string FormatTimeByte(uint8_t timeByte);
uint8_t ParseTimeByte(std::string_view text);
bool IsValidTimeText(std::string_view text);
bool IsValidHourMinute(std::string_view hourText, std::string_view minuteText);

// Data-line formatters; every line ends with "\n\n".
std::string FormatRecordLine(const uint8_t bytes[31]);
std::string FormatCountLine(const uint8_t bytes[2]);
std::string FormatTimeLine(const uint8_t bytes[4]);
std::string FormatTempLine(const uint8_t bytes[2]);
std::string FormatSetpointLine(const uint8_t bytes[12]);

// Data-line parsers: one byte per call, the caller loops over the index.
int FieldOffset(std::string_view line, int n);
uint8_t ParseRecordByte(std::string_view line, int index);    // 0..30, 0 beyond
uint8_t ParseSetpointByte(std::string_view line, int index);  // 0..11, 0 beyond
uint8_t ParseTimeLineByte(std::string_view line, int index);  // 0..3, 0 beyond
uint8_t ParseHundredthsByte(std::string_view text, int selector);  // 0 high, else low
uint8_t ParseIntegerByte(std::string_view text, int selector);     // 0 high, else low

// Export timestamp of the settings file: "6/12-2026 " and "7:05:09".
std::string FormatExportDate(const LocalTime& now);
std::string FormatExportTime(const LocalTime& now);

}  // namespace qta1
