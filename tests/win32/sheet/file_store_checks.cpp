// The file store's saves under the faults a disk can show: the previous file
// must stay byte for byte and no temporary file may be left in the folder,
// whatever step fails, and also when the saving process is killed.

#include <functional>
#include <vector>

#include "check_support.h"
#include "platform/win32/file_store.h"
#include "sheet_checks.h"

namespace qta1::host {

namespace {

constexpr wchar_t kSavingEvent[] = L"Local\\qta1-file-store-saving";
constexpr DWORD kChildWaitMs = 30000;

// Write faults: the first call of a save writes half and fails, or fails at
// once as on a full disk.
BOOL WINAPI WriteHalfThenFail(HANDLE file, LPCVOID data, DWORD bytes, LPDWORD written,
                              LPOVERLAPPED overlapped) {
    ::WriteFile(file, data, bytes / 2, written, overlapped);
    SetLastError(ERROR_WRITE_FAULT);
    return FALSE;
}
BOOL WINAPI DiskFull(HANDLE, LPCVOID, DWORD, LPDWORD written, LPOVERLAPPED) {
    if (written != nullptr) *written = 0;
    SetLastError(ERROR_DISK_FULL);
    return FALSE;
}
BOOL WINAPI FlushFails(HANDLE) {
    SetLastError(ERROR_WRITE_FAULT);
    return FALSE;
}
BOOL WINAPI MoveRefused(LPCWSTR, LPCWSTR, DWORD) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
}
// Writes, tells the checking process that the save is under way, and never
// returns: the process is killed in the middle of its save.
BOOL WINAPI WriteThenHang(HANDLE file, LPCVOID data, DWORD bytes, LPDWORD written,
                          LPOVERLAPPED overlapped) {
    ::WriteFile(file, data, bytes, written, overlapped);
    if (HANDLE saving = OpenEventW(EVENT_MODIFY_STATE, FALSE, kSavingEvent)) {
        SetEvent(saving);
        CloseHandle(saving);
    }
    Sleep(INFINITE);
    return FALSE;
}

struct Fault {
    const char* what;
    std::function<void(FileSystemCalls&)> arm;
};

}  // namespace

int HangWhileSaving(const std::wstring& file) {
    FileCalls().writeFile = WriteThenHang;
    return ReplaceFileBytes(file, "new bytes of a save that never ends") ? 0 : 1;
}

void CheckFileStore(const std::wstring& folder) {
    const auto expect = [](bool ok, const std::string& what) {
        checks::Check(ok, "file store: " + what);
    };
    const std::wstring scratch = folder + L"\\file-store";
    RemoveTree(scratch);
    CreateDirectoryW(scratch.c_str(), nullptr);
    const std::wstring target = scratch + L"\\settings.txt";
    const std::string previous = "previous settings\r\n";
    const std::string next(300000, 'n');  // larger than one write, so a fault can fall inside

    // Each fault leaves the previous file as it was, and it alone.
    const Fault faults[] = {
        {"a write that fails part-way",
         [](FileSystemCalls& c) { c.writeFile = WriteHalfThenFail; }},
        {"a full disk", [](FileSystemCalls& c) { c.writeFile = DiskFull; }},
        {"a flush that fails", [](FileSystemCalls& c) { c.flushFile = FlushFails; }},
        {"a refused move", [](FileSystemCalls& c) { c.moveFile = MoveRefused; }},
    };
    for (const Fault& fault : faults) {
        expect(ReplaceFileBytes(target, previous), std::string(fault.what) + ": the previous save");
        const FileSystemCalls real = FileCalls();
        fault.arm(FileCalls());
        const bool saved = ReplaceFileBytes(target, next);
        FileCalls() = real;
        expect(!saved, std::string(fault.what) + " is reported");
        expect(ReadFileBytes(target) == previous,
               std::string(fault.what) + " leaves the previous file byte for byte");
        expect(NamesIn(scratch) == std::vector<std::wstring>{L"settings.txt"},
               std::string(fault.what) + " leaves no temporary file");
    }

    // An append to a log under the same faults (a refused move cannot happen
    // to it) keeps exactly what the log held; the next append then lands
    // right after the earlier entries.
    const std::wstring log = scratch + L"\\Changes.log";
    for (const Fault& fault : faults) {
        DeleteFileW(log.c_str());
        const std::string earlier = "\r\nan earlier entry\r\n";
        expect(AppendFileBytes(log, earlier), std::string(fault.what) + ": the first append");
        const FileSystemCalls real = FileCalls();
        fault.arm(FileCalls());
        const bool appended = AppendFileBytes(log, next);
        FileCalls() = real;
        if (fault.what == std::string("a refused move")) {
            expect(appended, "an append makes no move");
            continue;
        }
        expect(!appended, std::string(fault.what) + " of an append is reported");
        expect(ReadFileBytes(log) == earlier,
               std::string(fault.what) + " of an append leaves the log byte for byte");
        expect(AppendFileBytes(log, "\r\nthe next entry\r\n") &&
                   ReadFileBytes(log) == earlier + "\r\nthe next entry\r\n",
               std::string(fault.what) + ": the next append follows the earlier entries");
    }
    DeleteFileW(log.c_str());

    // A target another program holds open without sharing cannot be replaced.
    {
        HANDLE lock = CreateFileW(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        const bool saved = ReplaceFileBytes(target, next);
        if (lock != INVALID_HANDLE_VALUE) CloseHandle(lock);
        expect(!saved, "a locked target is reported");
        expect(ReadFileBytes(target) == previous, "a locked target keeps its bytes");
        expect(NamesIn(scratch) == std::vector<std::wstring>{L"settings.txt"},
               "a locked target leaves no temporary file");
    }

    // Names as long as the file system allows, in a folder deeper than the
    // old path limit.
    {
        const std::wstring longest = scratch + L"\\" + std::wstring(251, L'x') + L".txt";
        expect(ReplaceFileBytes(longest, next) && ReadFileBytes(longest) == next,
               "a name of 255 characters saves");
        std::wstring deep = scratch;
        for (int level = 0; level < 3; ++level) {
            deep += L"\\" + std::wstring(100, static_cast<wchar_t>(L'a' + level));
            CreateDirectoryW(UnlimitedPath(deep).c_str(), nullptr);
        }
        const std::wstring deepFile = deep + L"\\settings.txt";
        expect(deepFile.size() > MAX_PATH, "the deep path is longer than MAX_PATH");
        expect(ReplaceFileBytes(deepFile, next) && ReadFileBytes(deepFile) == next,
               "a path longer than MAX_PATH saves");
        RemoveTree(scratch + L"\\" + std::wstring(100, L'a'));
        DeleteFileW(UnlimitedPath(longest).c_str());
    }

    // A save killed half-way: the previous file stays and the temporary file
    // goes with the process.
    {
        expect(ReplaceFileBytes(target, previous), "killed save: the previous save");
        HANDLE saving = CreateEventW(nullptr, TRUE, FALSE, kSavingEvent);
        wchar_t self[MAX_PATH];
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        std::wstring command =
            L"\"" + std::wstring(self) + L"\" --hang-while-saving \"" + target + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION child{};
        const bool started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0,
                                            nullptr, nullptr, &startup, &child) != FALSE;
        expect(started, "killed save: the saving process starts");
        if (started) {
            const bool underWay = WaitForSingleObject(saving, kChildWaitMs) == WAIT_OBJECT_0;
            expect(underWay, "killed save: the save gets under way");
            TerminateProcess(child.hProcess, 9);
            WaitForSingleObject(child.hProcess, kChildWaitMs);
            CloseHandle(child.hThread);
            CloseHandle(child.hProcess);
            expect(ReadFileBytes(target) == previous, "a killed save leaves the previous file");
            expect(NamesIn(scratch) == std::vector<std::wstring>{L"settings.txt"},
                   "a killed save leaves no temporary file");
        }
        if (saving != nullptr) CloseHandle(saving);
    }
    RemoveTree(scratch);
}

}  // namespace qta1::host
