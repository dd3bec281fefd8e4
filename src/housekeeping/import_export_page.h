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
    void ShowNodeName();
    void SaveToFile();
    // The download of a file; `initialFolder` is where its dialog opens
    // ("Backups..." opens it in the node's backup folder).
    void ReadFromFile(const std::string& initialFolder = {});
    void DefaultSettings();
    void Compare();
    // The result of a checked file's download, with the backup, the preview
    // and the verification the technician chose.
    std::string Download(const SettingsFilePlan& plan);
    // Reads the node as a save does and keeps it as a backup. False when the
    // technician, told that it is incomplete or could not be saved, would
    // rather not go on; `path` names the file when one was written.
    bool BackUp(SettingsImage& node, std::optional<std::string>& path);
    // "Write these N changes?" over the differences between the node and
    // what is about to be written.
    bool ConfirmChanges(const SettingsImage& node, const SettingsImage& writes,
                        const char* writesColumn);
    // Reads the node again and tells what it holds otherwise than `sent`.
    std::string Verify(const SettingsImage& sent);
    std::string NodeName();
    // Runs `action` with the button's caption at "Please wait...".
    template <typename Action>
    void Busy(int button, Action action);
    FileDialogRequest SettingsFileRequest();
    void Message(std::string_view text, std::string_view title = {});
};

// "Save to file" proposes C:\<node name>.txt.
std::string DefaultFileName(std::string_view nodeName);

inline constexpr int kFileNameReadLength = 20;    // the name for the file name
inline constexpr int kHeaderNameReadLength = 31;  // the name for the file header
inline constexpr int kNodeNameMaxChars = 20;
inline constexpr int kFactoryWaitMs = 250;
inline constexpr int kFactorySelectWaitMs = 2000;

}  // namespace qta1
