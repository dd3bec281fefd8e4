#include "platform/headless/headless_platform.h"

#include <algorithm>
#include <utility>

#include "frame/trend.h"
#include "platform/trace_lines.h"

namespace qta1 {

HeadlessPlatform::HeadlessPlatform(VirtualClock& clock, Trace& trace)
    : clock_(clock), trace_(trace) {}

void HeadlessPlatform::AddPage(PageId page, PageEvents& events) {
    if (std::find(tabs_.begin(), tabs_.end(), page) != tabs_.end()) return;
    pages_[page] = &events;
    tabs_.push_back(page);
}

void HeadlessPlatform::RemovePage(PageId page) {
    auto it = std::find(tabs_.begin(), tabs_.end(), page);
    if (it == tabs_.end()) return;
    if (open_ && active_ == page) {
        // The sheet moves to the neighbouring tab before the page goes.
        const size_t index = static_cast<size_t>(it - tabs_.begin());
        if (tabs_.size() > 1) Activate(tabs_[index > 0 ? index - 1 : 1]);
        it = std::find(tabs_.begin(), tabs_.end(), page);
    }
    tabs_.erase(it);
    if (active_ == page) active_.reset();
    DestroyWindow(page);
    pages_.erase(page);
}

void HeadlessPlatform::SetOkCaption(std::string_view caption) { okCaption_ = caption; }
void HeadlessPlatform::HideApplyAndCancel() { applyCancelHidden_ = true; }

void HeadlessPlatform::RunSheetModal(std::string_view caption, SheetEvents& events) {
    caption_ = caption;
    open_ = true;
    exitRequested_ = false;
    events_ = &events;
    okCaption_ = "OK";
    applyCancelHidden_ = false;
    trace_.Add(trace_line::SheetOpens(caption));
    if (!tabs_.empty()) Activate(tabs_.front());
    events.OnSheetInitDialog();
    if (driver_ && !exitRequested_) driver_(*this);
    // The trend window belongs to the sheet and goes first.
    CloseTrend();
    trace_.Add(trace_line::SheetCloses());
    for (auto it = tabs_.rbegin(); it != tabs_.rend(); ++it) DestroyWindow(*it);
    tabs_.clear();
    pages_.clear();
    active_.reset();
    open_ = false;
    events_ = nullptr;
}

bool HeadlessPlatform::Close(CloseWay way) {
    if (way != CloseWay::Exit) trace_.Add(trace_line::CloseKey(way));
    exitRequested_ = events_ == nullptr || events_->OnSheetClosing();
    return exitRequested_;
}

ControlState* HeadlessPlatform::Find(PageId page, int control) {
    auto window = windows_.find(page);
    if (window == windows_.end()) return nullptr;
    auto it = window->second.controls.find(control);
    return it != window->second.controls.end() ? &it->second : nullptr;
}

std::optional<ControlState> HeadlessPlatform::State(PageId page, int control) const {
    const ControlState* state = const_cast<HeadlessPlatform*>(this)->Find(page, control);
    if (state == nullptr) return std::nullopt;
    return *state;
}

void HeadlessPlatform::SetText(PageId page, int control, std::string_view text) {
    ControlState* state = Find(page, control);
    if (state == nullptr) return;
    // Button captions are what the technician watches while the node is
    // busy ("Wait"), so their changes belong in the trace.
    if (state->decl->kind == ControlKind::PushButton && state->text != text) {
        trace_.Add(trace_line::Caption(*state->decl, text));
    }
    state->text = text;
}

std::string HeadlessPlatform::GetText(PageId page, int control) {
    ControlState* state = Find(page, control);
    return state != nullptr ? state->text : std::string();
}

void HeadlessPlatform::SetCheck(PageId page, int control, bool checked) {
    if (ControlState* state = Find(page, control)) state->checked = checked;
}

bool HeadlessPlatform::GetCheck(PageId page, int control) {
    ControlState* state = Find(page, control);
    return state != nullptr && state->checked;
}

void HeadlessPlatform::Enable(PageId page, int control, bool enabled) {
    if (ControlState* state = Find(page, control)) state->enabled = enabled;
}

void HeadlessPlatform::SetFocus(PageId page, int control) {
    if (Find(page, control) != nullptr) windows_[page].focused = control;
}

int HeadlessPlatform::Focused(PageId page) const {
    const auto window = windows_.find(page);
    return window != windows_.end() ? window->second.focused : 0;
}

void HeadlessPlatform::SetTimer(PageId page, int timerId, int periodMs) {
    if (!WindowExists(page)) return;
    timers_.Set(page, timerId, periodMs);
}

void HeadlessPlatform::KillTimer(PageId page, int timerId) { timers_.Kill(page, timerId); }

void HeadlessPlatform::Sleep(int ms) {
    trace_.Add(trace_line::Sleep(ms));
    clock_.Advance(ms);
}

LocalTime HeadlessPlatform::Now() { return clock_.LocalNow(); }

MsgAnswer HeadlessPlatform::MessageBox(std::string_view text, std::string_view title,
                                       MsgButtons buttons, MsgIcon icon) {
    const ScriptedAnswers::BoxAnswer box = answers_.NextBoxAnswer(buttons);
    trace_.Add(trace_line::MessageBox(text, title, buttons, icon, box.answer, box.unanswered));
    return box.answer;
}

std::optional<std::string> HeadlessPlatform::OpenFileDialog(const FileDialogRequest& request) {
    const std::optional<std::string> answer = answers_.NextFileAnswer();
    trace_.Add(trace_line::FileDialog(false, request, answer));
    return answer;
}

std::optional<std::string> HeadlessPlatform::SaveFileDialog(const FileDialogRequest& request) {
    const std::optional<std::string> answer = answers_.NextFileAnswer();
    trace_.Add(trace_line::FileDialog(true, request, answer));
    return answer;
}

std::optional<std::string> HeadlessPlatform::ReadFile(const std::string& path) {
    auto it = files_.find(path);
    if (it == files_.end() || unreadable_[path]) return std::nullopt;
    return it->second;
}

// As on a disk: the bytes go to a temporary file beside the target, which is
// moved over the target only once it is complete, and removed on any fault.
bool HeadlessPlatform::ReplaceFile(const std::string& path, std::string_view bytes) {
    const SaveFault fault = std::exchange(saveFault_, SaveFault::None);
    if (readOnly_[path]) return false;
    const size_t slash = path.find_last_of("\\/");
    const std::string temporary =
        (slash == std::string::npos ? "" : path.substr(0, slash + 1)) + "~qta1-save.tmp";
    std::string& written = files_[temporary];
    written.clear();
    constexpr size_t kChunk = 512;
    for (size_t done = 0; done < bytes.size(); done += kChunk) {
        if (fault == SaveFault::WriteStops && done >= saveFaultAfter_) {
            files_.erase(temporary);
            return false;
        }
        written += bytes.substr(done, kChunk);
    }
    if (fault == SaveFault::MoveRefused) {
        files_.erase(temporary);
        return false;
    }
    files_[path] = std::move(files_[temporary]);
    files_.erase(temporary);
    return true;
}

bool HeadlessPlatform::AppendFile(const std::string& path, std::string_view bytes) {
    const std::optional<size_t> fault = std::exchange(appendFaultAfter_, std::nullopt);
    if (readOnly_[path]) return false;
    std::string& file = files_[path];
    if (fault && *fault < bytes.size()) {
        file += bytes.substr(0, *fault);
        return false;
    }
    file += bytes;
    return true;
}

MsgAnswer HeadlessPlatform::ShowReviewList(const ReviewList& list, ReviewButtons buttons) {
    const ScriptedAnswers::BoxAnswer box = answers_.NextBoxAnswer(MsgButtons::YesNo);
    for (std::string& line : trace_line::ReviewList(list, buttons, box.answer, box.unanswered)) {
        trace_.Add(std::move(line));
    }
    return box.answer;
}

std::optional<std::string> HeadlessPlatform::UserSetting(std::string_view name) {
    const auto it = userSettings_.find(name);
    if (it == userSettings_.end()) return std::nullopt;
    return it->second;
}

void HeadlessPlatform::SetUserSetting(std::string_view name, std::string_view value) {
    userSettings_[std::string(name)] = std::string(value);
}

// Folders exist wherever a file may go; a file's folder is whatever precedes
// its last separator.
bool HeadlessPlatform::MakeFolder(const std::string& path) {
    return !path.empty() && !failFolders_;
}

std::vector<std::string> HeadlessPlatform::FileNames(const std::string& folder) {
    std::vector<std::string> names;
    const std::string prefix = folder + "\\";
    for (const auto& [path, bytes] : files_) {
        if (path.starts_with(prefix) && path.find('\\', prefix.size()) == std::string::npos) {
            names.push_back(path.substr(prefix.size()));
        }
    }
    return names;
}

bool HeadlessPlatform::RemoveFile(const std::string& path) { return files_.erase(path) > 0; }

std::vector<std::string> HeadlessPlatform::FilePaths() const {
    std::vector<std::string> paths;
    for (const auto& [path, bytes] : files_) paths.push_back(path);
    return paths;
}

bool HeadlessPlatform::FileWritable(const std::string& path) {
    return files_.count(path) != 0 && !readOnly_[path];
}

void HeadlessPlatform::SetReadOnly(const std::string& path, bool on) { readOnly_[path] = on; }

void HeadlessPlatform::CreateWindow(PageId page) {
    Window& window = windows_[page];
    for (const ControlDecl& decl : pages_[page]->Controls()) {
        if (decl.id == IDC_STATIC) continue;
        ControlState state;
        state.decl = &decl;
        state.text = IsEdit(decl.kind) ? "" : decl.label;
        state.enabled = (decl.flags & kInitiallyOff) == 0;
        state.visible = (decl.flags & kHidden) == 0;
        window.controls[decl.id] = state;
    }
    pages_[page]->OnInitDialog();
}

void HeadlessPlatform::DestroyWindow(PageId page) {
    windows_.erase(page);
    timers_.KillPage(page);
}

void HeadlessPlatform::Activate(PageId page) {
    if (active_ == page) return;
    if (active_ && pages_.count(*active_) != 0) pages_[*active_]->OnShow(false);
    active_ = page;
    if (!WindowExists(page)) CreateWindow(page);
    pages_[page]->OnShow(true);
}

bool HeadlessPlatform::SelectTab(PageId page) {
    if (!open_ || std::find(tabs_.begin(), tabs_.end(), page) == tabs_.end()) {
        trace_.Add(trace_line::Tab(page, "not in the sheet"));
        return false;
    }
    trace_.Add(trace_line::Tab(page));
    Activate(page);
    return true;
}

void HeadlessPlatform::CheckRadio(PageId page, int control) {
    // Automatic radio buttons: the clicked one is checked and the others of
    // its group, a run of radio buttons opened by a group start, unchecked.
    const auto decls = pages_[page]->Controls();
    auto clicked = std::find_if(decls.begin(), decls.end(),
                                [control](const ControlDecl& d) { return d.id == control; });
    if (clicked == decls.end()) return;
    auto first = clicked;
    while (first != decls.begin() && (first->flags & kStartsGroup) == 0 &&
           std::prev(first)->kind == ControlKind::RadioButton) {
        --first;
    }
    for (auto it = first; it != decls.end() && it->kind == ControlKind::RadioButton; ++it) {
        if (it != first && (it->flags & kStartsGroup) != 0) break;
        SetCheck(page, it->id, it->id == control);
    }
}

bool HeadlessPlatform::Click(PageId page, int control) {
    ControlState* state = Find(page, control);
    if (state == nullptr || active_ != page) {
        trace_.Add(trace_line::Click(nullptr));
        return false;
    }
    if (!state->enabled || !state->visible) {
        trace_.Add(trace_line::Click(state->decl, "disabled, nothing happens"));
        return false;
    }
    trace_.Add(trace_line::Click(state->decl));
    if (state->decl->kind == ControlKind::CheckBox) state->checked = !state->checked;
    if (state->decl->kind == ControlKind::RadioButton) CheckRadio(page, control);
    pages_[page]->OnClick(control);
    return true;
}

bool HeadlessPlatform::Type(PageId page, int control, std::string_view text) {
    ControlState* state = Find(page, control);
    if (state == nullptr || active_ != page) {
        trace_.Add(trace_line::Type(nullptr, text));
        return false;
    }
    const ControlKind kind = state->decl->kind;
    if (!state->enabled || !state->visible ||
        (kind != ControlKind::Edit && kind != ControlKind::PasswordEdit)) {
        trace_.Add(trace_line::Type(state->decl, text, "not editable"));
        return false;
    }
    trace_.Add(trace_line::Type(state->decl, text));
    state->text = text;
    return true;
}

bool HeadlessPlatform::OpenTrend(TrendView& view) {
    trace_.Add(trend_ != nullptr ? trace_line::TrendToFront() : trace_line::TrendOpens());
    trend_ = &view;
    return true;
}

void HeadlessPlatform::UpdateTrend() {
    if (trend_ != nullptr) trace_.Add(trace_line::TrendUpdate(trend_->Model()));
}

void HeadlessPlatform::CloseTrend() {
    if (trend_ == nullptr) return;
    trend_ = nullptr;
    trace_.Add(trace_line::TrendCloses());
}

bool HeadlessPlatform::TrendWindow(int minutes) {
    if (trend_ == nullptr) return false;
    trace_.Add(trace_line::TrendAction("window " + std::to_string(minutes)));
    trend_->ChooseWindow(minutes);
    return true;
}

bool HeadlessPlatform::TrendPause(bool paused) {
    if (trend_ == nullptr) return false;
    trace_.Add(trace_line::TrendAction(paused ? "pause" : "resume"));
    trend_->Pause(paused);
    return true;
}

bool HeadlessPlatform::TrendSeries(size_t series, bool shown) {
    if (trend_ == nullptr || series >= kTrendSeriesCount) return false;
    trace_.Add(trace_line::TrendAction(std::string("series ") + kTrendSeries[series].key +
                                       (shown ? " on" : " off")));
    trend_->ShowSeries(series, shown);
    return true;
}

bool HeadlessPlatform::TrendClose() {
    if (trend_ == nullptr) return false;
    trace_.Add(trace_line::TrendAction("close"));
    trend_->Closed();
    return true;
}

bool HeadlessPlatform::TrendSaveData() {
    if (trend_ == nullptr) return false;
    trace_.Add(trace_line::TrendAction("save data"));
    trend_->SaveData();
    return true;
}

const TrendModel* HeadlessPlatform::TrendShown() const {
    return trend_ != nullptr ? &trend_->Model() : nullptr;
}

void HeadlessPlatform::Idle(int64_t ms) {
    timers_.Idle(ms, [this](PageId page, int id) {
        trace_.Add(trace_line::Timer(page, id));
        pages_[page]->OnTimer(id);
    });
}

}  // namespace qta1
