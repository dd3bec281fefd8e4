#pragma once

#include <optional>
#include <string>

#include "frame/page.h"
#include "housekeeping/settings_file.h"
#include "resources/page_ids.h"
#include "resources/resource_ids.h"

namespace qta1 {

// Saves the node's settings to a file, downloads a file into the node and
// restores the factory settings. The three actions block the sheet for their
// whole length; the pressed button reads "Please wait..." meanwhile.
class CPage25PropPage final : public CPropPage {
public:
    explicit CPage25PropPage(CSheet& sheet);

    void OnInitDialog() override;
    void OnPageShown() override {}

protected:
    void OnControlClicked(int controlId) override;

private:
    // The only page that keeps files and choices of the technician's.
    Storage& storage_;

    // A backup before a download or "Default settings": what the node holds,
    // and where it was kept.
    struct Backup {
        SettingsImage held;
        std::optional<std::string> path;  // none: no file was written
        bool partial = false;             // some NVs could not be read
        std::optional<std::string> name;  // the node's whole name, when it was read
    };
    void ShowNodeName();
    void AskRestart();
    void SaveToFile();
    // The download of a file; `initialFolder` is where its dialog opens
    // ("Backups..." opens it in the node's backup folder, proposing no name).
    void ReadFromFile(const std::string& initialFolder = {});
    void OpenBackups();
    void DefaultSettings();
    void Compare();
    // The download of a checked file, with the backup, the preview and the
    // verification the technician chose; true when anything was written.
    bool Download(const SettingsFilePlan& plan, const std::string& path);
    // Reads the node as a save does and keeps it as a backup. False when the
    // technician, told that the backup is partial or could not be saved (or
    // that the node's name, and so its folder, is unknown), would rather not
    // go on.
    bool BackUp(Backup& backup);
    // The preview of what is about to be written: true when the technician
    // answers Yes. With nothing to write it says so and answers false.
    bool ConfirmChanges(const Backup& backup, const SettingsImage& writes, const char* writesColumn,
                        const char* nothingToWrite, const char* title);
    // Reads the node again: one line per value it holds otherwise than `sent`.
    std::vector<std::string> Verify(const SettingsImage& sent);
    // Tells the result of a download or of "Default settings": `head`, then
    // `details` one per line (in the review window when there are more than
    // a message box holds), then the backup's line; with the warning icon
    // when something went wrong.
    void TellResult(const std::string& head, const std::vector<std::string>& details,
                    const Backup* backup, std::string_view title, bool failed);
    std::string NodeName();
    // The node's whole name, read at the longest length; none when the read
    // failed. "Nodename :" shows it as the file header would.
    std::optional<std::string> WholeName();
    // Runs `action` with the button's caption at "Please wait...".
    template <typename Action>
    void Busy(int button, Action action);
    FileDialogRequest SettingsFileRequest();
    void Message(std::string_view text, std::string_view title = {}, MsgIcon icon = MsgIcon::None);
    void SaveReport(const ReviewList& list, std::string proposed);
    // "Changes...": the node's change log, newest first.
    void ShowChanges();
    // The change log's entry of a download or of "Default settings": with a
    // backup, each box whose bytes the writes changed; then what the
    // technician is told.
    void LogWrites(std::string_view action, const Backup* reviewed, const DownloadResult& writes,
                   const std::string& head, const std::vector<std::string>& details);
};

// "Save to file" proposes C:\<node name>.txt.
std::string DefaultFileName(std::string_view nodeName);

inline constexpr int kFileNameReadLength = 20;    // the name for the file name
inline constexpr int kHeaderNameReadLength = 31;  // the name for the file header
inline constexpr int kNodeNameMaxChars = 20;
inline constexpr int kFactoryWaitMs = 250;
inline constexpr int kFactorySelectWaitMs = 2000;
// A result with more lines than this shows them in the review window.
inline constexpr size_t kMessageLinesMax = 8;

}  // namespace qta1
