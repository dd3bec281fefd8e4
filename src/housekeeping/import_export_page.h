#pragma once

#include "frame/page.h"
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
    void ReadFromFile();
    void DefaultSettings();
    // Runs `action` with the button's caption at "Please wait...".
    template <typename Action>
    void Busy(int button, Action action);
    FileDialogRequest SettingsFileRequest();
    void Message(std::string_view text, std::string_view title = {});
};

// "Save to file" proposes C:\<node name>.txt.
std::string DefaultFileName(std::string_view nodeName);

inline constexpr int kFileNameReadLength = 20;  // the name for the file name
inline constexpr int kHeaderNameReadLength = 31;  // the name for the file header
inline constexpr int kNodeNameMaxChars = 20;
inline constexpr int kFactoryWaitMs = 250;
inline constexpr int kFactorySelectWaitMs = 2000;

}  // namespace qta1
