#include "housekeeping/import_export_page.h"

#include "frame/codec.h"
#include "frame/sheet.h"
#include "housekeeping/node_information_page.h"
#include "housekeeping/settings_file.h"
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

// The line that stopped a download, shown as far as a message box can
// sensibly hold it.
std::string BadLineMessage(const BadLine& bad) {
    constexpr std::size_t kShownChars = 120;
    std::string text = bad.text.substr(0, kShownChars);
    for (char& c : text) {
        if (static_cast<unsigned char>(c) < 0x20) c = '?';
    }
    if (bad.text.size() > kShownChars) text += "...";
    return CountedMessage(text::kBadLineHead, bad.number, text::kBadLineTail) + "\n\"" + text +
           "\"";
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

void CPage25PropPage::OnInitDialog() { ShowNodeName(); }

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
    uint8_t name[kHeaderNameReadLength] = {};
    std::string nodeName;
    if (node().ReadNodeName(name, kHeaderNameReadLength) == kHostOk) {
        nodeName = NodeNameText(name, kNodeNameMaxChars);
    }
    SetText(IDC_IMPEXP_NODENAME, nodeName);
    const SavedSettings saved = WriteSettingsFile(node(), text::kProgramId, nodeName, ui().Now());
    if (!ui().ReplaceFile(*path, saved.text)) {
        Message(text::kErrorOpeningFile);
    } else if (saved.readErrors == 0) {
        Message(text::kFileWritten);
    } else {
        Message(CountedMessage(text::kFileWrittenWithErrors, saved.readErrors, text::kReadErrors));
    }
}

void CPage25PropPage::ReadFromFile() {
    if (Text(IDC_IMPEXP_PASSWORD) != text::kTechnicianPassword) {
        Message(text::kWrongPasswordDownload, text::kDownloadStatus);
        return;
    }
    if (const std::optional<std::string> path = ui().OpenFileDialog(SettingsFileRequest())) {
        SetText(IDC_IMPEXP_FILENAME, *path);
        // Reading is all a download needs: a read-only file downloads too.
        if (const std::optional<std::string> bytes = ui().ReadFile(*path); !bytes) {
            Message(text::kFileNotFound);
        } else {
            std::string result = text::kDownloadAborted;
            if (ui().MessageBox(text::kDownloadQuestion, text::kDownloadTitle, MsgButtons::YesNo,
                                MsgIcon::None) == MsgAnswer::Yes) {
                result = text::kDownloadNotCompleted;
                if (!bytes->empty()) {
                    const DownloadResult download =
                        ReadSettingsFile(*bytes, text::kProgramId, node(), [this] {
                            return ui().MessageBox(text::kProgramIdMismatch,
                                                   text::kProgramIdMismatchTitle, MsgButtons::YesNo,
                                                   MsgIcon::None) == MsgAnswer::Yes;
                        });
                    // Success is reported only when the node took every write.
                    if (download.badLine) {
                        result = BadLineMessage(*download.badLine);
                    } else if (download.accepted && download.writeErrors == 0) {
                        result = text::kDownloadCompleted;
                    } else if (download.accepted) {
                        result = CountedMessage(text::kDownloadNotCompletedCount,
                                                download.writeErrors, text::kWriteErrors) +
                                 NotWrittenList(download.notWritten);
                    }
                }
            }
            Message(result, text::kDownloadStatus);
        }
    }
    SetText(IDC_IMPEXP_PASSWORD, "");
    Message(text::kRestartPlugin);
}

void CPage25PropPage::DefaultSettings() {
    if (Text(IDC_IMPEXP_PASSWORD) != text::kTechnicianPassword) {
        Message(text::kWrongPasswordFactory);
        SetText(IDC_IMPEXP_PASSWORD, "");
        return;
    }
    int errors = 0;
    std::vector<std::string> notWritten;
    const auto failed = [&](int nvIndex, int part) {
        ++errors;
        notWritten.push_back(SettingsNvName(nvIndex, part));
    };
    Busy(IDC_IMPEXP_FACTORY, [&] {
        auto write = [&](const FactoryLine& line) {
            const std::string bytes = FactoryBytes(line.nv, line.part).value_or(std::string());
            const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
            if (bytes.empty() ||
                node().WriteNv(line.nv, data, static_cast<int32_t>(bytes.size())) != kHostOk) {
                failed(line.nv, line.part);
            }
        };
        for (const FactoryLine& line : FactoryLines()) {
            if (line.nv != kConfigNv) {
                write(line);
                ui().Sleep(kFactoryWaitMs);
                continue;
            }
            ui().ShowProgress(PageId::ImportExport, "Part", line.part, kConfigPartCount);
            if (node().ReadSelectedPart() != line.part) {
                ui().Sleep(kFactorySelectWaitMs);
                const bool selected = node().WriteSelector(line.part);
                ui().Sleep(kFactoryWaitMs);
                // The node may still show another part: never put this
                // part's factory values over it.
                if (!selected) {
                    failed(line.nv, line.part);
                    continue;
                }
            }
            write(line);
        }
        if (!node().WriteSelector(0)) failed(kPartSelectorNv, 0);
    });
    if (errors > 0) {
        Message(CountedMessage(text::kDefaultsNotCompleted, errors, text::kWriteErrors) +
                NotWrittenList(notWritten));
    }
    Message(text::kRestartPlugin);
    SetText(IDC_IMPEXP_PASSWORD, "");
}

}  // namespace qta1
