// Settings files on the PC's disk. A save writes a temporary file beside the
// target and moves it over the target in one step, so whatever fails (a write
// part-way, a full disk, a refused move, the process killed) the previous
// file stays byte for byte and no temporary file is left behind.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace qta1 {

// The system calls a save makes. The file store's own checks replace some of
// them to see a disk fail at a given step; the plug-in never does.
struct FileSystemCalls {
    decltype(&::CreateFileW) createFile = ::CreateFileW;
    decltype(&::WriteFile) writeFile = ::WriteFile;
    decltype(&::FlushFileBuffers) flushFile = ::FlushFileBuffers;
    decltype(&::MoveFileExW) moveFile = ::MoveFileExW;
};
FileSystemCalls& FileCalls();

// The form of an absolute path that no MAX_PATH limit applies to
// ("\\?\C:\...", "\\?\UNC\server\share\..."); other paths as they are.
std::wstring UnlimitedPath(const std::wstring& path);

std::optional<std::string> ReadFileBytes(const std::wstring& path);
bool ReplaceFileBytes(const std::wstring& path, std::string_view bytes);
// Adds the bytes at the end of the file (made when missing) and flushes them
// to the disk. A write that fails part-way is cut off again, so the file
// keeps exactly what it held: a log loses at most the entry being written.
bool AppendFileBytes(const std::wstring& path, std::string_view bytes);
// An existing file that opens for reading and writing (and is left as it was).
bool IsWritableFilePath(const std::wstring& path);

}  // namespace qta1
