#include "housekeeping/import_export_page.h"

#include "frame/codec.h"
#include "frame/sheet.h"
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

// "\nNot written: nciSwitchExt, nviPluginCnf part 5"
std::string NotWrittenList(const std::vector<std::string>& names) {
    std::string list;
    for (const std::string& name : names) list += (list.empty() ? "" : ", ") + name;
    return list.empty() ? list : "\n" + std::string(text::kNotWrittenList) + list;
}

// The line that stopped a download or a comparison, shown as far as a
// message box can sensibly hold it.
std::string BadLineMessage(const BadLine& bad, const char* head = text::kBadLineHead) {
    constexpr std::size_t kShownChars = 120;
    std::string text = bad.text.substr(0, kShownChars);
    for (char& c : text) {
        if (static_cast<unsigned char>(c) < 0x20) c = '?';
    }
    if (bad.text.size() > kShownChars) text += "...";
    return CountedMessage(head, bad.number, text::kBadLineTail) + "\n\"" + text + "\"";
}

// "\nBackup: <path>" under a result, when a backup was written.
std::string BackupLine(const std::optional<std::string>& backup) {
    return backup ? "\n" + std::string(text::kBackupIn) + *backup : std::string();
}

}  // namespace

std::string DefaultFileName(std::string_view nodeName) {
    return "C:\\" + std::string(nodeName) + ".txt";
}

CPage25PropPage::CPage25PropPage(CSheet& sheet)
    : CPropPage(PageId::ImportExport, sheet, kImportExportPage) {}

std::unique_ptr<CPropPage> MakeImportExportPage(CSheet& sheet) {
    return std::make_unique<CPage25PropPage>(sheet);
}

// The review choices are the technician's own, kept between sessions; both
// start checked.
void CPage25PropPage::OnInitDialog() {
    ShowNodeName();
    SetChecked(IDC_IMPEXP_BACKUP_PREVIEW, ui().UserSetting(text::kBackupSetting) != "0");
    SetChecked(IDC_IMPEXP_VERIFY, ui().UserSetting(text::kVerifySetting) != "0");
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
            // The folder is made first, so that before the first backup the
            // dialog still opens where the backups will be.
            Busy(IDC_IMPEXP_BACKUPS, [this] {
                const std::string folder = BackupFolder(ui(), Text(IDC_IMPEXP_NODENAME));
                ui().MakeFolder(folder);
                ReadFromFile(folder);
            });
            break;
        case IDC_IMPEXP_BACKUP_PREVIEW:
            ui().SetUserSetting(text::kBackupSetting, Checked(controlId) ? "1" : "0");
            break;
        case IDC_IMPEXP_VERIFY:
            ui().SetUserSetting(text::kVerifySetting, Checked(controlId) ? "1" : "0");
            break;
        default:
            break;
    }
}

template <typename Action>
void CPage25PropPage::Busy(int button, Action action) {
    const BusyButton busy = ShowBusy(button, text::kPleaseWait);
    action();
    ui().ShowProgress(PageId::ImportExport, {}, 0, 0);
}

void CPage25PropPage::Message(std::string_view message, std::string_view title) {
    ui().MessageBox(message, title, MsgButtons::Ok, MsgIcon::None);
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
    const std::optional<std::string> path = ui().SaveFileDialog(SettingsFileRequest());
    if (!path) return;
    SetText(IDC_IMPEXP_FILENAME, *path);
    if (ui().FileWritable(*path) &&
        ui().MessageBox(text::kOverwriteQuestion, text::kOverwriteTitle, MsgButtons::YesNo,
                        MsgIcon::None) != MsgAnswer::Yes) {
        Message(text::kFileNotWritten);
        return;
    }
    const std::string nodeName = NodeName();
    const SavedSettings saved = WriteSettingsFile(node(), text::kProgramId, nodeName, ui().Now());
    if (!ui().ReplaceFile(*path, saved.text)) {
        Message(text::kErrorOpeningFile);
    } else if (saved.readErrors == 0) {
        Message(text::kFileWritten);
    } else {
        Message(CountedMessage(text::kFileWrittenWithErrors, saved.readErrors, text::kReadErrors));
    }
}

void CPage25PropPage::ReadFromFile(const std::string& initialFolder) {
    if (Text(IDC_IMPEXP_PASSWORD) != text::kTechnicianPassword) {
        Message(text::kWrongPasswordDownload, text::kDownloadStatus);
        return;
    }
    FileDialogRequest request = SettingsFileRequest();
    request.initialFolder = initialFolder;
    if (const std::optional<std::string> path = ui().OpenFileDialog(request)) {
        SetText(IDC_IMPEXP_FILENAME, *path);
        // Reading is all a download needs: a read-only file downloads too.
        if (const std::optional<std::string> bytes = ui().ReadFile(*path); !bytes) {
            Message(text::kFileNotFound);
        } else {
            std::string result = text::kDownloadAborted;
            if (ui().MessageBox(text::kDownloadQuestion, text::kDownloadTitle, MsgButtons::YesNo,
                                MsgIcon::None) == MsgAnswer::Yes) {
                result = text::kDownloadNotCompleted;
                if (!bytes->empty()) result = Download(PlanSettingsFile(*bytes));
            }
            Message(result, text::kDownloadStatus);
        }
    }
    SetText(IDC_IMPEXP_PASSWORD, "");
    Message(text::kRestartPlugin);
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

std::string CPage25PropPage::Download(const SettingsFilePlan& plan) {
    if (plan.badLine) return BadLineMessage(*plan.badLine);
    const auto ask = [this] {
        return ui().MessageBox(text::kProgramIdMismatch, text::kProgramIdMismatchTitle,
                               MsgButtons::YesNo, MsgIcon::None) == MsgAnswer::Yes;
    };
    DownloadResult download;
    std::optional<std::string> backup;
    if (!Checked(IDC_IMPEXP_BACKUP_PREVIEW)) {
        download = RunSettingsFile(plan, text::kProgramId, node(), ask);
    } else {
        // Every program-ID question comes first, so that the preview shows
        // exactly what the download will write; the writes reuse the answers.
        std::vector<bool> answers;
        bool accepted = false;
        const SettingsImage writes = PlannedWrites(
            plan, text::kProgramId, [&] { return answers.emplace_back(ask()); }, accepted);
        if (!accepted) return text::kDownloadNotCompleted;
        SettingsImage held;
        if (!BackUp(held, backup) || !ConfirmChanges(held, writes, text::kFileColumn)) {
            return text::kDownloadAborted + BackupLine(backup);
        }
        size_t next = 0;
        download = RunSettingsFile(plan, text::kProgramId, node(),
                                   [&] { return next < answers.size() && answers[next++]; });
    }
    // Success is reported only when the node took every write.
    std::string result = text::kDownloadNotCompleted;
    if (download.accepted && download.writeErrors == 0) {
        result = text::kDownloadCompleted;
    } else if (download.accepted) {
        result = CountedMessage(text::kDownloadNotCompletedCount, download.writeErrors,
                                text::kWriteErrors) +
                 NotWrittenList(download.notWritten);
    }
    if (download.accepted && Checked(IDC_IMPEXP_VERIFY)) {
        const std::string verified = Verify(download.written);
        // A node that does not hold what it took has not been downloaded to.
        if (verified != text::kVerified && result == text::kDownloadCompleted) {
            result = text::kDownloadNotCompleted;
        }
        result += "\n" + verified;
    }
    return result + BackupLine(backup);
}

bool CPage25PropPage::BackUp(SettingsImage& held, std::optional<std::string>& path) {
    const std::string name = NodeName();
    const LocalTime now = ui().Now();
    const NodeSettings settings = ReadNodeSettings(node(), text::kBackupPass);
    held = settings.values;
    path = StoreBackup(ui(), name, now, SettingsFileText(settings, text::kProgramId, name, now));
    const auto goOn = [this](const std::string& question) {
        return ui().MessageBox(question, text::kBackupTitle, MsgButtons::YesNo,
                               MsgIcon::Exclamation) == MsgAnswer::Yes;
    };
    if (settings.readErrors > 0 &&
        !goOn(FormatFixed(settings.readErrors, 0) + text::kBackupIncompleteTail)) {
        return false;
    }
    return path || goOn(text::kBackupNotSaved);
}

bool CPage25PropPage::ConfirmChanges(const SettingsImage& held, const SettingsImage& writes,
                                     const char* writesColumn) {
    const std::vector<SettingsDifference> rows =
        SettingsFields(sheet()).Differences(held, writes, text::kNotRead, text::kInFile);
    const ReviewList list =
        DifferenceList(text::kPreviewTitle,
                       text::kWriteTheseHead + FormatFixed(static_cast<double>(rows.size()), 0) +
                           text::kWriteTheseTail,
                       text::kNodeColumn, writesColumn, rows);
    return ui().ShowReviewList(list, ReviewButtons::YesNo) == MsgAnswer::Yes;
}

std::string CPage25PropPage::Verify(const SettingsImage& sent) {
    const NodeSettings held = ReadNodeSettings(node(), text::kVerifyPass);
    const std::vector<SettingsDifference> rows =
        SettingsFields(sheet()).Differences(held.values, sent, text::kNotRead, text::kInFile);
    if (rows.empty()) return text::kVerified;
    std::string message = text::kNodeHoldsOtherHead;
    for (const SettingsDifference& row : rows) {
        message += "\n" + (row.tab.empty() ? std::string() : row.tab + " - ") + row.box +
                   text::kSent + row.second + text::kNodeHolds + row.first;
    }
    return message;
}

void CPage25PropPage::Compare() {
    const std::optional<std::string> path = ui().OpenFileDialog(SettingsFileRequest());
    if (!path) return;
    SetText(IDC_IMPEXP_FILENAME, *path);
    const std::optional<std::string> bytes = ui().ReadFile(*path);
    if (!bytes) {
        Message(text::kFileNotFound);
        return;
    }
    const SettingsFilePlan plan = PlanSettingsFile(*bytes);
    if (plan.badLine) {
        Message(BadLineMessage(*plan.badLine, text::kCompareNotPossible));
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
    const std::vector<SettingsDifference> rows = SettingsFields(sheet()).Differences(
        other, ImageOfPlan(plan), text::kNotRead, text::kInFile);
    std::string heading = FormatFixed(static_cast<double>(rows.size()), 0) +
                          text::kDifferencesBetween + *path +
                          (withNode ? text::kAndTheNode : text::kAndTheFactorySettings);
    if (readErrors > 0) {
        heading += text::kNodeNotReadHead + FormatFixed(readErrors, 0) + text::kNodeNotReadTail;
    }
    const ReviewList list = DifferenceList(text::kCompareTitle, heading,
                                           withNode ? text::kNodeColumn : text::kFactoryColumn,
                                           text::kFileColumn, rows);
    if (ui().ShowReviewList(list, ReviewButtons::SaveClose) != MsgAnswer::Yes) return;
    std::string proposed = *path;
    if (proposed.size() > 4 && proposed.ends_with(".txt")) proposed.resize(proposed.size() - 4);
    const std::optional<std::string> report = ui().SaveFileDialog(
        {proposed + text::kReportSuffix, text::kSettingsExtension, text::kReportFilter});
    if (report && !ui().ReplaceFile(*report, ReportText(list))) Message(text::kReportNotWritten);
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
    std::optional<std::string> backup;
    bool go = true;
    std::string verified;
    Busy(IDC_IMPEXP_FACTORY, [&] {
        if (review) {
            SettingsImage held;
            go = BackUp(held, backup) && ConfirmChanges(held, FactoryImage(), text::kFactoryColumn);
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
            if (line.nv != kConfigNv) {
                write(line);
                ui().Sleep(kFactoryWaitMs);
                continue;
            }
            ui().ShowProgress(PageId::ImportExport, text::kPartPass, line.part, kConfigPartCount);
            if (node().ReadSelectedPart() != line.part) {
                ui().Sleep(kFactorySelectWaitMs);
                const bool selected = node().WriteSelector(line.part);
                ui().Sleep(kFactoryWaitMs);
                // The node may still show another part: never put this
                // part's factory values over it.
                if (!selected) {
                    NoteNotWritten(factory, line.nv, line.part, text::kPartNotShown);
                    continue;
                }
            }
            // Nor when the part it shows carries another number.
            uint8_t shown[kNvBufferSize] = {};
            const NodeLink::PartRead read = node().ReadSelected(line.part, shown, kNvValueSize);
            if (read != NodeLink::PartRead::Ok) {
                NoteNotWritten(factory, line.nv, line.part,
                               read == NodeLink::PartRead::OtherPart ? text::kPartNotShown
                                                                     : text::kPartNotRead);
                continue;
            }
            write(line);
        }
        if (!node().WriteSelector(0)) NoteNotWritten(factory, kPartSelectorNv, 0);
        if (verify) verified = Verify(factory.written);
    });
    if (!go) {
        Message(text::kNothingWritten + BackupLine(backup));
        SetText(IDC_IMPEXP_PASSWORD, "");
        return;
    }
    const bool held = verified.empty() || verified == text::kVerified;
    std::string summary =
        factory.writeErrors > 0
            ? CountedMessage(text::kDefaultsNotCompleted, factory.writeErrors, text::kWriteErrors) +
                  NotWrittenList(factory.notWritten)
        : !held            ? std::string(text::kDefaultsNotCompletedPlain)
        : review || verify ? std::string(text::kDefaultsCompleted)
                           : std::string();
    if (!verified.empty()) summary += "\n" + verified;
    if (!summary.empty()) Message(summary + BackupLine(backup));
    Message(text::kRestartPlugin);
    SetText(IDC_IMPEXP_PASSWORD, "");
}

}  // namespace qta1
