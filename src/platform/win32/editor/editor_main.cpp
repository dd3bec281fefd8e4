// QTA1Edit.exe, the settings editor: the QTA1 sheet over a settings file,
// with no unit connected. The technician opens a file (or makes a new one of
// the factory settings), works the pages as on a unit, and closing the sheet
// offers to save the file.
//
//   QTA1Edit.exe [--ocx MODULE] [FILE]
//     FILE          the settings file to open; without it a start window
//                   offers to open a file or make a new one
//     --ocx MODULE  the control from that module, loaded directly (it need not
//                   be registered); otherwise the registered control
//
// Exit code 0 when the sheet ran (or the start window was closed), 1 when the
// file did not open, the control could not be made or the command line is
// wrong.
// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>
// clang-format on

#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "editor_control.h"
#include "editor_site.h"
#include "platform/win32/win32_platform.h"
#include "resources/strings.h"

namespace qta1::editor {

namespace {

constexpr int kIconId = 1;
constexpr wchar_t kTitle[] = L"QTA1 settings editor";
constexpr wchar_t kUsage[] =
    L"Usage: QTA1Edit.exe [--ocx MODULE] [FILE]\n\n"
    L"Opens the settings file FILE in the QTA1 sheet; without FILE it offers to open a file "
    L"or to make a new one of the factory settings.";

struct Arguments {
    std::wstring file;
    std::wstring module;
};

std::optional<Arguments> ReadArguments() {
    int count = 0;
    const std::unique_ptr<LPWSTR, decltype(&LocalFree)> argv(
        CommandLineToArgvW(GetCommandLineW(), &count), &LocalFree);
    if (argv == nullptr) return std::nullopt;
    Arguments arguments;
    bool fileNamed = false;
    for (int i = 1; i < count; ++i) {
        const std::wstring word = argv.get()[i];
        if (word == L"--ocx" && i + 1 < count) {
            arguments.module = argv.get()[++i];
        } else if (!word.starts_with(L"--") && !fileNamed) {
            arguments.file = word;
            fileNamed = true;
        } else {
            return std::nullopt;
        }
    }
    return arguments;
}

void ShowError(const std::wstring& text) {
    MessageBoxW(nullptr, text.c_str(), kTitle, MB_OK | MB_ICONSTOP | MB_SETFOREGROUND);
}

// The core's texts are Windows-1252, but a refusal may name the file by its
// UTF-8 path: text that is valid UTF-8 is read as UTF-8 (plain ASCII reads
// the same either way), anything else as Windows-1252.
std::wstring RefusalText(const std::string& text) {
    const int size = static_cast<int>(text.size());
    if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0) > 0) {
        return WidenPath(text);
    }
    return WidenText(text);
}

enum class Start { Open, New, Close };

// The start window: what the technician wants to do when no file was named.
Start AskStart(HINSTANCE instance) {
    enum { kOpen = 100, kNew = 101, kClose = 102 };
    const TASKDIALOG_BUTTON buttons[] = {
        {kOpen, L"Open settings file...\nA file saved from a unit, or made here before."},
        {kNew, L"New from factory settings...\nA new file holding the factory settings."},
        {kClose, L"Close"},
    };
    TASKDIALOGCONFIG config{};
    config.cbSize = sizeof config;
    config.hInstance = instance;
    config.dwFlags = TDF_USE_COMMAND_LINKS | TDF_ALLOW_DIALOG_CANCELLATION;
    config.pszWindowTitle = kTitle;
    config.pszMainIcon = MAKEINTRESOURCEW(kIconId);
    config.pszMainInstruction = L"Edit a settings file with no unit connected";
    config.pszContent =
        L"The file opens in the QTA1 sheet; its pages read and write the file as they do a "
        L"unit. Closing the sheet offers to save the file.";
    config.pButtons = buttons;
    config.cButtons = static_cast<UINT>(std::size(buttons));
    config.nDefaultButton = kOpen;
    int pressed = kClose;
    if (FAILED(TaskDialogIndirect(&config, &pressed, nullptr, nullptr))) return Start::Close;
    return pressed == kOpen ? Start::Open : pressed == kNew ? Start::New : Start::Close;
}

// The open or save dialog over settings files; none when it is cancelled.
std::optional<std::wstring> AskForFile(bool forNewFile) {
    const std::wstring filter = FileDialogFilter(text::kSettingsFilter);
    std::vector<wchar_t> path(32768, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = static_cast<DWORD>(path.size());
    dialog.lpstrDefExt = L"txt";
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
    BOOL chosen = FALSE;
    if (forNewFile) {
        dialog.lpstrTitle = L"New settings file of the factory settings";
        dialog.Flags |= OFN_OVERWRITEPROMPT;
        chosen = GetSaveFileNameW(&dialog);
    } else {
        dialog.Flags |= OFN_FILEMUSTEXIST;
        chosen = GetOpenFileNameW(&dialog);
    }
    if (!chosen) return std::nullopt;
    return std::wstring(path.data());
}

// The file node to edit: the named file, or what the start window chose.
// None when the technician closed the start window (`refused` false) or the
// file did not open (`refused` true, after the box that says why).
std::unique_ptr<FileNode> ChooseNode(HINSTANCE instance, const std::wstring& named,
                                     DiskAndClock& place, bool& refused) {
    refused = false;
    std::optional<std::wstring> path;
    bool isNew = false;
    if (!named.empty()) {
        path = named;
    } else {
        // A file dialog cancelled goes back to the start window.
        while (!path) {
            const Start start = AskStart(instance);
            if (start == Start::Close) return nullptr;
            isNew = start == Start::New;
            path = AskForFile(isNew);
        }
    }
    const std::string utf8 = NarrowPath(*path);
    if (isNew) return FileNode::Factory(place, place, utf8);
    FileNode::Opened opened = FileNode::Open(place, place, utf8);
    if (!opened.node) {
        ShowError(RefusalText(opened.refusal));
        refused = true;
    }
    return std::move(opened.node);
}

int Run(HINSTANCE instance) {
    const std::optional<Arguments> arguments = ReadArguments();
    if (!arguments) {
        ShowError(kUsage);
        return 1;
    }
    DiskAndClock place;
    bool refused = false;
    const std::unique_ptr<FileNode> node = ChooseNode(instance, arguments->file, place, refused);
    if (!node) return refused ? 1 : 0;
    // The node and the site outlive the control, which holds references to
    // both while the sheet is up.
    FileSite site(*node);
    std::wstring error;
    if (!RunPropertiesVerb(&site, arguments->module, error)) {
        ShowError(error);
        return 1;
    }
    return 0;
}

}  // namespace

}  // namespace qta1::editor

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    const INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    if (FAILED(OleInitialize(nullptr))) return 1;
    const int result = qta1::editor::Run(instance);
    OleUninitialize();
    return result;
}
