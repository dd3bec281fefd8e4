#include "housekeeping/set_time_page.h"

#include "frame/codec.h"
#include "frame/sheet.h"
#include "housekeeping/text_codec.h"
#include "resources/strings.h"

namespace qta1 {

namespace {

constexpr int kClockRefreshMs = 1000;

constexpr Field kNodeClock[] = {
    WordAt(IDC_SETTIME_NODE_DATE, 0, Codec::NodeDate),
    WordAt(IDC_SETTIME_NODE_TIME, 0, Codec::NodeTime),
};
constexpr LiveRead kLiveReads[] = {{kNodeClockNv, kNvBufferSize, kNodeClock}};

constexpr PageDef kSetTimePage = {
    .liveReads = kLiveReads, .refreshMs = kClockRefreshMs, .fileNote = text::kFileHasNoClock};

}  // namespace

// The full four-digit year, so a PC in 2105 does not set the node to 2005.
void ClockBytes(const LocalTime& now, uint8_t bytes[kNodeClockLength]) {
    const int fields[] = {now.month, now.day, now.hour, now.minute, now.second};
    bytes[0] = static_cast<uint8_t>(EncodeHigh(now.year));
    bytes[1] = static_cast<uint8_t>(EncodeLow(now.year));
    for (int i = 0; i < 5; ++i) bytes[2 + i] = static_cast<uint8_t>(EncodeLow(fields[i]));
}

CPage16PropPage::CPage16PropPage(CSheet& sheet) : CPropPage(PageId::SetTime, sheet, kSetTimePage) {}

std::unique_ptr<CPropPage> MakeSetTimePage(CSheet& sheet) {
    return std::make_unique<CPage16PropPage>(sheet);
}

// The PC's clock, then the node's.
void CPage16PropPage::RefreshLiveValues() {
    const LocalTime now = clock().Now();
    SetText(IDC_SETTIME_PC_DATE, FormatExportDate(now));
    SetText(IDC_SETTIME_PC_TIME, FormatExportTime(now));
    CPropPage::RefreshLiveValues();
}

void CPage16PropPage::OnControlClicked(int controlId) {
    if (controlId != IDC_SETTIME_SYNC) return;
    uint8_t bytes[kNvBufferSize] = {};
    const LocalTime now = clock().Now();
    ClockBytes(now, bytes);
    BeginWriteReport(text::kSyncAction);
    if (node().WriteNv(kClockSettingNv, bytes, WriteLengthOf(kClockSettingNv)) != kHostOk) {
        NoteWriteProblem(text::kNodeClock, text::kClockRefused);
    } else {
        NoteChange(text::kNodeClock,
                   Text(IDC_SETTIME_NODE_DATE) + " " + Text(IDC_SETTIME_NODE_TIME),
                   FormatExportDate(now) + " " + FormatExportTime(now));
    }
    FinishWriteReport();
}

}  // namespace qta1
