#include "frame/codec.h"
#include "frame/page.h"
#include "resources/page_ids.h"
#include "resources/resource_ids.h"

namespace qta1 {

// How the unit works out its injection (supply) air set-point: fixed or
// calculated within limits with its own P, I and D, night lowering and night
// boost, the dead bands of the zero-energy zone, and the live temperatures.
class CPage17PropPage final : public CPropPage {
public:
    explicit CPage17PropPage(CSheet& sheet);

protected:
    void ApplyOptionRules(const uint8_t* reversedPart1) override;
};

namespace {

constexpr int kRefreshMs = 2000;

// Part 1 byte 6: night lowering (bit 0) and replace air (bit 1).
constexpr int kNightByte = 6;
constexpr int kNightLoweringBit = 0;
constexpr int kReplaceAirBit = 1;

// Part 7 words 12 to 14: P in tenths, I and D plain.
// clang-format off
constexpr Field kPidFields[] = {
//             control        word  codec
    WordField(IDC_CALCINJ_P,  12,   Codec::Tenths),
    WordField(IDC_CALCINJ_I,  13,   Codec::Word),
    WordField(IDC_CALCINJ_D,  14,   Codec::Word),
};
constexpr Field kCalculatedField[] = {BitField(IDC_CALCINJ_CALC_SETPOINT, 4, 0)};
// The injection set points, words 0 to 6, in hundredths of a degree.
constexpr Field kSetpointFields[] = {
    WordField(IDC_CALCINJ_MIN,             0, Codec::Temperature),
    WordField(IDC_CALCINJ_CALC,            1, Codec::Temperature),
    WordField(IDC_CALCINJ_MAX,             2, Codec::Temperature),
    WordField(IDC_CALCINJ_NIGHT_LOWERING,  3, Codec::Temperature),
    WordField(IDC_CALCINJ_DB_HEAT,         4, Codec::Temperature),
    WordField(IDC_CALCINJ_BOOST_NIGHT,     5, Codec::Temperature),
    WordField(IDC_CALCINJ_DB_COOL,         6, Codec::Temperature),
};
// clang-format on

// Read: part 7, part 1, the set points. Write: part 1, then part 7 with the
// selector written without asking the node, then the set points.
constexpr Block kBlocks[] = {
    {.nv = kConfigNv,
     .part = kBreakPointsPart,
     .bitReversed = false,
     .fields = kPidFields,
     .selectorAlways = true},
    {.nv = kConfigNv, .part = kOptionPart, .bitReversed = true, .fields = kCalculatedField},
    {.nv = kInjectionSetpointsNv, .part = 0, .bitReversed = false, .fields = kSetpointFields},
};
constexpr int kWriteOrder[] = {1, 0, 2};

// Limits and constants matter only to a calculated set-point.
constexpr int kCalculationBoxes[] = {IDC_CALCINJ_MIN, IDC_CALCINJ_MAX, IDC_CALCINJ_P, IDC_CALCINJ_I,
                                     IDC_CALCINJ_D};
constexpr CheckRule kCheckRules[] = {{IDC_CALCINJ_CALC_SETPOINT, kCalculationBoxes}};

constexpr Field kInjection[] = {WordAt(IDC_CALCINJ_INJECTION_TEMP, 0, Codec::Temperature)};
constexpr Field kExhaust[] = {WordAt(IDC_CALCINJ_EXHAUST_TEMP, 3, Codec::Temperature)};
constexpr Field kSetpoint[] = {WordAt(IDC_CALCINJ_SETPOINT, 0, Codec::Temperature)};
constexpr LiveRead kLiveReads[] = {
    {kInjectionTempNv, kNvValueSize, kInjection},
    {kSensorTempsNv, kNvValueSize, kExhaust},
    {kCalcInjectionSetpointNv, kNvValueSize, kSetpoint},
};

// A calculated space set-point (part 1 byte 4 bit 4) replaces the fixed
// one; night lowering needs its option. Night boost is decided by the page.
constexpr int kCalcBox[] = {IDC_CALCINJ_CALC};
constexpr int kNightLoweringBox[] = {IDC_CALCINJ_NIGHT_LOWERING};
// clang-format off
constexpr OptionRule kRules[] = {
//   byte        bit                boxes              enable when set
    {4,          4,                 kCalcBox,          false},
    {kNightByte, kNightLoweringBit, kNightLoweringBox, true},
};
// clang-format on

constexpr PageDef kCalcInjectionPage = {
    .blocks = kBlocks,
    .writeOrder = kWriteOrder,
    .optionRules = kRules,
    .liveReads = kLiveReads,
    .refreshMs = kRefreshMs,
    .readButton = IDC_CALCINJ_READ,
    .writeButton = IDC_CALCINJ_WRITE,
    .checkRules = kCheckRules,
};

}  // namespace

CPage17PropPage::CPage17PropPage(CSheet& sheet)
    : CPropPage(PageId::CalcInjection, sheet, kCalcInjectionPage) {}

std::unique_ptr<CPropPage> MakeCalcInjectionPage(CSheet& sheet) {
    return std::make_unique<CPage17PropPage>(sheet);
}

// Night boost comes with night lowering, and not while the unit replaces air.
void CPage17PropPage::ApplyOptionRules(const uint8_t* reversedPart1) {
    CPropPage::ApplyOptionRules(reversedPart1);
    const uint8_t night = reversedPart1[kNightByte];
    Enable(IDC_CALCINJ_BOOST_NIGHT,
           TestBit(night, kNightLoweringBit) != 0 && TestBit(night, kReplaceAirBit) == 0);
}

}  // namespace qta1
