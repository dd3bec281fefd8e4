// How quickly the real sheet opens, and how responsive it stays while the
// node makes it wait: a settings file is downloaded in real time (every wait
// of the node protocol really waited), the way a technician does it, while a
// helper thread keeps asking for the sheet to be repainted; every paint is
// timed.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <algorithm>
#include <atomic>
#include <vector>

#include "check_support.h"
#include "resources/strings.h"
#include "sheet_checks.h"

namespace qta1::host {

namespace {

constexpr UINT_PTR kAnswerTimerId = 0x71A1;
constexpr int kRepaintEveryMs = 10;

double NowMs() {
    LARGE_INTEGER counter{};
    LARGE_INTEGER frequency{};
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The run, seen from the hooks and timers (one user-interface thread).
struct Run {
    std::wstring file;
    HWND sheet = nullptr;
    std::atomic<HWND> page{nullptr};
    std::atomic<bool> helperStop{false};
    HHOOK dialogs = nullptr;
    HHOOK messages = nullptr;
    HHOOK sent = nullptr;
    int boxes = 0;
    double downloadStart = 0;
    double downloadEnd = 0;
    std::vector<double> paints;
};
Run* g_run = nullptr;

BOOL CALLBACK NoteSheet(HWND window, LPARAM out) {
    wchar_t text[16] = {};
    GetWindowTextW(window, text, 16);
    if (lstrcmpW(text, L"QTA1") == 0 && PropSheet_GetTabControl(window) != nullptr) {
        *reinterpret_cast<HWND*>(out) = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindSheet() {
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), NoteSheet, reinterpret_cast<LPARAM>(&found));
    return found;
}

// Answers a dialog once it is up: the file dialog with the file, a Yes / No
// question with Yes, any other box with OK. The download runs from the
// answer to its question ("Download from file to node?") to the box that
// tells its result.
void CALLBACK Answer(HWND dialog, UINT, UINT_PTR id, DWORD) {
    KillTimer(dialog, id);
    Run& run = *g_run;
    if (GetDlgItem(dialog, 0x47C) != nullptr || GetDlgItem(dialog, 0x480) != nullptr) {
        HWND name = GetDlgItem(dialog, 0x47C) != nullptr ? GetDlgItem(dialog, 0x47C)
                                                         : GetDlgItem(dialog, 0x480);
        SetWindowTextW(name, run.file.c_str());
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        return;
    }
    ++run.boxes;
    if (HWND yes = GetDlgItem(dialog, IDYES)) {
        run.downloadStart = NowMs();
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED),
                     reinterpret_cast<LPARAM>(yes));
        return;
    }
    if (run.downloadStart > 0 && run.downloadEnd == 0) run.downloadEnd = NowMs();
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    // "Restart the plug-in" is the last box: the sheet closes after it.
    if (run.downloadEnd > 0 && run.boxes >= 3) PropSheet_PressButton(run.sheet, PSBTN_OK);
}

LRESULT CALLBACK WatchDialogs(int code, WPARAM wParam, LPARAM lParam) {
    if (g_run != nullptr && g_run->sheet != nullptr) {
        HWND window = CreatedDialog(code, wParam, lParam);
        if (window != nullptr && window != g_run->sheet)
            SetTimer(window, kAnswerTimerId, 50, Answer);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Every paint of a window of the sheet, as the thread takes it from its queue.
LRESULT CALLBACK WatchPaints(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && wParam == PM_REMOVE && g_run != nullptr && g_run->sheet != nullptr) {
        const auto* message = reinterpret_cast<const MSG*>(lParam);
        if (message->message == WM_PAINT && GetAncestor(message->hwnd, GA_ROOT) == g_run->sheet) {
            g_run->paints.push_back(NowMs());
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// ... and every paint sent straight to a window (an update forced now).
LRESULT CALLBACK WatchSentPaints(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && g_run != nullptr && g_run->sheet != nullptr) {
        const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (message->message == WM_PAINT && GetAncestor(message->hwnd, GA_ROOT) == g_run->sheet) {
            g_run->paints.push_back(NowMs());
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

DWORD WINAPI AskForPaints(void*) {
    while (!g_run->helperStop) {
        if (g_run->page != nullptr) {
            // A corner of the sheet: cheap to paint, so the paints the
            // helper asks for never crowd out the sheet's timers.
            const RECT corner{0, 0, 4, 4};
            InvalidateRect(g_run->sheet, &corner, FALSE);
        }
        Sleep(kRepaintEveryMs);
    }
    return 0;
}

// Inside the sheet's modal loop: Import / Export, the password, "Read from file".
void CALLBACK StartDownload(HWND, UINT, UINT_PTR id, DWORD) {
    Run& run = *g_run;
    run.sheet = FindSheet();
    if (run.sheet == nullptr) return;  // not up yet: the timer fires again
    KillTimer(nullptr, id);
    // The sheet has switched to the user set by now: "Technician" first.
    PropSheet_SetCurSel(run.sheet, nullptr, 0);
    SendMessageW(GetDlgItem(PropSheet_GetCurrentPageHwnd(run.sheet), IDC_NODEINFO_TECHNICIAN),
                 BM_CLICK, 0, 0);
    HWND tabs = PropSheet_GetTabControl(run.sheet);
    for (int i = 0; i < TabCtrl_GetItemCount(tabs); ++i) {
        if (TabText(tabs, i) == L"Import / Export") PropSheet_SetCurSel(run.sheet, nullptr, i);
    }
    HWND page = PropSheet_GetCurrentPageHwnd(run.sheet);
    run.page = page;
    SetDlgItemTextW(page, IDC_IMPEXP_PASSWORD, WidenText(text::kTechnicianPassword).c_str());
    PostMessageW(GetDlgItem(page, IDC_IMPEXP_READ), BM_CLICK, 0, 0);
}

double Milliseconds(LONGLONG ticks) {
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(ticks) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

bool MeasureDownload(RealSheetHost& host, std::string& report) {
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    Run run;
    run.file = std::wstring(folder) + L"qta1-measure.txt";
    const std::string path = NarrowPath(run.file);

    // The file to download: saved from the node by the sheet, scripted.
    host.OpenWith([&](SheetScript& sheet) {
        sheet.Idle(100);
        sheet.Click(PageId::NodeInformation, IDC_NODEINFO_TECHNICIAN);
        sheet.SelectTab(PageId::ImportExport);
        sheet.QueueFileAnswer(path);
        sheet.Click(PageId::ImportExport, IDC_IMPEXP_SAVE);
    });
    if (!ReadWholeFile(path)) {
        report += "FAIL no settings file to download\n";
        return false;
    }

    // The download, in real time.
    g_run = &run;
    run.dialogs = SetWindowsHookExW(WH_CBT, WatchDialogs, nullptr, GetCurrentThreadId());
    run.messages = SetWindowsHookExW(WH_GETMESSAGE, WatchPaints, nullptr, GetCurrentThreadId());
    run.sent = SetWindowsHookExW(WH_CALLWNDPROC, WatchSentPaints, nullptr, GetCurrentThreadId());
    const UINT_PTR start = SetTimer(nullptr, 0, 500, StartDownload);
    HANDLE helper = CreateThread(nullptr, 0, AskForPaints, nullptr, 0, nullptr);
    host.OpenForUser();
    run.helperStop = true;
    if (helper != nullptr) {
        WaitForSingleObject(helper, INFINITE);
        CloseHandle(helper);
    }
    KillTimer(nullptr, start);
    UnhookWindowsHookEx(run.sent);
    UnhookWindowsHookEx(run.messages);
    UnhookWindowsHookEx(run.dialogs);
    g_run = nullptr;
    DeleteFileW(run.file.c_str());

    if (run.downloadStart == 0 || run.downloadEnd <= run.downloadStart) {
        report += "FAIL the download did not run to its end\n";
        return false;
    }
    // The longest stretch of the download without a paint.
    double longest = 0;
    double previous = run.downloadStart;
    int paints = 0;
    std::sort(run.paints.begin(), run.paints.end());
    for (double at : run.paints) {
        if (at < run.downloadStart || at > run.downloadEnd) continue;
        longest = std::max(longest, at - previous);
        previous = at;
        ++paints;
    }
    longest = std::max(longest, run.downloadEnd - previous);
    report += "download in real time: " + Fixed(run.downloadEnd - run.downloadStart) + " ms, " +
              std::to_string(paints) + " paints, longest without painting: " + Fixed(longest) +
              " ms\n";
    return true;
}

void MeasureOpening(RealSheetHost& host, int count, std::string& report) {
    std::vector<double> shownTimes;
    std::vector<double> paintedTimes;
    for (int i = 0; i < count; ++i) {
        LARGE_INTEGER start{};
        LARGE_INTEGER shown{};
        LARGE_INTEGER painted{};
        const int64_t virtualStart = host.Clock().NowMs();
        int64_t waits = 0;
        QueryPerformanceCounter(&start);
        host.OpenWith([&](SheetScript& sheet) {
            // The driver runs once the sheet is initialised and on screen,
            // before its first paint.
            QueryPerformanceCounter(&shown);
            Paint(sheet.SheetWindow());
            QueryPerformanceCounter(&painted);
            waits = host.Clock().NowMs() - virtualStart;
        });
        shownTimes.push_back(Milliseconds(shown.QuadPart - start.QuadPart));
        paintedTimes.push_back(Milliseconds(painted.QuadPart - start.QuadPart));
        report += "opening " + std::to_string(i + 1) + ": shown after " + Fixed(shownTimes.back()) +
                  " ms, painted after " + Fixed(paintedTimes.back()) +
                  " ms (node waits not slept: " + std::to_string(waits) + " ms)\n";
    }
    const auto median = [](std::vector<double> times) {
        std::sort(times.begin(), times.end());
        return times[times.size() / 2];
    };
    report += "median of " + std::to_string(count) + ": shown after " + Fixed(median(shownTimes)) +
              " ms, painted after " + Fixed(median(paintedTimes)) + " ms\n";
}

}  // namespace qta1::host
