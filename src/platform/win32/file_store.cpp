#include "platform/win32/file_store.h"

#include <algorithm>

#include "platform/win32/win32_handles.h"

namespace qta1 {

namespace {

// A settings file is a few kilobytes; anything far beyond that is not one,
// and reading it whole could exhaust the host's memory.
constexpr LONGLONG kLargestFileBytes = 64LL * 1024 * 1024;
constexpr DWORD kChunkBytes = 1 << 20;
constexpr unsigned kNameAttempts = 16;

bool WriteAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size(), kChunkBytes));
        DWORD written = 0;
        if (!FileCalls().writeFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) {
            return false;
        }
        bytes.remove_prefix(written);
    }
    return true;
}

// Windows refuses to write a read-only file by itself; asking first keeps the
// rule where the file system does not enforce the attribute (Wine run by
// root, some network shares).
bool IsReadOnly(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

// Marks an open file to be deleted when its last handle closes, or takes the
// mark back. While it is set, a save killed half-way leaves nothing behind:
// the system closes the process's handles and the file goes with them.
bool MarkForDeletion(HANDLE file, bool on) {
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = on ? TRUE : FALSE;
    return SetFileInformationByHandle(file, FileDispositionInfo, &disposition,
                                      sizeof disposition) != FALSE;
}

// A short name in the target's folder: the target's own name may already be
// as long as a name can be.
std::wstring TemporaryName(const std::wstring& target, unsigned attempt) {
    const size_t slash = target.find_last_of(L"\\/");
    const std::wstring folder = slash == std::wstring::npos ? L"" : target.substr(0, slash + 1);
    wchar_t name[32];
    const unsigned tag = (GetCurrentProcessId() << 16) ^ (GetTickCount() + attempt * 7919u);
    swprintf(name, sizeof name / sizeof name[0], L"~qta1-%08x.tmp", tag);
    return folder + name;
}

}  // namespace

FileSystemCalls& FileCalls() {
    static FileSystemCalls calls;
    return calls;
}

std::wstring UnlimitedPath(const std::wstring& path) {
    std::wstring full(path);
    std::replace(full.begin(), full.end(), L'/', L'\\');
    if (full.starts_with(L"\\\\?\\")) return full;
    const DWORD needed = GetFullPathNameW(full.c_str(), 0, nullptr, nullptr);
    if (needed != 0) {
        std::wstring absolute(needed, L'\0');
        const DWORD length = GetFullPathNameW(full.c_str(), needed, absolute.data(), nullptr);
        if (length != 0 && length < needed) full = absolute.substr(0, length);
    }
    if (full.size() >= 3 && full[1] == L':' && full[2] == L'\\') return L"\\\\?\\" + full;
    if (full.starts_with(L"\\\\") && !full.starts_with(L"\\\\.\\")) {
        return L"\\\\?\\UNC\\" + full.substr(2);
    }
    return full;
}

std::optional<std::string> ReadFileBytes(const std::wstring& path) {
    if (path.empty()) return std::nullopt;
    const win32::FileHandle file(CreateFileW(UnlimitedPath(path).c_str(), GENERIC_READ,
                                             FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                             FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0 ||
        size.QuadPart > kLargestFileBytes) {
        return std::nullopt;
    }
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, kChunkBytes));
        DWORD read = 0;
        if (!::ReadFile(file.Get(), bytes.data() + done, chunk, &read, nullptr)) {
            return std::nullopt;
        }
        if (read == 0) break;  // the file got shorter meanwhile
        done += read;
    }
    bytes.resize(done);
    return bytes;
}

bool ReplaceFileBytes(const std::wstring& path, std::string_view bytes) {
    if (path.empty() || path.back() == L'\\' || path.back() == L'/') return false;
    const std::wstring target = UnlimitedPath(path);
    if (IsReadOnly(target)) return false;
    // The temporary file sits beside the target, so the final move stays on
    // one volume and replaces the target in one step.
    std::wstring temporary;
    HANDLE handle = INVALID_HANDLE_VALUE;
    for (unsigned attempt = 0; attempt < kNameAttempts && handle == INVALID_HANDLE_VALUE;
         ++attempt) {
        temporary = TemporaryName(target, attempt);
        handle = FileCalls().createFile(temporary.c_str(), GENERIC_WRITE | DELETE, 0, nullptr,
                                        CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) return false;
    }
    win32::FileHandle file(handle);
    if (!file) return false;
    const bool marked = MarkForDeletion(file.Get(), true);
    bool ok = WriteAll(file.Get(), bytes) && FileCalls().flushFile(file.Get()) != FALSE;
    // The mark comes off only when the bytes are safely on the disk; a file
    // that keeps it is deleted by the close.
    ok = ok && (!marked || MarkForDeletion(file.Get(), false));
    // Closed here, so that a close that fails fails the save.
    ok = CloseHandle(file.Release()) != FALSE && ok;
    ok = ok && FileCalls().moveFile(temporary.c_str(), target.c_str(),
                                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
    if (!ok) DeleteFileW(temporary.c_str());  // gone already when the close deleted it
    return ok;
}

bool AppendFileBytes(const std::wstring& path, std::string_view bytes) {
    if (path.empty() || path.back() == L'\\' || path.back() == L'/') return false;
    const std::wstring target = UnlimitedPath(path);
    if (IsReadOnly(target)) return false;
    // Others may read the log meanwhile (Notepad); nobody else writes it.
    win32::FileHandle file(FileCalls().createFile(target.c_str(), GENERIC_READ | GENERIC_WRITE,
                                                  FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    LARGE_INTEGER end{};
    if (!SetFilePointerEx(file.Get(), LARGE_INTEGER{}, &end, FILE_END)) return false;
    if (WriteAll(file.Get(), bytes) && FileCalls().flushFile(file.Get()) != FALSE) {
        return CloseHandle(file.Release()) != FALSE;
    }
    // Back to what the file held, so that a half entry never stays behind.
    if (SetFilePointerEx(file.Get(), end, nullptr, FILE_BEGIN)) SetEndOfFile(file.Get());
    return false;
}

bool IsWritableFilePath(const std::wstring& path) {
    if (path.empty()) return false;
    const std::wstring full = UnlimitedPath(path);
    if (IsReadOnly(full)) return false;
    // Opening a folder this way fails, as does a read-only or locked file.
    const win32::FileHandle file(CreateFileW(full.c_str(), GENERIC_READ | GENERIC_WRITE,
                                             FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return static_cast<bool>(file);
}

}  // namespace qta1
