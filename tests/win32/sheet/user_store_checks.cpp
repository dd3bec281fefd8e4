// What the plug-in keeps for the technician on the PC, checked on the real
// registry and file system: choices under HKCU\Software\QTA1\Plugin (and
// nowhere else), folders made with their parents, the plain files of a
// folder listed and removed, also beyond the old path limit.

#include <algorithm>
#include <map>
#include <optional>
#include <vector>

#include "check_support.h"
#include "platform/headless/trace.h"
#include "platform/win32/file_store.h"
#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_platform.h"
#include "sheet_checks.h"

namespace qta1::host {

namespace {

constexpr wchar_t kPluginKey[] = L"Software\\QTA1\\Plugin";
constexpr wchar_t kPluginParentKey[] = L"Software\\QTA1";

// Every key and value under a root: "key\" for a key, "key\name" = type and
// data for a value.
using RegistryPicture = std::map<std::wstring, std::wstring>;

void Picture(HKEY key, const std::wstring& path, RegistryPicture& picture) {
    picture[path + L"\\"] = L"";
    std::vector<wchar_t> name(16384);
    std::vector<BYTE> data(64 * 1024);
    for (DWORD i = 0;; ++i) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        DWORD type = 0;
        DWORD size = static_cast<DWORD>(data.size());
        const LSTATUS status =
            RegEnumValueW(key, i, name.data(), &nameLength, nullptr, &type, data.data(), &size);
        // Any other answer ends the list too: some keys answer every index
        // with an error.
        if (status != ERROR_SUCCESS && status != ERROR_MORE_DATA) break;
        std::wstring value = std::to_wstring(type) + L":";
        if (status == ERROR_SUCCESS) {
            constexpr wchar_t kDigits[] = L"0123456789ABCDEF";
            for (DWORD b = 0; b < size; ++b) {
                value += kDigits[data[b] >> 4];
                value += kDigits[data[b] & 15];
            }
        } else {
            value += L"(unread " + std::to_wstring(status) + L")";
        }
        picture[path + L"\\" + std::wstring(name.data(), nameLength)] = value;
    }
    for (DWORD i = 0;; ++i) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        const LSTATUS status =
            RegEnumKeyExW(key, i, name.data(), &nameLength, nullptr, nullptr, nullptr, nullptr);
        if (status != ERROR_SUCCESS) break;
        const std::wstring child(name.data(), nameLength);
        win32::RegKey sub;
        // A link is pictured as the link, not followed: links may lead round
        // in a circle.
        if (RegOpenKeyExW(key, child.c_str(), REG_OPTION_OPEN_LINK, KEY_READ, sub.Out()) ==
            ERROR_SUCCESS) {
            Picture(sub.Get(), path + L"\\" + child, picture);
        } else {
            picture[path + L"\\" + child + L"\\"] = L"(closed)";
        }
    }
}

// The current user's part of the registry, where the choices go. (The
// machine's part is watched instead: a picture of it takes seconds.)
RegistryPicture PictureOfUser() {
    RegistryPicture picture;
    Picture(HKEY_CURRENT_USER, L"HKCU", picture);
    return picture;
}

// Hears any change under HKEY_LOCAL_MACHINE from now on.
class MachineWatch {
public:
    MachineWatch() : event_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
        watching_ = event_ != nullptr &&
                    RegOpenKeyExW(HKEY_LOCAL_MACHINE, nullptr, 0, KEY_NOTIFY, key_.Out()) ==
                        ERROR_SUCCESS &&
                    RegNotifyChangeKeyValue(key_.Get(), TRUE,
                                            REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET,
                                            event_, TRUE) == ERROR_SUCCESS;
    }
    MachineWatch(const MachineWatch&) = delete;
    MachineWatch& operator=(const MachineWatch&) = delete;
    ~MachineWatch() {
        if (event_ != nullptr) CloseHandle(event_);
    }
    bool Watching() const { return watching_; }
    bool Changed() const { return WaitForSingleObject(event_, 0) == WAIT_OBJECT_0; }

private:
    HANDLE event_;
    win32::RegKey key_;
    bool watching_ = false;
};

bool KeyExists(const wchar_t* path) {
    win32::RegKey key;
    return RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, key.Out()) == ERROR_SUCCESS;
}

// The value as the registry holds it: its type and its UTF-16 text.
std::optional<std::wstring> RawValue(const std::wstring& name, DWORD* type) {
    win32::RegKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kPluginKey, 0, KEY_READ, key.Out()) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    std::vector<wchar_t> data(8192);
    DWORD size = static_cast<DWORD>(data.size() * sizeof(wchar_t));
    if (RegQueryValueExW(key.Get(), name.c_str(), nullptr, type,
                         reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    std::wstring text(data.data(), size / sizeof(wchar_t));
    while (!text.empty() && text.back() == L'\0') text.pop_back();
    return text;
}

// The differences between two pictures, a line each, at most `limit`.
std::string Differences(const RegistryPicture& before, const RegistryPicture& after,
                        size_t limit = 5) {
    std::string lines;
    size_t count = 0;
    for (const auto& [path, value] : after) {
        const auto it = before.find(path);
        if (it == before.end() || it->second != value) {
            if (count++ < limit) {
                lines += "  " + std::string(it == before.end() ? "new " : "changed ") +
                         NarrowPath(path) + "\n";
            }
        }
    }
    for (const auto& [path, value] : before) {
        if (after.count(path) == 0 && count++ < limit) lines += "  gone " + NarrowPath(path) + "\n";
    }
    return lines;
}

bool IsFolder(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(UnlimitedPath(WidenPath(path)).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::vector<std::string> Sorted(std::vector<std::string> names) {
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

void CheckTechniciansPlace(const std::wstring& folder) {
    const auto expect = [](bool ok, const std::string& what) { checks::Check(ok, what); };

    // --- Choices in the registry ---------------------------------------------
    const bool parentExisted = KeyExists(kPluginParentKey);
    const bool keyExisted = KeyExists(kPluginKey);
    const MachineWatch machine;
    expect(machine.Watching(), "changes under HKEY_LOCAL_MACHINE can be watched");
    const RegistryPicture before = PictureOfUser();
    // Names of this run only, so that a technician's own choices in this
    // registry stay as they are.
    const std::string tag = " (sheet check " + std::to_string(GetCurrentProcessId()) + ")";
    struct Choice {
        std::string name;
        std::string value;
        std::wstring stored;  // as the registry holds it
    };
    const Choice choices[] = {
        {"Verify after writing" + tag, "1", L"1"},
        {"Back up and preview first" + tag, "0", L"0"},
        {"Empty" + tag, "", L""},
        {"Windows-1252 \xE9" + tag,
         "\x80 21.5 \xB0"
         "C",
         L"\u20AC 21.5 \u00B0C"},
        {"Long" + tag, std::string(3000, 'x'), std::wstring(3000, L'x')},
    };
    for (const Choice& choice : choices) WriteUserSetting(choice.name, choice.value);
    for (const Choice& choice : choices) {
        const std::string what = "the choice " + QuoteText(choice.name);
        expect(ReadUserSetting(choice.name) == choice.value, what + " reads back byte for byte");
        DWORD type = 0;
        const auto raw = RawValue(WidenText(choice.name), &type);
        expect(raw == choice.stored && type == REG_SZ,
               what + " is a text value under HKCU\\Software\\QTA1\\Plugin");
    }
    WriteUserSetting(choices[0].name, "0");
    expect(ReadUserSetting(choices[0].name) == "0", "a choice made again replaces the first");
    expect(!ReadUserSetting("Never made" + tag), "a choice never made reads as none");

    // Nothing but the plug-in's key and its values came into the registry.
    RegistryPicture during = PictureOfUser();
    std::erase_if(during, [&](const auto& entry) {
        const std::wstring& path = entry.first;
        const bool ours = path.starts_with(L"HKCU\\Software\\QTA1\\Plugin\\");
        const bool newKey = (!parentExisted && path == L"HKCU\\Software\\QTA1\\") ||
                            (!keyExisted && path == L"HKCU\\Software\\QTA1\\Plugin\\");
        return (ours && before.count(path) == 0) || newKey;
    });
    const std::string changed = Differences(before, during);
    expect(changed.empty(), "the choices change nothing else of the user's:\n" + changed);
    expect(!machine.Changed(), "the choices change nothing under HKEY_LOCAL_MACHINE");

    // Put back as it was.
    {
        win32::RegKey key;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, kPluginKey, 0, KEY_SET_VALUE, key.Out()) ==
            ERROR_SUCCESS) {
            for (const Choice& choice : choices) {
                RegDeleteValueW(key.Get(), WidenText(choice.name).c_str());
            }
        }
    }
    if (!keyExisted) RegDeleteKeyW(HKEY_CURRENT_USER, kPluginKey);
    if (!parentExisted) RegDeleteKeyW(HKEY_CURRENT_USER, kPluginParentKey);
    expect(Differences(before, PictureOfUser()).empty(),
           "the registry is as it was once the check's choices are removed");

    // --- Folders and files ----------------------------------------------------------
    const std::string data = UserDataFolder();
    expect(data.ends_with("\\QTA1") && IsFolder(data.substr(0, data.size() - 5)),
           "the technician's folder is QTA1 in the user's local application data (" + data + ")");

    const std::string scratch = NarrowPath(folder) + "\\technician";
    RemoveTree(WidenPath(scratch));
    const std::string nested = scratch + "\\QTA1\\Node \xC3\xA9 1";  // a non-ASCII name, in UTF-8
    expect(MakeFolders(nested) && IsFolder(nested), "a folder is made with its parents");
    expect(MakeFolders(nested), "a folder that exists is there afterwards");
    expect(
        ReplaceWholeFile(scratch + "\\in the way", "x") && !MakeFolders(scratch + "\\in the way"),
        "a file where the folder should be is no folder");
    expect(!MakeFolders(scratch + "\\in the way\\below"), "no folder below a file");

    const std::vector<std::string> files{"2026-12-08 10.15.00.txt", "2026-12-08 10.16.00.txt",
                                         "r\xC3\xA9sum\xC3\xA9.txt"};
    for (const std::string& name : files) ReplaceWholeFile(nested + "\\" + name, "saved");
    MakeFolders(nested + "\\a folder");
    expect(Sorted(FilesInFolder(nested)) == Sorted(files),
           "a folder lists its plain files by name, and no folders");
    expect(FilesInFolder(scratch + "\\missing").empty(), "a missing folder lists nothing");
    expect(DeleteOneFile(nested + "\\" + files[2]) && !ReadWholeFile(nested + "\\" + files[2]),
           "a file is removed");
    expect(!DeleteOneFile(nested + "\\" + files[2]), "a missing file is not removed");
    expect(Sorted(FilesInFolder(nested)) == Sorted({files[0], files[1]}),
           "the others stay in the folder");

    // Deeper than the old path limit.
    std::string deep = scratch;
    for (char c : {'a', 'b', 'c'}) deep += "\\" + std::string(100, c);
    expect(deep.size() > MAX_PATH, "the deep folder's path is longer than MAX_PATH");
    expect(MakeFolders(deep) && IsFolder(deep), "a folder beyond MAX_PATH is made");
    expect(ReplaceWholeFile(deep + "\\backup.txt", "saved") &&
               FilesInFolder(deep) == std::vector<std::string>{"backup.txt"},
           "a file beyond MAX_PATH is listed");
    expect(DeleteOneFile(deep + "\\backup.txt") && FilesInFolder(deep).empty(),
           "a file beyond MAX_PATH is removed");

    RemoveTree(WidenPath(scratch));
}

}  // namespace qta1::host
