// What the settings editor gives the control: a client site whose node is a
// settings file, and the PC's disk and clock the file node keeps its file
// with.
#pragma once

// clang-format off
#include <windows.h>
#include <ole2.h>
// clang-format on

#include "frame/platform.h"
#include "housekeeping/file_node.h"
#include "platform/win32/com_support.h"

namespace qta1::editor {

// The file node's storage and clock: whole files on the PC's disk by UTF-8
// path (a save replaces the file in one step) and the PC's local time. The
// file node asks nothing else; the technician's choices and folder belong to
// the plug-in's own platform, so these answer as if there were none.
class DiskAndClock final : public FileNodeStorage {
public:
    std::optional<std::string> ReadFile(const std::string& path) override;
    bool ReplaceFile(const std::string& path, std::string_view bytes) override;
    bool FileWritable(const std::string& path) override;
    std::string UserFolder() override { return {}; }
    bool MakeFolder(const std::string&) override { return false; }
    std::vector<std::string> FileNames(const std::string&) override { return {}; }
    bool RemoveFile(const std::string&) override { return false; }
    void Sleep(int ms) override;
    LocalTime Now() override;
};

// The control's client site. The node interfaces the plug-in asks for
// (NvReader, NvWriter and the file node's own) are the file node's, counted
// by it; the site itself is owned by the editor and only counts.
class FileSite final : public win32::DocumentlessClientSite {
public:
    explicit FileSite(FileNode& node) : node_(node) {}
    FileSite(const FileSite&) = delete;
    FileSite& operator=(const FileSite&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++refs_); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--refs_); }

private:
    FileNode& node_;
    LONG refs_ = 0;
};

}  // namespace qta1::editor
