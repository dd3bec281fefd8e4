// Module-wide state of QTA1.OCX: the instance handle DllMain is given, and the
// counts of live objects and locks behind DllCanUnloadNow.
#include "platform/win32/ocx_module.h"

#include <atomic>

namespace qta1::win32 {

namespace {

HINSTANCE g_module = nullptr;
std::atomic<long> g_objects{0};
std::atomic<long> g_locks{0};

}  // namespace

void SetModuleInstance(HINSTANCE instance) { g_module = instance; }

HINSTANCE ModuleInstance() { return g_module; }

std::wstring ModulePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(g_module, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

void ObjectCreated() { ++g_objects; }
void ObjectDestroyed() { --g_objects; }
void LockModule() { ++g_locks; }
void UnlockModule() { --g_locks; }
bool ModuleInUse() { return g_objects.load() != 0 || g_locks.load() != 0; }

std::wstring LoadModuleString(UINT id) {
    const wchar_t* text = nullptr;
    // With a zero length, LoadString hands out a read-only pointer to the
    // resource itself.
    const int length = LoadStringW(g_module, id, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || text == nullptr) return {};
    return std::wstring(text, static_cast<size_t>(length));
}

}  // namespace qta1::win32
