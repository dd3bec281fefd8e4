#include "platform/win32/script_hooks.h"

#include <vector>

#include "platform/win32/win32_platform.h"

namespace qta1 {

namespace {

int Number(PageId page) { return static_cast<int>(page); }

static_assert(win32::kQta1TrendSeries == static_cast<int>(kTrendSeriesCount),
              "the trend window tells every series");

// A message box as the host is told it; the texts live in the caller's
// strings while the host looks at them.
struct BoxQuestion {
    BoxQuestion(std::string_view text, std::string_view title, MsgButtons buttons, MsgIcon icon)
        : wideText(WidenText(text)), wideTitle(WidenText(title)) {
        question.kind = win32::kQta1MessageBox;
        question.buttons = static_cast<INT>(buttons);
        question.icon = static_cast<INT>(icon);
        question.text = wideText.c_str();
        question.title = wideTitle.c_str();
    }
    std::wstring wideText;
    std::wstring wideTitle;
    win32::Qta1Question question{};
};

// A file dialog as the host is told it: the proposed name, extension and
// filter are the plug-in's texts (the name is the file name box's, so it
// reaches the host byte for byte); the folder is a path.
struct FileQuestion {
    FileQuestion(bool save, const FileDialogRequest& request)
        : name(WidenText(request.proposedName)), extension(WidenText(request.defaultExtension)),
          filter(WidenText(request.filter)), folder(WidenPath(request.initialFolder)) {
        question.kind = save ? win32::kQta1SaveFileDialog : win32::kQta1OpenFileDialog;
        question.proposedName = name.c_str();
        question.extension = extension.c_str();
        question.filter = filter.c_str();
        question.folder = folder.c_str();
    }
    std::wstring name;
    std::wstring extension;
    std::wstring filter;
    std::wstring folder;
    win32::Qta1Question question{};
};

// What the sheet goes on with: the host's answer when it gives one, else
// what was pressed.
std::optional<MsgAnswer> Answered(const win32::ComPtr<win32::IQta1ScriptSite>& script,
                                  const win32::Qta1Question& question,
                                  std::optional<MsgAnswer> pressed) {
    if (!script) return pressed;
    INT told = pressed ? static_cast<INT>(*pressed) : -1;
    script->QuestionAnswered(&question, &told, nullptr);
    if (told < 0) return pressed;
    return static_cast<MsgAnswer>(told);
}

}  // namespace

ScriptHooks::ScriptHooks(IUnknown* site) {
    if (site == nullptr) return;
    site->QueryInterface(win32::kIidQta1ScriptSite, script_.OutVoid());
    site->QueryInterface(win32::kIidQta1StorageSite, storage_.OutVoid());
}

// --- What the technician sees happen ---------------------------------------------

void ScriptHooks::SheetOpening(std::string_view caption) const {
    if (script_) script_->SheetOpening(WidenText(caption).c_str());
}

bool ScriptHooks::SheetReady(HWND sheet) const {
    return script_ && script_->SheetReady(sheet) == S_OK;
}

void ScriptHooks::SheetClosed() const {
    if (script_) script_->SheetClosed();
}

void ScriptHooks::PageWindow(PageId page, HWND window) const {
    if (script_) script_->PageWindow(Number(page), window);
}

void ScriptHooks::BeforePlugIn() const {
    if (script_) script_->BeforePlugIn();
}

void ScriptHooks::ButtonCaption(PageId page, int control, HWND button,
                                std::string_view text) const {
    if (!script_) return;
    const std::wstring wide = WidenText(text);
    if (WindowText(button) != wide) script_->ButtonCaption(Number(page), control, wide.c_str());
}

void ScriptHooks::TrendWindow(win32::Qta1TrendEvent event, HWND window,
                              const TrendModel* model) const {
    if (!script_) return;
    if (model == nullptr) {
        script_->TrendWindow(event, window, nullptr);
        return;
    }
    const TrendBuffer& kept = model->samples();
    std::vector<win32::Qta1TrendSample> samples(kept.size());
    for (size_t s = 0; s < kept.size(); ++s) {
        const TrendSample& sample = kept[s];
        win32::Qta1TrendSample& told = samples[s];
        told.seconds = sample.seconds;
        told.time = SYSTEMTIME{};
        told.time.wYear = static_cast<WORD>(sample.time.year);
        told.time.wMonth = static_cast<WORD>(sample.time.month);
        told.time.wDay = static_cast<WORD>(sample.time.day);
        told.time.wHour = static_cast<WORD>(sample.time.hour);
        told.time.wMinute = static_cast<WORD>(sample.time.minute);
        told.time.wSecond = static_cast<WORD>(sample.time.second);
        told.time.wDayOfWeek = static_cast<WORD>(sample.time.dayOfWeek);
        for (size_t i = 0; i < kTrendSeriesCount; ++i) {
            told.words[i] = sample.words[i] ? static_cast<INT>(*sample.words[i]) : -1;
        }
    }
    const win32::Qta1TrendSamples all{static_cast<INT>(samples.size()), samples.data(),
                                      model->Visible().endSeconds};
    script_->TrendWindow(event, window, &all);
}

// --- The questions the technician answers ------------------------------------------

void ScriptHooks::MessageBoxAsked(std::string_view text, std::string_view title, MsgButtons buttons,
                                  MsgIcon icon) const {
    if (!script_) return;
    const BoxQuestion box(text, title, buttons, icon);
    script_->QuestionAsked(&box.question, nullptr);
}

std::optional<MsgAnswer> ScriptHooks::MessageBoxAnswered(std::string_view text,
                                                         std::string_view title, MsgButtons buttons,
                                                         MsgIcon icon,
                                                         std::optional<MsgAnswer> pressed) const {
    if (!script_) return pressed;
    const BoxQuestion box(text, title, buttons, icon);
    return Answered(script_, box.question, pressed);
}

void ScriptHooks::ReviewAsked(HWND window, ReviewButtons buttons) const {
    if (!script_) return;
    win32::Qta1Question question{};
    question.kind = win32::kQta1ReviewWindow;
    question.buttons = static_cast<INT>(buttons);
    question.window = window;
    script_->QuestionAsked(&question, nullptr);
}

std::optional<MsgAnswer> ScriptHooks::ReviewAnswered(ReviewButtons buttons,
                                                     std::optional<MsgAnswer> pressed) const {
    win32::Qta1Question question{};
    question.kind = win32::kQta1ReviewWindow;
    question.buttons = static_cast<INT>(buttons);
    return Answered(script_, question, pressed);
}

bool ScriptHooks::FileDialogAsked(bool save, const FileDialogRequest& request,
                                  std::optional<std::string>& path) const {
    if (!script_) return false;
    const FileQuestion file(save, request);
    win32::Bstr chosen;
    if (script_->QuestionAsked(&file.question, chosen.Out()) != S_OK) return false;
    path.reset();
    if (chosen.Get() != nullptr) path = NarrowPath(chosen.View());
    return true;
}

void ScriptHooks::FileDialogAnswered(bool save, const FileDialogRequest& request,
                                     const wchar_t* chosen) const {
    if (!script_) return;
    const FileQuestion file(save, request);
    script_->QuestionAnswered(&file.question, nullptr, chosen);
}

// --- Time --------------------------------------------------------------------------------

bool ScriptHooks::Wait(int ms) const { return script_ && script_->Wait(ms) == S_OK; }

std::optional<SYSTEMTIME> ScriptHooks::LocalTime() const {
    SYSTEMTIME now{};
    if (!script_ || script_->LocalTime(&now) != S_OK) return std::nullopt;
    return now;
}

bool ScriptHooks::SetPageTimer(PageId page, int id, int periodMs) const {
    return script_ && script_->SetPageTimer(Number(page), id, periodMs) == S_OK;
}

void ScriptHooks::KillPageTimer(PageId page, int id) const {
    if (script_) script_->KillPageTimer(Number(page), id);
}

void ScriptHooks::TimerFired(PageId page, int id) const {
    if (script_) script_->TimerFired(Number(page), id);
}

// --- The technician's storage ----------------------------------------------------------

bool ScriptHooks::UserSetting(std::string_view name, std::optional<std::string>& value) const {
    if (!storage_) return false;
    win32::Bstr kept;
    if (storage_->UserSetting(WidenText(name).c_str(), kept.Out()) != S_OK) return false;
    value.reset();
    if (kept.Get() != nullptr) value = NarrowText(kept.View());
    return true;
}

bool ScriptHooks::SetUserSetting(std::string_view name, std::string_view value) const {
    return storage_ &&
           storage_->SetUserSetting(WidenText(name).c_str(), WidenText(value).c_str()) == S_OK;
}

std::optional<std::string> ScriptHooks::UserFolder() const {
    if (!storage_) return std::nullopt;
    win32::Bstr folder;
    if (storage_->UserFolder(folder.Out()) != S_OK || folder.Get() == nullptr) return std::nullopt;
    return NarrowPath(folder.View());
}

std::optional<std::string> ScriptHooks::UserName() const {
    if (!storage_) return std::nullopt;
    win32::Bstr name;
    if (storage_->UserName(name.Out()) != S_OK || name.Get() == nullptr) return std::nullopt;
    return NarrowText(name.View());
}

}  // namespace qta1
