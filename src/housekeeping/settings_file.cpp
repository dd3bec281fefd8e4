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

// How each kind of data line is made from NV bytes.
struct LineFormat {
    LineKind kind;
    std::string (*format)(const uint8_t* bytes);
};

// clang-format off
constexpr LineFormat kLineFormats[] = {
    {LineKind::Record,   FormatRecordLine},
    {LineKind::Count,    FormatCountLine},
    {LineKind::Time,     FormatTimeLine},
    {LineKind::Temp,     FormatTempLine},
    {LineKind::Setpoint, FormatSetpointLine},
};
// clang-format on

std::string FormatLine(LineKind kind, const uint8_t* bytes) {
    for (const LineFormat& format : kLineFormats)
        if (format.kind == kind) return format.format(bytes);
    return {};
}

// The formatters end a data line with "\n\n"; the file stores each as CR LF.
std::string DataLine(LineKind kind, const uint8_t* bytes) {
    std::string line = FormatLine(kind, bytes);
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
void WriteBlock(NodeLink& node, const SettingsNv& nv, const std::string& bytes, int part,
                DownloadResult& result) {
    const auto failed = [&](int nvIndex) {
        ++result.writeErrors;
        result.notWritten.push_back(SettingsNvName(nvIndex, part));
    };
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
    if (nv.nvIndex != kConfigNv) {
        if (node.WriteNv(nv.nvIndex, data, nv.writeLength) != kHostOk) failed(nv.nvIndex);
        return;
    }
    if (!node.SelectPart(part)) return failed(kConfigNv);
    if (node.WriteNv(kConfigNv, data, nv.writeLength) != kHostOk) failed(kConfigNv);
    if (!node.WriteSelector(0)) failed(kPartSelectorNv);
}

bool IsProgramIdLine(std::string_view line) {
    return line.starts_with('-') && line.size() >= 2 && line.size() - 2 == kProgramIdLength;
}

}  // namespace

std::span<const SettingsNv> SettingsNvs() { return kSettingsNvs; }

std::string SettingsNvName(int nvIndex, int part) {
    if (nvIndex == kPartSelectorNv) return "the part selector";
    for (const SettingsNv& nv : kSettingsNvs) {
        if (nv.nvIndex != nvIndex) continue;
        return nvIndex == kConfigNv ? std::string(nv.name) + " part " + std::to_string(part)
                                    : std::string(nv.name);
    }
    return "NV " + std::to_string(nvIndex);
}

std::optional<std::string> FactoryBytes(int nvIndex, int part) {
    for (const FactoryLine& line : FactoryLines()) {
        if (line.nvIndex == nvIndex && line.part == part)
            return ParseDataLine(line.kind, line.line);
    }
    return std::nullopt;
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
        node.platform().ShowProgress(PageId::ImportExport, "Part", part, kSettingsPartCount);
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

// The whole file is read before the node is touched: which lines are
// program-ID lines and which blocks it holds, each data line turned into its
// bytes. A file that is not exactly what the writer makes (apart from header
// and empty lines) is refused at its first bad line.
//
// Comment lines before the first program-ID line are never written, so they
// are read as ordinary lines. After it, each comment line takes the line
// after it as its data line, unless that is another comment line (the NV
// could not be read when the file was saved) or the file ends there.
SettingsFilePlan PlanSettingsFile(std::string_view fileBytes) {
    SettingsFilePlan plan;
    LineSource lines(fileBytes);
    int number = 0;
    int parts = 0;
    bool programIdSeen = false;
    auto refuse = [&](int lineNumber, std::string_view text) {
        plan.steps.clear();
        plan.badLine = BadLine{lineNumber, std::string(text)};
        return plan;
    };
    std::optional<std::string_view> line = lines.Next();
    if (line) ++number;
    while (line) {
        if (IsProgramIdLine(*line)) {
            plan.steps.push_back({.programId = std::string(line->substr(2)),
                                  .nv = nullptr,
                                  .part = 0,
                                  .bytes = std::nullopt});
            programIdSeen = true;
        } else if (line->starts_with('*') && programIdSeen) {
            const int commentNumber = number;
            const SettingsNv* nv = FindNv(NvNameOf(*line));
            if (nv == nullptr) return refuse(commentNumber, *line);
            SettingsFilePlan::Step step{
                .programId = {}, .nv = nv, .part = 0, .bytes = std::nullopt};
            if (nv->nvIndex == kConfigNv && (step.part = ++parts) > kSettingsPartCount) {
                return refuse(commentNumber, *line);
            }
            line = lines.Next();
            if (line) ++number;
            if (line && !line->starts_with('*')) {
                step.bytes = ParseDataLine(nv->kind, *line);
                if (!step.bytes) return refuse(number, *line);
            }
            plan.steps.push_back(std::move(step));
            // A comment line in the data line's place starts the next block.
            if (line && line->starts_with('*')) continue;
        }
        line = lines.Next();
        if (line) ++number;
    }
    return plan;
}

DownloadResult ReadSettingsFile(std::string_view fileBytes, std::string_view programId,
                                NodeLink& node, const std::function<bool()>& acceptForeign) {
    return RunSettingsFile(PlanSettingsFile(fileBytes), programId, node, acceptForeign);
}

DownloadResult RunSettingsFile(const SettingsFilePlan& plan, std::string_view programId,
                               NodeLink& node, const std::function<bool()>& acceptForeign) {
    DownloadResult result;
    if (plan.badLine) {
        result.badLine = plan.badLine;
        return result;
    }
    for (const SettingsFilePlan::Step& step : plan.steps) {
        // A program-ID line: the node's own ID accepts the file, any other
        // asks the technician; blocks are written while the file is accepted.
        if (step.nv == nullptr) {
            result.accepted = step.programId == programId || (acceptForeign && acceptForeign());
        } else if (result.accepted && step.bytes) {
            if (step.nv->nvIndex == kConfigNv) {
                node.platform().ShowProgress(PageId::ImportExport, "Part", step.part,
                                             kSettingsPartCount);
            }
            WriteBlock(node, *step.nv, *step.bytes, step.part, result);
        }
    }
    return result;
}

}  // namespace qta1
