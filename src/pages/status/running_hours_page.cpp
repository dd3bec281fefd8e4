#include "frame/codec.h"
#include "frame/page.h"
#include "resources/page_ids.h"
#include "resources/resource_ids.h"
#include "resources/strings.h"

namespace qta1 {

// The running-hour counters of the motors, the pump and the exchanger, each
// with a "Reset" that sends the node its reset command at once.
class CPage3PropPage final : public CPropPage {
public:
    explicit CPage3PropPage(CSheet& sheet);

protected:
    void OnControlClicked(int controlId) override;
};

namespace {

// How long the node is given to see a reset command before it is taken back.
constexpr int kResetHoldMs = 2500;
constexpr int kHoursRefreshMs = 2000;

// The reset command of each counter: word k of the running hours has code k + 1.
struct ResetButton {
    int button;
    int code;
    int counter;
};
// clang-format off
constexpr ResetButton kResets[] = {
//   button                           code  counter
    {IDC_HOURS_RESET_VENTILATING,     1,    IDC_HOURS_VENTILATING},
    {IDC_HOURS_RESET_PUMP,            5,    IDC_HOURS_PUMP},
    {IDC_HOURS_RESET_INJECTION_MOTOR, 2,    IDC_HOURS_INJECTION_MOTOR},
    {IDC_HOURS_RESET_EXHAUST_MOTOR,   3,    IDC_HOURS_EXHAUST_MOTOR},
    {IDC_HOURS_RESET_EXCHANGER,       4,    IDC_HOURS_EXCHANGER},
};
constexpr Field kHourFields[] = {
    WordField(IDC_HOURS_VENTILATING,     0, Codec::Word),
    WordField(IDC_HOURS_PUMP,            4, Codec::Word),
    WordField(IDC_HOURS_INJECTION_MOTOR, 1, Codec::Word),
    WordField(IDC_HOURS_EXHAUST_MOTOR,   2, Codec::Word),
    WordField(IDC_HOURS_EXCHANGER,       3, Codec::Word),
};
// clang-format on

constexpr LiveRead kHoursLive[] = {{kRunningHoursNv, kNvValueSize, kHourFields}};

constexpr int kPumpRow[] = {IDC_HOURS_PUMP, IDC_HOURS_RESET_PUMP};
constexpr int kExchangerRow[] = {IDC_HOURS_EXCHANGER, IDC_HOURS_RESET_EXCHANGER};

// clang-format off
constexpr OptionRule kHoursRules[] = {
//   byte bit  row
    {2,   0,   kPumpRow},       // heating surface (its pump)
    {2,   2,   kExchangerRow},  // heat exchanger
};
// clang-format on

constexpr PageDef kHoursPage = {
    .optionRules = kHoursRules,
    .liveReads = kHoursLive,
    .refreshMs = kHoursRefreshMs,
    .fileNote = text::kFileHasNoCounters,
};

}  // namespace

CPage3PropPage::CPage3PropPage(CSheet& sheet)
    : CPropPage(PageId::RunningHours, sheet, kHoursPage) {}

std::unique_ptr<CPropPage> MakeRunningHoursPage(CSheet& sheet) {
    return std::make_unique<CPage3PropPage>(sheet);
}

// The command stands for 2.5 s, then "no command" (0) takes it back; the
// counter shows its new value at the next refresh. A refused command, or a
// command the node would keep seeing, is told.
void CPage3PropPage::OnControlClicked(int controlId) {
    for (const ResetButton& reset : kResets) {
        if (reset.button != controlId) continue;
        const uint8_t command[kNvBufferSize] = {static_cast<uint8_t>(EncodeHigh(reset.code) & 0xFF),
                                                static_cast<uint8_t>(EncodeLow(reset.code) & 0xFF)};
        const uint8_t none[kNvBufferSize] = {};
        BeginWriteReport(text::kResetAction);
        if (node().WriteNv(kResetCommandNv, command, WriteLengthOf(kResetCommandNv)) != kHostOk) {
            NoteWriteProblem(BoxName(reset.counter), text::kResetRefused);
        } else {
            NoteChange(BoxName(reset.counter), Text(reset.counter), "0");
        }
        {
            const BusyButton busy = ShowBusy(controlId);
            node().Wait(kResetHoldMs);
            if (node().WriteNv(kResetCommandNv, none, WriteLengthOf(kResetCommandNv)) != kHostOk) {
                NoteWriteProblem(BoxName(reset.counter), text::kResetNotTakenBack);
            }
        }
        FinishWriteReport();
        return;
    }
}

}  // namespace qta1
