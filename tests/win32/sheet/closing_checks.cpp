// Closing the real sheet as a technician does, and the message boxes a
// technician reads: every way out of the sheet asks first while a page holds
// a typed value that was not written, Enter on that question answers No and
// keeps the sheet, the page and the typed value as they were, with nothing
// sent to the node; with nothing typed every way closes at once. Boxes that
// tell of a failure show the warning icon.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on
// The core's name, not the system's character-set macro of the same name.
#undef MessageBox

#include <iterator>
#include <string>
#include <vector>

#include "check_support.h"
#include "node/nv_catalogue.h"
#include "platform/trace_lines.h"
#include "resources/strings.h"
#include "sheet_checks.h"

namespace qta1::host {

namespace {

// The ways out of the sheet: the technician's (Technician::Close) and the
// two the keyboard and the system add.
enum class Way { Exit, Enter, Escape, CloseBox, AltF4, CloseMessage };
// How the question is answered: Enter on the box, or its Yes.
enum class Reply { EnterKey, Yes };

struct ClosingCase {
    const char* what;
    bool typed;  // "2.5" typed into P of the heating loop on PID, not written
    Way way;
    Reply reply;
    bool closes;
};

constexpr ClosingCase kClosingCases[] = {
    // what                                            typed  way              reply closes
    {"Exit with nothing typed", false, Way::Exit, Reply::EnterKey, true},
    {"Enter in a box with nothing typed", false, Way::Enter, Reply::EnterKey, true},
    {"Esc with nothing typed", false, Way::Escape, Reply::EnterKey, true},
    {"the close box with nothing typed", false, Way::CloseBox, Reply::EnterKey, true},
    {"Alt+F4 with nothing typed", false, Way::AltF4, Reply::EnterKey, true},
    {"Exit with a typed value, Enter on the question", true, Way::Exit, Reply::EnterKey, false},
    {"Enter in the typed box, Enter on the question", true, Way::Enter, Reply::EnterKey, false},
    {"Esc with a typed value, Enter on the question", true, Way::Escape, Reply::EnterKey, false},
    {"the close box with a typed value", true, Way::CloseBox, Reply::EnterKey, false},
    {"Alt+F4 with a typed value", true, Way::AltF4, Reply::EnterKey, false},
    {"WM_CLOSE with a typed value", true, Way::CloseMessage, Reply::EnterKey, false},
    {"Exit with a typed value, Yes", true, Way::Exit, Reply::Yes, true},
    {"Enter in the typed box, Yes", true, Way::Enter, Reply::Yes, true},
};

// The technician set and the PID page, as a technician reaches it.
void ShowPid(SheetScript& sheet) {
    sheet.Idle(100);
    sheet.SelectTab(PageId::NodeInformation);
    sheet.Click(PageId::NodeInformation, IDC_NODEINFO_TECHNICIAN);
    sheet.SelectTab(PageId::Pid);
}

// The icon a message box shows, from its icon control.
HICON BoxIcon(HWND box) {
    HICON icon = nullptr;
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr && icon == nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
            icon = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
        }
    }
    return icon;
}

bool ShowsWarningIcon(HWND box) {
    const HICON icon = BoxIcon(box);
    return icon != nullptr && icon == LoadIconW(nullptr, IDI_WARNING);
}

// A key as the keyboard gives it to the control that has the focus.
void PostKey(HWND target, UINT down, WPARAM key, LPARAM flags) {
    PostMessageW(target, down, key, 1 | flags);
    PostMessageW(target, down + 1, key, 1 | flags | (LPARAM{1} << 30) | (LPARAM{1} << 31));
}

// The trace lines after `from` without their time stamps.
std::vector<std::string> LinesSince(const Trace& trace, size_t from) {
    std::vector<std::string> lines;
    for (size_t i = from; i < trace.lines().size(); ++i) {
        const std::string& line = trace.lines()[i];
        lines.push_back(line.size() > 10 ? line.substr(10) : line);
    }
    return lines;
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += "\n    " + line;
    return text;
}

void CheckClosingCase(RealSheetHost& host, const ClosingCase& c) {
    checks::Case expect(std::string(c.what) +
                        (c.closes ? ": the sheet closes" : ": the sheet asks first and stays"));
    const std::string question = std::string(text::kTypedNotWrittenHead) +
                                 std::string(CaptionOf(PageId::Pid)) + text::kTypedNotWrittenTail;
    host.OpenWith([&](SheetScript& sheet) {
        ShowPid(sheet);
        HWND window = sheet.SheetWindow();
        HWND box = GetDlgItem(sheet.PageWindow(PageId::Pid), IDC_PID_HEAT_P);
        const std::wstring shown = WindowText(box);
        if (c.typed) {
            sheet.Type(PageId::Pid, IDC_PID_HEAT_P, "2.5");
        } else {
            SetFocus(box);  // clicked into, nothing typed
        }
        expect(GetFocus() == box, "the box does not have the keyboard focus");
        if (c.reply == Reply::Yes) sheet.QueueMessageAnswer(MsgAnswer::Yes);

        bool asked = false;
        sheet.WatchBoxes([&](HWND shownBox) {
            asked = true;
            expect(BoxText(shownBox) == question, "the box says " + QuoteText(BoxText(shownBox)));
            expect(ShowsWarningIcon(shownBox), "the question does not show the warning icon");
            expect((GetWindowLongW(GetDlgItem(shownBox, IDNO), GWL_STYLE) & BS_TYPEMASK) ==
                       BS_DEFPUSHBUTTON,
                   "No is not the question's default button");
            if (c.reply != Reply::EnterKey) return false;  // the queued Yes is pressed
            HWND focus = GetFocus();
            PostKey(focus != nullptr ? focus : shownBox, WM_KEYDOWN, VK_RETURN, 0);
            return true;
        });
        const size_t before = host.Log().size();
        switch (c.way) {
            case Way::Exit:
                sheet.Close(CloseWay::Exit);
                break;
            case Way::Enter:
                sheet.Close(CloseWay::Enter);
                break;
            case Way::Escape:
                sheet.Close(CloseWay::Escape);
                break;
            case Way::CloseBox:
                sheet.Close(CloseWay::CloseBox);
                break;
            case Way::AltF4:
                PostKey(GetFocus(), WM_SYSKEYDOWN, VK_F4, LPARAM{KF_ALTDOWN} << 16);
                sheet.PumpAsSheet();
                break;
            case Way::CloseMessage:
                SendMessageW(window, WM_CLOSE, 0, 0);
                sheet.PumpAsSheet();
                break;
        }
        sheet.WatchBoxes(nullptr);
        const bool closed = sheet.SheetWindow() == nullptr;
        expect(asked == c.typed, c.typed ? "no question was asked" : "a question was asked");
        expect(closed == c.closes, c.closes ? "the sheet stays open" : "the sheet closed");

        // Only the technician's step, the question and the closing: no page
        // heard of a refused close, nothing went to the node.
        std::vector<std::string> wanted;
        if (c.way == Way::Enter || c.way == Way::Escape || c.way == Way::CloseBox) {
            wanted.push_back(trace_line::CloseKey(c.way == Way::Enter    ? CloseWay::Enter
                                                  : c.way == Way::Escape ? CloseWay::Escape
                                                                         : CloseWay::CloseBox));
        }
        if (c.typed) {
            const MsgAnswer answer = c.reply == Reply::Yes ? MsgAnswer::Yes : MsgAnswer::No;
            wanted.push_back(trace_line::MessageBox(question, "", MsgButtons::YesNoDefaultNo,
                                                    MsgIcon::Exclamation, answer,
                                                    c.reply == Reply::EnterKey));
        }
        if (c.closes) wanted.push_back(trace_line::SheetCloses());
        const std::vector<std::string> traced = LinesSince(host.Log(), before);
        expect(traced == wanted,
               "the trace holds" + Joined(traced) + "\n  instead of" + Joined(wanted));
        if (!closed) {
            expect(IsWindow(window) && IsWindowEnabled(window), "the sheet takes no input");
            expect(sheet.ActivePage() == PageId::Pid, "the PID page is not in front");
            if (c.typed) expect(WindowText(box) == L"2.5", "the typed value is gone");
        } else if (!c.typed) {
            expect(WindowText(box) == shown || !IsWindow(box), "the box changed");
        }
    });
}

// A failure a page tells shows the warning icon, so that it does not look
// like a success; a success shows none.
struct IconCase {
    const char* what;
    void (*act)(RealSheetHost& host, SheetScript& sheet);
    bool warning;
};

void WritePid(SheetScript& sheet, const char* typed) {
    sheet.SelectTab(PageId::Pid);
    sheet.Type(PageId::Pid, IDC_PID_HEAT_P, typed);
    sheet.Type(PageId::Pid, IDC_PID_PASSWORD, text::kTechnicianPassword);
    sheet.Click(PageId::Pid, IDC_PID_WRITE);
}

const IconCase kIconCases[] = {
    {"a value P cannot hold", [](RealSheetHost&, SheetScript& sheet) { WritePid(sheet, "abc"); },
     true},
    {"a Write the node refuses",
     [](RealSheetHost& host, SheetScript& sheet) {
         host.Node().FailNv(kConfigNv, FaultOn::Writes);
         WritePid(sheet, "2.5");
         host.Node().ClearFaults();
     },
     true},
    {"a settings file that is not there",
     [](RealSheetHost&, SheetScript& sheet) {
         sheet.SelectTab(PageId::ImportExport);
         sheet.Type(PageId::ImportExport, IDC_IMPEXP_PASSWORD, text::kTechnicianPassword);
         sheet.QueueFileAnswer("C:\\no such settings file.txt");
         sheet.Click(PageId::ImportExport, IDC_IMPEXP_READ);
     },
     true},
    {"a settings file saved",
     [](RealSheetHost&, SheetScript& sheet) {
         const std::string file = "C:\\QTA1 icon check.txt";
         DeleteFileW(WidenPath(file).c_str());  // saved anew, removed by the host after
         sheet.SelectTab(PageId::ImportExport);
         sheet.QueueFileAnswer(file);
         sheet.Click(PageId::ImportExport, IDC_IMPEXP_SAVE);
     },
     false},
};

void CheckIcon(RealSheetHost& host, const IconCase& c) {
    checks::Case expect(std::string("the message of ") + c.what +
                        (c.warning ? ": the warning icon" : ": no warning icon"));
    host.OpenWith([&](SheetScript& sheet) {
        ShowPid(sheet);
        int boxes = 0;
        sheet.WatchBoxes([&](HWND box) {
            ++boxes;
            expect(ShowsWarningIcon(box) == c.warning,
                   QuoteText(BoxText(box)) +
                       (c.warning ? " does not show the warning icon" : " shows the warning icon"));
            return false;
        });
        c.act(host, sheet);
        sheet.WatchBoxes(nullptr);
        expect(boxes > 0, "no message box came up");
    });
    host.RemoveScenarioFiles();
}

}  // namespace

void CheckClosing(RealSheetHost& host) {
    for (const ClosingCase& c : kClosingCases) CheckClosingCase(host, c);
    for (const IconCase& c : kIconCases) CheckIcon(host, c);
    host.Log().Clear();
}

}  // namespace qta1::host
