#include "housekeeping/settings_file.h"

#include <algorithm>
#include <optional>

#include "housekeeping/text_codec.h"

namespace qta1 {

namespace {

constexpr const char* kPartComment = "* nviPluginCnf     (60) - SNVT_str_int     ** Part ";

// clang-format off
constexpr SettingsNv kSettingsNvs[] = {
//   name                comment line (blanks are part of the file)                  NV  kind               length
    {"nciFCAct_OccAct",  "* nciFCAct_OccAct   ( 8) - SNVT_str_int            ",        7,  LineKind::Record,   31},
    {"nciStartStopClr",  "* nciStartStopClr   ( 9) - SNVT_str_int            ",        8,  LineKind::Record,   31},
    {"nciSwitchExt",     "* nciSwitchExt     (16) - SNVT_count              ",         17, LineKind::Count,    2},
    {"nciTimeDayOn",     "* nciTimeDayOn     (23) - SNVT_time_passed        ",         24, LineKind::Time,     4},
    {"nciTimeNightOn",   "* nciTimeNightOn   (25) - SNVT_time_passed        ",         26, LineKind::Time,     4},
    {"nciMaxOutNight",   "* nciMaxOutNight   (28) - SNVT_temp_p              ",        34, LineKind::Temp,     2},
    {"nciSetptTempRoom", "* nciSetptTempRoom   (30) - SNVT_temp_setpt              ", 32, LineKind::Setpoint, 12},
    {"nciMinNightCool",  "* nciMinNightCool  (31) - SNVT_temp_p              ",        28, LineKind::Temp,     2},
    {"nciSetInjtTemp",   "* nciSetInjtTemp   (49) - SNVT_str_int              ",       50, LineKind::Record,   31},
    // The twelve configuration parts: the part number and one blank follow.
    {"nviPluginCnf",     kPartComment,                                                56, LineKind::Record,   31},
};
// clang-format on

constexpr int kSingleNvCount = 9;
constexpr std::size_t kProgramIdLength = 23;

// How each kind of data line is made from NV bytes and turned back into them.
struct LineCodec {
    LineKind kind;
    int length;  // bytes a download sends
    std::string (*format)(const uint8_t* bytes);
    uint8_t (*parse)(std::string_view line, int index);
};

// clang-format off
constexpr LineCodec kLineCodecs[] = {
    {LineKind::Record,   kNvValueSize, FormatRecordLine,   ParseRecordByte},
    {LineKind::Count,    2,            FormatCountLine,    ParseIntegerByte},
    {LineKind::Time,     4,            FormatTimeLine,     ParseTimeLineByte},
    {LineKind::Temp,     2,            FormatTempLine,     ParseHundredthsByte},
    {LineKind::Setpoint, 12,           FormatSetpointLine, ParseSetpointByte},
};
// clang-format on

constexpr const LineCodec& CodecOf(LineKind kind) {
    for (const LineCodec& codec : kLineCodecs)
        if (codec.kind == kind) return codec;
    return kLineCodecs[0];
}

// A download sends exactly the bytes its data line gives.
static_assert([] {
    for (const SettingsNv& nv : kSettingsNvs)
        if (CodecOf(nv.kind).length != nv.writeLength) return false;
    return true;
}());

// The formatters end a data line with "\n\n"; the file stores each as CR LF.
std::string DataLine(LineKind kind, const uint8_t* bytes) {
    std::string line = CodecOf(kind).format(bytes);
    while (!line.empty() && line.back() == '\n') line.pop_back();
    return line + "\r\n\r\n";
}

// Lines of the file as the technician's editor shows them: a line ends at
// LF, and one CR before the LF belongs to the line end. A bare CR elsewhere,
// NUL bytes and lines of any length are kept whole (nothing is split), and
// the last line counts even without a line end.
class LineSource {
public:
    explicit LineSource(std::string_view bytes) : rest_(bytes) {}

    std::optional<std::string_view> Next() {
        if (rest_.empty()) return std::nullopt;
        const std::size_t lf = rest_.find('\n');
        std::string_view line = rest_.substr(0, lf);
        rest_ = lf == std::string_view::npos ? std::string_view{} : rest_.substr(lf + 1);
        if (lf != std::string_view::npos && line.ends_with('\r')) line.remove_suffix(1);
        return line;
    }

private:
    std::string_view rest_;
};

// The NV name of a comment line: from the third character up to the first
// blank at the fourth character or later.
std::string_view NvNameOf(std::string_view commentLine) {
    if (commentLine.size() <= 2) return {};
    const std::size_t blank = commentLine.find(' ', 3);
    return commentLine.substr(2, blank == std::string_view::npos ? blank : blank - 2);
}

const SettingsNv* FindNv(std::string_view name) {
    for (const SettingsNv& nv : kSettingsNvs)
        if (name == nv.name) return &nv;
    return nullptr;
}

// Sends one block's values; every refusal by the host counts as an error. A
// configuration part goes to the part its position in the file gives, and the
// selector is put back to 0 afterwards. A part whose selection was refused is
// not written: the node would store it over whichever part it shows.
int WriteBlock(NodeLink& node, const SettingsNv& nv, std::string_view dataLine, int part) {
    const std::string bytes = DataLineBytes(nv.kind, dataLine);
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
    if (nv.nvIndex != kConfigNv) return node.WriteNv(nv.nvIndex, data, nv.writeLength) != kHostOk;
    if (!node.SelectPart(part)) return 1;
    int errors = node.WriteNv(kConfigNv, data, nv.writeLength) != kHostOk;
    if (!node.WriteSelector(0)) ++errors;
    return errors;
}

}  // namespace

std::span<const SettingsNv> SettingsNvs() { return kSettingsNvs; }

std::string DataLineBytes(LineKind kind, std::string_view line) {
    const LineCodec& codec = CodecOf(kind);
    std::string bytes(static_cast<std::size_t>(codec.length), '\0');
    for (int i = 0; i < codec.length; ++i) bytes[i] = static_cast<char>(codec.parse(line, i));
    return bytes;
}

SavedSettings WriteSettingsFile(NodeLink& node, std::string_view programId,
                                std::string_view nodeName, const LocalTime& now) {
    SavedSettings saved;
    std::string& text = saved.text;
    text += "/////////////////////////////////////////  \r\n";
    text += "/ Exported from                            \r\n";
    text += "/ Program ID                               \r\n";
    text += "- " + std::string(programId) + "\r\n";
    text += "/ Nodename                                 \r\n";
    text += "- " + std::string(nodeName) + "\r\n";
    text += "/ Export timestamp                         \r\n";
    // The date ends in a blank, so two blanks separate it from the time.
    text += "- " + FormatExportDate(now) + " " + FormatExportTime(now);
    text += "\r\n\r\n/ Network variable data \r\n\r\n";

    // An NV that cannot be read keeps its comment line, without a data line.
    for (int i = 0; i < kSingleNvCount; ++i) {
        const SettingsNv& nv = kSettingsNvs[i];
        text += nv.commentLine;
        text += "\r\n";
        uint8_t buffer[kNvBufferSize] = {};
        if (node.ReadNv(nv.nvIndex, buffer, kNvValueSize) == kHostOk) {
            text += DataLine(nv.kind, buffer);
        } else {
            ++saved.readErrors;
        }
    }
    // Each part is read after selecting it and letting the node settle. When
    // the selection is refused the node may show another part, whose bytes
    // must not be saved under this part's name.
    for (int part = 1; part <= kSettingsPartCount; ++part) {
        text += kPartComment + std::to_string(part) + " \r\n";
        uint8_t buffer[kNvBufferSize] = {};
        bool read = false;
        if (node.SelectPart(part)) {
            node.platform().Sleep(kPartReadWaitMs);
            read = node.ReadNv(kConfigNv, buffer, kNvValueSize) == kHostOk;
        }
        if (read) {
            text += DataLine(LineKind::Record, buffer);
        } else {
            ++saved.readErrors;
        }
    }
    return saved;
}

DownloadResult ReadSettingsFile(std::string_view fileBytes, std::string_view programId,
                                NodeLink& node, const std::function<bool()>& acceptForeign) {
    DownloadResult result;
    int partCounter = 0;
    LineSource lines(fileBytes);
    std::optional<std::string_view> line = lines.Next();
    while (line) {
        // A "-" line with a 23-character value is a program-ID line: the
        // node's own ID accepts the file, any other asks the technician.
        // Shorter or longer values (node name, timestamp) are ignored.
        if (line->starts_with('-')) {
            const std::string_view value = line->substr(std::min<std::size_t>(2, line->size()));
            if (value.size() == kProgramIdLength) {
                result.accepted = value == programId || (acceptForeign && acceptForeign());
            }
            line = lines.Next();
            continue;
        }
        // Everything else but an accepted comment line is ignored; a comment
        // line while the file is not accepted leaves the next line alone.
        if (!line->starts_with('*') || !result.accepted) {
            line = lines.Next();
            continue;
        }
        // An accepted comment line: the line after it holds the values.
        const SettingsNv* nv = FindNv(NvNameOf(*line));
        if (nv != nullptr && nv->nvIndex == kConfigNv) ++partCounter;
        const std::optional<std::string_view> dataLine = lines.Next();
        // A comment line in its place means the NV could not be read when the
        // file was saved: nothing is written for it, and that line starts the
        // next block.
        if (dataLine && dataLine->starts_with('*')) {
            line = dataLine;
            continue;
        }
        if (dataLine && nv != nullptr)
            result.writeErrors += WriteBlock(node, *nv, *dataLine, partCounter);
        line = lines.Next();
    }
    return result;
}

}  // namespace qta1
