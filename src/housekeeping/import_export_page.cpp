#include "housekeeping/import_export_page.h"

#include <algorithm>

#include "frame/codec.h"
#include "frame/sheet.h"
#include "housekeeping/change_log.h"
#include "housekeeping/node_information_page.h"
#include "housekeeping/settings_file.h"
#include "housekeeping/settings_review.h"
#include "resources/strings.h"

namespace qta1 {

namespace {

constexpr PageDef kImportExportPage{};

std::string CountedMessage(const char* head, int count, const char* tail) {
    return head + FormatFixed(count, 0) + tail;
}

// "1 NV", "3 NVs".
std::string NvCount(int count) {
    return FormatFixed(count, 0) + (count == 1 ? text::kOneNv : text::kManyNvs);
}

// "Download not completed. 2 NV write errors", "... 1 NV write error".
std::string WriteErrorsHead(const char* head, int count) {
    return CountedMessage(head, count, count == 1 ? text::kWriteError : text::kWriteErrors);
}

// One line per NV or part the node was not given.
void AddNotWritten(const std::vector<std::string>& names, std::vector<std::string>& lines) {
    for (const std::string& name : names) lines.push_back(text::kNotWrittenLine + name);
}

// How a download and "Default settings" word their results.
struct ResultTexts {
    const char* completed;
    const char* verified;
    const char* writeErrors;  // followed by the count
    const char* notKept;
};
constexpr ResultTexts kDownloadTexts{text::kDownloadCompleted, text::kCompletedVerified,
                                     text::kDownloadNotCompletedCount, text::kNotKeptNotCompleted};
constexpr ResultTexts kFactoryTexts{text::kDefaultsCompleted, text::kDefaultsCompletedVerified,
                                    text::kDefaultsNotCompleted, text::kNotKeptDefaults};

// The result of writes as one head and its lines: what was not written,
// then what the node does not hold; "verified" only when neither.
struct WrittenResult {
    std::string head;
    std::vector<std::string> details;
    bool failed = false;
};
WrittenResult ResultOfWrites(const DownloadResult& writes, const std::vector<std::string>& notKept,
                             bool verified, const ResultTexts& texts) {
    WrittenResult result{verified ? texts.verified : texts.completed, {}, false};
    // "Written: 1 of 23 NVs and parts; the other 22 already held these values."
    if (writes.alreadyEqual > 0) {
        const int written = static_cast<int>(writes.written.size());
        const int all = written + writes.alreadyEqual + writes.writeErrors;
        result.details.push_back(text::kWrittenCountHead + FormatFixed(written, 0) +
                                 text::kWrittenOf + FormatFixed(all, 0) + text::kAlreadyEqualHead +
                                 FormatFixed(writes.alreadyEqual, 0) + text::kAlreadyEqualTail);
    }
    AddNotWritten(writes.notWritten, result.details);
    if (!notKept.empty()) {
        result.head = texts.notKept;
        result.details.push_back(text::kNodeHoldsOtherHead);
        result.details.insert(result.details.end(), notKept.begin(), notKept.end());
    }
    if (writes.writeErrors > 0)
        result.head = WriteErrorsHead(texts.writeErrors, writes.writeErrors);
    result.failed = writes.writeErrors > 0 || !notKept.empty();
    return result;
}

// "PID - P (Heat (Mv1))": a field as the technician finds it.
std::string FieldName(const SettingsDifference& row) {
    return (row.tab.empty() ? std::string() : row.tab + " - ") + row.box;
}

}  // namespace

std::string DefaultFileName(std::string_view nodeName) {
    return "C:\\" + std::string(nodeName) + ".txt";
}

CPage25PropPage::CPage25PropPage(CSheet& sheet)
    : CPropPage(PageId::ImportExport, sheet, kImportExportPage), storage_(sheet.storage()) {}

std::unique_ptr<CPropPage> MakeImportExportPage(CSheet& sheet) {
    return std::make_unique<CPage25PropPage>(sheet);
}

// The review choices are the technician's own, kept between sessions; both
// start checked.
void CPage25PropPage::OnInitDialog() {
    ShowNodeName();
    SetChecked(IDC_IMPEXP_BACKUP_PREVIEW, storage_.UserSetting(text::kBackupSetting) != "0");
    SetChecked(IDC_IMPEXP_VERIFY, storage_.UserSetting(text::kVerifySetting) != "0");
    SetChecked(IDC_IMPEXP_COMPARE_NODE, true);
}

void CPage25PropPage::OnControlClicked(int controlId) {
    switch (controlId) {
        case IDC_IMPEXP_DEFAULT:
            ShowNodeName();
            break;
        case IDC_IMPEXP_SAVE:
            Busy(IDC_IMPEXP_SAVE, [this] { SaveToFile(); });
            break;
        case IDC_IMPEXP_READ:
            Busy(IDC_IMPEXP_READ, [this] { ReadFromFile(); });
            break;
        case IDC_IMPEXP_FACTORY:
            DefaultSettings();
            break;
        case IDC_IMPEXP_COMPARE:
            Busy(IDC_IMPEXP_COMPARE, [this] { Compare(); });
            break;
        case IDC_IMPEXP_BACKUPS:
            Busy(IDC_IMPEXP_BACKUPS, [this] { OpenBackups(); });
            break;
        case IDC_IMPEXP_CHANGES:
            Busy(IDC_IMPEXP_CHANGES, [this] { ShowChanges(); });
            break;
        case IDC_IMPEXP_BACKUP_PREVIEW:
            storage_.SetUserSetting(text::kBackupSetting, Checked(controlId) ? "1" : "0");
            break;
        case IDC_IMPEXP_VERIFY:
            storage_.SetUserSetting(text::kVerifySetting, Checked(controlId) ? "1" : "0");
            break;
        default:
            break;
    }
}

template <typename Action>
void CPage25PropPage::Busy(int button, Action action) {
    const BusyButton busy = ShowBusy(button, text::kPleaseWait);
    action();
    screen().ShowProgress(PageId::ImportExport, {}, 0, 0);
}

void CPage25PropPage::Message(std::string_view message, std::string_view title, MsgIcon icon) {
    screen().MessageBox(message, title, MsgButtons::Ok, icon);
}

FileDialogRequest CPage25PropPage::SettingsFileRequest() {
    return {Text(IDC_IMPEXP_FILENAME), text::kSettingsExtension, text::kSettingsFilter};
}

void CPage25PropPage::ShowNodeName() {
    uint8_t name[kFileNameReadLength] = {};
    if (node().ReadNodeName(name, kFileNameReadLength) != kHostOk) {
        Enable(IDC_IMPEXP_SAVE, false);
        return;
    }
    const std::string text = NodeNameText(name, kFileNameReadLength);
    SetText(IDC_IMPEXP_NODENAME, text);
    SetText(IDC_IMPEXP_FILENAME, DefaultFileName(text));
    Enable(IDC_IMPEXP_SAVE, true);
}

void CPage25PropPage::SaveToFile() {
    const std::optional<std::string> path = screen().SaveFileDialog(SettingsFileRequest());
    if (!path) return;
    SetText(IDC_IMPEXP_FILENAME, *path);
    if (storage_.FileWritable(*path) &&
        screen().MessageBox(text::kOverwriteQuestion, text::kOverwriteTitle, MsgButtons::YesNo,
                            MsgIcon::None) != MsgAnswer::Yes) {
        Message(text::kFileNotWritten);
        return;
    }
    const std::string nodeName = NodeName();
    const SavedSettings saved =
        WriteSettingsFile(node(), text::kProgramId, nodeName, clock().Now());
    if (!storage_.ReplaceFile(*path, saved.text)) {
        Message(text::kErrorOpeningFile, {}, MsgIcon::Exclamation);
    } else if (saved.readErrors == 0) {
        Message(text::kFileWritten);
    } else {
        Message(CountedMessage(text::kFileWrittenWithErrors, saved.readErrors, text::kReadErrors),
                {}, MsgIcon::Exclamation);
    }
}

// The plug-in asks the technician to restart only after it changed the
// node: a cancelled dialog, a missing file or a No changed nothing.
void CPage25PropPage::ReadFromFile(const std::string& initialFolder) {
    if (Text(IDC_IMPEXP_PASSWORD) != text::kTechnicianPassword) {
        Message(text::kWrongPasswordDownload, text::kDownloadStatus);
        return;
    }
    FileDialogRequest request = SettingsFileRequest();
    if (!initialFolder.empty()) {
        // The folder is the place to look: a proposed name with a folder of
        // its own would win over it in the Windows dialog.
        request.proposedName.clear();
        request.initialFolder = initialFolder;
    }
    bool wrote = false;
    if (const std::optional<std::string> path = screen().OpenFileDialog(request)) {
        SetText(IDC_IMPEXP_FILENAME, *path);
        // Reading is all a download needs: a read-only file downloads too.
        if (const std::optional<std::string> bytes = storage_.ReadFile(*path); !bytes) {
            Message(text::kFileNotFound, {}, MsgIcon::Exclamation);
        } else if (screen().MessageBox(text::kDownloadQuestion, text::kDownloadTitle,
                                       MsgButtons::YesNo, MsgIcon::None) != MsgAnswer::Yes) {
            Message(text::kAbortedNothingWritten, text::kDownloadStatus);
        } else {
            wrote = Download(PlanSettingsFile(*bytes), *path);
        }
    }
    SetText(IDC_IMPEXP_PASSWORD, "");
    if (wrote) AskRestart();
}

// A unit takes new settings when the plug-in is opened again; a settings
// file holds them already.
void CPage25PropPage::AskRestart() {
    if (node().File() == nullptr) Message(text::kRestartPlugin);
}

// "Backups..." opens the node's own backups. Backups that earlier versions
// kept elsewhere are still offered while the node has none of its own.
void CPage25PropPage::OpenBackups() {
    const std::string all = storage_.UserFolder() + "\\" + text::kBackupsFolder;
    std::string folder = all;
    if (const std::optional<std::string> name = WholeName(); !name) {
        Message(text::kBackupsWithoutName, text::kBackupTitle, MsgIcon::Exclamation);
    } else {
        folder = BackupFolder(storage_, *name);
        const std::optional<std::string> earlier = EarlierBackupFolder(storage_, *name);
        if (!HoldsBackups(storage_, folder) && earlier && HoldsBackups(storage_, *earlier)) {
            folder = *earlier;
        }
    }
    // Made first, so that before the first backup the dialog still opens
    // where the backups will be.
    storage_.MakeFolder(folder);
    ReadFromFile(folder);
}

// The name a settings file's header carries, read as a save reads it, and
// shown in "Nodename :".
std::string CPage25PropPage::NodeName() {
    uint8_t name[kHeaderNameReadLength] = {};
    std::string nodeName;
    if (node().ReadNodeName(name, kHeaderNameReadLength) == kHostOk) {
        nodeName = NodeNameText(name, kNodeNameMaxChars);
    }
    SetText(IDC_IMPEXP_NODENAME, nodeName);
    return nodeName;
}

std::optional<std::string> CPage25PropPage::WholeName() {
    uint8_t name[kNodeNameReadLength] = {};
    if (node().ReadNodeName(name, kNodeNameReadLength) != kHostOk) {
        SetText(IDC_IMPEXP_NODENAME, "");
        return std::nullopt;
    }
    SetText(IDC_IMPEXP_NODENAME, NodeNameText(name, kNodeNameMaxChars));
    return WholeNodeName(name, kNodeNameReadLength);
}

bool CPage25PropPage::Download(const SettingsFilePlan& plan, const std::string& path) {
    const auto stop = [this](const std::string& why) {
        Message(why, text::kDownloadStatus, MsgIcon::Exclamation);
        return false;
    };
    if (plan.badLine) return stop(BadLineMessage(*plan.badLine, text::kBadLineHead));
    if (!plan.Usable())
        return stop(text::kNothingWrittenHead + NotSettingsText(path, plan.notSettings));
    if (plan.mayBeCutOff &&
        screen().MessageBox(text::kCutOffQuestion, text::kDownloadTitle, MsgButtons::YesNoDefaultNo,
                            MsgIcon::Exclamation) != MsgAnswer::Yes) {
        Message(text::kAbortedNothingWritten, text::kDownloadStatus);
        return false;
    }
    const auto ask = [this] {
        return screen().MessageBox(text::kProgramIdMismatch, text::kProgramIdMismatchTitle,
                                   MsgButtons::YesNo, MsgIcon::None) == MsgAnswer::Yes;
    };
    DownloadResult download;
    Backup backup;
    const bool review = Checked(IDC_IMPEXP_BACKUP_PREVIEW);
    if (!review) {
        download = RunSettingsFile(plan, text::kProgramId, node(), ask);
    } else {
        // Every program-ID question comes first, so that the preview shows
        // exactly what the download will write; the writes reuse the answers.
        std::vector<bool> answers;
        bool accepted = false;
        const SettingsImage writes = PlannedWrites(
            plan, text::kProgramId, [&] { return answers.emplace_back(ask()); }, accepted);
        if (!accepted) return stop(text::kNotAcceptedProgramId);
        if (!BackUp(backup)) {
            TellResult(text::kAbortedNothingWritten, {}, &backup, text::kDownloadStatus, false);
            return false;
        }
        if (!ConfirmChanges(backup, writes, text::kFileColumn, text::kNothingToWriteFile,
                            text::kDownloadStatus)) {
            return false;
        }
        // What the backup found the node holding is not written again.
        size_t next = 0;
        download = RunSettingsFile(
            plan, text::kProgramId, node(),
            [&] { return next < answers.size() && answers[next++]; }, &backup.held);
    }
    if (!download.accepted && download.written.empty()) return stop(text::kNotAcceptedProgramId);
    std::vector<std::string> notKept;
    const bool verify = Checked(IDC_IMPEXP_VERIFY);
    if (verify) notKept = Verify(download.written);
    WrittenResult result = ResultOfWrites(download, notKept, verify, kDownloadTexts);
    if (!download.accepted) {
        result.head = text::kRefusedPartWay;
        result.failed = true;
    }
    LogWrites(text::kDownloadAction + path, review ? &backup : nullptr, download, result.head,
              result.details);
    TellResult(result.head, result.details, review ? &backup : nullptr, text::kDownloadStatus,
               result.failed);
    return !download.written.empty();
}

bool CPage25PropPage::BackUp(Backup& backup) {
    const auto goOn = [this](const std::string& question) {
        return screen().MessageBox(question, text::kBackupTitle, MsgButtons::YesNoDefaultNo,
                                   MsgIcon::Exclamation) == MsgAnswer::Yes;
    };
    // A settings file keeps what it held until it is saved: the preview
    // needs what it holds, but no backup file.
    if (node().File() != nullptr) {
        const NodeSettings settings = ReadNodeSettings(node(), text::kBackupPass);
        backup.held = settings.values;
        backup.partial = settings.readErrors > 0;
        return true;
    }
    const std::optional<std::string> name = WholeName();
    backup.name = name;
    // A node whose name is unknown gets no guessed folder.
    if (!name && !goOn(text::kNameNotRead)) return false;
    const LocalTime now = clock().Now();
    const NodeSettings settings = ReadNodeSettings(node(), text::kBackupPass);
    backup.held = settings.values;
    backup.partial = settings.readErrors > 0;
    if (name) {
        // The header carries the whole name; a byte that would end a line
        // there is shown as "?".
        std::string header = *name;
        for (char& c : header) {
            if (static_cast<unsigned char>(c) < 0x20) c = '?';
        }
        backup.path = StoreBackup(storage_, *name, now,
                                  SettingsFileText(settings, text::kProgramId, header, now));
    }
    if (backup.partial && !goOn(NvCount(settings.readErrors) + text::kBackupIncompleteTail)) {
        return false;
    }
    return !name || backup.path || goOn(text::kBackupNotSaved);
}

bool CPage25PropPage::ConfirmChanges(const Backup& backup, const SettingsImage& writes,
                                     const char* writesColumn, const char* nothingToWrite,
                                     const char* title) {
    const std::vector<SettingsDifference> rows =
        SettingsFields(sheet()).Differences(backup.held, writes, text::kNotRead);
    if (rows.empty()) {
        TellResult(nothingToWrite, {}, &backup, title, false);
        return false;
    }
    const std::string count = FormatFixed(static_cast<double>(rows.size()), 0);
    const ReviewList list =
        DifferenceList(text::kPreviewTitle,
                       rows.size() == 1 ? text::kWriteThisHead + count + text::kChangeOne
                                        : text::kWriteTheseHead + count + text::kChangesMany,
                       text::kNodeColumn, writesColumn, rows);
    if (screen().ShowReviewList(list, ReviewButtons::YesNo) == MsgAnswer::Yes) return true;
    TellResult(title == text::kDownloadStatus ? text::kAbortedNothingWritten
                                              : text::kFactoryNothingWritten,
               {}, &backup, title, false);
    return false;
}

std::vector<std::string> CPage25PropPage::Verify(const SettingsImage& sent) {
    // Only what was sent is read back.
    const NodeSettings held = ReadNodeSettings(node(), text::kVerifyPass, &sent);
    std::vector<std::string> lines;
    for (const SettingsDifference& row :
         SettingsFields(sheet()).Differences(held.values, sent, text::kNotRead)) {
        lines.push_back(FieldName(row) + text::kSent + row.second +
                        (row.first == text::kNotRead ? std::string(text::kNotReadBackValue)
                                                     : text::kNodeHolds + row.first));
    }
    return lines;
}

void CPage25PropPage::TellResult(const std::string& head, const std::vector<std::string>& details,
                                 const Backup* backup, std::string_view title, bool failed) {
    std::string backupLine;
    if (backup != nullptr && backup->path) {
        backupLine = "\n" +
                     std::string(backup->partial ? text::kPartialBackupIn : text::kBackupIn) +
                     *backup->path;
    }
    const MsgIcon icon = failed ? MsgIcon::Exclamation : MsgIcon::None;
    if (details.size() <= kMessageLinesMax) {
        std::string message = head;
        for (const std::string& line : details) message += "\n" + line;
        Message(message + backupLine, title, icon);
        return;
    }
    // A list longer than a message box holds goes into the review window,
    // which fits any screen and scrolls.
    Message(head + "\n" + FormatFixed(static_cast<double>(details.size()), 0) +
                text::kDetailsFollowTail + backupLine,
            title, icon);
    ReviewList list{
        std::string(title.empty() ? text::kDefaultTitle : title), head, {text::kDetailsColumn}, {}};
    for (const std::string& line : details) list.rows.push_back({line});
    if (screen().ShowReviewList(list, ReviewButtons::SaveClose) == MsgAnswer::Yes) {
        SaveReport(list, Text(IDC_IMPEXP_FILENAME));
    }
}

void CPage25PropPage::SaveReport(const ReviewList& list, std::string proposed) {
    if (proposed.size() > 4 && proposed.ends_with(".txt")) proposed.resize(proposed.size() - 4);
    const char* suffix = list.title == text::kCompareTitle   ? text::kReportSuffix
                         : list.title == text::kChangesTitle ? text::kChangesReportSuffix
                                                             : text::kResultReportSuffix;
    const std::optional<std::string> report =
        screen().SaveFileDialog({proposed + suffix, text::kSettingsExtension, text::kReportFilter});
    if (report && !storage_.ReplaceFile(*report, ReportText(list))) {
        Message(text::kReportNotWritten, {}, MsgIcon::Exclamation);
    }
}

void CPage25PropPage::ShowChanges() {
    const std::optional<std::string> name = WholeName();
    if (!name) {
        Message(text::kChangesNameNotRead, text::kChangesTitle, MsgIcon::Exclamation);
        return;
    }
    const std::string path = ChangeLogPath(storage_, *name);
    const std::optional<std::string> log = storage_.ReadFile(path);
    // A log that is there but cannot be read is never shown as an empty one.
    if (!log) {
        const std::vector<std::string> names = storage_.FileNames(BackupFolder(storage_, *name));
        if (std::find(names.begin(), names.end(), text::kChangeLogFile) != names.end()) {
            Message(text::kChangeLogNotRead + path, text::kChangesTitle, MsgIcon::Exclamation);
            return;
        }
    }
    const ReviewList list = ChangeLogList(Text(IDC_IMPEXP_NODENAME), log.value_or(""));
    if (screen().ShowReviewList(list, ReviewButtons::SaveClose) == MsgAnswer::Yes) {
        SaveReport(list, DefaultFileName(Text(IDC_IMPEXP_NODENAME)));
    }
}

void CPage25PropPage::LogWrites(std::string_view action, const Backup* reviewed,
                                const DownloadResult& writes, const std::string& head,
                                const std::vector<std::string>& details) {
    if (writes.written.empty() && writes.notWritten.empty() && writes.writeErrors == 0) return;
    ChangeEntry entry;
    entry.action =
        std::string(sheet().CaptionOfPage(PageId::ImportExport)) + ": " + std::string(action);
    // Without the backup the node's earlier values are unknown: every box of
    // what was sent is listed.
    static const SettingsImage kNothingRead;
    if (reviewed != nullptr) entry.nodeName = reviewed->name;
    for (const SettingsDifference& row : SettingsFields(sheet()).Differences(
             reviewed != nullptr ? reviewed->held : kNothingRead, writes.written,
             reviewed != nullptr ? text::kNotRead : text::kLogNotRead)) {
        entry.rows.push_back({FieldName(row), row.first, row.second});
    }
    if (reviewed == nullptr) entry.notes.push_back(text::kEarlierValuesNotRead);
    entry.notes.push_back(head);
    entry.notes.insert(entry.notes.end(), details.begin(), details.end());
    sheet().LogChange(entry);
}

void CPage25PropPage::Compare() {
    const std::optional<std::string> path = screen().OpenFileDialog(SettingsFileRequest());
    if (!path) return;
    SetText(IDC_IMPEXP_FILENAME, *path);
    const std::optional<std::string> bytes = storage_.ReadFile(*path);
    if (!bytes) {
        Message(text::kFileNotFound, {}, MsgIcon::Exclamation);
        return;
    }
    // The file is checked as a download checks it, before the node is read.
    const SettingsFilePlan plan = PlanSettingsFile(*bytes);
    if (plan.badLine) {
        Message(BadLineMessage(*plan.badLine, text::kCompareNotPossible), {}, MsgIcon::Exclamation);
        return;
    }
    if (!plan.Usable()) {
        Message(text::kCompareNotPossibleHead + NotSettingsText(*path, plan.notSettings), {},
                MsgIcon::Exclamation);
        return;
    }
    // The node is read exactly as a save reads it; the factory settings take
    // no host call at all.
    const bool withNode = Checked(IDC_IMPEXP_COMPARE_NODE);
    SettingsImage other = FactoryImage();
    int readErrors = 0;
    if (withNode) {
        NodeSettings settings = ReadNodeSettings(node(), text::kComparePass);
        other = std::move(settings.values);
        readErrors = settings.readErrors;
    }
    const std::vector<SettingsDifference> rows =
        SettingsFields(sheet()).Differences(other, ImageOfPlan(plan), text::kNotRead);
    std::string heading =
        FormatFixed(static_cast<double>(rows.size()), 0) +
        (rows.size() == 1 ? text::kDifferenceBetween : text::kDifferencesBetween) + *path +
        (withNode ? text::kAndTheNode : text::kAndTheFactorySettings);
    if (readErrors > 0)
        heading += text::kNodeNotReadHead + NvCount(readErrors) + text::kNodeNotReadTail;
    if (plan.mayBeCutOff) heading += text::kMayBeCutOff;
    const ReviewList list = DifferenceList(text::kCompareTitle, heading,
                                           withNode ? text::kNodeColumn : text::kFactoryColumn,
                                           text::kFileColumn, rows);
    if (screen().ShowReviewList(list, ReviewButtons::SaveClose) != MsgAnswer::Yes) return;
    SaveReport(list, *path);
}

void CPage25PropPage::DefaultSettings() {
    if (Text(IDC_IMPEXP_PASSWORD) != text::kTechnicianPassword) {
        Message(text::kWrongPasswordFactory);
        SetText(IDC_IMPEXP_PASSWORD, "");
        return;
    }
    const bool review = Checked(IDC_IMPEXP_BACKUP_PREVIEW);
    const bool verify = Checked(IDC_IMPEXP_VERIFY);
    DownloadResult factory;
    Backup backup;
    bool go = true;
    std::vector<std::string> notKept;
    Busy(IDC_IMPEXP_FACTORY, [&] {
        if (review) {
            go = BackUp(backup);
            if (!go) {
                TellResult(text::kFactoryNothingWritten, {}, &backup, {}, false);
                return;
            }
            go = ConfirmChanges(backup, FactoryImage(), text::kFactoryColumn,
                                text::kNothingToWriteFactory, "");
            if (!go) return;
        }
        auto write = [&](const FactoryLine& line) {
            const std::string bytes = FactoryBytes(line.nv, line.part).value_or(std::string());
            const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
            if (bytes.empty() ||
                node().WriteNv(line.nv, data, static_cast<int32_t>(bytes.size())) != kHostOk) {
                NoteNotWritten(factory, line.nv, line.part);
            } else {
                factory.written[{line.nv, line.part}] = bytes;
            }
        };
        for (const FactoryLine& line : FactoryLines()) {
            // What the backup found the node holding is not written again.
            if (review && HoldsAlready(&backup.held, line.nv, line.part,
                                       FactoryBytes(line.nv, line.part).value_or(""))) {
                ++factory.alreadyEqual;
                continue;
            }
            if (line.nv != kConfigNv) {
                write(line);
                node().Wait(kFactoryWaitMs);
                continue;
            }
            screen().ShowProgress(PageId::ImportExport, text::kPartPass, line.part,
                                  kConfigPartCount);
            bool selected = true;
            if (node().ReadSelectedPart() != line.part) {
                node().Wait(kFactorySelectWaitMs);
                selected = node().WriteSelector(line.part);
                node().Wait(kFactoryWaitMs);
            }
            // The node may still show another part: never put this part's
            // factory values over it.
            if (PartShownForWrite(node(), line.part, selected, factory)) write(line);
        }
        if (!node().WriteSelector(0)) NoteNotWritten(factory, kPartSelectorNv, 0);
        if (verify) notKept = Verify(factory.written);
    });
    SetText(IDC_IMPEXP_PASSWORD, "");
    if (!go) return;
    const WrittenResult result = ResultOfWrites(factory, notKept, verify, kFactoryTexts);
    LogWrites(text::kDefaultSettingsAction, review ? &backup : nullptr, factory, result.head,
              result.details);
    // Without review or verification a complete reset of a unit is told only
    // by the request to restart, as it always was; a file needs no restart.
    if (result.failed || review || verify || node().File() != nullptr) {
        TellResult(result.head, result.details, review ? &backup : nullptr, {}, result.failed);
    }
    if (!factory.written.empty()) AskRestart();
}

}  // namespace qta1
