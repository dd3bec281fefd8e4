#include "frame/codec.h"
#include "frame/page.h"
#include "resources/page_ids.h"
#include "resources/resource_ids.h"

namespace qta1 {

// The live readings of sensors Bs1, Bs2 and Bs3 with the calibration offset
// of each, and the two set-points the unit calculates. A sensor that reads
// below -200.0 °C is not fitted: its row is disabled.
class CPage5PropPage final : public CPropPage {
public:
    explicit CPage5PropPage(CSheet& sheet);

    void ApplyOptionEnabling() override;
};

namespace {

constexpr int kRefreshMs = 2000;

// Part 2 words 0 to 2: the calibration offsets, in hundredths of a degree.
// clang-format off
constexpr Field kOffsets[] = {
//             control               word  codec
    WordField(IDC_TEMPS_BS1_OFFSET,  0,    Codec::Temperature),
    WordField(IDC_TEMPS_BS2_OFFSET,  1,    Codec::Temperature),
    WordField(IDC_TEMPS_BS3_OFFSET,  2,    Codec::Temperature),
};
// clang-format on
constexpr Block kBlocks[] = {
    {.nv = kConfigNv, .part = kTemperaturesPart, .bitReversed = false, .fields = kOffsets},
};

constexpr Field kInjection[] = {WordAt(IDC_TEMPS_BS1_ACTUAL, 0, Codec::Temperature)};
constexpr Field kSensors[] = {
    WordAt(IDC_TEMPS_BS2_ACTUAL, 3, Codec::Temperature),
    WordAt(IDC_TEMPS_BS3_ACTUAL, 5, Codec::Temperature),
};
constexpr Field kCalcInjection[] = {WordAt(IDC_TEMPS_CALC_INJECTION, 0, Codec::Temperature)};
constexpr Field kCalcSpace[] = {WordAt(IDC_TEMPS_CALC_SPACE, 0, Codec::Temperature)};
constexpr LiveRead kLiveReads[] = {
    {kInjectionTempNv, kNvValueSize, kInjection},
    {kSensorTempsNv, kNvValueSize, kSensors},
    {kCalcInjectionSetpointNv, kNvValueSize, kCalcInjection},
    {kCalcSpaceSetpointNv, kNvValueSize, kCalcSpace},
};

// The calculated space set-point is in use (part 1 byte 4 bit 4).
constexpr int kCalcSpaceBox[] = {IDC_TEMPS_CALC_SPACE};
constexpr OptionRule kRules[] = {{4, 4, kCalcSpaceBox}};

constexpr PageDef kTemperaturesPage = {
    .blocks = kBlocks,
    .optionRules = kRules,
    .liveReads = kLiveReads,
    .refreshMs = kRefreshMs,
    .readButton = IDC_TEMPS_READ,
    .writeButton = IDC_TEMPS_WRITE,
    .trendButton = IDC_TEMPS_TREND,
};

// Each sensor's reading and the row it enables.
struct SensorRow {
    int nv;
    int offset;
    int actual;
    int calibration;
};
constexpr SensorRow kSensorRows[] = {
    {kInjectionTempNv, 0, IDC_TEMPS_BS1_ACTUAL, IDC_TEMPS_BS1_OFFSET},
    {kSensorTempsNv, 3, IDC_TEMPS_BS2_ACTUAL, IDC_TEMPS_BS2_OFFSET},
    {kSensorTempsNv, 5, IDC_TEMPS_BS3_ACTUAL, IDC_TEMPS_BS3_OFFSET},
};
// A fitted sensor never reads below this; an open input reads far lower.
constexpr double kLowestReadingC = -200.0;

}  // namespace

CPage5PropPage::CPage5PropPage(CSheet& sheet)
    : CPropPage(PageId::Temperatures, sheet, kTemperaturesPage) {}

std::unique_ptr<CPropPage> MakeTemperaturesPage(CSheet& sheet) {
    return std::make_unique<CPage5PropPage>(sheet);
}

// The sensor rows follow the readings (Bs1, then Bs2 and Bs3); a failed read
// leaves its rows as they were. Then part 1 decides "Calc space temp".
void CPage5PropPage::ApplyOptionEnabling() {
    for (int nv : {kInjectionTempNv, kSensorTempsNv}) {
        uint8_t buffer[kNvBufferSize] = {};
        if (node().ReadNv(nv, buffer, kNvValueSize) != kHostOk) continue;
        for (const SensorRow& row : kSensorRows) {
            if (row.nv != nv) continue;
            const bool fitted = DecodeSignedHundredths(buffer[row.offset],
                                                       buffer[row.offset + 1]) >= kLowestReadingC;
            Enable(row.actual, fitted);
            Enable(row.calibration, fitted);
        }
    }
    CPropPage::ApplyOptionEnabling();
}

}  // namespace qta1
