#include "host_scenario.h"

#include <algorithm>

#include "host_support.h"
#include "host_user_folder.h"

namespace qta1::host {

// --- RealSheetHost -------------------------------------------------------------

RealSheetHost::RealSheetHost(EmbeddedControl& control, HWND window, const RECT& controlRect)
    : control_(control), window_(window), controlRect_(controlRect),
      comSite_(window, site_, script_) {
    comSite_.SetControlRect(controlRect);
    // Left over from a run that did not end.
    RemoveScriptedUserFolder();
}

// The folder of scripted runs and its parents up to the users' folder, as
// far as nothing else is in them (the parents exist in no Wine prefix).
void RealSheetHost::RemoveScriptedUserFolder() {
    std::wstring folder = WidenPath(ScriptedUserFolder());
    // Never the PC's own folder of the plug-in.
    if (lstrcmpiW(folder.c_str(), WidenPath(UserDataFolder()).c_str()) == 0) return;
    RemoveTree(folder);
    for (int up = 0; up < 3; ++up) {
        folder.resize(folder.find_last_of(L'\\'));
        RemoveDirectoryW(folder.c_str());
    }
}

void RealSheetHost::OpenWith(const std::function<void(SheetScript&)>& driver) {
    script_.Script(driver);
    lastVerb_ = control_.Properties(&comSite_, window_, controlRect_);
    script_.Script(nullptr);
    if (std::exception_ptr failure = script_.TakeFailure()) std::rethrow_exception(failure);
}

void RealSheetHost::Open(const std::function<void()>& driver) {
    OpenWith([&driver](SheetScript&) { driver(); });
}

void RealSheetHost::OpenForUser() {
    script_.ForUser();
    lastVerb_ = control_.Properties(&comSite_, window_, controlRect_);
}

void RealSheetHost::SeedFile(const std::string& path, const std::string& bytes) {
    NoteFile(path);
    if (!ReplaceWholeFile(path, bytes)) trace_.Add("= could not write " + QuoteText(path));
}

void RealSheetHost::NoteFile(const std::string& path) {
    const std::wstring file = WidenPath(path);
    if (file.empty()) return;
    if (std::find(files_.begin(), files_.end(), file) == files_.end()) files_.push_back(file);
    // Every missing folder on the way, from the root down; the root itself
    // ("C:\\", "\\\\server\\share\\") is never made.
    const size_t last = file.find_last_of(L"\\/");
    if (last == std::wstring::npos) return;
    for (size_t at = file.find_first_of(L"\\/"); at != std::wstring::npos && at <= last;
         at = file.find_first_of(L"\\/", at + 1)) {
        const std::wstring folder = file.substr(0, at);
        const bool root = folder.empty() || folder.back() == L':' ||
                          folder.find_first_not_of(L"\\/") == std::wstring::npos;
        if (!root && CreateDirectoryW(folder.c_str(), nullptr)) folders_.push_back(folder);
    }
}

void RealSheetHost::RemoveScenarioFiles() {
    RemoveScriptedUserFolder();
    for (const std::wstring& file : files_) {
        SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(file.c_str());
    }
    files_.clear();
    for (auto it = folders_.rbegin(); it != folders_.rend(); ++it) RemoveDirectoryW(it->c_str());
    folders_.clear();
}

bool RealSheetHost::SetFileReadOnly(const std::string& path, bool on) {
    NoteFile(path);
    const std::wstring file = WidenPath(path);
    const DWORD attributes = GetFileAttributesW(file.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    const DWORD changed =
        on ? attributes | FILE_ATTRIBUTE_READONLY : attributes & ~DWORD{FILE_ATTRIBUTE_READONLY};
    return SetFileAttributesW(file.c_str(), changed) != FALSE;
}

bool RealSheetHost::SetPcClock(const LocalTime& now) {
    clock_.SetLocal(now);
    return true;
}

std::optional<std::string> RealSheetHost::FileBytes(const std::string& path) {
    return ReadWholeFile(path);
}

std::optional<std::string> RealSheetHost::OpenFile(const std::string& path, bool factory,
                                                   const std::function<void()>& driver) {
    // The file is one of the scenario's, in a folder that exists, and it goes
    // with the scenario's other files.
    NoteFile(path);
    FileNode::Opened opened;
    if (factory) {
        opened.node = FileNode::Factory(fileSide_, fileSide_, path);
    } else {
        opened = FileNode::Open(fileSide_, fileSide_, path);
    }
    if (!opened.node) return opened.refusal;
    FileNode& file = *opened.node;
    heldFileNodes_.push_back(std::move(opened.node));
    file.SetLog([this](const std::string& line) { trace_.Add(line); });
    // The simulated node comes back however the sheet ends (a failing script
    // throws out of Open); a file node the control still holds is kept, so
    // that its calls never reach a destroyed object and the host's check of
    // references afterwards sees it.
    struct Restore {
        RealSheetHost& host;
        ~Restore() {
            host.comSite_.UseFileNode(nullptr);
            if (host.heldFileNodes_.back()->RefCount() == 0) host.heldFileNodes_.pop_back();
        }
    } restore{*this};
    comSite_.UseFileNode(file.Site());
    Open(driver);
    return std::nullopt;
}

int RealSheetHost::FileNodeReferences() const {
    int references = 0;
    for (const std::unique_ptr<FileNode>& file : heldFileNodes_) references += file->RefCount();
    return references;
}

// --- RealSheetHost::FileSide ------------------------------------------------------

std::optional<std::string> RealSheetHost::FileSide::ReadFile(const std::string& path) {
    return host_.FileBytes(path);
}

bool RealSheetHost::FileSide::ReplaceFile(const std::string& path, std::string_view bytes) {
    host_.NoteFile(path);
    return ReplaceWholeFile(path, bytes);
}

bool RealSheetHost::FileSide::FileWritable(const std::string& path) { return IsWritableFile(path); }

std::string RealSheetHost::FileSide::UserFolder() { return ScriptedUserFolder(); }

bool RealSheetHost::FileSide::MakeFolder(const std::string& path) { return MakeFolders(path); }

std::vector<std::string> RealSheetHost::FileSide::FileNames(const std::string& folder) {
    return FilesInFolder(folder);
}

bool RealSheetHost::FileSide::RemoveFile(const std::string& path) { return DeleteOneFile(path); }

}  // namespace qta1::host
