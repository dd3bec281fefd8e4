// The trend window on the real sheet: found by its class and caption, owned
// by the sheet and sampling from each page that offers it; the sheet going on
// working (a PID Write) while it samples; its controls inside it and whole at
// every size; its keys reaching it through the sheet's modal loop; and its
// two saves writing what they say.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <algorithm>
#include <string>
#include <vector>

#include "check_support.h"
#include "frame/trend.h"
#include "host_sheet_flows.h"
#include "platform/win32/qta1_script_site.h"
#include "platform/win32/win32_handles.h"
#include "resources/strings.h"
#include "sheet_checks.h"

namespace qta1::host {

namespace {

using win32::kTrendPauseId;
using win32::kTrendSaveDataId;
using win32::kTrendSavePictureId;
using win32::kTrendSeriesFirstId;
using win32::kTrendWindowClass;
using win32::kTrendWindowComboId;

struct Opening {
    PageId page;
    int trendButton;
};
constexpr Opening kOpenings[] = {
    {PageId::Temperatures, IDC_TEMPS_TREND},
    {PageId::StatusRegulator, IDC_REGULATOR_TREND},
};

// "Trend..." on `from`, after the technician set is shown; the window the
// technician then sees, found as a host finds it.
HWND OpenTrendFrom(SheetScript& sheet, const Opening& from) {
    ShowTechnicianSet(sheet);
    sheet.SelectTab(from.page);
    sheet.Click(from.page, from.trendButton);
    return FindWindowW(kTrendWindowClass, WidenText(text::kTrendCaption).c_str());
}

size_t SamplesShown(const SheetScript& sheet) {
    const TrendModel* model = sheet.TrendShown();
    return model != nullptr ? model->samples().size() : 0;
}

std::string Named(HWND control) { return QuoteText(NarrowText(WindowText(control))); }

int TextWidth(HWND control, const std::wstring& text) {
    win32::WindowDc dc(control);
    win32::Selection font(dc.Get(),
                          reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT rect{0, 0, 0, 0};
    DrawTextW(dc.Get(), text.c_str(), static_cast<int>(text.size()), &rect,
              DT_CALCRECT | DT_SINGLELINE);
    return rect.right;
}

std::vector<HWND> Controls(HWND window) {
    std::vector<HWND> controls;
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        controls.push_back(child);
    }
    return controls;
}

// Every control inside the client area, apart from the others, and as wide
// as its text needs: the check boxes and buttons their ideal width, the
// labels and values their text.
void CheckTrendFits(HWND window, const std::string& where, checks::Case& expect) {
    const auto fail = [&](const std::string& what) { expect.Fail(where + what); };
    RECT client{};
    GetClientRect(window, &client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    const std::vector<HWND> controls = Controls(window);
    if (controls.size() < kTrendSeriesCount * 2 + 5) {
        fail("only " + std::to_string(controls.size()) + " controls");
        return;
    }
    wchar_t className[32] = {};
    for (size_t i = 0; i < controls.size(); ++i) {
        HWND control = controls[i];
        RECT bounds = ScreenRect(control);
        GetClassNameW(control, className, static_cast<int>(std::size(className)));
        const bool combo = lstrcmpiW(className, WC_COMBOBOXW) == 0;
        // A drop-down list's window includes its list while closed.
        if (combo) {
            COMBOBOXINFO info{};
            info.cbSize = sizeof info;
            if (GetComboBoxInfo(control, &info)) {
                bounds.bottom = bounds.top + (info.rcItem.bottom + info.rcItem.top);
            }
        }
        if (!Inside(bounds, client)) {
            fail(Named(control) + " lies outside the window (" + RectText(bounds) + " beyond " +
                 RectText(client) + ")");
        }
        for (size_t j = i + 1; j < controls.size(); ++j) {
            const RECT other = ScreenRect(controls[j]);
            RECT overlap{};
            if (!combo && IntersectRect(&overlap, &bounds, &other)) {
                fail(Named(control) + " overlaps " + Named(controls[j]));
            }
        }
        RECT inside{};
        GetClientRect(control, &inside);
        const std::wstring text = WindowText(control);
        int needs = 0;
        SIZE ideal{};
        if (lstrcmpiW(className, WC_BUTTONW) == 0 && Button_GetIdealSize(control, &ideal)) {
            needs = ideal.cx;
        } else if (lstrcmpiW(className, WC_STATICW) == 0) {
            needs = TextWidth(control, text);
        }
        if (needs > inside.right) {
            fail(Named(control) + " needs " + std::to_string(needs) + " pixels, has " +
                 std::to_string(inside.right));
        }
    }
}

}  // namespace

void CheckTrendWindows(RealSheetHost& host) {
    // From each page that offers it: a window of its own class owned by the
    // sheet, and a sample every 2 s from then on.
    for (const Opening& from : kOpenings) {
        checks::Case expect("the trend opens from " + QuoteText(CaptionOf(from.page)) +
                            " and samples");
        host.OpenWith([&](SheetScript& sheet) {
            HWND window = OpenTrendFrom(sheet, from);
            if (!expect(window != nullptr, "no window of its class and caption")) return;
            expect(window == sheet.TrendWindowHandle(), "the site was not told of it");
            expect(GetWindow(window, GW_OWNER) == sheet.SheetWindow(), "not owned by the sheet");
            expect(IsWindowVisible(window) != FALSE, "not visible");
            sheet.Idle(4000);
            expect(SamplesShown(sheet) == 2,
                   std::to_string(SamplesShown(sheet)) + " samples after 4 s");
        });
    }

    // The technician writes on PID while it samples: the Write ends with
    // the value read back, and the trend goes on sampling after it.
    {
        checks::Case expect("the sheet writes PID while the trend samples");
        host.OpenWith([&](SheetScript& sheet) {
            if (!expect(OpenTrendFrom(sheet, kOpenings[0]) != nullptr, "no trend window")) return;
            sheet.Idle(2000);
            const size_t before = SamplesShown(sheet);
            sheet.SelectTab(PageId::Pid);
            sheet.Type(PageId::Pid, IDC_PID_HEAT_P, "2.5");
            sheet.Type(PageId::Pid, IDC_PID_PASSWORD, "Tarvel");
            sheet.Click(PageId::Pid, IDC_PID_WRITE);
            sheet.Idle(4000);
            const auto p = sheet.State(PageId::Pid, IDC_PID_HEAT_P);
            expect(p && p->text == "2.5", "P shows " + QuoteText(p ? p->text : "nothing"));
            expect(sheet.TrendWindowHandle() != nullptr, "the trend window went");
            expect(SamplesShown(sheet) >= before + 2, std::to_string(SamplesShown(sheet)) +
                                                          " samples, " + std::to_string(before) +
                                                          " before the Write");
        });
    }

    // As it opens, made as small as it goes, and made larger.
    {
        checks::Case expect("the trend window fits at every size");
        host.OpenWith([&](SheetScript& sheet) {
            HWND window = OpenTrendFrom(sheet, kOpenings[0]);
            if (!expect(window != nullptr, "no trend window")) return;
            sheet.Idle(2000);
            CheckTrendFits(window, "as opened: ", expect);
            const RECT opened = ScreenRect(window);
            MONITORINFO monitor{};
            monitor.cbSize = sizeof monitor;
            GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
            expect(Inside(opened, monitor.rcWork),
                   "as opened: " + RectText(opened) + " is not on the screen");
            SetWindowPos(window, nullptr, 0, 0, 1, 1, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            const RECT smallest = ScreenRect(window);
            expect(smallest.right - smallest.left > 1 && smallest.bottom - smallest.top > 1,
                   "the window can be made as small as " + RectText(smallest));
            CheckTrendFits(window, "made as small as it goes: ", expect);
            SetWindowPos(window, nullptr, 0, 0, (opened.right - opened.left) * 3 / 2,
                         (opened.bottom - opened.top) * 3 / 2,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            CheckTrendFits(window, "made larger: ", expect);
        });
    }

    // Its keys come through the sheet's modal loop, which knows nothing of
    // it: Tab moves on, Alt+P presses Pause, Esc closes it.
    {
        checks::Case expect("the trend window's keys: Tab, Alt+P, Esc");
        host.OpenWith([&](SheetScript& sheet) {
            HWND window = OpenTrendFrom(sheet, kOpenings[0]);
            if (!expect(window != nullptr, "no trend window")) return;
            HWND first = GetDlgItem(window, kTrendSeriesFirstId);
            HWND second = GetDlgItem(window, kTrendSeriesFirstId + 1);
            SetFocus(first);
            PostMessageW(first, WM_KEYDOWN, VK_TAB, 1);
            PostMessageW(first, WM_KEYUP, VK_TAB, 1 | (1u << 30) | (1u << 31));
            sheet.Idle(0);
            expect(GetFocus() == second, "Tab left the focus on " + Named(GetFocus()));
            PostMessageW(GetFocus(), WM_SYSCHAR, 'p', 1 | (1u << 29));
            sheet.Idle(0);
            const TrendModel* model = sheet.TrendShown();
            expect(model != nullptr && model->paused(), "Alt+P did not pause");
            PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1);
            PostMessageW(GetFocus(), WM_KEYUP, VK_ESCAPE, 1 | (1u << 30) | (1u << 31));
            sheet.Idle(0);
            expect(!IsWindow(window) && sheet.TrendShown() == nullptr, "Esc left it open");
        });
    }

    // "Save data..." writes the CSV of the samples shown; "Save picture..."
    // a PNG of the window's client area.
    {
        checks::Case expect("the trend window saves its data and its picture");
        std::wstring folder(MAX_PATH, L'\0');
        folder.resize(GetCurrentDirectoryW(MAX_PATH, folder.data()));
        const std::string csvPath = NarrowPath(folder + L"\\trend-check.csv");
        const std::string pngPath = NarrowPath(folder + L"\\trend-check.png");
        host.OpenWith([&](SheetScript& sheet) {
            HWND window = OpenTrendFrom(sheet, kOpenings[0]);
            if (!expect(window != nullptr, "no trend window")) return;
            sheet.Idle(6000);
            sheet.QueueFileAnswer(csvPath);
            SendMessageW(GetDlgItem(window, kTrendSaveDataId), BM_CLICK, 0, 0);
            const std::optional<std::string> csv = ReadWholeFile(csvPath);
            const TrendModel* model = sheet.TrendShown();
            expect(model != nullptr && model->samples().size() == 3, "not 3 samples after 6 s");
            expect(csv && model != nullptr && *csv == model->CsvText(),
                   "the CSV file differs from the samples shown (" +
                       std::to_string(csv ? csv->size() : 0) + " bytes)");
            sheet.QueueFileAnswer(pngPath);
            SendMessageW(GetDlgItem(window, kTrendSavePictureId), BM_CLICK, 0, 0);
            const std::optional<std::string> png = ReadWholeFile(pngPath);
            RECT client{};
            GetClientRect(window, &client);
            if (!expect(png && png->size() > 24, "no picture written")) return;
            expect(png->compare(0, 8, "\x89PNG\r\n\x1A\n") == 0, "no PNG signature");
            const auto word = [&png](size_t at) {
                unsigned long value = 0;
                for (size_t b = 0; b < 4; ++b)
                    value = value << 8 | static_cast<unsigned char>((*png)[at + b]);
                return static_cast<long>(value);
            };
            expect(png->compare(12, 4, "IHDR") == 0 && word(16) == client.right &&
                       word(20) == client.bottom,
                   "the picture is " + std::to_string(word(16)) + " x " + std::to_string(word(20)) +
                       ", the window " + std::to_string(client.right) + " x " +
                       std::to_string(client.bottom));
        });
        host.RemoveScenarioFiles();
    }
}

}  // namespace qta1::host
