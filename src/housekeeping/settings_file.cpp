#include "housekeeping/settings_file.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <utility>

#include "frame/codec.h"
#include "housekeeping/text_codec.h"
#include "resources/page_ids.h"
#include "resources/strings.h"

namespace qta1 {

namespace {

constexpr std::size_t kProgramIdLength = 23;
constexpr std::string_view kNodeNameTitle = "/ Nodename ";

// How many NVs settings files carry: the NV catalogue says which, and where.
constexpr std::size_t FileNvCount() {
    std::size_t count = 0;
    for (const NvEntry& entry : kNvCatalogue) count += entry.file.position != 0 ? 1 : 0;
    return count;
}

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
        lastEnded_ = lf != std::string_view::npos;
        rest_ = lf == std::string_view::npos ? std::string_view{} : rest_.substr(lf + 1);
        if (lf != std::string_view::npos && line.ends_with('\r')) line.remove_suffix(1);
        return line;
    }
    // Whether the line Next gave last had a line end.
    bool LastEnded() const { return lastEnded_; }

private:
    std::string_view rest_;
    bool lastEnded_ = true;
};

// The number a part's comment line gives it ("** Part 5 "), or 0.
int PartNumberOf(std::string_view commentLine) {
    constexpr std::string_view kMark = "** Part ";
    const std::size_t at = commentLine.find(kMark);
    if (at == std::string_view::npos) return 0;
    int number = 0;
    for (std::size_t i = at + kMark.size(); i < commentLine.size(); ++i) {
        const char c = commentLine[i];
        if (c < '0' || c > '9' || number > 1000) break;
        number = number * 10 + (c - '0');
    }
    return number;
}

// The NV name of a comment line: from the third character up to the first
// blank at the fourth character or later.
std::string_view NvNameOf(std::string_view commentLine) {
    if (commentLine.size() <= 2) return {};
    const std::size_t blank = commentLine.find(' ', 3);
    return commentLine.substr(2, blank == std::string_view::npos ? blank : blank - 2);
}

const NvEntry* FileNvNamed(std::string_view name) {
    for (const NvEntry* nv : SettingsFileNvs())
        if (name == nv->name) return nv;
    return nullptr;
}

// Sends one block's values; every refusal by the host counts as an error. A
// configuration part goes to the part its position in the file gives, and the
// selector is put back to 0 afterwards. A part whose selection was refused is
// not written: the node would store it over whichever part it shows.
void WriteBlock(NodeLink& node, const NvEntry& nv, const std::string& bytes, int part,
                DownloadResult& result) {
    const auto failed = [&](int nvIndex) { NoteNotWritten(result, nvIndex, part); };
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
    if (nv.nv != kConfigNv) {
        if (node.WriteNv(nv.nv, data, nv.writeLength) != kHostOk) {
            failed(nv.nv);
        } else {
            result.written[{nv.nv, 0}] = bytes;
        }
        return;
    }
    if (!PartShownForWrite(node, part, node.SelectPart(part), result)) return;
    if (node.WriteNv(kConfigNv, data, nv.writeLength) != kHostOk) {
        failed(kConfigNv);
    } else {
        result.written[{kConfigNv, part}] = bytes;
    }
    if (!node.WriteSelector(0)) failed(kPartSelectorNv);
}

// Each part is read after selecting it and letting the node settle. When
// the selection is refused the node may show another part, whose bytes
// must not be saved under this part's name.
void ReadParts(NodeLink& node, const NvEntry& config, std::string_view pass, NodeSettings& settings,
               const SettingsImage* only) {
    for (int part = 1; part <= kConfigPartCount; ++part) {
        if (only != nullptr && only->count({kConfigNv, part}) == 0) continue;
        node.screen().ShowProgress(PageId::ImportExport, pass, part, kConfigPartCount);
        uint8_t buffer[kNvBufferSize] = {};
        bool read = false;
        if (node.SelectPart(part)) {
            node.Wait(kPartReadWaitMs);
            read = node.ReadSelected(part, buffer, kNvValueSize) == NodeLink::PartRead::Ok;
        }
        if (read) {
            settings.values[{kConfigNv, part}] =
                std::string(reinterpret_cast<const char*>(buffer), config.writeLength);
        } else {
            ++settings.readErrors;
        }
    }
}

bool IsProgramIdLine(std::string_view line) {
    return line.starts_with('-') && line.size() >= 2 && line.size() - 2 == kProgramIdLength;
}

}  // namespace

std::span<const NvEntry* const> SettingsFileNvs() {
    static const auto kInFileOrder = [] {
        std::array<const NvEntry*, FileNvCount()> order{};
        for (const NvEntry& entry : kNvCatalogue) {
            if (entry.file.position != 0) order.at(entry.file.position - 1) = &entry;
        }
        return order;
    }();
    return kInFileOrder;
}

std::string SettingsNvName(int nv, int part) {
    if (nv == kPartSelectorNv) return "the part selector";
    for (const NvEntry* entry : SettingsFileNvs()) {
        if (entry->nv != nv) continue;
        return nv == kConfigNv ? std::string(entry->name) + " part " + std::to_string(part)
                               : std::string(entry->name);
    }
    return "NV " + std::to_string(nv);
}

bool PartShownForWrite(NodeLink& node, int part, bool selected, DownloadResult& result) {
    uint8_t shown[kNvBufferSize] = {};
    const NodeLink::PartRead read =
        selected ? node.ReadSelected(part, shown, kNvValueSize) : NodeLink::PartRead::OtherPart;
    if (read == NodeLink::PartRead::Ok) return true;
    NoteNotWritten(
        result, kConfigNv, part,
        read == NodeLink::PartRead::OtherPart ? text::kPartNotShown : text::kPartNotRead);
    return false;
}

void NoteNotWritten(DownloadResult& result, int nv, int part, std::string_view why) {
    ++result.writeErrors;
    std::string name = SettingsNvName(nv, part);
    if (!why.empty()) name += " (" + std::string(why) + ")";
    result.notWritten.push_back(std::move(name));
}

std::optional<std::string> FactoryBytes(int nv, int part) {
    const NvEntry* entry = NvEntryOf(nv);
    for (const FactoryLine& line : FactoryLines()) {
        if (line.nv == nv && line.part == part && entry != nullptr)
            return ParseDataLine(entry->file.kind, line.line);
    }
    return std::nullopt;
}

NodeSettings ReadNodeSettings(NodeLink& node, std::string_view pass, const SettingsImage* only) {
    NodeSettings settings;
    for (const NvEntry* nv : SettingsFileNvs()) {
        if (nv->nv == kConfigNv) {
            ReadParts(node, *nv, pass, settings, only);
            continue;
        }
        if (only != nullptr && only->count({nv->nv, 0}) == 0) continue;
        uint8_t buffer[kNvBufferSize] = {};
        if (node.ReadNv(nv->nv, buffer, kNvValueSize) == kHostOk) {
            settings.values[{nv->nv, 0}] =
                std::string(reinterpret_cast<const char*>(buffer), nv->writeLength);
        } else {
            ++settings.readErrors;
        }
    }
    return settings;
}

std::string SettingsFileText(const NodeSettings& settings, std::string_view programId,
                             std::string_view nodeName, const LocalTime& now) {
    std::string text;
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

    // An NV that could not be read keeps its comment line, without a data line.
    const auto block = [&](const NvEntry& nv, int part, const std::string& comment) {
        text += comment;
        const auto value = settings.values.find({nv.nv, part});
        if (value == settings.values.end()) return;
        uint8_t buffer[kNvBufferSize] = {};
        std::copy(value->second.begin(), value->second.end(), buffer);
        text += DataLine(nv.file.kind, buffer);
    };
    for (const NvEntry* nv : SettingsFileNvs()) {
        if (nv->nv != kConfigNv) {
            block(*nv, 0, std::string(nv->file.comment) + "\r\n");
            continue;
        }
        for (int part = 1; part <= kConfigPartCount; ++part) {
            block(*nv, part, nv->file.comment + std::to_string(part) + " \r\n");
        }
    }
    return text;
}

SavedSettings WriteSettingsFile(NodeLink& node, std::string_view programId,
                                std::string_view nodeName, const LocalTime& now) {
    const NodeSettings settings = ReadNodeSettings(node, text::kPartPass, nullptr);
    return {SettingsFileText(settings, programId, nodeName, now), settings.readErrors};
}

SettingsImage ImageOfPlan(const SettingsFilePlan& plan) {
    SettingsImage image;
    for (const SettingsFilePlan::Step& step : plan.steps) {
        if (step.nv != nullptr && step.bytes) image[{step.nv->nv, step.part}] = *step.bytes;
    }
    return image;
}

std::string PatchedSettingsText(std::string_view original, const SettingsFilePlan& plan,
                                const SettingsImage& image) {
    // What goes in place of a data line (by its number), or after a comment
    // line that has none.
    std::map<int, std::string> replaced;
    std::map<int, std::string> added;
    for (const SettingsFilePlan::Step& step : plan.steps) {
        if (step.nv == nullptr) continue;
        const auto held = image.find({step.nv->nv, step.part});
        if (held == image.end() || (step.bytes && *step.bytes == held->second)) continue;
        uint8_t buffer[kNvBufferSize] = {};
        std::copy_n(held->second.begin(), std::min<std::size_t>(held->second.size(), kNvValueSize),
                    buffer);
        std::string line = FormatLine(step.nv->file.kind, buffer);
        while (!line.empty() && line.back() == '\n') line.pop_back();
        if (step.dataLine != 0) {
            replaced[step.dataLine] = std::move(line);
        } else {
            added[step.commentLine] = line + "\r\n\r\n";
        }
    }
    std::string text;
    std::size_t at = 0;
    for (int number = 1; at < original.size(); ++number) {
        std::size_t end = original.find('\n', at);
        end = end == std::string_view::npos ? original.size() : end + 1;
        std::string_view whole = original.substr(at, end - at);
        std::string_view ending = whole.ends_with("\r\n") ? "\r\n"
                                  : whole.ends_with('\n') ? "\n"
                                                          : "";
        if (const auto line = replaced.find(number); line != replaced.end()) {
            text += line->second;
            text += ending;
        } else {
            text += whole;
        }
        if (const auto block = added.find(number); block != added.end()) {
            if (ending.empty()) text += "\r\n";
            text += block->second;
        }
        at = end;
    }
    return text;
}

std::string BadLineMessage(const BadLine& bad, const char* head) {
    constexpr std::size_t kShownChars = 120;
    std::string text = bad.text.substr(0, kShownChars);
    for (char& c : text) {
        if (static_cast<unsigned char>(c) < 0x20) c = '?';
    }
    if (bad.text.size() > kShownChars) text += "...";
    const std::string why =
        bad.why.empty() ? std::string(text::kBadLineTail) : text::kBadLineOfTheFile + bad.why + ":";
    return head + FormatFixed(bad.number, 0) + why + "\n\"" + text + "\"";
}

std::string NotSettingsText(const std::string& path, SettingsFilePlan::NotSettings why) {
    using NotSettings = SettingsFilePlan::NotSettings;
    return path + text::kNotSettingsFile +
           (why == NotSettings::Empty         ? text::kFileEmpty
            : why == NotSettings::NoProgramId ? text::kNoProgramIdLine
                                              : text::kNoSettings);
}

SettingsImage FactoryImage() {
    SettingsImage image;
    for (const FactoryLine& line : FactoryLines()) {
        if (std::optional<std::string> bytes = FactoryBytes(line.nv, line.part)) {
            image[{line.nv, line.part}] = std::move(*bytes);
        }
    }
    return image;
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
    int lastDataLine = 0;
    std::vector<const NvEntry*> blocksSeen;
    std::vector<int> partNumbersSeen;
    auto refuse = [&](int lineNumber, std::string_view text, std::string why = {}) {
        plan.steps.clear();
        plan.badLine = BadLine{lineNumber, std::string(text), std::move(why)};
        return plan;
    };
    std::optional<std::string_view> line = lines.Next();
    if (line) ++number;
    // The line after the "/ Nodename" title holds the node's name, which a
    // backup writes whole: a name of 23 characters is still no program ID.
    bool nameLine = false;
    while (line) {
        const bool afterNameTitle = std::exchange(nameLine, line->starts_with(kNodeNameTitle));
        if (IsProgramIdLine(*line) && !afterNameTitle) {
            plan.steps.push_back({.programId = std::string(line->substr(2)),
                                  .nv = nullptr,
                                  .part = 0,
                                  .bytes = std::nullopt});
            programIdSeen = true;
        } else if (line->starts_with('*') && programIdSeen) {
            const int commentNumber = number;
            const std::string comment(*line);
            const NvEntry* nv = FileNvNamed(NvNameOf(*line));
            if (nv == nullptr) return refuse(commentNumber, *line);
            SettingsFilePlan::Step step{.programId = {},
                                        .nv = nv,
                                        .part = 0,
                                        .bytes = std::nullopt,
                                        .commentLine = commentNumber};
            if (nv->nv == kConfigNv && (step.part = ++parts) > kConfigPartCount) {
                return refuse(commentNumber, *line);
            }
            line = lines.Next();
            if (line) ++number;
            if (line && !line->starts_with('*')) {
                lastDataLine = number;
                step.dataLine = number;
                step.bytes = ParseDataLine(nv->file.kind, *line);
                if (!step.bytes) return refuse(number, *line);
            }
            // A block or a part met twice would be written twice, and only
            // the later one would count: the file is not what it shows.
            if (nv->nv != kConfigNv) {
                if (std::find(blocksSeen.begin(), blocksSeen.end(), nv) != blocksSeen.end())
                    return refuse(commentNumber, comment,
                                  text::kRepeatsBlock + std::string(nv->name));
                blocksSeen.push_back(nv);
            } else if (const int named = PartNumberOf(comment); named != 0) {
                if (std::find(partNumbersSeen.begin(), partNumbersSeen.end(), named) !=
                    partNumbersSeen.end()) {
                    return refuse(commentNumber, comment,
                                  text::kRepeatsPart + std::to_string(named));
                }
                partNumbersSeen.push_back(named);
            }
            plan.steps.push_back(std::move(step));
            // A comment line in the data line's place starts the next block.
            if (line && line->starts_with('*')) continue;
        }
        line = lines.Next();
        if (line) ++number;
    }
    const bool anyData =
        std::any_of(plan.steps.begin(), plan.steps.end(),
                    [](const SettingsFilePlan::Step& s) { return s.bytes.has_value(); });
    using NotSettings = SettingsFilePlan::NotSettings;
    plan.notSettings = fileBytes.empty() ? NotSettings::Empty
                       : !programIdSeen  ? NotSettings::NoProgramId
                       : !anyData        ? NotSettings::NoData
                                         : NotSettings::No;
    if (plan.notSettings != NotSettings::No) plan.steps.clear();
    plan.mayBeCutOff = lastDataLine == number && !lines.LastEnded() && number > 1;
    return plan;
}

DownloadResult ReadSettingsFile(std::string_view fileBytes, std::string_view programId,
                                NodeLink& node, const std::function<bool()>& acceptForeign) {
    return RunSettingsFile(PlanSettingsFile(fileBytes), programId, node, acceptForeign);
}

namespace {

// Goes through a checked plan as a download does: a program-ID line accepts
// the file when it is the node's own ID, any other asks `acceptForeign`; each
// data block is handed to `block` while the file is accepted. Whether the
// file was accepted in the end.
bool WalkPlan(const SettingsFilePlan& plan, std::string_view programId,
              const std::function<bool()>& acceptForeign,
              const std::function<void(const SettingsFilePlan::Step&)>& block) {
    bool accepted = false;
    for (const SettingsFilePlan::Step& step : plan.steps) {
        if (step.nv == nullptr) {
            accepted = step.programId == programId || (acceptForeign && acceptForeign());
        } else if (accepted && step.bytes) {
            block(step);
        }
    }
    return accepted;
}

}  // namespace

SettingsImage PlannedWrites(const SettingsFilePlan& plan, std::string_view programId,
                            const std::function<bool()>& acceptForeign, bool& accepted) {
    SettingsImage writes;
    accepted = false;
    if (!plan.Usable()) return writes;
    accepted = WalkPlan(plan, programId, acceptForeign, [&](const SettingsFilePlan::Step& step) {
        writes[{step.nv->nv, step.part}] = *step.bytes;
    });
    return writes;
}

bool HoldsAlready(const SettingsImage* held, int nv, int part, const std::string& bytes) {
    if (held == nullptr) return false;
    const auto found = held->find({nv, part});
    return found != held->end() && found->second == bytes;
}

DownloadResult RunSettingsFile(const SettingsFilePlan& plan, std::string_view programId,
                               NodeLink& node, const std::function<bool()>& acceptForeign,
                               const SettingsImage* held) {
    DownloadResult result;
    if (plan.badLine) {
        result.badLine = plan.badLine;
        return result;
    }
    if (!plan.Usable()) return result;
    result.accepted =
        WalkPlan(plan, programId, acceptForeign, [&](const SettingsFilePlan::Step& step) {
            if (HoldsAlready(held, step.nv->nv, step.part, *step.bytes)) {
                ++result.alreadyEqual;
                return;
            }
            if (step.nv->nv == kConfigNv) {
                node.screen().ShowProgress(PageId::ImportExport, text::kPartPass, step.part,
                                           kConfigPartCount);
            }
            WriteBlock(node, *step.nv, *step.bytes, step.part, result);
        });
    return result;
}

}  // namespace qta1
