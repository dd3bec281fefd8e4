// clang-format off
#include <windows.h>
// clang-format on

#include "host_shots.h"

#include <iterator>
#include <utility>
#include <vector>

#include "host_sheet_flows.h"
#include "host_support.h"
#include "node/nv_catalogue.h"
#include "resources/strings.h"

namespace qta1::host {

namespace {

// What kept a picture from being taken as it should be: each fault adds a
// line to `report` after `prefix`, and is counted.
class Faults {
public:
    Faults(std::string& report, std::string prefix) : report_(report), prefix_(std::move(prefix)) {}
    void operator()(bool ok, const std::string& what) {
        if (ok) return;
        report_ += prefix_ + what + "\n";
        ++failures_;
    }
    int Failures() const { return failures_; }

private:
    std::string& report_;
    const std::string prefix_;
    int failures_ = 0;
};

// "Calc. space temp" -> "calc-space-temp"
std::wstring FileNameOf(std::string_view caption) {
    std::wstring name;
    for (char c : caption) {
        const bool alnum = (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
        const bool upper = c >= 'A' && c <= 'Z';
        if (alnum || upper) {
            name += static_cast<wchar_t>(upper ? c - 'A' + 'a' : c);
        } else if (!name.empty() && name.back() != L'-') {
            name += L'-';
        }
    }
    while (!name.empty() && name.back() == L'-') name.pop_back();
    return name;
}

// Exit with a value typed into P of the heating loop on PID and not written:
// the sheet with its question over it, answered No (the sheet stays), then
// Exit again answered Yes (the sheet closes).
int TakeCloseQuestion(RealSheetHost& host, const std::wstring& folder, std::string& report) {
    const std::string question = std::string(text::kTypedNotWrittenHead) +
                                 std::string(CaptionOf(PageId::Pid)) + text::kTypedNotWrittenTail;
    Faults expect(report, "FAILED close-question: ");
    host.OpenWith([&](SheetScript& sheet) {
        ShowTechnicianSet(sheet);
        sheet.SelectTab(PageId::Pid);
        sheet.Type(PageId::Pid, IDC_PID_HEAT_P, "2.5");
        // A message box comes up in the middle of the screen, not of its
        // owner: the sheet is moved there first, so that the picture shows
        // the question over the sheet rather than the desktop between them.
        HWND window = sheet.SheetWindow();
        RECT work{};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        const RECT at = ScreenRect(window);
        SetWindowPos(window, nullptr, (work.left + work.right - (at.right - at.left)) / 2,
                     (work.top + work.bottom - (at.bottom - at.top)) / 2, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        bool asked = false;
        sheet.WatchBoxes([&](HWND box) {
            asked = true;
            expect(BoxText(box) == question, "the box says " + QuoteText(BoxText(box)));
            expect(SaveWindowsPicture({window, box}, folder + L"\\close-question.bmp"),
                   "the picture could not be saved");
            return false;  // the queued No is pressed
        });
        sheet.QueueMessageAnswer(MsgAnswer::No);
        sheet.Close(CloseWay::Exit);
        sheet.WatchBoxes(nullptr);
        expect(asked, "Exit asked nothing");
        expect(sheet.SheetWindow() != nullptr, "the sheet closed on No");
        sheet.QueueMessageAnswer(MsgAnswer::Yes);
        sheet.Close(CloseWay::Exit);
        expect(sheet.SheetWindow() == nullptr, "the sheet stays open on Yes");
    });
    if (expect.Failures() == 0) report += "saved close-question\n";
    return expect.Failures();
}

// "Default settings" on a node that keeps its old values in the parts it is
// sent (every byte 0x11 in parts 2, 7 and 8 beforehand), the preview answered
// Yes: the long result in the review window, after its short message box.
int TakeLongResult(RealSheetHost& host, const std::wstring& folder, std::string& report) {
    Faults expect(report, "FAILED download-result: ");
    SimulatedNode& node = host.Node();
    const int parts[] = {kTemperaturesPart, kBreakPointsPart, kPidPart};
    std::vector<NvValue> before;
    for (int part : parts) {
        before.push_back(node.Part(part));
        NvValue other{};
        other.fill(0x11);
        other[0] = static_cast<uint8_t>(part);
        node.SetPart(part, other);
    }
    node.SetAnimated(false);
    int reviews = 0;
    host.OpenWith([&](SheetScript& sheet) {
        ShowTechnicianSet(sheet);
        sheet.SelectTab(PageId::ImportExport);
        node.KeepNv(kConfigNv);
        sheet.Type(PageId::ImportExport, IDC_IMPEXP_PASSWORD, text::kTechnicianPassword);
        sheet.WatchReviews([&](HWND window) {
            // The preview first, then the result.
            if (++reviews == 2) {
                expect(SaveWindowPicture(window, folder + L"\\download-result.bmp"),
                       "the picture could not be saved");
            }
            return false;
        });
        sheet.QueueMessageAnswer(MsgAnswer::Yes);  // the preview
        sheet.Click(PageId::ImportExport, IDC_IMPEXP_FACTORY);
        sheet.WatchReviews(nullptr);
    });
    expect(reviews == 2, std::to_string(reviews) + " review windows came up, not 2");
    node.ClearFaults();
    node.SetAnimated(true);
    for (size_t i = 0; i < std::size(parts); ++i) node.SetPart(parts[i], before[i]);
    host.RemoveScenarioFiles();  // the backup taken before the download
    if (expect.Failures() == 0) report += "saved download-result\n";
    return expect.Failures();
}

// Two PID Writes, then "Changes..." on Import / Export: the node's change
// log in the review window, the newest entry first.
int TakeChangeLog(RealSheetHost& host, const std::wstring& folder, std::string& report) {
    Faults expect(report, "FAILED changes: ");
    const NvValue before = host.Node().Part(kPidPart);
    host.Node().SetAnimated(false);
    int reviews = 0;
    host.OpenWith([&](SheetScript& sheet) {
        ShowTechnicianSet(sheet);
        sheet.SelectTab(PageId::Pid);
        for (const char* p : {"2.5", "3.0"}) {
            sheet.Type(PageId::Pid, IDC_PID_HEAT_P, p);
            sheet.Type(PageId::Pid, IDC_PID_HEAT_I, p[0] == '2' ? "70" : "60");
            sheet.Type(PageId::Pid, IDC_PID_PASSWORD, text::kTechnicianPassword);
            sheet.Click(PageId::Pid, IDC_PID_WRITE);
        }
        sheet.SelectTab(PageId::ImportExport);
        sheet.WatchReviews([&](HWND window) {
            ++reviews;
            // The dialog shows itself once its queue first goes idle; the
            // picture is taken before that.
            ShowWindow(window, SW_SHOWNA);
            expect(SaveWindowPicture(window, folder + L"\\changes.bmp"),
                   "the picture could not be saved");
            return false;
        });
        sheet.Click(PageId::ImportExport, IDC_IMPEXP_CHANGES);
        sheet.WatchReviews(nullptr);
    });
    expect(reviews == 1, std::to_string(reviews) + " review windows came up, not 1");
    host.Node().SetPart(kPidPart, before);
    host.Node().SetAnimated(true);
    host.RemoveScenarioFiles();  // the change log
    if (expect.Failures() == 0) report += "saved changes\n";
    return expect.Failures();
}

// The trend window after a step on the simulated unit with its thermal
// model: P of the heating loop raised on PID, then ten minutes of samples
// in the 10 min window while Bs1 follows.
int TakeTrend(RealSheetHost& host, const std::wstring& folder, std::string& report) {
    Faults expect(report, "FAILED trend: ");
    host.Node().UseUnitModel(true);
    host.OpenWith([&](SheetScript& sheet) {
        // The unit at rest for two minutes, then a set-point step of 3 K
        // (the winter set point of the calculated space temperature): the
        // injection temperature follows, the heating valve opens.
        ShowTechnicianSet(sheet);
        sheet.SelectTab(PageId::Temperatures);
        sheet.Click(PageId::Temperatures, IDC_TEMPS_TREND);
        HWND window = sheet.TrendWindowHandle();
        expect(window != nullptr, "no trend window came up");
        if (window == nullptr) return;
        sheet.TrendWindow(10);
        sheet.Idle(2 * 60 * 1000);
        sheet.SelectTab(PageId::CalcSpace);
        sheet.Type(PageId::CalcSpace, IDC_CALCSPACE_WINTER_SETPOINT, "24");
        sheet.Click(PageId::CalcSpace, IDC_CALCSPACE_WRITE);
        sheet.SelectTab(PageId::Temperatures);
        sheet.Idle(8 * 60 * 1000);
        expect(SaveWindowPicture(window, folder + L"\\trend.bmp"),
               "the picture could not be saved");
    });
    host.Node().UseUnitModel(false);
    host.RemoveScenarioFiles();  // the change log
    if (expect.Failures() == 0) report += "saved trend\n";
    return expect.Failures();
}

}  // namespace

int TakeScreenshots(RealSheetHost& host, const std::wstring& folder, std::string& report) {
    int failures = 0;
    const auto save = [&](HWND window, const std::wstring& name) {
        const std::wstring file = folder + L"\\" + name + L".bmp";
        const bool ok = SaveWindowPicture(window, file);
        report += (ok ? "saved " : "FAILED ") + NarrowPath(name) + "\n";
        if (!ok) ++failures;
    };
    host.OpenWith([&](SheetScript& sheet) {
        sheet.Idle(100);
        save(sheet.SheetWindow(), L"sheet-user");
        sheet.Click(PageId::NodeInformation, IDC_NODEINFO_TECHNICIAN);
        save(sheet.SheetWindow(), L"sheet-technician");
        for (PageId page : sheet.Tabs()) {
            sheet.SelectTab(page);
            sheet.Idle(0);
            save(sheet.SheetWindow(), FileNameOf(CaptionOf(page)));
        }
        // Import / Export in the middle of "Save to file": part 6 of 12, into
        // the file the page proposes.
        const std::wstring file = L"C:\\QTA1 Sim.txt";
        DeleteFileW(file.c_str());
        sheet.SelectTab(PageId::ImportExport);
        sheet.QueueFileAnswer(NarrowPath(file));
        int waits = 0;
        sheet.WatchWaits([&] {
            // Three waits a part: its selection (two) and its read.
            if (++waits == 3 * 5 + 1) save(sheet.SheetWindow(), L"import-export-saving");
        });
        sheet.Click(PageId::ImportExport, IDC_IMPEXP_SAVE);
        sheet.WatchWaits(nullptr);
        DeleteFileW(file.c_str());
    });
    // The Compare window with three differences.
    host.OpenWith([&](SheetScript& sheet) {
        if (!CompareWithChangedNode(host, sheet, [&](HWND window) { save(window, L"compare"); })) {
            report += "FAILED compare (no window came up)\n";
            ++failures;
        }
    });
    failures += TakeCloseQuestion(host, folder, report);
    failures += TakeLongResult(host, folder, report);
    failures += TakeChangeLog(host, folder, report);
    failures += TakeTrend(host, folder, report);
    return failures;
}

bool TakeSnapshot(RealSheetHost& host, const std::wstring& file) {
    bool ok = false;
    host.OpenWith([&](SheetScript& sheet) {
        sheet.Idle(100);
        ok = SaveWindowPicture(sheet.SheetWindow(), file);
    });
    return ok;
}

}  // namespace qta1::host
