// Helpers for the module's checks under Wine: watching for the module's
// windows from a second thread and closing them the way a user would. The
// checks report through tests/win32/harness.h.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "harness.h"

namespace checks {

inline std::string Narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) out.push_back(c < 128 ? static_cast<char>(c) : '?');
    return out;
}

// Runs `work` on a second thread; Join waits for it.
class Thread {
public:
    explicit Thread(std::function<void()> work) : work_(std::move(work)) {
        handle_ = CreateThread(nullptr, 0, &Thread::Run, this, 0, nullptr);
    }
    ~Thread() { Join(); }
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;
    void Join() {
        if (handle_ == nullptr) return;
        WaitForSingleObject(handle_, INFINITE);
        CloseHandle(handle_);
        handle_ = nullptr;
    }

private:
    static DWORD WINAPI Run(void* self) {
        static_cast<Thread*>(self)->work_();
        return 0;
    }
    std::function<void()> work_;
    HANDLE handle_ = nullptr;
};

inline std::wstring ClassOf(HWND window) {
    wchar_t name[128] = {};
    GetClassNameW(window, name, 128);
    return name;
}

inline std::wstring TextOf(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
}

inline BOOL CALLBACK CollectOwnVisible(HWND window, LPARAM param) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId() && IsWindowVisible(window)) {
        reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
    }
    return TRUE;
}

inline BOOL CALLBACK CollectAll(HWND window, LPARAM param) {
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
    return TRUE;
}

// Visible top-level windows of this process.
inline std::vector<HWND> TopWindows() {
    std::vector<HWND> found;
    EnumWindows(CollectOwnVisible, reinterpret_cast<LPARAM>(&found));
    return found;
}

inline std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> found;
    EnumChildWindows(parent, CollectAll, reinterpret_cast<LPARAM>(&found));
    return found;
}

inline std::vector<std::wstring> ChildTexts(HWND parent) {
    std::vector<std::wstring> texts;
    for (HWND child : Children(parent)) texts.push_back(TextOf(child));
    return texts;
}

inline bool Contains(const std::vector<std::wstring>& texts, const std::wstring& text) {
    for (const auto& t : texts) {
        if (t == text) return true;
    }
    return false;
}

// Waits until a visible dialog window of this process satisfies `accept`.
inline HWND WaitForDialog(const std::function<bool(HWND)>& accept, DWORD timeoutMs = 10000) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        for (HWND window : TopWindows()) {
            if (ClassOf(window) == L"#32770" && accept(window)) return window;
        }
        Sleep(20);
    }
    return nullptr;
}

inline HWND WaitForTitle(const std::wstring& title, DWORD timeoutMs = 10000) {
    return WaitForDialog([&](HWND window) { return TextOf(window) == title; }, timeoutMs);
}

inline HWND FindChildOfClass(HWND parent, const std::wstring& className) {
    for (HWND child : Children(parent)) {
        if (ClassOf(child) == className) return child;
    }
    return nullptr;
}

// Presses a dialog's button the way a click does.
inline void PressButton(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// Closes every dialog this process still shows: a failed check must not
// leave the main thread in a modal loop.
inline void CloseStrayDialogs() {
    for (HWND window : TopWindows()) {
        if (ClassOf(window) == L"#32770") PressButton(window, IDOK);
    }
}

// Lets the main thread's windows process what is queued for them.
inline void Pump(DWORD ms) {
    const DWORD start = GetTickCount();
    do {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(10);
    } while (GetTickCount() - start < ms);
}

}  // namespace checks
