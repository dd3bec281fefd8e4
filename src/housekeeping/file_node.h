// A node that is a settings file: the host interfaces answered from the
// file's settings image, so that the pages read and write a file exactly as
// they read and write a unit, with no unit connected. Every NV and part a
// settings file carries is read from and written to the image; the part
// selector behaves as a node's; status, live and clock NVs and commands are
// not there (their reads fail and their writes are refused); the node's name
// is the file's name without its folder and extension.
//
// The file is opened with the download's own whole-file check and kept with
// the settings file writer, rewriting only the data lines of blocks whose
// bytes changed: a file saved here downloads to a unit as exactly the bytes
// the pages showed, and a file saved unchanged keeps every byte.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "frame/host_link.h"
#include "frame/platform.h"
#include "housekeeping/settings_file.h"

namespace qta1 {

// The status a read or write of something the file does not hold answers.
inline constexpr int32_t kNotInFile = static_cast<int32_t>(0x80004005);  // E_FAIL

// The storage and clock a program gives a file node when it keeps nothing
// else for the plug-in: a file node reads and replaces files and asks the
// time, and keeps no choices, no change log and no timers.
class FileNodeStorage : public Storage, public Clock {
public:
    std::optional<std::string> UserSetting(std::string_view) override { return std::nullopt; }
    void SetUserSetting(std::string_view, std::string_view) override {}
    bool AppendFile(const std::string&, std::string_view) override { return false; }
    std::string UserName() override { return {}; }
    void SetTimer(PageId, int, int) override {}
    void KillTimer(PageId, int) override {}
};

class FileNode final : public NodeInterfaces, public FileNodeSite {
public:
    // The file at `path`, read through `storage` and checked as a download
    // checks it; `refusal` says why it does not open (the first bad line,
    // as a download names it), and `node` is then empty.
    struct Opened {
        std::unique_ptr<FileNode> node;
        std::string refusal;
    };
    static Opened Open(Storage& storage, Clock& clock, const std::string& path);
    // The factory settings, kept as a new file at `path` when saved.
    static std::unique_ptr<FileNode> Factory(Storage& storage, Clock& clock,
                                             const std::string& path);

    FileNode(const FileNode&) = delete;
    FileNode& operator=(const FileNode&) = delete;

    // What the control is given as its client site: it offers the reader,
    // the writer and the file node.
    HostUnknown* Site() { return static_cast<NvReader*>(this); }
    const SettingsImage& Image() const { return image_; }
    const std::string& Path() const { return path_; }
    // The text Save would write now.
    std::string Text() const;
    // References the plug-in holds.
    int RefCount() const { return refs_; }
    // Told every host call, as a trace line ("ReadNv(56, 31) -> 0  [..]").
    void SetLog(std::function<void(const std::string&)> log) { log_ = std::move(log); }

    // --- Host interfaces ----------------------------------------------------
    int32_t QTA1_COMCALL QueryInterface(const Guid& iid, void** out) override;
    uint32_t QTA1_COMCALL AddRef() override;
    uint32_t QTA1_COMCALL Release() override;
    int32_t QTA1_COMCALL ReadNv(int32_t nvIndex, uint8_t* buffer, int32_t length) override;
    int32_t QTA1_COMCALL ReadNodeName(uint8_t* buffer, int32_t length) override;
    int32_t QTA1_COMCALL WriteNv(int32_t nvIndex, const uint8_t* buffer, int32_t length) override;
    int32_t QTA1_COMCALL FileName(uint8_t* buffer, int32_t length) override;
    int32_t QTA1_COMCALL Unsaved() override;
    int32_t QTA1_COMCALL Save(int32_t overwrite) override;

private:
    FileNode(Storage& storage, Clock& clock, std::string path);

    const NvEntry* FileNv(int nv) const;
    void Log(const std::string& line) const;

    Storage& storage_;
    Clock& clock_;
    std::string path_;
    SettingsImage image_;
    // The file as last read or written (none: a new file), its plan, and the
    // image it held then.
    std::optional<std::string> fileBytes_;
    // What the path held when the node was made or last saved: anything else
    // there now is another program's doing. A new file may replace one the
    // technician chose to overwrite.
    std::optional<std::string> onDisk_;
    SettingsFilePlan plan_;
    SettingsImage savedImage_;
    int selector_ = kOptionPart;
    int refs_ = 0;
    std::function<void(const std::string&)> log_;
};

// The file's name as a caption shows it: without its folder.
std::string FileNameOf(std::string_view path);
// The node name of a file: its name without folder and extension.
std::string NodeNameOfFile(std::string_view path);

}  // namespace qta1
