#include <algorithm>

#include "frame/page.h"
#include "resources/page_ids.h"
#include "resources/resource_ids.h"
#include "resources/strings.h"

namespace qta1 {

// The day and night extended-operation times; each "Start" sends 0:00 and,
// two seconds later, the time in its box.
class CPage21PropPage final : public CPropPage {
public:
    explicit CPage21PropPage(CSheet& sheet);

protected:
    void OnControlClicked(int controlId) override;

private:
    void Start(const Field& time, int nv);
};

namespace {

constexpr int kRestartWaitMs = 2000;

constexpr Field kDay[] = {WordAt(IDC_EXTOP_DAY, 0, Codec::HourMinute)};
constexpr Field kNight[] = {WordAt(IDC_EXTOP_NIGHT, 0, Codec::HourMinute)};

constexpr Block kBlocks[] = {
    {.nv = kDayExtensionNv, .part = 0, .bitReversed = false, .fields = kDay},
    {.nv = kNightExtensionNv, .part = 0, .bitReversed = false, .fields = kNight},
};

constexpr PageDef kExtendedOperationPage = {
    .blocks = kBlocks,
    .readButton = IDC_EXTOP_READ,
    .writeButton = IDC_EXTOP_WRITE,
};

}  // namespace

CPage21PropPage::CPage21PropPage(CSheet& sheet)
    : CPropPage(PageId::ExtendedOperation, sheet, kExtendedOperationPage) {}

std::unique_ptr<CPropPage> MakeExtendedOperationPage(CSheet& sheet) {
    return std::make_unique<CPage21PropPage>(sheet);
}

void CPage21PropPage::OnControlClicked(int controlId) {
    if (controlId == IDC_EXTOP_DAY_START) Start(kDay[0], kDayExtensionNv);
    if (controlId == IDC_EXTOP_NIGHT_START) Start(kNight[0], kNightExtensionNv);
}

// The node starts extended operation when its time changes: it is sent 0:00
// first and the box's time after the wait (hours, minutes and the two bytes
// after them as read), with no Read afterwards. A time
// the box cannot store stops Start before anything is sent; a box the
// technician did not edit sends the node's own time back.
void CPage21PropPage::Start(const Field& time, int nv) {
    if (!EditedBoxesAccepted({&time, 1}, text::kStartAction)) return;
    BeginWriteReport(text::kStartAction);
    uint8_t buffer[kNvBufferSize] = {};
    if (node().ReadNv(nv, buffer, kNvBufferSize) != kHostOk) {
        NoteWriteProblem(BoxName(time.control), text::kNotReadBeforeWrite);
    } else {
        const bool edited = Edited(time.control);
        uint8_t restart[kNvBufferSize] = {};
        std::copy(buffer, buffer + kNvBufferSize, restart);
        restart[0] = 0;
        restart[1] = 0;
        SendNv(nv, 0, false, {&time, 1}, restart);
        node().Wait(kRestartWaitMs);
        if (edited) EncodeField(time, Text(time.control), buffer);
        SendNv(nv, 0, false, {&time, 1}, buffer);
    }
    FinishWriteReport();
}

}  // namespace qta1
