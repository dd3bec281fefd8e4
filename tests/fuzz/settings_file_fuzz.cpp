// libFuzzer harness: any bytes as a settings file downloaded into a
// simulated node, previewed and compared as Import / Export does, opened as
// the node of the settings editor and kept again, as a node name for its
// backup folder, and as a line for every data-line and time parser. Crashes, sanitizer reports,
// broken round trips and folder names that two node names share end the run. Built and run by
// scripts/fuzz.sh.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "app/page_registry.h"
#include "frame/codec.h"
#include "frame/decimal.h"
#include "frame/sheet.h"
#include "housekeeping/file_node.h"
#include "housekeeping/settings_file.h"
#include "housekeeping/settings_review.h"
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
    NodeLink link(ui, ui);
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

// The sheet whose pages name the fields, built once: no page window is
// ever made, so its pages only lend their tables.
SettingsFields& Fields() {
    static VirtualClock clock;
    static Trace trace(clock);
    static HeadlessPlatform ui(clock, trace);
    static SimulatedNode node(clock, nullptr);
    static SimulatedSite site(node);
    static CSheet sheet(ui, &site, PageRegistry());
    static SettingsFields fields(sheet);
    return fields;
}

// The preview's dry run writes only what the file holds, and the
// comparisons list nothing between equal settings and never crash.
void Review(std::string_view bytes) {
    const SettingsFilePlan plan = PlanSettingsFile(bytes);
    bool accepted = false;
    bool next = true;
    const SettingsImage writes = PlannedWrites(
        plan, text::kProgramId, [&next] { return next = !next; }, accepted);
    const SettingsImage file = ImageOfPlan(plan);
    for (const auto& [where, value] : writes) Require(file.count(where) == 1);
    Require(plan.Usable() || writes.empty());
    SettingsFields& fields = Fields();
    Require(fields.Differences(file, file, "-").empty());
    const SettingsImage factory = FactoryImage();
    const auto rows = fields.Differences(factory, file, "-");
    (void)fields.Differences(file, factory, "-");
    (void)fields.Differences({}, file, "-");
    (void)ReportText(DifferenceList("t", "h", "a", "b", rows));
}

// Any file as the settings editor's node: it opens exactly when a download
// would accept it, keeps it byte for byte when nothing changed, and after a
// write of every block it holds, the file it keeps reads back as the image.
void AsFileNode(std::string_view bytes) {
    VirtualClock clock;
    Trace trace(clock);
    trace.SetRecording(false);
    HeadlessPlatform ui(clock, trace);
    const std::string path = "C:\\fuzz.txt";
    ui.SeedFile(path, std::string(bytes));
    FileNode::Opened opened = FileNode::Open(ui, ui, path);
    const SettingsFilePlan plan = PlanSettingsFile(bytes);
    Require((opened.node != nullptr) == plan.Usable());
    if (!opened.node) return;
    FileNode& node = *opened.node;
    Require(node.Text() == bytes);
    // Every block written with its bytes turned around.
    for (const auto& [where, value] : SettingsImage(node.Image())) {
        std::string turned(value.rbegin(), value.rend());
        const uint8_t part[] = {0, static_cast<uint8_t>(where.part)};
        if (where.nv == kConfigNv) {
            Require(node.WriteNv(kPartSelectorNv, part, 2) == kHostOk);
            turned[0] = static_cast<char>(where.part);
        }
        Require(node.WriteNv(where.nv, reinterpret_cast<const uint8_t*>(turned.data()),
                             static_cast<int32_t>(turned.size())) == kHostOk);
    }
    Require(node.Save(0) == kHostOk);
    const std::optional<std::string> kept = ui.ReadFile(path);
    Require(kept && ImageOfPlan(PlanSettingsFile(*kept)) == node.Image());
}

// Any two names (the input cut in two): different names never share a
// folder, also where letter case is not told apart, and no folder name is
// one Windows would change.
void FolderNames(std::string_view bytes) {
    const std::size_t cut = bytes.empty() ? 0 : static_cast<unsigned char>(bytes[0]) % 51;
    const std::string_view rest = bytes.substr(bytes.empty() ? 0 : 1);
    const std::string_view a = rest.substr(0, std::min<std::size_t>(cut, rest.size()));
    const std::string_view b = rest.substr(a.size(), 50);
    const auto folded = [](std::string_view name) {
        std::string folder = BackupFolderName(name);
        Require(!folder.empty() && folder.back() != '.' && folder.back() != ' ');
        for (char& c : folder) {
            Require(static_cast<unsigned char>(c) >= 0x20 &&
                    std::string_view("\\/:*?\"<>|").find(c) == std::string_view::npos);
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        }
        return folder;
    };
    Require((a == b) == (folded(a) == folded(b)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Download(bytes, size % 2 == 0);
    Review(bytes);
    AsFileNode(bytes);
    FolderNames(bytes);
    Parse(bytes);
    RoundTrip(data, size);
    return 0;
}
