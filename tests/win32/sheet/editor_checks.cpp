// The settings editor (QTA1Edit.exe, copied beside this program) as a
// technician uses it, driven from outside its process by window messages
// only: the sheet found by its caption, its tabs, boxes and buttons, and the
// boxes it asks with. A file edited and saved holds exactly the value
// written, in exactly one changed line; a file that does not open is refused
// with the reason and exit code 1, and stays as it was.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <algorithm>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "check_support.h"
#include "housekeeping/file_node.h"
#include "housekeeping/settings_file.h"
#include "node/nv_catalogue.h"
#include "platform/headless/trace.h"
#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_platform.h"
#include "resources/page_ids.h"
#include "resources/page_table.h"
#include "resources/resource_ids.h"
#include "resources/strings.h"
#include "sheet_checks.h"

namespace qta1::host {

namespace {

#define QTA1_AS_PAGE_ID(id) PageId::id,
constexpr PageId kUserSet[] = {QTA1_USER_SET(QTA1_AS_PAGE_ID)};
constexpr PageId kTechnicianSet[] = {QTA1_TECHNICIAN_SET(QTA1_AS_PAGE_ID)};
#undef QTA1_AS_PAGE_ID

constexpr DWORD kWindowWaitMs = 20000;
constexpr DWORD kSendWaitMs = 10000;
constexpr wchar_t kFileName[] = L"AHU 3.txt";

std::wstring ProgramFolder() {
    std::wstring path(MAX_PATH, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), MAX_PATH));
    return path.substr(0, path.find_last_of(L'\\'));
}

// A scratch folder on C: (the temporary folder), as a technician's files are.
std::wstring ScratchFolder() {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    std::wstring folder = std::wstring(temp) + L"qta1-editor-checks";
    RemoveTree(folder);
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

// The file a new file of the factory settings is, as the editor saves it.
std::string FactoryFileText() {
    return SettingsFileText({FactoryImage(), 0}, text::kProgramId, "AHU 3",
                            LocalTime{2026, 12, 7, 9, 0, 0, 1});
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        lines.push_back(text.substr(start, end - start));
    }
    lines.push_back(text.substr(start));
    return lines;
}

// A dialog window (class "#32770": the sheet, a message box) of a process,
// by its caption and, when `text` is given, the text it shows.
struct DialogSearch {
    DWORD process;
    const std::wstring& caption;
    const std::string* text;
    HWND found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM param) {
    auto& s = *reinterpret_cast<DialogSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t name[16] = {};
    GetClassNameW(window, name, static_cast<int>(std::size(name)));
    if (owner != s.process || !IsWindowVisible(window) || lstrcmpW(name, L"#32770") != 0 ||
        WindowText(window) != s.caption || (s.text != nullptr && BoxText(window) != *s.text)) {
        return TRUE;
    }
    s.found = window;
    return FALSE;
}

// The editor, started with the checks' module and a file.
class Editor {
public:
    Editor(const std::wstring& file) {
        std::wstring command = L"\"" + ProgramFolder() + L"\\QTA1Edit.exe\" --ocx \"" +
                               ProgramFolder() + L"\\QTA1.OCX\" \"" + file + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        started_ = CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                  nullptr, &startup, &process_) != FALSE;
        if (started_) CloseHandle(process_.hThread);
    }
    ~Editor() {
        if (!started_) return;
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_.hProcess, 99);
            WaitForSingleObject(process_.hProcess, kSendWaitMs);
        }
        CloseHandle(process_.hProcess);
    }
    Editor(const Editor&) = delete;
    Editor& operator=(const Editor&) = delete;

    bool Started() const { return started_; }
    bool Running() const { return WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT; }

    // A visible dialog window of the editor's whose caption is `caption`
    // and whose text (a message box's) is `text` when that is given; null
    // when none comes within the wait or the editor ends first.
    HWND WaitForDialog(const std::wstring& caption, const std::string* text = nullptr) const {
        const DWORD until = GetTickCount() + kWindowWaitMs;
        while (static_cast<LONG>(until - GetTickCount()) > 0 && Running()) {
            DialogSearch search{process_.dwProcessId, caption, text, nullptr};
            EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&search));
            if (search.found != nullptr) return search.found;
            Sleep(50);
        }
        return nullptr;
    }

    // The editor's exit code once it has ended (within `waitMs`), or none
    // when it goes on.
    std::optional<DWORD> ExitCode(DWORD waitMs = kWindowWaitMs) const {
        if (WaitForSingleObject(process_.hProcess, waitMs) != WAIT_OBJECT_0) return {};
        DWORD code = 0;
        GetExitCodeProcess(process_.hProcess, &code);
        return code;
    }

private:
    PROCESS_INFORMATION process_{};
    bool started_ = false;
};

// A message to a window of the editor's, answered before going on.
bool SendTo(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, kSendWaitMs,
                               &result) != 0;
}

// An edit box's text: asked of the box itself (GetWindowText does not ask a
// window of another process).
std::wstring BoxContents(HWND box) {
    wchar_t text[256] = {};
    SendMessageTimeoutW(box, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text),
                        SMTO_NORMAL, kSendWaitMs, nullptr);
    return text;
}

// The editor paints in its own process and its pictures reach the screen
// after it: a picture is taken once it has answered and had time to show
// what it painted.
void LetPaint(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_FRAME);
    SendTo(window, WM_NULL, 0, 0);
    Sleep(1000);
}

int TabCount(HWND sheet) {
    DWORD_PTR tabs = 0, count = 0;
    if (!SendMessageTimeoutW(sheet, PSM_GETTABCONTROL, 0, 0, SMTO_NORMAL, kSendWaitMs, &tabs) ||
        !SendMessageTimeoutW(reinterpret_cast<HWND>(tabs), TCM_GETITEMCOUNT, 0, 0, SMTO_NORMAL,
                             kSendWaitMs, &count)) {
        return -1;
    }
    return static_cast<int>(count);
}

bool WaitForTabs(HWND sheet, int count) {
    const DWORD until = GetTickCount() + kWindowWaitMs;
    while (TabCount(sheet) != count) {
        if (static_cast<LONG>(until - GetTickCount()) <= 0) return false;
        Sleep(50);
    }
    return true;
}

HWND CurrentPage(HWND sheet) {
    DWORD_PTR page = 0;
    SendMessageTimeoutW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0, SMTO_NORMAL, kSendWaitMs, &page);
    return reinterpret_cast<HWND>(page);
}

// The technician set's PID page in front, as a technician reaches it: the
// sheet first switches to the user set by itself, then "Technician".
HWND ShowPid(HWND sheet, checks::Case& expect) {
    const int userTabs = 1 + static_cast<int>(std::size(kUserSet));
    const int technicianTabs = 1 + static_cast<int>(std::size(kTechnicianSet));
    if (!expect(WaitForTabs(sheet, userTabs), "the sheet did not switch to the user set")) {
        return nullptr;
    }
    HWND technician = GetDlgItem(CurrentPage(sheet), IDC_NODEINFO_TECHNICIAN);
    expect(SendTo(technician, BM_CLICK, 0, 0), "\"Technician\" was not pressed");
    if (!expect(WaitForTabs(sheet, technicianTabs), "the technician set is not shown")) {
        return nullptr;
    }
    const auto pid = std::find(std::begin(kTechnicianSet), std::end(kTechnicianSet), PageId::Pid);
    SendTo(sheet, PSM_SETCURSEL, 1 + (pid - std::begin(kTechnicianSet)), 0);
    HWND page = CurrentPage(sheet);
    expect(GetDlgItem(page, IDC_PID_HEAT_P) != nullptr, "the PID page is not in front");
    return page;
}

void Click(HWND page, int control, checks::Case& expect, const char* what) {
    expect(SendTo(GetDlgItem(page, control), BM_CLICK, 0, 0),
           std::string(what) + " did not end within the wait (a message box?)");
}

void Type(HWND page, int control, const wchar_t* text) {
    SendTo(GetDlgItem(page, control), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

// P of "Heat (Mv1)" set to 3.3 and written, "Exit", the question answered
// Yes; the editor ends with 0. With `pictures`, the sheet and the question
// are saved there as editor.bmp and editor-close.bmp.
void EditAndSave(const std::wstring& file, const std::wstring* pictures, checks::Case& expect) {
    Editor editor(file);
    if (!expect(editor.Started(), "QTA1Edit.exe did not start")) return;
    const std::wstring caption =
        WidenText(text::kSheetCaption + std::string(text::kFileCaptionHead) +
                  NarrowText(kFileName) + text::kFileCaptionTail);
    HWND sheet = editor.WaitForDialog(caption);
    if (!expect(sheet != nullptr, "no sheet captioned " + NarrowText(caption))) return;
    HWND page = ShowPid(sheet, expect);
    if (page == nullptr) return;
    Type(page, IDC_PID_HEAT_P, L"3.3");
    Type(page, IDC_PID_PASSWORD, L"Tarvel");
    Click(page, IDC_PID_WRITE, expect, "Write");
    const std::wstring shown = BoxContents(GetDlgItem(page, IDC_PID_HEAT_P));
    expect(shown == L"3.3", "P shows \"" + NarrowText(shown) + "\" after the Write");
    if (pictures != nullptr) {
        LetPaint(sheet);
        expect(SaveWindowPicture(sheet, *pictures + L"\\editor.bmp"), "no picture of the sheet");
    }
    // Posted: the question is modal, and is answered from here.
    PostMessageW(GetDlgItem(sheet, IDOK), BM_CLICK, 0, 0);
    const std::string question =
        text::kSaveChangesHead + NarrowText(kFileName) + text::kSaveChangesTail;
    HWND box = editor.WaitForDialog(WidenText(text::kDefaultTitle), &question);
    if (!expect(box != nullptr, "no question \"" + question + "\"")) return;
    if (pictures != nullptr) {
        LetPaint(box);
        expect(SaveWindowsPicture({sheet, box}, *pictures + L"\\editor-close.bmp"),
               "no picture of the question");
    }
    PostMessageW(GetDlgItem(box, IDYES), BM_CLICK, 0, 0);
    const std::optional<DWORD> code = editor.ExitCode();
    expect(code == 0u, code ? "the editor ended with " + std::to_string(*code)
                            : std::string("the editor did not end"));
}

void CheckSavedEdit(const std::wstring& folder) {
    checks::Case expect("the editor over " + NarrowText(kFileName) +
                        ": P 3.3 written, saved on Exit, exit code 0, one data line changed");
    const std::wstring file = folder + L"\\" + kFileName;
    const std::string original = FactoryFileText();
    if (!expect(ReplaceWholeFile(NarrowPath(file), original), "the file was not written")) return;
    EditAndSave(file, nullptr, expect);

    const std::optional<std::string> saved = ReadWholeFile(NarrowPath(file));
    if (!expect(saved.has_value(), "the file is gone")) return;
    const SettingsFilePlan plan = PlanSettingsFile(*saved);
    if (!expect(plan.Usable(), "the saved file is no usable settings file")) return;
    // The factory image with P of the heating loop (part 8, bytes 1-2) at
    // 3.3, as the Write sent it.
    SettingsImage wanted = FactoryImage();
    std::string& part8 = wanted[{kConfigNv, 8}];
    part8[1] = 0x00;
    part8[2] = 0x21;
    const SettingsImage image = ImageOfPlan(plan);
    expect(image.at({kConfigNv, 8}) == part8, "part 8 holds other bytes");
    expect(image == wanted, "the file's settings differ elsewhere too");
    const std::vector<std::string> before = Lines(original);
    const std::vector<std::string> after = Lines(*saved);
    int changed = 0;
    for (size_t i = 0; i < std::min(before.size(), after.size()); ++i) {
        if (before[i] != after[i]) ++changed;
    }
    expect(before.size() == after.size() && changed == 1,
           "lines " + std::to_string(before.size()) + " -> " + std::to_string(after.size()) + ", " +
               std::to_string(changed) + " changed");
}

// Files that do not open: the refusal the core words, in the editor's box,
// and nothing written.
struct RefusedCase {
    const char* what;
    // The file's bytes from the factory file's; none: no file at all.
    std::optional<std::string> (*bytes)(const std::string& factory);
};

constexpr RefusedCase kRefusedCases[] = {
    {"a file with a bad data line",
     [](const std::string& factory) -> std::optional<std::string> {
         std::string bytes = factory;
         const size_t at = bytes.find("\r\n255\r\n");
         if (at != std::string::npos) bytes.replace(at + 2, 3, "two hundred");
         return bytes;
     }},
    {"an empty file", [](const std::string&) -> std::optional<std::string> { return ""; }},
    {"a file that is not there",
     [](const std::string&) -> std::optional<std::string> { return std::nullopt; }},
};

void CheckRefusedFile(const std::wstring& folder, const RefusedCase& c) {
    checks::Case expect(std::string("the editor over ") + c.what +
                        ": the refusal in a box, exit code 1, the file kept");
    const std::wstring file = folder + L"\\" + kFileName;
    DeleteFileW(file.c_str());
    const std::optional<std::string> bytes = c.bytes(FactoryFileText());
    if (bytes && !expect(ReplaceWholeFile(NarrowPath(file), *bytes), "the file was not written")) {
        return;
    }
    // What the core refuses the file with.
    std::string refusal = NarrowPath(file) + text::kFileNotReadable;
    if (bytes) {
        const SettingsFilePlan plan = PlanSettingsFile(*bytes);
        expect(!plan.Usable(), "the file would open");
        refusal = plan.badLine
                      ? BadLineMessage(*plan.badLine, text::kNotOpenedLineHead)
                      : text::kNotOpenedHead + NotSettingsText(NarrowPath(file), plan.notSettings);
    }
    Editor editor(file);
    if (!expect(editor.Started(), "QTA1Edit.exe did not start")) return;
    HWND box = editor.WaitForDialog(L"QTA1 settings editor", &refusal);
    const bool refused = expect(box != nullptr, "no box saying " + QuoteText(refusal));
    if (refused) PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    // Without the box answered the editor is not waited for again.
    const std::optional<DWORD> code = editor.ExitCode(refused ? kWindowWaitMs : 0);
    expect(code == 1u, code ? "the editor ended with " + std::to_string(*code)
                            : std::string("the editor did not end"));
    expect(ReadWholeFile(NarrowPath(file)) == bytes, "the file changed");
}

}  // namespace

int CheckEditor(const std::wstring&) {
    const std::wstring folder = ScratchFolder();
    CheckSavedEdit(folder);
    for (const RefusedCase& c : kRefusedCases) CheckRefusedFile(folder, c);
    RemoveTree(folder);
    return checks::Summary() == 0 ? 0 : 2;
}

int EditorPictures(const std::wstring& pictures) {
    const std::wstring folder = ScratchFolder();
    const std::wstring file = folder + L"\\" + kFileName;
    checks::Case expect("pictures of the editor");
    if (expect(ReplaceWholeFile(NarrowPath(file), FactoryFileText()), "the file was not written")) {
        EditAndSave(file, &pictures, expect);
    }
    expect.End();
    RemoveTree(folder);
    return checks::Summary() == 0 ? 0 : 2;
}

}  // namespace qta1::host
