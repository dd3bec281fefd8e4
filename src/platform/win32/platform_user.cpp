// What the plug-in keeps for the technician on the PC: choices in the
// registry under the current user, and files (backups) in the user's own
// folder.
#include <shlobj.h>

#include <cwchar>

#include "platform/win32/file_store.h"
#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_platform.h"

namespace qta1 {

namespace {

constexpr wchar_t kSettingsKey[] = L"Software\\QTA1\\Plugin";

}  // namespace

std::optional<std::string> ReadUserSetting(std::string_view name) {
    const std::wstring value = WidenText(name);
    win32::RegKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_QUERY_VALUE, key.Out()) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    // The size first, then the text: a choice may be longer than any fixed
    // buffer. Another program may change it in between; then it is asked again.
    for (int attempt = 0; attempt < 3; ++attempt) {
        DWORD size = 0;
        if (RegGetValueW(key.Get(), nullptr, value.c_str(), RRF_RT_REG_SZ, nullptr, nullptr,
                         &size) != ERROR_SUCCESS) {
            return std::nullopt;
        }
        std::wstring data(size / sizeof(wchar_t) + 1, L'\0');
        size = static_cast<DWORD>(data.size() * sizeof(wchar_t));
        const LSTATUS status = RegGetValueW(key.Get(), nullptr, value.c_str(), RRF_RT_REG_SZ,
                                            nullptr, data.data(), &size);
        if (status == ERROR_MORE_DATA) continue;
        if (status != ERROR_SUCCESS) return std::nullopt;
        data.resize(wcsnlen(data.c_str(), data.size()));
        return NarrowText(data);
    }
    return std::nullopt;
}

void WriteUserSetting(std::string_view name, std::string_view value) {
    win32::RegKey key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        key.Out(), nullptr) != ERROR_SUCCESS) {
        return;
    }
    const std::wstring wideName = WidenText(name);
    const std::wstring data = WidenText(value);
    RegSetValueExW(key.Get(), wideName.c_str(), 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(data.c_str()),
                   static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
}

std::string LoggedOnUser() {
    wchar_t name[257] = {};  // the longest user name, and its zero
    DWORD size = sizeof name / sizeof name[0];
    if (!GetUserNameW(name, &size)) return {};
    return NarrowText(name);
}

std::string UserDataFolder() {
    PWSTR local = nullptr;
    std::wstring folder;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &local))) folder = local;
    CoTaskMemFree(local);
    if (folder.empty()) return {};
    return NarrowPath(folder + L"\\QTA1");
}

bool MakeFolders(const std::string& utf8Path) {
    const std::wstring path = UnlimitedPath(WidenPath(utf8Path));
    for (size_t at = path.find(L'\\', 7); at != std::wstring::npos; at = path.find(L'\\', at + 1)) {
        CreateDirectoryW(path.substr(0, at).c_str(), nullptr);
    }
    CreateDirectoryW(path.c_str(), nullptr);
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::vector<std::string> FilesInFolder(const std::string& utf8Folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found{};
    const win32::FindHandle search(
        FindFirstFileW((UnlimitedPath(WidenPath(utf8Folder)) + L"\\*").c_str(), &found));
    if (!search) return names;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            names.push_back(NarrowPath(found.cFileName));
        }
    } while (FindNextFileW(search.Get(), &found));
    return names;
}

bool DeleteOneFile(const std::string& utf8Path) {
    return DeleteFileW(UnlimitedPath(WidenPath(utf8Path)).c_str()) != FALSE;
}

}  // namespace qta1
