// What the plug-in keeps for the technician on the PC: choices in the
// registry under the current user, and files (backups) in the user's own
// folder; and the window that shows a review list.
#include <shlobj.h>

#include "platform/win32/file_store.h"
#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_platform.h"

namespace qta1 {

namespace {

constexpr wchar_t kSettingsKey[] = L"Software\\QTA1\\Plugin";

}  // namespace

std::optional<std::string> ReadUserSetting(std::string_view name) {
    const std::wstring value = WidenText(name);
    wchar_t data[512] = {};
    DWORD size = sizeof data - sizeof(wchar_t);
    if (RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, value.c_str(), RRF_RT_REG_SZ, nullptr, data,
                     &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return NarrowText(data);
}

void WriteUserSetting(std::string_view name, std::string_view value) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS) {
        return;
    }
    const std::wstring wideName = WidenText(name);
    const std::wstring data = WidenText(value);
    RegSetValueExW(key, wideName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                   static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
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
    HANDLE search = FindFirstFileW((UnlimitedPath(WidenPath(utf8Folder)) + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            names.push_back(NarrowPath(found.cFileName));
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

bool DeleteOneFile(const std::string& utf8Path) {
    return DeleteFileW(UnlimitedPath(WidenPath(utf8Path)).c_str()) != FALSE;
}

// For now the list is shown as the text of a message box.
MsgAnswer ShowReviewWindow(HWND owner, const ReviewList& list, ReviewButtons buttons) {
    std::string text = list.heading;
    for (const std::vector<std::string>& row : list.rows) {
        text += "\n";
        for (size_t i = 0; i < row.size(); ++i) text += (i == 0 ? "" : " | ") + row[i];
    }
    const std::wstring wide = WidenText(text);
    const std::wstring title = WidenText(list.title);
    const int answer = ::MessageBoxW(owner, wide.c_str(), title.c_str(),
                                     buttons == ReviewButtons::YesNo ? MB_YESNO : MB_OKCANCEL);
    return answer == IDYES || answer == IDOK ? MsgAnswer::Yes : MsgAnswer::No;
}

}  // namespace qta1
