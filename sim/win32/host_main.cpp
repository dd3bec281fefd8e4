// qta1host.exe, the substitute host: a small window that embeds the QTA1
// control, offers the simulated node on its client site and opens the
// property sheet through the control's properties verb from a button.
//
//   qta1host.exe [options]
//     --unconfigured        the node holds no configuration (configured word 0)
//     --no-node             the client site offers neither NvReader nor NvWriter
//     --state FILE          node state: a scenario (node, fault and site commands,
//                           as in qta1-sim) run before anything else
//     --trace FILE          write the trace (host calls, sleeps, timers, boxes) to FILE
//     --ocx FILE            the module to load (default: QTA1.OCX beside the host,
//                           else the registered control)
//     --registered          the registered control, as a host creates it (the
//                           installed module), even with QTA1.OCX beside the host;
//                           says on stderr which module that is
//     --open                open the sheet at start (for the user); the host
//                           closes when the sheet does
//     --scenario FILE       run a qta1-sim scenario against the real sheet, print
//                           its trace and exit with the scenario's result
//     --check-pages         check every page's controls: position, visual styles,
//                           accessible names, Tab order
//     --check-com           accessible objects: one identity, counted by the module
//     --check-fit           every control of every page inside the visible page and
//                           its group box, in every way the sheet opens
//     --check-platform      check the layer's texts, filters and files, saves
//                           under disk faults, and the technician's choices and
//                           folders (no sheet)
//     --check-review        check the review window: what it shows, its fit at
//                           every size, its keys, buttons and Ctrl+C; and the
//                           folder the file dialog of "Backups..." opens in
//     --check-closing       check closing the sheet every way, with and without
//                           typed values, and the icons of failure messages
//     --hang-while-saving FILE  start saving FILE and never end (the killed save
//                           of --check-platform)
//     --screenshots FOLDER  save BMP pictures of the sheet and every page
//     --snapshot FILE       open the sheet, save one BMP picture of it, close
//     --measure-open N      time N openings of the sheet
//     --measure-download    the longest time the sheet goes without painting
//                           while a settings file downloads in real time
//
// Opened for the user (the button, or --open) the sheet runs in real time and
// the user answers its message boxes; the trace is still kept and --trace
// writes it when the host closes. Every other mode runs the sheet scripted, on
// the virtual clock.
//
// The exit code is 0 on success, 1 on a usage or start-up error, 2 on a
// scenario error or failed check, 3 when the node or the site is still
// referenced after the control has gone.
// clang-format off
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>
// clang-format on

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "file_store_checks.h"
#include "host_checks.h"
#include "host_control.h"
#include "host_scenario.h"
#include "scenario.h"
#include "user_store_checks.h"

namespace qta1::host {

namespace {

constexpr int kPropertiesButtonId = 100;
constexpr wchar_t kWindowClass[] = L"Qta1SubstituteHost";
constexpr RECT kControlRect = {16, 16, 47, 47};

struct Options {
    bool unconfigured = false;
    bool noNode = false;
    bool open = false;
    bool checkPages = false;
    bool checkPlatform = false;
    bool checkFit = false;
    bool measureDownload = false;
    bool checkCom = false;
    bool checkReview = false;
    bool checkClosing = false;
    bool registered = false;
    std::wstring state;
    std::wstring trace;
    std::wstring ocx;
    std::wstring scenario;
    std::wstring screenshots;
    std::wstring snapshot;
    std::wstring hangWhileSaving;  // the file store checks' killed save
    int measure = 0;
};

void Print(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

void PrintError(const std::wstring& text) {
    const std::string bytes = NarrowPath(L"qta1host: " + text + L"\n");
    std::fwrite(bytes.data(), 1, bytes.size(), stderr);
    std::fflush(stderr);
}

// The options that stand alone, and the options followed by a file or folder.
constexpr struct {
    const wchar_t* name;
    bool Options::*set;
} kSwitches[] = {
    {L"--unconfigured", &Options::unconfigured},
    {L"--no-node", &Options::noNode},
    {L"--open", &Options::open},
    {L"--check-pages", &Options::checkPages},
    {L"--check-com", &Options::checkCom},
    {L"--measure-download", &Options::measureDownload},
    {L"--check-fit", &Options::checkFit},
    {L"--check-review", &Options::checkReview},
    {L"--check-closing", &Options::checkClosing},
    {L"--check-platform", &Options::checkPlatform},
    {L"--registered", &Options::registered},
};
constexpr struct {
    const wchar_t* name;
    std::wstring Options::*value;
} kPaths[] = {
    {L"--hang-while-saving", &Options::hangWhileSaving},
    {L"--state", &Options::state},
    {L"--trace", &Options::trace},
    {L"--ocx", &Options::ocx},
    {L"--scenario", &Options::scenario},
    {L"--screenshots", &Options::screenshots},
    {L"--snapshot", &Options::snapshot},
};

std::optional<Options> ParseOptions(const std::vector<std::wstring>& args) {
    Options options;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::wstring& arg = args[i];
        const auto value = [&](std::wstring& out) {
            if (i + 1 >= args.size()) return false;
            out = args[++i];
            return true;
        };
        const auto named = [&arg](const auto& option) { return arg == option.name; };
        const auto isSwitch = std::find_if(std::begin(kSwitches), std::end(kSwitches), named);
        const auto isPath = std::find_if(std::begin(kPaths), std::end(kPaths), named);
        bool ok = true;
        if (isSwitch != std::end(kSwitches)) {
            options.*(isSwitch->set) = true;
        } else if (isPath != std::end(kPaths)) {
            ok = value(options.*(isPath->value));
        } else if (arg == L"--measure-open") {
            std::wstring count;
            ok = value(count);
            options.measure = ok ? _wtoi(count.c_str()) : 0;
            ok = ok && options.measure > 0 && options.measure <= 1000;
        } else {
            ok = false;
        }
        if (!ok) {
            PrintError(L"bad or incomplete option " + arg);
            return std::nullopt;
        }
    }
    return options;
}

std::wstring HostFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return path.substr(0, path.find_last_of(L"\\/") + 1);
}

// The host's window: the control in place at the top left, and the button
// that invokes its properties verb.
struct HostWindow {
    RealSheetHost* host = nullptr;
    // Opened with --open: the host closes with the sheet.
    bool closeWithSheet = false;
};
HostWindow g_window;

LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (LOWORD(wParam) == kPropertiesButtonId && g_window.host != nullptr) {
                g_window.host->OpenForUser();
                if (g_window.closeWithSheet) DestroyWindow(window);
                return 0;
            }
            break;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND CreateHostWindow(HINSTANCE instance) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = HostWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassExW(&windowClass);
    HWND window =
        CreateWindowExW(0, kWindowClass, L"QTA1 substitute host",
                        WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, CW_USEDEFAULT,
                        CW_USEDEFAULT, 320, 120, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) return nullptr;
    HWND button = CreateWindowExW(
        0, L"BUTTON", L"&Properties...", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 64,
        16, 120, 28, window, reinterpret_cast<HMENU>(kPropertiesButtonId), instance, nullptr);
    SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                 TRUE);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    return window;
}

bool RunScript(RealSheetHost& host, const std::wstring& file, std::string& output, int& result) {
    const std::optional<std::string> script = ReadWholeFile(NarrowPath(file));
    if (!script) {
        PrintError(L"cannot read " + file);
        return false;
    }
    const std::string name = NarrowPath(file.substr(file.find_last_of(L"\\/") + 1));
    result = RunScenario(host, *script, name, output);
    return true;
}

int Run(const Options& options) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    HWND window = CreateHostWindow(instance);
    if (window == nullptr) {
        PrintError(L"cannot create the host window");
        return 1;
    }
    EmbeddedControl control;
    std::wstring error;
    const std::wstring ocx = options.registered    ? std::wstring()
                             : options.ocx.empty() ? HostFolder() + L"QTA1.OCX"
                                                   : options.ocx;
    if (!control.Load(ocx, error)) {
        PrintError(error);
        DestroyWindow(window);
        return 1;
    }
    if (options.registered) PrintError(L"the registered control is " + control.ModuleFile());

    int exitCode = 0;
    {
        RealSheetHost host(control, window, kControlRect);
        if (!control.Embed(&host.ComSite(), window, kControlRect, error)) {
            PrintError(error);
            exitCode = 1;
        }
        if (options.unconfigured) host.Node().SetConfiguredWord(0);
        if (options.noNode) {
            host.Site().OfferReader(false);
            host.Site().OfferWriter(false);
        }
        if (exitCode == 0 && !options.state.empty()) {
            std::string output;
            int result = 0;
            if (!RunScript(host, options.state, output, result) || result != kScenarioOk) {
                Print(output);
                exitCode = 1;
            }
            host.Log().Clear();
        }
        if (exitCode == 0) {
            g_window.host = &host;
            std::string report;
            if (!options.scenario.empty()) {
                int result = 0;
                if (!RunScript(host, options.scenario, report, result)) {
                    exitCode = 1;
                } else if (result != kScenarioOk) {
                    exitCode = 2;
                }
                host.RemoveScenarioFiles();
                Print(report);
            } else if (options.checkPages) {
                if (CheckPages(host, report) != 0) exitCode = 2;
                Print(report);
            } else if (options.checkFit) {
                if (CheckFit(host, report) != 0) exitCode = 2;
                Print(report);
            } else if (options.checkReview) {
                const int failures =
                    CheckReviewWindows(host, report) + CheckBackupsDialog(host, report);
                report += std::to_string(failures) + " failed\n";
                if (failures != 0) exitCode = 2;
                Print(report);
            } else if (options.checkClosing) {
                const int failures = CheckClosing(host, report);
                report += std::to_string(failures) + " failed\n";
                if (failures != 0) exitCode = 2;
                Print(report);
            } else if (options.checkPlatform) {
                std::wstring folder(MAX_PATH, L'\0');
                folder.resize(GetCurrentDirectoryW(MAX_PATH, folder.data()));
                const int failures = CheckPlatformParts(folder, report) +
                                     CheckFileStore(folder, report) +
                                     CheckTechniciansPlace(folder, report);
                report += std::to_string(failures) + " failed\n";
                if (failures != 0) exitCode = 2;
                Print(report);
            } else if (!options.screenshots.empty()) {
                if (TakeScreenshots(host, options.screenshots, report) != 0) exitCode = 2;
                Print(report);
            } else if (!options.snapshot.empty()) {
                if (!TakeSnapshot(host, options.snapshot)) {
                    PrintError(L"could not save " + options.snapshot);
                    exitCode = 2;
                }
            } else if (options.checkCom) {
                if (CheckComLifetime(host, control, report) != 0) exitCode = 2;
                Print(report);
            } else if (options.measureDownload) {
                if (!MeasureDownload(host, report)) exitCode = 2;
                Print(report);
            } else if (options.measure > 0) {
                MeasureOpening(host, options.measure, report);
                Print(report);
            } else {
                if (options.open) {
                    g_window.closeWithSheet = true;
                    PostMessageW(window, WM_COMMAND, kPropertiesButtonId, 0);
                }
                MSG message;
                while (GetMessageW(&message, nullptr, 0, 0) > 0) {
                    if (!IsDialogMessageW(window, &message)) {
                        TranslateMessage(&message);
                        DispatchMessageW(&message);
                    }
                }
            }
            if (FAILED(host.LastVerbResult())) {
                PrintError(L"the properties verb failed");
                exitCode = exitCode == 0 ? 2 : exitCode;
            }
            g_window.host = nullptr;
        }
        if (!options.trace.empty() &&
            !ReplaceWholeFile(NarrowPath(options.trace), host.Log().Text())) {
            PrintError(L"cannot write " + options.trace);
            exitCode = exitCode == 0 ? 1 : exitCode;
        }
        // Everything the control obtained from the host goes back with it.
        control.Unload();
        if (host.Node().RefCount() != 0 || host.ComSite().References() != 0) {
            PrintError(L"the control kept references: node " +
                       std::to_wstring(host.Node().RefCount()) + L", site " +
                       std::to_wstring(host.ComSite().References()));
            exitCode = exitCode == 0 ? 3 : exitCode;
        }
    }
    if (IsWindow(window)) DestroyWindow(window);
    return exitCode;
}

}  // namespace

}  // namespace qta1::host

int main() {
    // Traces are bytes: no newline translation on the way out.
    _setmode(_fileno(stdout), _O_BINARY);
    int count = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::wstring> args(argv, argv + count);
    LocalFree(argv);
    const auto options = qta1::host::ParseOptions(args);
    if (!options) return 1;
    if (!options->hangWhileSaving.empty())
        return qta1::host::HangWhileSaving(options->hangWhileSaving);
    if (FAILED(OleInitialize(nullptr))) return 1;
    const int result = qta1::host::Run(*options);
    OleUninitialize();
    return result;
}
