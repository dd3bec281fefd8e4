#include "frame/sheet.h"

#include <algorithm>

#include "frame/trend.h"
#include "resources/strings.h"

namespace qta1 {

CSheet::CSheet(Platform& platform, HostUnknown* clientSite, const SheetPages& pages)
    : platform_(platform), pages_(pages), link_(platform, platform) {
    for (const SheetPage& page : pages_.pages) instances_.push_back(page.make(*this));
    link_.Obtain(clientSite);
    if (pages_.makeChangeLog != nullptr) changeLog_ = pages_.makeChangeLog(*this);
    Add(pages_.home);
    uint8_t part1[kConfiguredWordReadLength] = {};
    if (!link_.HasReader() ||
        link_.SelectAndRead(kOptionPart, part1, kConfiguredWordReadLength) !=
            NodeLink::PartRead::Ok) {
        return;
    }
    if (ConfiguredWord(part1) > 0) {
        AddTechnicianSet();
    } else {
        Add(pages_.unconfigured);
    }
}

CSheet::~CSheet() {
    if (trend_) CloseTrend();
}

void CSheet::LogChange(const ChangeEntry& entry) {
    if (changeLog_) changeLog_->Record(entry);
}

void CSheet::RunModal() {
    const std::string file = FileName();
    platform_.RunSheetModal(file.empty() ? std::string(text::kSheetCaption)
                                         : text::kSheetCaption + std::string(text::kFileCaptionHead) +
                                               file + text::kFileCaptionTail,
                            *this);
}

std::string CSheet::FileName() const {
    FileNodeSite* file = link_.File();
    if (file == nullptr) return {};
    uint8_t name[kFileNameBufferSize] = {};
    // Whatever the host answers, the name ends within the buffer.
    file->FileName(name, kFileNameBufferSize);
    name[kFileNameBufferSize - 1] = 0;
    return std::string(reinterpret_cast<const char*>(name));
}

bool CSheet::SaveFile() {
    FileNodeSite* file = link_.File();
    int32_t status = file->Save(0);
    if (status == kFileChangedElsewhere) {
        if (platform_.MessageBox(FileName() + text::kChangedElsewhereTail, "",
                                 MsgButtons::YesNoDefaultNo,
                                 MsgIcon::Exclamation) != MsgAnswer::Yes) {
            return false;
        }
        status = file->Save(1);
    }
    if (status == kHostOk) return true;
    platform_.MessageBox(FileName() + text::kFileNotSavedTail, "", MsgButtons::Ok, MsgIcon::Stop);
    return false;
}

bool CSheet::ClosingFileSaved() {
    FileNodeSite* file = link_.File();
    if (file == nullptr || file->Unsaved() != kHostOk) return true;
    switch (platform_.MessageBox(text::kSaveChangesHead + FileName() + text::kSaveChangesTail, "",
                                 MsgButtons::YesNoCancel, MsgIcon::Question)) {
        case MsgAnswer::Yes:
            return SaveFile();
        case MsgAnswer::No:
            return true;
        default:
            return false;
    }
}

void CSheet::OnSheetInitDialog() {
    platform_.SetOkCaption(text::kExit);
    platform_.HideApplyAndCancel();
    if (!link_.HasAny()) {
        platform_.MessageBox(text::kNodeNotAvailable, text::kNodeNotAvailableTitle, MsgButtons::Ok,
                             MsgIcon::Exclamation);
    }
}

bool CSheet::OnSheetClosing() {
    if (!ClosingAllowed()) return false;
    CloseTrend();
    return true;
}

bool CSheet::ClosingAllowed() {
    std::vector<CPropPage*> typed;
    for (PageId id : tabs_) {
        CPropPage* page = Page(id);
        if (page != nullptr && page->HoldsUnwrittenValues()) typed.push_back(page);
    }
    if (typed.empty()) return ClosingFileSaved();
    // "Values typed on PID, Freecool and Calender were not written. Close anyway?"
    std::string pages;
    for (size_t i = 0; i < typed.size(); ++i) {
        pages += (i == 0 ? "" : i + 1 == typed.size() ? text::kAndPage : ", ") +
                 std::string(CaptionOfPage(typed[i]->id()));
    }
    const MsgAnswer answer =
        platform_.MessageBox(text::kTypedNotWrittenHead + pages + text::kTypedNotWrittenTail, "",
                             MsgButtons::YesNoDefaultNo, MsgIcon::Exclamation);
    if (answer == MsgAnswer::Yes) return ClosingFileSaved();
    typed.front()->KeepOnNextShow();
    platform_.ShowPage(typed.front()->id());
    return false;
}

CPropPage* CSheet::Page(PageId id) {
    for (const std::unique_ptr<CPropPage>& page : instances_) {
        if (page->id() == id) return page.get();
    }
    return nullptr;
}

std::string_view CSheet::CaptionOfPage(PageId id) const {
    for (const SheetPage& page : pages_.pages) {
        if (page.id == id) return page.caption;
    }
    return {};
}

std::span<const ControlDecl> CSheet::ControlsOf(PageId id) const {
    for (const SheetPage& page : pages_.pages) {
        if (page.id == id) return page.controls;
    }
    return {};
}

void CSheet::Add(PageId id) {
    CPropPage* page = Page(id);
    if (page == nullptr || std::find(tabs_.begin(), tabs_.end(), id) != tabs_.end()) return;
    tabs_.push_back(id);
    platform_.AddPage(id, *page);
}

void CSheet::Remove(PageId id) {
    auto it = std::find(tabs_.begin(), tabs_.end(), id);
    if (it == tabs_.end()) return;
    // The trend samples on this page's timer, which ends with its window.
    if (trend_ && trend_->host() == id) CloseTrend();
    tabs_.erase(it);
    platform_.RemovePage(id);
}

void CSheet::AddUserSet() {
    for (PageId id : pages_.userSet) Add(id);
}
void CSheet::RemoveUserSet() {
    for (PageId id : pages_.userSet) Remove(id);
}
void CSheet::AddTechnicianSet() {
    for (PageId id : pages_.technicianSet) Add(id);
}
void CSheet::RemoveTechnicianSet() {
    for (PageId id : pages_.technicianSet) Remove(id);
}

bool CSheet::Shows(std::span<const PageId> set) const {
    return tabs_.size() == set.size() + 1 && std::equal(set.begin(), set.end(), tabs_.begin() + 1);
}

// Removing the set that is shown and adding it again would recreate every
// page window for nothing, so a request for the set already shown is a no-op.
void CSheet::ShowUserSet() {
    if (Shows(pages_.userSet)) return;
    RemoveTechnicianSet();
    AddUserSet();
}

void CSheet::ShowTechnicianSet() {
    if (Shows(pages_.technicianSet)) return;
    RemoveUserSet();
    AddTechnicianSet();
}

void CSheet::NoteOptions(const uint8_t* reversedPart1) {
    options_.emplace();
    std::copy(reversedPart1, reversedPart1 + kNvBufferSize, options_->begin());
}

void CSheet::OpenTrend(PageId from) {
    if (trend_) {
        platform_.OpenTrend(*trend_);
        return;
    }
    std::vector<const PageDef*> defs;
    // The pages that offer the trend show its series, with their options.
    for (const std::unique_ptr<CPropPage>& page : instances_) {
        if (page->definition().trendButton != 0) defs.push_back(&page->definition());
    }
    auto session = std::make_unique<TrendSession>(
        *this, from, TrendSeriesFitted(defs, options_ ? options_->data() : nullptr));
    // A platform without a trend window gets no sampling either.
    if (!platform_.OpenTrend(*session)) return;
    trend_ = std::move(session);
    if (link_.File() == nullptr) platform_.SetTimer(from, kTrendTimerId, kTrendPeriodMs);
}

void CSheet::CloseTrend() {
    if (!trend_) return;
    // Released only after the window has gone, which may still draw it.
    const std::unique_ptr<TrendSession> ending = std::move(trend_);
    platform_.KillTimer(ending->host(), kTrendTimerId);
    platform_.CloseTrend();
}

void CSheet::OnTrendTimer(PageId page) {
    if (trend_ && trend_->host() == page) trend_->Tick();
}

}  // namespace qta1
