// clang-format off
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>
// clang-format on

#include "host_session.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

#include "scenario.h"

namespace qta1::host {

namespace {

constexpr int kPropertiesButtonId = 100;
constexpr wchar_t kWindowClass[] = L"Qta1SubstituteHost";
constexpr RECT kControlRect = {16, 16, 47, 47};

const wchar_t* g_name = L"qta1host";

struct Options {
    bool unconfigured = false;
    bool noNode = false;
    bool registered = false;
    std::wstring state;
    std::wstring trace;
    std::wstring ocx;
    // The modes named, by their row, each with its value.
    std::vector<std::optional<std::wstring>> named;
};

// The options that stand alone, and the options followed by a file.
constexpr struct {
    const wchar_t* name;
    bool Options::*set;
} kSwitches[] = {
    {L"--unconfigured", &Options::unconfigured},
    {L"--no-node", &Options::noNode},
    {L"--registered", &Options::registered},
};
constexpr struct {
    const wchar_t* name;
    std::wstring Options::*value;
} kPaths[] = {
    {L"--state", &Options::state},
    {L"--trace", &Options::trace},
    {L"--ocx", &Options::ocx},
};

std::optional<Options> ParseOptions(const std::vector<std::wstring>& args,
                                    std::span<const Mode> modes) {
    Options options;
    options.named.resize(modes.size());
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
        const auto isMode = std::find_if(modes.begin(), modes.end(),
                                         [&arg](const Mode& mode) { return arg == mode.option; });
        bool ok = true;
        if (isSwitch != std::end(kSwitches)) {
            options.*(isSwitch->set) = true;
        } else if (isPath != std::end(kPaths)) {
            ok = value(options.*(isPath->value));
        } else if (isMode != modes.end()) {
            std::wstring given;
            if (isMode->takes != Mode::Takes::Nothing) ok = value(given);
            if (ok && isMode->takes == Mode::Takes::Count) {
                const int count = _wtoi(given.c_str());
                ok = count > 0 && count <= 1000;
            }
            options.named[static_cast<size_t>(isMode - modes.begin())] = given;
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

int Run(const Options& options, int (*mode)(Session&), const std::wstring& value) {
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
            Session session{host, control, window, value};
            exitCode = mode(session);
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
        if (host.Node().RefCount() != 0 || host.ComSite().References() != 0 ||
            host.FileNodeReferences() != 0) {
            PrintError(L"the control kept references: node " +
                       std::to_wstring(host.Node().RefCount()) + L", site " +
                       std::to_wstring(host.ComSite().References()) + L", settings file " +
                       std::to_wstring(host.FileNodeReferences()));
            exitCode = exitCode == 0 ? 3 : exitCode;
        }
    }
    if (IsWindow(window)) DestroyWindow(window);
    return exitCode;
}

}  // namespace

void Print(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

void PrintError(const std::wstring& text) {
    const std::string bytes = NarrowPath(std::wstring(g_name) + L": " + text + L"\n");
    std::fwrite(bytes.data(), 1, bytes.size(), stderr);
    std::fflush(stderr);
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

int RunWindow(Session& session, bool openAtStart) {
    if (openAtStart) {
        g_window.closeWithSheet = true;
        PostMessageW(session.window, WM_COMMAND, kPropertiesButtonId, 0);
    }
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageW(session.window, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return 0;
}

int HostMain(const wchar_t* name, std::span<const Mode> modes, int (*byDefault)(Session&)) {
    g_name = name;
    // Traces are bytes: no newline translation on the way out.
    _setmode(_fileno(stdout), _O_BINARY);
    int count = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::wstring> args(argv, argv + count);
    LocalFree(argv);
    const auto options = ParseOptions(args, modes);
    if (!options) return 1;
    // The first row named runs, whatever order the command line names them in.
    const Mode* chosen = nullptr;
    std::wstring value;
    for (size_t i = 0; i < modes.size() && chosen == nullptr; ++i) {
        if (options->named[i]) {
            chosen = &modes[i];
            value = *options->named[i];
        }
    }
    if (chosen != nullptr && chosen->alone != nullptr) return chosen->alone(value);
    if (FAILED(OleInitialize(nullptr))) return 1;
    const int result = Run(*options, chosen != nullptr ? chosen->run : byDefault, value);
    OleUninitialize();
    return result;
}

}  // namespace qta1::host
