#include "scenario.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <optional>
#include <vector>

#include "frame/codec.h"
#include "frame/trend.h"
#include "housekeeping/settings_review.h"
#include "platform/trace_lines.h"
#include "resources/strings.h"
#include "sim_session.h"

namespace qta1 {

namespace {

constexpr int64_t kMaxWaitMs = int64_t{24} * 3600 * 1000;  // one virtual day per wait
constexpr size_t kMaxNameBytes = 50;
constexpr int kPartCount = kConfigPartCount;
constexpr int kMaxNvIndex = 255;
constexpr int kMaxCallOffset = 1000000;

// --- Lines and tokens ------------------------------------------------------

struct Token {
    bool quoted;
    std::string text;
};

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Splits a line into words, "=" and quoted strings, up to a '#' outside a
// string. Returns an error message, or an empty string.
std::string Tokenize(std::string_view line, std::vector<Token>& tokens) {
    constexpr std::string_view kDelimiters = " \t\r\"=#";
    size_t i = 0;
    while (i < line.size()) {
        const char c = line[i];
        if (c == ' ' || c == '\t' || c == '\r') {
            ++i;
        } else if (c == '#') {
            break;
        } else if (c == '=') {
            tokens.push_back({false, "="});
            ++i;
        } else if (c == '"') {
            std::string text;
            for (++i;;) {
                if (i >= line.size()) return "unterminated string";
                const char d = line[i++];
                if (d == '"') break;
                if (d != '\\') {
                    text += d;
                    continue;
                }
                if (i >= line.size()) return "unterminated string";
                const char e = line[i++];
                switch (e) {
                    case 'n':
                        text += '\n';
                        break;
                    case 'r':
                        text += '\r';
                        break;
                    case 't':
                        text += '\t';
                        break;
                    case '\\':
                    case '"':
                        text += e;
                        break;
                    case 'x':
                        if (i + 2 > line.size() || HexValue(line[i]) < 0 ||
                            HexValue(line[i + 1]) < 0) {
                            return "\\x needs two hex digits";
                        }
                        text += static_cast<char>(HexValue(line[i]) * 16 + HexValue(line[i + 1]));
                        i += 2;
                        break;
                    default:
                        return std::string("unknown escape \\") + (e > ' ' && e < 0x7F ? e : '?');
                }
            }
            tokens.push_back({true, std::move(text)});
        } else {
            size_t end = i;
            while (end < line.size() && kDelimiters.find(line[end]) == std::string_view::npos)
                ++end;
            tokens.push_back({false, std::string(line.substr(i, end - i))});
            i = end;
        }
    }
    return {};
}

// Decimal with an optional sign, or hexadecimal after "0x".
bool ParseNumber(std::string_view text, int64_t& value) {
    bool negative = false;
    if (!text.empty() && text[0] == '-') {
        negative = true;
        text.remove_prefix(1);
    }
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty() || text.size() > 12) return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (error != std::errc() || end != text.data() + text.size()) return false;
    if (negative) value = -value;
    return true;
}

// Hex digit pairs, in one or several words ("00 08 19" or "000819").
bool ParseHexWord(std::string_view text, std::vector<uint8_t>& bytes) {
    if (text.size() % 2 != 0) return false;
    for (size_t i = 0; i < text.size(); i += 2) {
        const int high = HexValue(text[i]);
        const int low = HexValue(text[i + 1]);
        if (high < 0 || low < 0) return false;
        bytes.push_back(static_cast<uint8_t>(high * 16 + low));
    }
    return true;
}

// --- Command patterns ------------------------------------------------------
//
// A pattern is a list of elements separated by spaces: a literal word, "N"
// (a number), "S" (a quoted string), "a|b" (one of the words), "HEX" (the
// rest of the line as hex bytes) or "[in S]" (optional).

struct Args {
    std::vector<int64_t> numbers;
    std::vector<std::string> strings;
    std::vector<std::string> choices;
    std::vector<uint8_t> bytes;
    std::optional<std::string> in;
};

std::vector<std::string_view> Elements(std::string_view pattern) {
    std::vector<std::string_view> elements;
    size_t i = 0;
    while (i < pattern.size()) {
        const size_t end = pattern[i] == '[' ? pattern.find(']', i) + 1
                                             : std::min(pattern.find(' ', i), pattern.size());
        elements.push_back(pattern.substr(i, end - i));
        i = end + 1;
    }
    return elements;
}

class Matcher {
public:
    explicit Matcher(const std::vector<Token>& tokens) : tokens_(tokens) {}

    // True when the whole line matches; `matched` counts the elements that
    // matched before the first one that did not.
    bool Match(std::string_view pattern, int& matched) {
        matched = 0;
        for (std::string_view element : Elements(pattern)) {
            if (!MatchElement(element)) return false;
            ++matched;
        }
        return pos_ == tokens_.size();
    }
    Args& args() { return args_; }

private:
    const Token* Next() const { return pos_ < tokens_.size() ? &tokens_[pos_] : nullptr; }
    bool NextIsWord(std::string_view word) const {
        return Next() != nullptr && !Next()->quoted && Next()->text == word;
    }

    bool MatchElement(std::string_view element) {
        const Token* token = Next();
        if (element.front() == '[') {  // "[in S]"
            if (!NextIsWord("in")) return true;
            ++pos_;
            token = Next();
            if (token == nullptr || !token->quoted) return false;
            args_.in = token->text;
            ++pos_;
            return true;
        }
        if (element == "HEX") {
            const size_t start = pos_;
            for (; pos_ < tokens_.size(); ++pos_) {
                if (tokens_[pos_].quoted || !ParseHexWord(tokens_[pos_].text, args_.bytes))
                    return false;
            }
            return pos_ > start;
        }
        if (token == nullptr) return false;
        if (element == "S") {
            if (!token->quoted) return false;
            args_.strings.push_back(token->text);
        } else if (token->quoted) {
            return false;
        } else if (element == "N") {
            int64_t value = 0;
            if (!ParseNumber(token->text, value)) return false;
            args_.numbers.push_back(value);
        } else if (element.find('|') != std::string_view::npos) {
            bool found = false;
            for (size_t i = 0; i <= element.size() && !found;) {
                const size_t end = std::min(element.find('|', i), element.size());
                found = element.substr(i, end - i) == token->text;
                i = end + 1;
            }
            if (!found) return false;
            args_.choices.push_back(token->text);
        } else if (element != token->text) {
            return false;
        }
        ++pos_;
        return true;
    }

    const std::vector<Token>& tokens_;
    size_t pos_ = 0;
    Args args_;
};

// --- Helpers for what the technician sees ----------------------------------

using trace_line::ControlName;

std::string ControlLine(const ControlState& state) {
    std::string line = ControlName(*state.decl) + ": " + QuoteText(state.text);
    const ControlKind kind = state.decl->kind;
    if (kind == ControlKind::CheckBox || kind == ControlKind::RadioButton) {
        line += state.checked ? " checked" : " unchecked";
    }
    line += state.enabled ? " enabled" : " disabled";
    if (!state.visible) line += " hidden";
    return line;
}

// --- The runner ------------------------------------------------------------

enum class Where { Anywhere, InSheet, OutsideSheet };

class Runner {
public:
    Runner(ScenarioHost& host, std::string_view script, std::string_view name)
        : name_(name), host_(host) {
        for (size_t start = 0; start <= script.size();) {
            const size_t end = std::min(script.find('\n', start), script.size());
            lines_.push_back(script.substr(start, end - start));
            start = end + 1;
        }
    }

    int Run(std::string& output) {
        Execute(false);
        if (error_.empty() && tech().PendingAnswers() > 0) {
            Print(std::to_string(tech().PendingAnswers()) + " queued answer(s) never asked for");
        }
        output += host_.Log().Text();
        if (error_.empty()) return kScenarioOk;
        output += "error: " + std::string(name_) + ":" + std::to_string(lineNumber_) + ": " +
                  error_ + "\n";
        return kScenarioError;
    }

private:
    using Handler = void (Runner::*)(const Args&);
    struct Command {
        const char* pattern;
        Where where;
        Handler run;
    };
    static const std::vector<Command>& Commands();

    // Runs lines until the script ends, an error stops it or, inside the
    // sheet, "exit" closes the sheet.
    void Execute(bool inSheet) {
        while (next_ < lines_.size() && error_.empty()) {
            lineNumber_ = static_cast<int>(++next_);
            std::vector<Token> tokens;
            if (const std::string problem = Tokenize(lines_[next_ - 1], tokens); !problem.empty()) {
                Fail(problem);
            } else if (!tokens.empty()) {
                Dispatch(tokens, inSheet);
            }
            if (inSheet && leaveSheet_) {
                leaveSheet_ = false;
                return;
            }
        }
    }

    void Dispatch(const std::vector<Token>& tokens, bool inSheet) {
        int best = 0;
        std::string expected;
        for (const Command& command : Commands()) {
            Matcher matcher(tokens);
            int matched = 0;
            if (matcher.Match(command.pattern, matched)) {
                if (command.where == Where::InSheet && !inSheet) {
                    return Fail("\"" + tokens[0].text + "\" needs an open sheet");
                }
                if (command.where == Where::OutsideSheet && inSheet) {
                    return Fail("\"" + tokens[0].text + "\" while the sheet is open");
                }
                return (this->*command.run)(matcher.args());
            }
            if (matched > best) {
                best = matched;
                expected.clear();
            }
            if (matched == best && matched > 0) {
                expected += std::string(expected.empty() ? "" : " or ") + command.pattern;
            }
        }
        if (best == 0) return Fail("unknown command " + QuoteText(tokens[0].text));
        Fail("bad syntax, expected: " + expected);
    }

    void Fail(std::string message) {
        error_ = std::move(message);
        // What follows the failing command (the sheet closing) is not part
        // of what ran.
        host_.Log().SetRecording(false);
    }

    // Print lines are trace lines, so they fall in time order between the
    // host calls; they appear even while the trace is off.
    void Print(const std::string& text) {
        const bool recording = host_.Log().recording();
        host_.Log().SetRecording(true);
        host_.Log().Add("= " + text);
        host_.Log().SetRecording(recording);
    }

    bool InRange(int64_t value, int64_t low, int64_t high, const char* what) {
        if (value >= low && value <= high) return true;
        Fail(std::string(what) + " must be " + std::to_string(low) + " to " + std::to_string(high));
        return false;
    }

    static bool On(const Args& a, size_t i = 0) { return a.choices[i] == "on"; }

    // The sheet side goes through what a technician can do and see; only
    // the in-memory files are the headless platform's own.
    Technician& tech() { return host_.Tech(); }
    SimulatedNode& node() { return host_.Node(); }

    // The control with an identifier on the active page that carries the
    // label and, when given, the row or group.
    const ControlDecl* FindOnActivePage(const std::string& label,
                                        const std::optional<std::string>& in) {
        if (!tech().ActivePage()) {
            Fail("no page is active");
            return nullptr;
        }
        const PageId page = *tech().ActivePage();
        std::vector<const ControlDecl*> all;
        std::vector<const ControlDecl*> matches;
        for (const ControlDecl& decl : LayoutOf(page).controls) {
            if (decl.id == IDC_STATIC) continue;
            all.push_back(&decl);
            if (decl.label == label && (!in || *in == decl.row || *in == decl.group)) {
                matches.push_back(&decl);
            }
        }
        if (matches.size() == 1) return matches.front();
        std::string what = QuoteText(label) + (in ? " in " + QuoteText(*in) : "");
        std::string message =
            matches.empty() ? "no control " + what + " on " : what + " is ambiguous on ";
        message += QuoteText(CaptionOf(page)) + "; candidates: ";
        const auto& candidates = matches.empty() ? all : matches;
        for (size_t i = 0; i < candidates.size(); ++i) {
            message += (i > 0 ? ", " : "") + ControlName(*candidates[i]);
        }
        if (candidates.empty()) message += "(none)";
        Fail(message);
        return nullptr;
    }

    // --- Node state and faults -----------------------------------------------

    void NodePart(const Args& a) {
        if (!InRange(a.numbers[0], 1, kPartCount, "part") ||
            !InRange(static_cast<int64_t>(a.bytes.size()), 1, kNvValueSize, "byte count")) {
            return;
        }
        const int part = static_cast<int>(a.numbers[0]);
        NvValue value = node().Part(part);
        std::copy(a.bytes.begin(), a.bytes.end(), value.begin());
        node().SetPart(part, value);
    }
    void NodeNv(const Args& a) {
        if (!InRange(a.numbers[0], 0, kMaxNvIndex, "NV index") ||
            !InRange(static_cast<int64_t>(a.bytes.size()), 1, kNvValueSize, "byte count")) {
            return;
        }
        const int nv = static_cast<int>(a.numbers[0]);
        NvValue value = node().Nv(nv);
        std::copy(a.bytes.begin(), a.bytes.end(), value.begin());
        node().SetNv(nv, value);
    }
    void NodeSelector(const Args& a) {
        if (InRange(a.numbers[0], 0, 0xFFFF, "part"))
            node().SetSelector(static_cast<int>(a.numbers[0]));
    }
    void NodeName(const Args& a) {
        if (InRange(static_cast<int64_t>(a.strings[0].size()), 0, kMaxNameBytes, "name length")) {
            node().SetName(a.strings[0]);
        }
    }
    void NodeNameHex(const Args& a) {
        if (InRange(static_cast<int64_t>(a.bytes.size()), 1, kMaxNameBytes, "name length")) {
            node().SetName(std::string(a.bytes.begin(), a.bytes.end()));
        }
    }
    void NodeConfigured(const Args& a) {
        if (InRange(a.numbers[0], 0, 0xFFFF, "configured word")) {
            node().SetConfiguredWord(static_cast<int>(a.numbers[0]));
        }
    }
    // Moving first, so that a model switched on starts at rest at this moment.
    void NodeAnimate(const Args& a) {
        const std::string& how = a.choices[0];
        node().SetAnimated(how != "off");
        if (how != "off") node().UseUnitModel(how == "model");
    }
    void FaultCall(const Args& a) {
        if (InRange(a.numbers[0], 1, kMaxCallOffset, "call"))
            node().FailCall(static_cast<int>(a.numbers[0]));
    }
    void FaultNv(const Args& a) {
        if (!InRange(a.numbers[0], 0, kMaxNvIndex, "NV index")) return;
        const std::string& on = a.choices[0];
        node().FailNv(static_cast<int>(a.numbers[0]), on == "reads"    ? FaultOn::Reads
                                                      : on == "writes" ? FaultOn::Writes
                                                                       : FaultOn::Both);
    }
    void KeepNv(const Args& a) {
        if (InRange(a.numbers[0], 0, kMaxNvIndex, "NV index"))
            node().KeepNv(static_cast<int>(a.numbers[0]));
    }
    void KeepCall(const Args& a) {
        if (InRange(a.numbers[0], 1, kMaxCallOffset, "call"))
            node().KeepCall(static_cast<int>(a.numbers[0]));
    }
    void LagSelector(const Args& a) {
        if (InRange(a.numbers[0], 0, kMaxCallOffset, "reads"))
            node().LagSelector(static_cast<int>(a.numbers[0]));
    }
    void FaultAll(const Args& a) { node().FailAll(On(a)); }
    void FaultName(const Args& a) { node().FailNameRead(On(a)); }
    void FaultStatus(const Args& a) {
        const int64_t status = a.numbers[0];
        if (status == 0) return Fail("a failing call cannot return 0");
        if (!InRange(status, std::numeric_limits<int32_t>::min(),
                     std::numeric_limits<uint32_t>::max(), "status")) {
            return;
        }
        node().SetFailureStatus(static_cast<int32_t>(static_cast<uint32_t>(status)));
    }
    void FaultClear(const Args&) { node().ClearFaults(); }
    void Site(const Args& a) {
        if (a.choices[0] == "reader")
            host_.Site().OfferReader(On(a, 1));
        else
            host_.Site().OfferWriter(On(a, 1));
    }
    void SeedFile(const Args& a) { host_.SeedFile(a.strings[0], a.strings[1]); }
    void ReadOnly(const Args& a) {
        if (!host_.SetFileReadOnly(a.strings[0], On(a))) Fail("this host cannot do that");
    }
    void PcClock(const Args& a) {
        LocalTime t;
        char tail = 0;
        if (std::sscanf(a.strings[0].c_str(), "%d-%d-%d %d:%d:%d%c", &t.year, &t.month, &t.day,
                        &t.hour, &t.minute, &t.second, &tail) != 6) {
            return Fail("expected a time as \"YYYY-MM-DD HH:MM:SS\"");
        }
        if (!host_.SetPcClock(t)) Fail("this host cannot do that");
    }
    void TraceSwitch(const Args& a) { host_.Log().SetRecording(On(a)); }

    // --- The sheet and the technician ----------------------------------------

    void Open(const Args&) {
        host_.Open([this] { Execute(true); });
    }
    void OpenFile(const Args& a) {
        const bool factory = a.choices[0] == "factory-file";
        if (const std::optional<std::string> refused =
                host_.OpenFile(a.strings[0], factory, [this] { Execute(true); })) {
            host_.Log().Add("file not opened: " + QuoteText(*refused));
        }
    }
    void Exit(const Args&) { leaveSheet_ = tech().Close(CloseWay::Exit); }
    void PressKey(const Args& a) {
        leaveSheet_ = tech().Close(a.choices[0] == "enter" ? CloseWay::Enter : CloseWay::Escape);
    }
    void CloseBox(const Args&) { leaveSheet_ = tech().Close(CloseWay::CloseBox); }
    void Tab(const Args& a) {
        const std::optional<PageId> page = PageByCaption(a.strings[0]);
        if (!page) return Fail("no page has the caption " + QuoteText(a.strings[0]));
        if (!tech().SelectTab(*page)) Fail(QuoteText(a.strings[0]) + " is not in the sheet");
    }
    void Type(const Args& a) {
        if (const ControlDecl* decl = FindOnActivePage(a.strings[0], a.in)) {
            tech().Type(*tech().ActivePage(), decl->id, a.strings[1]);
        }
    }
    void Click(const Args& a) {
        // A click on a disabled control is traced by the platform and is
        // something a scenario may want to show, so it is not an error.
        if (const ControlDecl* decl = FindOnActivePage(a.strings[0], a.in)) {
            tech().Click(*tech().ActivePage(), decl->id);
        }
    }
    void Answer(const Args& a) {
        tech().QueueMessageAnswer(a.choices[0] == "yes"  ? MsgAnswer::Yes
                                  : a.choices[0] == "no" ? MsgAnswer::No
                                                         : MsgAnswer::Cancel);
    }
    void File(const Args& a) { tech().QueueFileAnswer(a.strings[0]); }
    void FileCancel(const Args&) { tech().QueueFileAnswer(std::nullopt); }
    void Wait(const Args& a) {
        if (!InRange(a.numbers[0], 0, kMaxWaitMs, "wait")) return;
        host_.Log().Add("> wait " + std::to_string(a.numbers[0]));
        tech().Idle(a.numbers[0]);
    }

    // --- The trend window ------------------------------------------------------

    void TrendOpen(const Args&) {
        if (const ControlDecl* decl = FindOnActivePage(kTrendButton, std::nullopt)) {
            tech().Click(*tech().ActivePage(), decl->id);
        }
    }
    void NeedTrend(bool done) {
        if (!done) Fail("no trend window is open");
    }
    void TrendWindow(const Args& a) { NeedTrend(tech().TrendWindow(std::stoi(a.choices[0]))); }
    void TrendPause(const Args& a) { NeedTrend(tech().TrendPause(a.choices[0] == "pause")); }
    void TrendSeries(const Args& a) {
        NeedTrend(tech().TrendSeries(*TrendSeriesByKey(a.choices[0]), On(a, 1)));
    }
    void TrendClose(const Args&) { NeedTrend(tech().TrendClose()); }
    void TrendSave(const Args&) { NeedTrend(tech().TrendSaveData()); }
    // A line of the window's state and its legend (each series' check box
    // and latest value), the column heads, then one line per sample kept:
    // the time of day and each value as its page shows it, "-" for a gap.
    void PrintTrend(const Args&) {
        const TrendModel* model = tech().TrendShown();
        if (model == nullptr) return Fail("no trend window is open");
        const TrendModel::Window window = model->Visible();
        Print("trend: " + std::to_string(model->samples().size()) + " samples, " +
              std::to_string(window.end - window.first) + " in the " +
              std::to_string(model->windowMinutes()) + " min window, " +
              (model->paused() ? "paused" : "running"));
        std::string legend = "trend legend:";
        std::string heads = "trend time";
        for (size_t i = 0; i < kTrendSeriesCount; ++i) {
            const std::string latest = model->LatestText(i);
            legend += std::string(i > 0 ? ", " : " ") + kTrendSeries[i].key +
                      (model->Shown(i) ? " on" : " off") + (latest.empty() ? "" : " " + latest);
            heads += std::string(" ") + kTrendSeries[i].key;
        }
        Print(legend);
        Print(heads);
        for (size_t s = 0; s < model->samples().size(); ++s) {
            const TrendSample& sample = model->samples()[s];
            std::string line = "trend " + TwoDigits(sample.time.hour) + ":" +
                               TwoDigits(sample.time.minute) + ":" + TwoDigits(sample.time.second);
            for (size_t i = 0; i < kTrendSeriesCount; ++i) {
                line += " " + (sample.words[i] ? TrendValueText(kTrendSeries[i], *sample.words[i])
                                               : std::string("-"));
            }
            Print(line);
        }
    }
    // The CSV "Save data..." writes, one quoted line per line, as files print.
    void PrintTrendCsv(const Args&) {
        const TrendModel* model = tech().TrendShown();
        if (model == nullptr) return Fail("no trend window is open");
        const std::string csv = model->CsvText();
        Print("trend csv: " + std::to_string(csv.size()) + " bytes");
        for (size_t start = 0; start < csv.size();) {
            const size_t end = std::min(csv.find('\n', start), csv.size() - 1) + 1;
            Print("  " + QuoteText(std::string_view(csv).substr(start, end - start)));
            start = end;
        }
    }

    // --- Printing ------------------------------------------------------------

    void PrintTabs(const Args&) {
        const std::vector<PageId> tabs = tech().Tabs();
        std::string line = "tabs:";
        for (size_t i = 0; i < tabs.size(); ++i) {
            line += std::string(i > 0 ? ", " : " ") + QuoteText(CaptionOf(tabs[i]));
            if (tech().ActivePage() == tabs[i]) line += "*";
        }
        Print(tabs.empty() ? line + " (none)" : line);
    }
    void PrintPage(const Args&) {
        if (!tech().ActivePage()) return Fail("no page is active");
        const PageId page = *tech().ActivePage();
        Print("page " + QuoteText(CaptionOf(page)) + ":");
        for (const ControlDecl& decl : LayoutOf(page).controls) {
            if (const auto state = tech().State(page, decl.id)) Print(ControlLine(*state));
        }
    }
    void PrintControl(const Args& a) {
        const ControlDecl* decl = FindOnActivePage(a.strings[0], a.in);
        if (decl == nullptr) return;
        if (const auto state = tech().State(*tech().ActivePage(), decl->id))
            Print(ControlLine(*state));
    }
    void PrintSheet(const Args&) {
        Print("sheet " + QuoteText(tech().SheetCaption()) + ": OK button " +
              QuoteText(tech().OkCaption()) + ", Apply and Cancel " +
              (tech().ApplyAndCancelHidden() ? "hidden" : "shown"));
    }
    void PrintNodePart(const Args& a) {
        if (!InRange(a.numbers[0], 1, kPartCount, "part")) return;
        const NvValue value = node().Part(static_cast<int>(a.numbers[0]));
        Print("node part " + std::to_string(a.numbers[0]) + ": " +
              HexBytes(value.data(), kNvValueSize));
    }
    void PrintNodeNv(const Args& a) {
        if (!InRange(a.numbers[0], 0, kMaxNvIndex, "NV index")) return;
        const NvValue value = node().Nv(static_cast<int>(a.numbers[0]));
        Print("node nv " + std::to_string(a.numbers[0]) + ": " +
              HexBytes(value.data(), kNvValueSize));
    }
    void PrintNodeSelector(const Args&) {
        Print("node selector: " + std::to_string(node().Selector()));
    }
    // The simulated node's change log, where the sheet keeps it.
    void PrintLog(const Args&) {
        std::string name = node().Name();
        while (!name.empty() && name.back() == '\0') name.pop_back();
        PrintFileAt(std::string(HeadlessPlatform::kUserFolder) + "\\" + text::kBackupsFolder +
                    "\\" + BackupFolderName(name) + "\\" + text::kChangeLogFile);
    }
    void PrintFile(const Args& a) { PrintFileAt(a.strings[0]); }
    // One printed line per line of the file, each quoted with its line end,
    // so that CR LF, blanks and a missing last line end all show.
    void PrintFileAt(const std::string& path) {
        const std::optional<std::string> bytes = host_.FileBytes(path);
        if (!bytes) return Print("file " + QuoteText(path) + ": (none)");
        Print("file " + QuoteText(path) + ": " + std::to_string(bytes->size()) + " bytes");
        for (size_t start = 0; start < bytes->size();) {
            const size_t end = std::min(bytes->find('\n', start), bytes->size() - 1) + 1;
            Print("  " + QuoteText(std::string_view(*bytes).substr(start, end - start)));
            start = end;
        }
    }

    static constexpr const char* kTrendButton = "Trend...";

    std::string_view name_;
    std::vector<std::string_view> lines_;
    size_t next_ = 0;
    int lineNumber_ = 0;
    bool leaveSheet_ = false;
    std::string error_;
    ScenarioHost& host_;
};

// "trend series Bs1|Bs2|... on|off", from the trend's own series.
const char* SeriesPattern() {
    static const std::string pattern = [] {
        std::string words;
        for (const TrendSeries& series : kTrendSeries)
            words += std::string(words.empty() ? "" : "|") + series.key;
        return "trend series " + words + " on|off";
    }();
    return pattern.c_str();
}

// Tried in order; the first pattern that matches the whole line runs.
const std::vector<Runner::Command>& Runner::Commands() {
    // clang-format off
    static const std::vector<Command> kCommands = {
    {"node part N = HEX",               Where::Anywhere,     &Runner::NodePart},
    {"node nv N = HEX",                 Where::Anywhere,     &Runner::NodeNv},
    {"node selector N",                 Where::Anywhere,     &Runner::NodeSelector},
    {"node name S",                     Where::Anywhere,     &Runner::NodeName},
    {"node name-hex HEX",               Where::Anywhere,     &Runner::NodeNameHex},
    {"node configured N",               Where::Anywhere,     &Runner::NodeConfigured},
    {"node animate on|off|model",       Where::Anywhere,     &Runner::NodeAnimate},
    {"fault call N",                    Where::Anywhere,     &Runner::FaultCall},
    {"fault nv N reads|writes|both",    Where::Anywhere,     &Runner::FaultNv},
    {"fault nv N keeps",                Where::Anywhere,     &Runner::KeepNv},
    {"fault call N keeps",              Where::Anywhere,     &Runner::KeepCall},
    {"fault selector switches-after N", Where::Anywhere,     &Runner::LagSelector},
    {"fault all on|off",                Where::Anywhere,     &Runner::FaultAll},
    {"fault name on|off",               Where::Anywhere,     &Runner::FaultName},
    {"fault status N",                  Where::Anywhere,     &Runner::FaultStatus},
    {"fault clear",                     Where::Anywhere,     &Runner::FaultClear},
    {"site reader|writer on|off",       Where::Anywhere,     &Runner::Site},
    {"seed-file S = S",                 Where::Anywhere,     &Runner::SeedFile},
    {"read-only S on|off",              Where::Anywhere,     &Runner::ReadOnly},
    {"pc-clock S",                      Where::Anywhere,     &Runner::PcClock},
    {"trace on|off",                    Where::Anywhere,     &Runner::TraceSwitch},
    {"open",                            Where::OutsideSheet, &Runner::Open},
    {"open file|factory-file S",        Where::OutsideSheet, &Runner::OpenFile},
    {"exit",                            Where::InSheet,      &Runner::Exit},
    {"press enter|escape",              Where::InSheet,      &Runner::PressKey},
    {"close",                           Where::InSheet,      &Runner::CloseBox},
    {"tab S",                           Where::InSheet,      &Runner::Tab},
    {"type S [in S] = S",               Where::InSheet,      &Runner::Type},
    {"click S [in S]",                  Where::InSheet,      &Runner::Click},
    {"answer yes|no|cancel",            Where::Anywhere,     &Runner::Answer},
    {"file S",                          Where::Anywhere,     &Runner::File},
    {"file cancel",                     Where::Anywhere,     &Runner::FileCancel},
    {"wait N",                          Where::Anywhere,     &Runner::Wait},
    {"trend open",                      Where::InSheet,      &Runner::TrendOpen},
    {"trend window 2|10|30|60",         Where::InSheet,      &Runner::TrendWindow},
    {"trend pause|resume",              Where::InSheet,      &Runner::TrendPause},
    {SeriesPattern(),                   Where::InSheet,      &Runner::TrendSeries},
    {"trend close",                     Where::InSheet,      &Runner::TrendClose},
    {"trend save data",                 Where::InSheet,      &Runner::TrendSave},
    {"print trend",                     Where::InSheet,      &Runner::PrintTrend},
    {"print trend csv",                 Where::InSheet,      &Runner::PrintTrendCsv},
    {"print tabs",                      Where::InSheet,      &Runner::PrintTabs},
    {"print page",                      Where::InSheet,      &Runner::PrintPage},
    {"print control S [in S]",          Where::InSheet,      &Runner::PrintControl},
    {"print sheet",                     Where::InSheet,      &Runner::PrintSheet},
    {"print node part N",               Where::Anywhere,     &Runner::PrintNodePart},
    {"print node nv N",                 Where::Anywhere,     &Runner::PrintNodeNv},
    {"print node selector",             Where::Anywhere,     &Runner::PrintNodeSelector},
    {"print file S",                    Where::Anywhere,     &Runner::PrintFile},
    {"print log",                       Where::Anywhere,     &Runner::PrintLog},
    };
    // clang-format on
    return kCommands;
}

}  // namespace

int RunScenario(ScenarioHost& host, std::string_view script, std::string_view scriptName,
                std::string& output) {
    Runner runner(host, script, scriptName);
    return runner.Run(output);
}

int RunScenario(std::string_view script, std::string_view scriptName, std::string& output) {
    SimSession session;
    return RunScenario(session, script, scriptName, output);
}

}  // namespace qta1
