// The review window as a technician meets it: everything inside the window
// with its text whole however large or small it is made, the list showing
// exactly the rows it was given, the buttons answering as they say (Enter,
// Esc and the close box included), Ctrl+C copying rows, the sheet disabled
// while the window is up, visual styles and accessible names.
// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <oleacc.h>
// clang-format on

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <memory>
#include <vector>

#include "check_support.h"
#include "node/nv_catalogue.h"
#include "platform/trace_lines.h"
#include "resources/strings.h"
#include "sheet_checks.h"

namespace qta1::host {

namespace {

using win32::kReviewHeadingId;
using win32::kReviewListId;

constexpr UINT_PTR kStuckTimerId = 0x7A01;
constexpr UINT kStuckMs = 3000;
// A cell's text keeps this much room either side, in pixels at 96 DPI.
constexpr int kCellMarginPixels = 6;

// A caption as assistive technology names it: without its "&".
std::wstring WithoutMnemonic(std::wstring text) {
    std::erase(text, L'&');
    return text;
}

std::vector<HWND> Buttons(HWND window) {
    std::vector<HWND> buttons;
    for (int id : {IDYES, IDNO, IDCANCEL}) {
        if (HWND button = GetDlgItem(window, id)) buttons.push_back(button);
    }
    return buttons;
}

std::string Named(HWND control) {
    if (GetDlgCtrlID(control) == kReviewListId) return "the list";
    if (GetDlgCtrlID(control) == kReviewHeadingId) return "the heading";
    return "the button " + QuoteText(NarrowText(WithoutMnemonic(WindowText(control))));
}

int TextWidth(HWND list, const std::wstring& text) {
    return static_cast<int>(
        SendMessageW(list, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(text.c_str())));
}

// Every part inside the window and apart from the others, with its text
// whole: the heading's lines, the buttons' captions, every column as wide
// as its head and its widest text.
void CheckFits(HWND window, const std::string& where, checks::Case& expect) {
    const auto fail = [&](const std::string& what) { expect.Fail(where + what); };
    HWND heading = GetDlgItem(window, kReviewHeadingId);
    HWND list = GetDlgItem(window, kReviewListId);
    const std::vector<HWND> buttons = Buttons(window);
    if (heading == nullptr || list == nullptr || buttons.size() != 2) {
        fail("the heading, the list or a button is missing");
        return;
    }
    RECT client{};
    GetClientRect(window, &client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    std::vector<HWND> parts{heading, list};
    parts.insert(parts.end(), buttons.begin(), buttons.end());
    for (HWND part : parts) {
        if (!Inside(ScreenRect(part), client)) {
            fail(Named(part) + " lies outside the window (" + RectText(ScreenRect(part)) +
                 " beyond " + RectText(client) + ")");
        }
    }
    if (ScreenRect(heading).bottom > ScreenRect(list).top) fail("the heading runs into the list");
    for (HWND button : buttons) {
        if (ScreenRect(button).top < ScreenRect(list).bottom) {
            fail(Named(button) + " runs into the list");
        }
    }
    RECT overlap{};
    const RECT first = ScreenRect(buttons[0]);
    const RECT second = ScreenRect(buttons[1]);
    if (IntersectRect(&overlap, &first, &second)) fail("the buttons overlap");

    // The heading's lines, wrapped as the static wraps them.
    {
        RECT inside{};
        GetClientRect(heading, &inside);
        const std::wstring text = WindowText(heading);
        win32::WindowDc dc(heading);
        win32::Selection font(dc.Get(),
                              reinterpret_cast<HFONT>(SendMessageW(heading, WM_GETFONT, 0, 0)));
        RECT needed{0, 0, inside.right, 0};
        DrawTextW(dc.Get(), text.c_str(), static_cast<int>(text.size()), &needed,
                  DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_EXPANDTABS | DT_NOPREFIX);
        // Too tall for the room it has, it scrolls.
        const bool scrolls = (GetWindowLongW(heading, GWL_STYLE) & WS_VSCROLL) != 0;
        if ((needed.bottom > inside.bottom && !scrolls) || needed.right > inside.right) {
            fail("the heading needs " + std::to_string(needed.right) + " x " +
                 std::to_string(needed.bottom) + " pixels, has " + std::to_string(inside.right) +
                 " x " + std::to_string(inside.bottom));
        }
    }
    for (HWND button : buttons) {
        SIZE ideal{};
        RECT inside{};
        GetClientRect(button, &inside);
        if (Button_GetIdealSize(button, &ideal) && ideal.cx > inside.right) {
            fail(Named(button) + " needs " + std::to_string(ideal.cx) + " pixels, has " +
                 std::to_string(inside.right));
        }
    }
    // Every column as wide as its widest text and the margins either side.
    const ReviewList shown = ReadReviewWindow(window);
    int dpi = 96;
    if (win32::WindowDc dc(list); dc) dpi = GetDeviceCaps(dc.Get(), LOGPIXELSX);
    const int margins = 2 * MulDiv(kCellMarginPixels, dpi, 96);
    for (size_t c = 0; c < shown.columns.size(); ++c) {
        const int width = ListView_GetColumnWidth(list, static_cast<int>(c));
        int widest = TextWidth(list, WidenText(shown.columns[c]));
        std::string widestText = shown.columns[c];
        for (const auto& row : shown.rows) {
            const int cell = TextWidth(list, WidenText(row[c]));
            if (cell > widest) {
                widest = cell;
                widestText = row[c];
            }
        }
        if (widest + margins > width) {
            fail("the column " + QuoteText(shown.columns[c]) + " is " + std::to_string(width) +
                 " pixels wide, " + QuoteText(widestText) + " needs " +
                 std::to_string(widest + margins));
        }
    }
    // The column heads and at least a few rows in sight.
    const int rowsInSight = ListView_GetCountPerPage(list);
    const int wanted = std::min<int>(3, static_cast<int>(shown.rows.size()));
    if (rowsInSight < wanted) {
        fail("the list shows " + std::to_string(rowsInSight) + " rows, fewer than " +
             std::to_string(wanted));
    }
}

}  // namespace

// The window as it opened, made as small as it goes, and made larger: it
// fits each time, it cannot be made smaller than that, and a larger list
// gives its last column the room.
void CheckReviewWindow(HWND window, const std::string& where, checks::Case& expect) {
    CheckFits(window, where + "as opened: ", expect);
    const RECT opened = ScreenRect(window);
    // On the screen as it opens, title and buttons included, and a list
    // longer than it shows scrolls to its last row.
    {
        const std::string opening = where + "as opened: ";
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
        expect(Inside(opened, monitor.rcWork), opening + "the window (" + RectText(opened) +
                                                   ") is not inside the screen's work area " +
                                                   RectText(monitor.rcWork));
        for (HWND button : Buttons(window)) {
            expect((GetWindowLongW(button, GWL_STYLE) & WS_VISIBLE) != 0 &&
                       Inside(ScreenRect(button), monitor.rcWork),
                   opening + Named(button) + " is not on the screen");
        }
        HWND list = GetDlgItem(window, kReviewListId);
        const int rows = ListView_GetItemCount(list);
        if (rows > ListView_GetCountPerPage(list)) {
            expect((GetWindowLongW(list, GWL_STYLE) & WS_VSCROLL) != 0,
                   opening + "the list shows " + std::to_string(ListView_GetCountPerPage(list)) +
                       " of " + std::to_string(rows) + " rows and has no scroll bar");
            ListView_EnsureVisible(list, rows - 1, FALSE);
            RECT last{};
            RECT inside{};
            GetClientRect(list, &inside);
            expect(ListView_GetItemRect(list, rows - 1, &last, LVIR_BOUNDS) &&
                       last.bottom <= inside.bottom && last.top >= 0,
                   opening + "the list does not scroll to its last row");
            ListView_EnsureVisible(list, 0, FALSE);
        }
    }
    const int width = opened.right - opened.left;
    const int height = opened.bottom - opened.top;
    SetWindowPos(window, nullptr, 0, 0, 1, 1, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const RECT smallest = ScreenRect(window);
    expect(smallest.right - smallest.left > 1 && smallest.bottom - smallest.top > 1,
           where + "the window can be made as small as " + RectText(smallest));
    CheckFits(window, where + "made as small as it goes: ", expect);
    SetWindowPos(window, nullptr, 0, 0, width * 3 / 2, height * 3 / 2,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    CheckFits(window, where + "made larger: ", expect);
    HWND list = GetDlgItem(window, kReviewListId);
    RECT inside{};
    GetClientRect(list, &inside);
    int columns = 0;
    const int count = Header_GetItemCount(ListView_GetHeader(list));
    for (int c = 0; c < count; ++c) columns += ListView_GetColumnWidth(list, c);
    expect(count <= 0 || columns >= inside.right, where + "made larger, the columns leave " +
                                                      std::to_string(inside.right - columns) +
                                                      " pixels of the list empty");
    SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

namespace {

// --- The behaviour, from the host's own build of the window -----------------

enum class Act { PressYes, PressNo, Enter, Escape, CloseBox, CopySelected, CopyNone, CopyAll };

struct ReviewCase {
    const char* what;
    ReviewList list;
    ReviewButtons buttons;
    Act act;
    MsgAnswer expected;
    // Ctrl+C: the rows selected first, and the text the clipboard then holds.
    std::vector<int> selected = {};
    const wchar_t* copied = nullptr;
};

ReviewList ThreeDifferences() {
    return {"Compare",
            "C:\\QTA1 Sim.txt differs from the node in 3 boxes:",
            {"Tab", "Label (group)", "Node", "File"},
            {{"PID", "P (Heat (Mv1))", "2.5", "2.6"},
             {"Temperatures", "Set point (Comfort)",
              "21.0 \xB0"
              "C",
              "22.5 \xB0"
              "C"},
             {"Calender", "Monday (Period 1)", "7:00", "6:30"}}};
}

ReviewList Changes() {
    return {"Download",
            "Write these 2 changes?",
            {"Tab", "Label (group)", "Now", "Written"},
            {{"PID", "P (Heat (Mv1))", "2.5", "2.6"}, {"PID", "I (Heat (Mv1))", "100", "120"}}};
}

ReviewList ManyRows() {
    ReviewList list{"Compare", "Differences:", {"Tab", "Label (group)", "Factory", "File"}, {}};
    for (int i = 0; i < 300; ++i) {
        list.rows.push_back({"NV " + std::to_string(i), "Byte " + std::to_string(i % 31),
                             std::to_string(i), std::to_string(i + 1)});
    }
    return list;
}

ReviewList LongTexts() {
    ReviewList list{"Compare",
                    std::string(600, 'h') + "\nA second line.",
                    {"Tab", "Label (group)", "Node", "File"},
                    {}};
    list.rows.push_back({"Config HVAC", std::string(180, 'w'), "1", "2"});
    list.rows.push_back({"only a tab"});  // fewer cells than columns
    return list;
}

ReviewList NoRows() { return {"Compare", "No differences.", {"Tab", "Label (group)"}, {}}; }

// "Default settings" with 28 values the node did not keep: a short message
// above the rows, instead of a box taller than the screen.
ReviewList NotKept() {
    ReviewList list{"Default settings",
                    "Default settings not completed: the node did not keep 28 values.",
                    {"Tab", "Label (group)", "Sent", "Node holds"},
                    {}};
    for (int i = 0; i < 28; ++i) {
        list.rows.push_back({"Temperatures", "Offset (Sensor " + std::to_string(i + 1) + ")", "0.0",
                             std::to_string(i) + ".5"});
    }
    return list;
}

// A heading of many lines: the window still fits the screen.
ReviewList TallHeading() {
    std::string heading = "Not everything was written to the node:";
    for (int i = 0; i < 70; ++i) heading += "\nLine " + std::to_string(i + 1);
    return {"Download", heading, {"Tab", "Label (group)"}, {{"PID", "P (Heat (Mv1))"}}};
}

std::vector<ReviewCase> Cases() {
    return {
        {"Save report...", ThreeDifferences(), ReviewButtons::SaveClose, Act::PressYes,
         MsgAnswer::Yes},
        {"Close", ThreeDifferences(), ReviewButtons::SaveClose, Act::PressNo, MsgAnswer::No},
        {"Enter on a report", ThreeDifferences(), ReviewButtons::SaveClose, Act::Enter,
         MsgAnswer::No},
        {"Esc on a report", ThreeDifferences(), ReviewButtons::SaveClose, Act::Escape,
         MsgAnswer::No},
        {"the close box of a report", ThreeDifferences(), ReviewButtons::SaveClose, Act::CloseBox,
         MsgAnswer::No},
        {"Yes", Changes(), ReviewButtons::YesNo, Act::PressYes, MsgAnswer::Yes},
        {"No", Changes(), ReviewButtons::YesNo, Act::PressNo, MsgAnswer::No},
        {"Enter on a question", Changes(), ReviewButtons::YesNo, Act::Enter, MsgAnswer::No},
        {"Esc on a question", Changes(), ReviewButtons::YesNo, Act::Escape, MsgAnswer::No},
        {"the close box of a question", Changes(), ReviewButtons::YesNo, Act::CloseBox,
         MsgAnswer::No},
        {"Ctrl+C with rows selected",
         ThreeDifferences(),
         ReviewButtons::SaveClose,
         Act::CopySelected,
         MsgAnswer::No,
         {0, 2},
         L"PID\tP (Heat (Mv1))\t2.5\t2.6\r\nCalender\tMonday (Period 1)\t7:00\t6:30\r\n"},
        {"Ctrl+C with none selected",
         Changes(),
         ReviewButtons::YesNo,
         Act::CopyNone,
         MsgAnswer::No,
         {},
         L"Tab\tLabel (group)\tNow\tWritten\r\nPID\tP (Heat (Mv1))\t2.5\t2.6\r\n"
         L"PID\tI (Heat (Mv1))\t100\t120\r\n"},
        {"Ctrl+A, Ctrl+C",
         Changes(),
         ReviewButtons::YesNo,
         Act::CopyAll,
         MsgAnswer::No,
         {},
         L"PID\tP (Heat (Mv1))\t2.5\t2.6\r\nPID\tI (Heat (Mv1))\t100\t120\r\n"},
        {"300 rows", ManyRows(), ReviewButtons::SaveClose, Act::PressNo, MsgAnswer::No},
        {"long texts", LongTexts(), ReviewButtons::SaveClose, Act::PressNo, MsgAnswer::No},
        {"no rows", NoRows(), ReviewButtons::SaveClose, Act::PressNo, MsgAnswer::No},
        {"28 values not kept", NotKept(), ReviewButtons::SaveClose, Act::PressNo, MsgAnswer::No},
        {"a heading of 71 lines", TallHeading(), ReviewButtons::SaveClose, Act::PressNo,
         MsgAnswer::No},
    };
}

// Presses a key on the focused control with Ctrl held, as the keyboard would.
void PressWithControl(HWND control, WORD key) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    BYTE held[256];
    std::copy(std::begin(keys), std::end(keys), held);
    held[VK_CONTROL] = 0x80;
    SetKeyboardState(held);
    SendMessageW(control, WM_KEYDOWN, key, 0);
    SendMessageW(control, WM_KEYUP, key, 0);
    SetKeyboardState(keys);
}

std::wstring ClipboardText(HWND owner) {
    std::wstring text;
    if (!OpenClipboard(owner)) return text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = chars;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

void ClearClipboard(HWND owner) {
    if (!OpenClipboard(owner)) return;
    EmptyClipboard();
    CloseClipboard();
}

// A window the check's action left open, closed by the check.
bool g_stuck = false;

void CALLBACK Unstick(HWND window, UINT, UINT_PTR id, DWORD) {
    KillTimer(window, id);
    g_stuck = true;
    EndDialog(window, IDNO);
}

}  // namespace

namespace {

// The folder as a comparable text: lower case, no separator at the end.
std::string Comparable(std::string folder) {
    std::transform(folder.begin(), folder.end(), folder.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    while (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
    return folder;
}

// The folder, or the nearest one above it that exists.
std::string ExistingFolder(std::string folder) {
    while (!folder.empty()) {
        const DWORD attributes = GetFileAttributesW(WidenPath(folder).c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) break;
        const size_t up = folder.find_last_of('\\');
        folder.resize(up == std::string::npos ? 0 : up);
    }
    return folder;
}

}  // namespace

namespace {

// The folder of a path ("C:\\a\\b.txt" -> "C:\\a"); empty for a bare name.
std::string FolderOf(const std::string& path) {
    const size_t last = path.find_last_of("\\/:");
    if (last == std::string::npos) return {};
    return path.substr(0, path[last] == ':' ? last + 1 : last);
}

// A drive's root ("C:", "C:\\"), where a dialog told no folder may open.
bool IsDriveRoot(const std::string& folder) {
    const std::string comparable = Comparable(folder);
    return comparable.size() == 2 && comparable[1] == ':';
}

// Where "Backups..." is asked to open, and what the file name box holds.
struct BackupsState {
    const char* what;
    bool folderMade;       // the node's folder of backups exists
    const char* fileName;  // typed into the file name box first; null: as the page fills it
    // Asked of the layer itself, with this proposed name and the node's
    // folder, instead of through the page.
    bool layerOnly = false;
};

constexpr BackupsState kBackupsStates[] = {
    // what                                              made   file name box / proposed name
    {"before the node's first backup", false, nullptr},
    {"with the node's first backup", true, nullptr},
    {"after a file in C:\\ was chosen", true, "C:\\factory.txt"},
    {"after a file in C:\\windows was chosen", true, "C:\\windows\\factory.txt"},
    // The layer, whatever the page proposes: a folder in the proposed name
    // never wins over the folder the dialog is told.
    {"the layer, a name in C:\\", true, "C:\\factory.txt", true},
    {"the layer, a name in C:\\windows", true, "C:\\windows\\factory.txt", true},
    {"the layer, a name without a folder", true, "factory.txt", true},
};

}  // namespace

void CheckBackupsDialog(RealSheetHost& host) {
    // The node's folder of backups, as the page asks the dialog to open in it.
    std::string nodeFolder;
    for (const BackupsState& state : kBackupsStates) {
        checks::Case expect(std::string("Backups... ") + state.what +
                            ": the file dialog opens in the node's folder of backups");
        if (state.folderMade && !nodeFolder.empty()) MakeFolders(nodeFolder);
        host.OpenWith([&](SheetScript& sheet) {
            bool shown = false;
            FileDialogRequest asked;
            std::string opened;
            sheet.ShowFileDialogs([&](HWND dialog, const FileDialogRequest& request) {
                shown = true;
                asked = request;
                std::wstring path(32768, L'\0');
                const LRESULT length =
                    SendMessageW(dialog, CDM_GETFOLDERPATH, static_cast<WPARAM>(path.size()),
                                 reinterpret_cast<LPARAM>(path.data()));
                if (length > 0) opened = NarrowPath(path.c_str());
            });
            if (state.layerOnly) {
                // The layer's own dialog, owned by the sheet.
                std::unique_ptr<Platform> layer =
                    CreateWin32Platform(GetModuleHandleW(nullptr), sheet.SheetWindow(), &sheet);
                layer->OpenFileDialog(
                    {state.fileName, text::kSettingsExtension, text::kSettingsFilter, nodeFolder});
            } else {
                sheet.Idle(100);
                sheet.SelectTab(PageId::NodeInformation);
                sheet.Click(PageId::NodeInformation, IDC_NODEINFO_TECHNICIAN);
                sheet.SelectTab(PageId::ImportExport);
                if (state.fileName != nullptr) {
                    sheet.Type(PageId::ImportExport, IDC_IMPEXP_FILENAME, state.fileName);
                }
                sheet.Type(PageId::ImportExport, IDC_IMPEXP_PASSWORD, text::kTechnicianPassword);
                sheet.Click(PageId::ImportExport, IDC_IMPEXP_BACKUPS);
            }
            sheet.ShowFileDialogs(nullptr);
            expect(shown && !asked.initialFolder.empty(),
                   "no file dialog came up in a folder of its own");
            if (!shown || asked.initialFolder.empty()) return;
            if (!state.layerOnly) nodeFolder = asked.initialFolder;
            const std::string expected = ExistingFolder(asked.initialFolder);
            expect(Comparable(opened) == Comparable(expected),
                   "the dialog opened in " + QuoteText(opened) + ", not in " + QuoteText(expected));
            // The two places a dialog ends up in when it is not told, or
            // told in a way that loses: the proposed name's folder, the root.
            const std::string named = FolderOf(asked.proposedName);
            expect(named.empty() || Comparable(named) == Comparable(expected) ||
                       Comparable(opened) != Comparable(named),
                   "the dialog opened in the proposed name's folder " + QuoteText(named));
            expect(IsDriveRoot(expected) || !IsDriveRoot(opened),
                   "the dialog opened in the drive's root " + QuoteText(opened));
        });
        expect.End();
    }
    host.RemoveScenarioFiles();
}

void CheckReviewWindows(RealSheetHost& host) {
    host.OpenWith([&](SheetScript& sheet) {
        HWND owner = sheet.SheetWindow();
        for (const ReviewCase& c : Cases()) {
            checks::Case expect(std::string(c.what) +
                                ": the review window shows, fits, answers and copies");
            const auto fail = [&](const std::string& what) { expect.Fail(what); };
            bool opened = false;
            g_stuck = false;
            sheet.WatchReviews([&](HWND window) {
                opened = true;
                if (GetWindow(window, GW_OWNER) != owner) fail("the window is not the sheet's");
                if (IsWindowEnabled(owner)) fail("the sheet takes input while the window is up");
                // What the technician reads is what the plug-in gave.
                ReviewList expected = c.list;
                for (auto& row : expected.rows) row.resize(expected.columns.size());
                const ReviewList shown = ReadReviewWindow(window);
                if (shown.title != expected.title || shown.heading != expected.heading ||
                    shown.columns != expected.columns || shown.rows != expected.rows) {
                    fail("the window shows " + QuoteText(shown.title) + " " +
                         QuoteText(shown.heading) + " with " + std::to_string(shown.rows.size()) +
                         " rows, not the list it was given");
                }
                HWND list = GetDlgItem(window, kReviewListId);
                if (GetFocus() != list) fail("the list does not have the keyboard focus");
                // Clicked into, the heading gives Tab back to the window.
                HWND heading = GetDlgItem(window, kReviewHeadingId);
                SetFocus(heading);
                MSG tab{heading, WM_KEYDOWN, VK_TAB, 1, static_cast<DWORD>(GetMessageTime()), {}};
                IsDialogMessageW(window, &tab);
                if (GetFocus() == heading) fail("Tab does not leave the heading");
                SetFocus(list);
                const int defaultId = c.buttons == ReviewButtons::YesNo ? IDNO : IDCANCEL;
                const LRESULT setDefault = SendMessageW(window, DM_GETDEFID, 0, 0);
                if (HIWORD(setDefault) != DC_HASDEFID || LOWORD(setDefault) != defaultId ||
                    (GetWindowLongW(GetDlgItem(window, defaultId), GWL_STYLE) & 0x0F) !=
                        BS_DEFPUSHBUTTON) {
                    fail("Enter is not for " + Named(GetDlgItem(window, defaultId)));
                }
                if (NarrowText(AccessibleNameOf(list)) != expected.heading) {
                    fail("the list's accessible name is " +
                         QuoteText(NarrowText(AccessibleNameOf(list))));
                }
                for (HWND part : std::vector<HWND>{list, Buttons(window)[0], Buttons(window)[1]}) {
                    if (!FromCommonControls6(part)) {
                        fail(Named(part) + " is not a common controls 6 window");
                    }
                    if (part != list &&
                        AccessibleNameOf(part) != WithoutMnemonic(WindowText(part))) {
                        fail(Named(part) + " has the accessible name " +
                             QuoteText(NarrowText(AccessibleNameOf(part))));
                    }
                }
                CheckReviewWindow(window, "", expect);

                // The technician's answer; a window it leaves open is
                // closed after a while, and the answer then is wrong.
                SetTimer(window, kStuckTimerId, kStuckMs, Unstick);
                HWND yes = GetDlgItem(window, IDYES);
                HWND no = GetDlgItem(window, c.buttons == ReviewButtons::YesNo ? IDNO : IDCANCEL);
                switch (c.act) {
                    case Act::PressYes:
                        SendMessageW(yes, BM_CLICK, 0, 0);
                        break;
                    case Act::PressNo:
                        SendMessageW(no, BM_CLICK, 0, 0);
                        break;
                    case Act::Enter:
                        PostMessageW(GetFocus(), WM_KEYDOWN, VK_RETURN, 0);
                        break;
                    case Act::Escape:
                        PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0);
                        break;
                    case Act::CloseBox:
                        PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
                        break;
                    case Act::CopySelected:
                    case Act::CopyNone:
                    case Act::CopyAll: {
                        ClearClipboard(window);
                        ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
                        for (int row : c.selected) {
                            ListView_SetItemState(list, row, LVIS_SELECTED, LVIS_SELECTED);
                        }
                        if (c.act == Act::CopyAll) PressWithControl(list, 'A');
                        PressWithControl(list, 'C');
                        const std::wstring copied = ClipboardText(window);
                        if (copied != c.copied) {
                            fail("Ctrl+C copied " + QuoteText(NarrowText(copied)));
                        }
                        SendMessageW(no, BM_CLICK, 0, 0);
                        break;
                    }
                }
                return true;
            });
            const MsgAnswer answer = ShowReviewWindow(owner, c.list, c.buttons, &sheet);
            sheet.WatchReviews(nullptr);
            if (!opened) fail("no window came up");
            if (g_stuck) fail("the window stayed open");
            if (answer != c.expected) {
                fail(std::string("answered ") + (answer == MsgAnswer::Yes ? "Yes" : "No"));
            }
            if (!IsWindowEnabled(owner)) fail("the sheet stays disabled afterwards");
            expect.End();
        }
    });
}

}  // namespace qta1::host
