#include "housekeeping/node_information_page.h"

#include <cstring>

#include "frame/sheet.h"

namespace qta1 {

namespace {
constexpr int kSwitchTimerId = 1;
constexpr PageDef kNodeInformationPage{};
}  // namespace

std::string NodeNameText(const uint8_t* buffer, int length) {
    const void* end = std::memchr(buffer, 0, static_cast<size_t>(length));
    const size_t size = end != nullptr
                            ? static_cast<size_t>(static_cast<const uint8_t*>(end) - buffer)
                            : static_cast<size_t>(length);
    return std::string(reinterpret_cast<const char*>(buffer), size);
}

CPage12PropPage::CPage12PropPage(CSheet& sheet)
    : CPropPage(PageId::NodeInformation, sheet, kNodeInformationPage) {}

std::unique_ptr<CPropPage> MakeNodeInformationPage(CSheet& sheet) {
    return std::make_unique<CPage12PropPage>(sheet);
}

void CPage12PropPage::OnInitDialog() {
    uint8_t name[kNodeNameReadLength] = {};
    if (node().ReadNodeName(name, kNodeNameReadLength) == kHostOk) {
        SetText(IDC_NODEINFO_NAME, NodeNameText(name, kNodeNameReadLength));
    }
    uint8_t part1[kConfiguredWordReadLength] = {};
    if (node().SelectAndRead(kOptionPart, part1, kConfiguredWordReadLength) !=
        NodeLink::PartRead::Ok) {
        return;
    }
    if (ConfiguredWord(part1) != 0) {
        clock().SetTimer(id(), kSwitchTimerId, kSwitchDelayMs);
    } else {
        Enable(IDC_NODEINFO_USER, false);
        Enable(IDC_NODEINFO_TECHNICIAN, false);
    }
}

void CPage12PropPage::OnTimer(int timerId) {
    if (timerId != kSwitchTimerId) return;
    ShowUserSet();
    clock().KillTimer(id(), kSwitchTimerId);
}

void CPage12PropPage::OnControlClicked(int controlId) {
    if (controlId == IDC_NODEINFO_USER) ShowUserSet();
    if (controlId == IDC_NODEINFO_TECHNICIAN) ShowTechnicianSet();
}

void CPage12PropPage::ShowUserSet() {
    Enable(IDC_NODEINFO_USER, false);
    Enable(IDC_NODEINFO_TECHNICIAN, true);
    sheet().ShowUserSet();
}

void CPage12PropPage::ShowTechnicianSet() {
    Enable(IDC_NODEINFO_USER, true);
    Enable(IDC_NODEINFO_TECHNICIAN, false);
    sheet().ShowTechnicianSet();
}

}  // namespace qta1
