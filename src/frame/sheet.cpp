#include "frame/sheet.h"

#include <algorithm>

#include "resources/strings.h"

namespace qta1 {

namespace {

// clang-format off
constexpr PageId kUserSet[] = {
    PageId::SetTime,     PageId::Calender,  PageId::Pir,
    PageId::Freecool,    PageId::Status,    PageId::Alarms,
    PageId::Temperatures, PageId::Dampers,  PageId::Exchanger,
    PageId::HeatingSurface, PageId::ExtendedOperation, PageId::RunningHours,
};
// clang-format on

// clang-format off
constexpr PageId kTechnicianSet[] = {
    PageId::ImportExport,     PageId::SetTime,         PageId::ConfigQta12,
    PageId::ConfigQta3,       PageId::OpenCloseTimer,  PageId::Temperatures,
    PageId::CalcInjection,    PageId::CalcSpace,       PageId::TempStartup,
    PageId::LowTempInjection, PageId::Antifrost,       PageId::Dampers,
    PageId::Exchanger,        PageId::HeatingSurface,  PageId::ExerciseDeicing,
    PageId::Calender,         PageId::Pir,             PageId::Freecool,
    PageId::Status,           PageId::ExtendedOperation, PageId::Alarms,
    PageId::RunningHours,     PageId::Pid,             PageId::StatusRegulator,
    PageId::ConfigHvac,
};
// clang-format on

}  // namespace

std::span<const PageId> UserSet() { return kUserSet; }
std::span<const PageId> TechnicianSet() { return kTechnicianSet; }

CSheet::CSheet(Platform& platform, HostUnknown* clientSite)
    : platform_(platform), link_(platform), page2_(*this), page3_(*this), page4_(*this),
      page5_(*this), page6_(*this), page7_(*this), page8_(*this), page9_(*this), page10_(*this),
      page11_(*this), page12_(*this), page13_(*this), page14_(*this), page15_(*this),
      page16_(*this), page17_(*this), page18_(*this), page19_(*this), page20_(*this),
      page21_(*this), page22_(*this), page23_(*this), page24_(*this), page25_(*this),
      page26_(*this), page27_(*this) {
    link_.Obtain(clientSite);
    Add(PageId::NodeInformation);
    if (!link_.HasReader() || !link_.SelectPart(kOptionPart)) return;
    uint8_t part1[kConfiguredWordReadLength] = {};
    if (link_.ReadNv(kConfigNv, part1, kConfiguredWordReadLength) != kHostOk) return;
    if (ConfiguredWord(part1) > 0) {
        AddTechnicianSet();
    } else {
        Add(PageId::ImportExport);
    }
}

CSheet::~CSheet() = default;

void CSheet::RunModal() { platform_.RunSheetModal(text::kSheetCaption, *this); }

void CSheet::OnSheetInitDialog() {
    platform_.SetOkCaption(text::kExit);
    platform_.HideApplyAndCancel();
    if (!link_.HasAny()) {
        platform_.MessageBox(text::kNodeNotAvailable, text::kNodeNotAvailableTitle, MsgButtons::Ok,
                             MsgIcon::Exclamation);
    }
}

CPropPage& CSheet::PageOf(PageId id) {
    CPropPage* pages[] = {
        &page2_,  &page3_,  &page4_,  &page5_,  &page6_,  &page7_,  &page8_,  &page9_,  &page10_,
        &page11_, &page12_, &page13_, &page14_, &page15_, &page16_, &page17_, &page18_, &page19_,
        &page20_, &page21_, &page22_, &page23_, &page24_, &page25_, &page26_, &page27_,
    };
    return *pages[static_cast<int>(id) - kFirstPageNumber];
}

void CSheet::Add(PageId id) {
    if (std::find(tabs_.begin(), tabs_.end(), id) != tabs_.end()) return;
    tabs_.push_back(id);
    platform_.AddPage(id, PageOf(id));
}

void CSheet::Remove(PageId id) {
    auto it = std::find(tabs_.begin(), tabs_.end(), id);
    if (it == tabs_.end()) return;
    tabs_.erase(it);
    platform_.RemovePage(id);
}

void CSheet::AddUserSet() {
    for (PageId id : kUserSet) Add(id);
}
void CSheet::RemoveUserSet() {
    for (PageId id : kUserSet) Remove(id);
}
void CSheet::AddTechnicianSet() {
    for (PageId id : kTechnicianSet) Add(id);
}
void CSheet::RemoveTechnicianSet() {
    for (PageId id : kTechnicianSet) Remove(id);
}

bool CSheet::Shows(std::span<const PageId> set) const {
    return tabs_.size() == set.size() + 1 && std::equal(set.begin(), set.end(), tabs_.begin() + 1);
}

// Removing the set that is shown and adding it again would recreate every
// page window for nothing, so a request for the set already shown is a no-op.
void CSheet::ShowUserSet() {
    if (Shows(kUserSet)) return;
    RemoveTechnicianSet();
    AddUserSet();
}

void CSheet::ShowTechnicianSet() {
    if (Shows(kTechnicianSet)) return;
    RemoveUserSet();
    AddTechnicianSet();
}

}  // namespace qta1
