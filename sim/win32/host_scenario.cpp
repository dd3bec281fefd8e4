#include "host_scenario.h"

#include <algorithm>

namespace qta1::host {

// --- HostTechnician ------------------------------------------------------------

void HostTechnician::Attach(Win32Platform& sheet) {
    sheet_ = &sheet;
    for (MsgAnswer answer : messageAnswers_) sheet.QueueMessageAnswer(answer);
    for (auto& answer : fileAnswers_) sheet.QueueFileAnswer(std::move(answer));
    messageAnswers_.clear();
    fileAnswers_.clear();
}

void HostTechnician::Detach() {
    if (sheet_ == nullptr) return;
    while (const auto answer = sheet_->TakeMessageAnswer()) messageAnswers_.push_back(*answer);
    for (std::optional<std::string> path; sheet_->TakeFileAnswer(path);) {
        fileAnswers_.push_back(std::move(path));
    }
    sheet_ = nullptr;
}

bool HostTechnician::SelectTab(PageId page) { return sheet_ != nullptr && sheet_->SelectTab(page); }

bool HostTechnician::Click(PageId page, int control) {
    return sheet_ != nullptr && sheet_->Click(page, control);
}

bool HostTechnician::Type(PageId page, int control, std::string_view text) {
    return sheet_ != nullptr && sheet_->Type(page, control, text);
}

// With the sheet closed no timer runs: time simply passes.
void HostTechnician::Idle(int64_t ms) {
    if (sheet_ != nullptr) {
        sheet_->Idle(ms);
    } else if (ms > 0) {
        clock_.Advance(ms);
    }
}

void HostTechnician::Exit() {
    if (sheet_ != nullptr) sheet_->Exit();
}

void HostTechnician::QueueMessageAnswer(MsgAnswer answer) {
    if (sheet_ != nullptr) {
        sheet_->QueueMessageAnswer(answer);
    } else {
        messageAnswers_.push_back(answer);
    }
}

void HostTechnician::QueueFileAnswer(std::optional<std::string> path) {
    if (path && onFileAnswer_) onFileAnswer_(*path);
    if (sheet_ != nullptr) {
        sheet_->QueueFileAnswer(std::move(path));
    } else {
        fileAnswers_.push_back(std::move(path));
    }
}

size_t HostTechnician::PendingAnswers() const {
    return sheet_ != nullptr ? sheet_->PendingAnswers()
                             : messageAnswers_.size() + fileAnswers_.size();
}

std::vector<PageId> HostTechnician::Tabs() const {
    return sheet_ != nullptr ? sheet_->Tabs() : std::vector<PageId>();
}

std::optional<PageId> HostTechnician::ActivePage() const {
    return sheet_ != nullptr ? sheet_->ActivePage() : std::nullopt;
}

std::optional<ControlState> HostTechnician::State(PageId page, int control) const {
    return sheet_ != nullptr ? sheet_->State(page, control) : std::nullopt;
}

std::string HostTechnician::SheetCaption() const {
    return sheet_ != nullptr ? sheet_->SheetCaption() : std::string();
}

std::string HostTechnician::OkCaption() const {
    return sheet_ != nullptr ? sheet_->OkCaption() : std::string();
}

bool HostTechnician::ApplyAndCancelHidden() const {
    return sheet_ != nullptr && sheet_->ApplyAndCancelHidden();
}

// --- RealSheetHost -------------------------------------------------------------

RealSheetHost::RealSheetHost(EmbeddedControl& control, HWND window, const RECT& controlRect)
    : control_(control), window_(window), controlRect_(controlRect), comSite_(window, site_) {
    comSite_.SetControlRect(controlRect);
}

void RealSheetHost::RunDriver(Technician* technician, void* context) {
    auto& self = *static_cast<RealSheetHost*>(context);
    // The module's driver hands over its Win32 platform, seen as a technician.
    auto& sheet = static_cast<Win32Platform&>(*technician);
    self.technician_.Attach(sheet);
    (*self.driver_)(sheet);
    self.technician_.Detach();
}

void RealSheetHost::OpenWith(const std::function<void(Win32Platform&)>& driver) {
    Qta1ScriptedRun run{};
    run.size = sizeof run;
    run.trace = &trace_;
    run.clock = &clock_;
    run.driver = &RealSheetHost::RunDriver;
    run.context = this;
    driver_ = &driver;
    if (!control_.SetScriptedRun(&run)) {
        trace_.Add("= the module refused the scripted run");
        driver_ = nullptr;
        return;
    }
    lastVerb_ = control_.Properties(&comSite_, window_, controlRect_);
    control_.SetScriptedRun(nullptr);
    driver_ = nullptr;
}

void RealSheetHost::Open(const std::function<void()>& driver) {
    OpenWith([&driver](Win32Platform&) { driver(); });
}

void RealSheetHost::OpenForUser() {
    Qta1ScriptedRun run{};
    run.size = sizeof run;
    run.trace = &trace_;
    run.clock = &clock_;
    control_.SetScriptedRun(&run);
    lastVerb_ = control_.Properties(&comSite_, window_, controlRect_);
    control_.SetScriptedRun(nullptr);
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

}  // namespace qta1::host
