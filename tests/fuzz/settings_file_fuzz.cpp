// libFuzzer harness: any bytes as a settings file downloaded into a
// simulated node, and as a line for every data-line and time parser. Crashes,
// sanitizer reports and broken round trips end the run. Built and run by
// scripts/fuzz.sh.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "frame/codec.h"
#include "frame/decimal.h"
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

constexpr LineKind kKinds[] = {LineKind::Record, LineKind::Count, LineKind::Time, LineKind::Temp,
                               LineKind::Setpoint};

std::string (*const kFormats[])(const uint8_t*) = {
    FormatRecordLine, FormatCountLine, FormatTimeLine, FormatTempLine, FormatSetpointLine};

// Any line: a parsed data line has its kind's length, and formats back to
// bytes that parse to themselves.
void Parse(std::string_view line) {
    for (int k = 0; k < 5; ++k) {
        const std::optional<std::string> bytes = ParseDataLine(kKinds[k], line);
        if (!bytes) continue;
        Require(static_cast<int>(bytes->size()) == DataLineLength(kKinds[k]));
        uint8_t value[kNvBufferSize] = {};
        std::copy(bytes->begin(), bytes->end(), value);
        std::string again = kFormats[k](value);
        again.resize(again.size() - 2);
        Require(ParseDataLine(kKinds[k], again) == bytes);
    }
    for (int scale : {1, 2, 10, 100, 200}) {
        (void)ParseScaledDecimal(line, scale, DecimalMark::PointOrComma);
    }
    if (IsValidTimeText(line)) Require(ParseTimeByte(line) <= 96);
    (void)ParseTimeByte(line);
    const std::size_t half = line.size() / 2;
    (void)IsValidHourMinute(line.substr(0, half), line.substr(half));
}

// The first 31 bytes as an NV value: every kind of line gives back exactly
// the bytes it was made from.
void RoundTrip(const uint8_t* data, std::size_t size) {
    uint8_t value[kNvBufferSize] = {};
    for (std::size_t i = 0; i < size && i < kNvValueSize; ++i) value[i] = data[i];
    for (int k = 0; k < 5; ++k) {
        std::string line = kFormats[k](value);
        line.resize(line.size() - 2);
        const std::optional<std::string> bytes = ParseDataLine(kKinds[k], line);
        Require(bytes && *bytes == std::string(value, value + DataLineLength(kKinds[k])));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Download(bytes, size % 2 == 0);
    Parse(bytes);
    RoundTrip(data, size);
    return 0;
}
