// libFuzzer harness: any bytes as a settings file downloaded into a
// simulated node, and as a line for every data-line and time parser. Crashes,
// sanitizer reports and broken round trips end the run. Built and run by
// scripts/fuzz.sh.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "housekeeping/settings_file.h"
#include "housekeeping/text_codec.h"
#include "platform/headless/headless_platform.h"
#include "platform/headless/trace.h"
#include "platform/headless/virtual_clock.h"
#include "resources/strings.h"
#include "simulated_node.h"

namespace {

using namespace qta1;

void Require(bool holds) {
    if (!holds) std::abort();
}

void Download(std::string_view bytes, bool firstAnswer) {
    VirtualClock clock;
    Trace trace(clock);
    trace.SetRecording(false);
    SimulatedNode node(clock, nullptr);
    HeadlessPlatform ui(clock, trace);
    SimulatedSite site(node);
    NodeLink link(ui);
    link.Obtain(&site);
    // The technician answers the program-ID question yes and no in turn.
    bool next = firstAnswer;
    const DownloadResult result = ReadSettingsFile(bytes, text::kProgramId, link, [&next] {
        const bool answer = next;
        next = !next;
        return answer;
    });
    Require(result.writeErrors >= 0);
}

void Parse(std::string_view line) {
    for (LineKind kind :
         {LineKind::Record, LineKind::Count, LineKind::Time, LineKind::Temp, LineKind::Setpoint})
        (void)DataLineBytes(kind, line);
    for (int i = -1; i <= 32; ++i) {
        (void)ParseRecordByte(line, i);
        (void)ParseSetpointByte(line, i);
        (void)ParseTimeLineByte(line, i);
        (void)FieldOffset(line, i);
    }
    for (int s = 0; s <= 2; ++s) {
        (void)ParseHundredthsByte(line, s);
        (void)ParseIntegerByte(line, s);
    }
    if (IsValidTimeText(line)) Require(ParseTimeByte(line) <= 96);
    (void)ParseTimeByte(line);
    const std::size_t half = line.size() / 2;
    (void)IsValidHourMinute(line.substr(0, half), line.substr(half));
}

// The first 31 bytes as an NV value: record, count and time lines must give
// back exactly the bytes they were made from.
void RoundTrip(const uint8_t* data, std::size_t size) {
    uint8_t value[kNvBufferSize] = {};
    for (std::size_t i = 0; i < size && i < kNvValueSize; ++i) value[i] = data[i];
    const std::string record = FormatRecordLine(value);
    for (int i = 0; i < kNvValueSize; ++i) Require(ParseRecordByte(record, i) == value[i]);
    const std::string time = FormatTimeLine(value);
    for (int i = 0; i < 4; ++i) Require(ParseTimeLineByte(time, i) == value[i]);
    const std::string count = FormatCountLine(value);
    Require(ParseIntegerByte(count, 0) == value[0] && ParseIntegerByte(count, 1) == value[1]);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Download(bytes, size % 2 == 0);
    Parse(bytes);
    RoundTrip(data, size);
    return 0;
}
