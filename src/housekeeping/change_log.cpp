#include "housekeeping/change_log.h"

#include <cstdio>
#include <optional>

#include "frame/sheet.h"
#include "housekeeping/node_information_page.h"
#include "housekeeping/settings_review.h"
#include "resources/strings.h"

namespace qta1 {

namespace {

constexpr const char* kLineEnd = "\r\n";
constexpr char kColumn = '\t';

// One column of a head line or one indented line: a line end or a tab
// inside would split the entry when it is read back.
std::string OneLine(std::string_view text) {
    std::string line(text);
    for (char& c : line) {
        if (static_cast<unsigned char>(c) < 0x20) c = '?';
    }
    return line;
}

std::string TimeText(const LocalTime& when) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", when.year % 10000,
                  when.month % 100, when.day % 100, when.hour % 100, when.minute % 100,
                  when.second % 100);
    return text;
}

// "2026-12-08 09:00:00": a head line starts with a date and time.
bool StartsWithTime(std::string_view line) {
    constexpr std::string_view kShape = "dddd-dd-dd dd:dd:dd";
    if (line.size() < kShape.size()) return false;
    for (size_t i = 0; i < kShape.size(); ++i) {
        const bool digit = line[i] >= '0' && line[i] <= '9';
        if (kShape[i] == 'd' ? !digit : line[i] != kShape[i]) return false;
    }
    return true;
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    while (true) {
        const size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string_view::npos ? end : end - start));
        if (end == std::string_view::npos) return parts;
        start = end + 1;
    }
}

class NodeChangeLog final : public ChangeSink {
public:
    explicit NodeChangeLog(CSheet& sheet) : sheet_(sheet) {}

    void Record(const ChangeEntry& entry) override {
        NodeLink& node = sheet_.node();
        // A settings file is not a unit: its changes are the file's own.
        if (node.File() != nullptr) return;
        // The name the sheet read when it opened, or the action has just
        // read; asked for only when neither could read it.
        std::optional<std::string> name =
            entry.nodeName ? entry.nodeName : node.NameReadAtLeast(kNodeNameReadLength);
        if (!name) {
            uint8_t bytes[kNodeNameReadLength] = {};
            if (node.ReadNodeName(bytes, kNodeNameReadLength) == kHostOk) {
                name = WholeNodeName(bytes, kNodeNameReadLength);
            }
        }
        Storage& storage = sheet_.storage();
        const std::string folder = name ? BackupFolder(storage, *name)
                                        : storage.UserFolder() + "\\" + text::kBackupsFolder;
        const std::string path =
            name ? ChangeLogPath(storage, *name) : folder + "\\" + text::kUnnamedChangeLogFile;
        const std::string entryText =
            ChangeEntryText(sheet_.clock().Now(), storage.UserName(),
                            name ? *name : std::string(text::kLogNameNotRead), entry);
        if (!storage.MakeFolder(folder) || !storage.AppendFile(path, entryText)) {
            sheet_.screen().MessageBox(text::kChangeLogNotWritten + path, "", MsgButtons::Ok,
                                       MsgIcon::Exclamation);
        }
    }

private:
    CSheet& sheet_;
};

}  // namespace

std::string ChangeEntryText(const LocalTime& when, std::string_view user, std::string_view nodeName,
                            const ChangeEntry& entry) {
    // The blank line first: an entry cut off by a crash never runs into the
    // head of the next one.
    std::string text = kLineEnd;
    text += TimeText(when) + kColumn + OneLine(user) + kColumn + OneLine(nodeName) + kColumn +
            OneLine(entry.action) + kLineEnd;
    for (const ChangeRow& row : entry.rows) {
        text += kColumn + OneLine(row.box + ": " + row.before + " -> " + row.after) + kLineEnd;
    }
    for (const std::string& note : entry.notes) text += kColumn + OneLine(note) + kLineEnd;
    return text;
}

std::vector<LoggedChange> ParseChangeLog(std::string_view text) {
    std::vector<LoggedChange> entries;
    // Every entry starts after a blank line: whatever follows one is a new
    // entry, also when its head was cut off, so that nothing a crash left
    // behind is taken for part of the entry before it.
    bool afterBlank = true;
    for (std::string_view line : Split(text, '\n')) {
        while (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty()) {
            afterBlank = true;
            continue;
        }
        if (StartsWithTime(line)) {
            const std::vector<std::string_view> columns = Split(line, kColumn);
            LoggedChange entry;
            entry.when = std::string(columns[0]);
            if (columns.size() > 1) entry.user = std::string(columns[1]);
            if (columns.size() > 2) entry.nodeName = std::string(columns[2]);
            // An action holds no tab; whatever follows belongs to it.
            for (size_t i = 3; i < columns.size(); ++i) {
                entry.action += (i > 3 ? " " : "") + std::string(columns[i]);
            }
            entries.push_back(std::move(entry));
            afterBlank = false;
            continue;
        }
        if (afterBlank || entries.empty()) entries.emplace_back();
        afterBlank = false;
        while (!line.empty() && (line.front() == kColumn || line.front() == ' ')) {
            line.remove_prefix(1);
        }
        entries.back().lines.emplace_back(line);
    }
    return entries;
}

ReviewList ChangeLogList(std::string_view shownName, std::string_view text) {
    ReviewList list{
        text::kChangesTitle,
        text::kChangesHead + std::string(shownName) + text::kChangesTail,
        {text::kWhenColumn, text::kUserColumn, text::kActionColumn, text::kChangeColumn},
        {}};
    const std::vector<LoggedChange> entries = ParseChangeLog(text);
    if (entries.empty()) list.heading = text::kNoChangesLogged;
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        list.rows.push_back(
            {it->when, it->user, it->action, it->lines.empty() ? "" : it->lines[0]});
        for (size_t i = 1; i < it->lines.size(); ++i)
            list.rows.push_back({"", "", "", it->lines[i]});
    }
    return list;
}

std::string ChangeLogPath(Storage& storage, std::string_view wholeName) {
    return BackupFolder(storage, wholeName) + "\\" + text::kChangeLogFile;
}

std::unique_ptr<ChangeSink> MakeNodeChangeLog(CSheet& sheet) {
    return std::make_unique<NodeChangeLog>(sheet);
}

}  // namespace qta1
