#include "pages/regulation/actuator_page.h"
#include "resources/strings_regulation.h"

namespace qta1 {

namespace {

constexpr int kRefreshMs = 2000;

// The exchanger's word of the output modes and of the manual values.
constexpr int kExchangerWord = 3;
constexpr int kExchangerBit = 2;  // part 1 byte 2

// A mode the node reports without a button of its own is written back as it
// was when the technician chooses none. Only "Manual" takes a typed position.
constexpr RadioChoice kModes[] = {{IDC_EXCH_OFF, kOutputOff},
                                  {IDC_EXCH_MANUAL, kOutputManual},
                                  {IDC_EXCH_AUTO, kOutputAutomatic}};
constexpr RadioGroup kMode = {
    .choices = kModes, .governedBox = IDC_EXCH_IN, .enablingValue = kOutputManual};
// The signal range bit: set for "2-10", and set unless "0-10" is chosen.
constexpr RadioChoice kRanges[] = {{IDC_EXCH_0_10, 0}, {IDC_EXCH_2_10, 1}};
constexpr RadioGroup kRange = {.choices = kRanges, .noneValue = 1};

// The manual position in half percent; Write stores only its low byte.
constexpr Field kManualFields[] = {WordAt(IDC_EXCH_IN, kExchangerWord, Codec::Halves)};
constexpr Field kModeFields[] = {RadioWordAt(kExchangerWord, kMode)};
// Range and inversion only: the deicing delay of part 6 is not this page's.
// clang-format off
constexpr Field kSignalFields[] = {
//                  box / buttons    byte bit
    RadioBitField(                   14,  kExchangerBit, kRange),
    BitField(       IDC_EXCH_INVERT, 16,  kExchangerBit),
};
// clang-format on

constexpr Block kBlocks[] = {
    {.nv = kManualValueNv, .part = 0, .bitReversed = false, .fields = kManualFields},
    {.nv = kOutputModeNv, .part = 0, .bitReversed = false, .fields = kModeFields},
    {.nv = kConfigNv, .part = kOptionPart, .bitReversed = true, .fields = kSignalFields},
};

constexpr Field kOutput[] = {WordAt(IDC_EXCH_OUT, 0, Codec::HalfHundredths)};
// The exchanger runs while its word is not zero.
constexpr ValueText kRunningTexts[] = {{0, text::kStopped}};
constexpr TextTable kRunningState = {kRunningTexts, text::kRunning};
constexpr Field kRunning[] = {TextAt(IDC_EXCH_RUNNING, 0, Codec::Word, kRunningState)};
constexpr LiveRead kLiveReads[] = {
    {kExchangerOutputNv, kNvValueSize, kOutput},
    {kExchangerRunningNv, kNvValueSize, kRunning},
};

// Every data control but the manual position, which the page adds itself.
constexpr int kDataControls[] = {IDC_EXCH_OFF,     IDC_EXCH_MANUAL, IDC_EXCH_AUTO, IDC_EXCH_OUT,
                                 IDC_EXCH_RUNNING, IDC_EXCH_0_10,   IDC_EXCH_2_10, IDC_EXCH_INVERT};
constexpr OptionRule kRules[] = {{2, kExchangerBit, kDataControls}};

constexpr PageDef kExchangerPage = {
    .blocks = kBlocks,
    .optionRules = kRules,
    .liveReads = kLiveReads,
    .refreshMs = kRefreshMs,
    .readButton = IDC_EXCH_READ,
    .writeButton = IDC_EXCH_WRITE,
};

constexpr ManualOverride kExchanger = {IDC_EXCH_IN, kExchangerBit};

}  // namespace

// The heat exchanger (Me1): its mode, manual position, whether it runs and
// its output, and its signal range and inversion; everything is disabled on
// a unit without an exchanger.
QTA1_TABLE_PAGE(18, Exchanger, CActuatorPage, kExchangerPage, kExchanger)

}  // namespace qta1
