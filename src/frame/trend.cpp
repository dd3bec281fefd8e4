#include "frame/trend.h"

#include <algorithm>

#include "frame/codec.h"
#include "frame/decimal.h"
#include "frame/sheet.h"
#include "resources/strings.h"

namespace qta1 {

namespace {

// Most steps an axis is divided into, and its finest step (0.1 of the unit).
constexpr int64_t kMaxSteps = 6;
constexpr int64_t kFinestStep = 10;
// Without data: 0 to 30 °C, and the outputs' 0 to 100 %.
constexpr int64_t kEmptyTemperatureTop = 3000;
constexpr int64_t kPercentTop = 10000;
// A flat temperature line sits in the middle of one degree.
constexpr int64_t kFlatMargin = 50;

int64_t FloorDiv(int64_t a, int64_t b) { return a / b - (a % b != 0 && (a < 0) != (b < 0)); }
int64_t CeilDiv(int64_t a, int64_t b) { return -FloorDiv(-a, b); }

// A series' word as a fraction num / den in hundredths of its unit, as its
// codec decodes it.
struct Fraction {
    int64_t num;
    int64_t den;
};
Fraction HundredthsOf(const TrendSeries& series, uint16_t word) {
    const auto high = static_cast<uint8_t>(word >> 8);
    const auto low = static_cast<uint8_t>(word & 0xFF);
    switch (series.codec) {
        case Codec::Temperature:
            return {SignedHundredthsWord(high, low), 1};
        case Codec::HalfHundredths:  // word / 200 %
            return {word, 2};
        case Codec::Percent4095:  // word x 100 / 4095 %
            return {int64_t{word} * 10000, 4095};
        default:
            return {int64_t{word} * 100, 1};
    }
}

// Seconds from 2000-01-01 to a local time (days from the civil calendar).
int64_t SecondsOf(const LocalTime& t) {
    const int64_t y = t.year - (t.month <= 2 ? 1 : 0);
    const int64_t era = FloorDiv(y, 400);
    const int64_t yoe = y - era * 400;
    const int64_t mp = (t.month + 9) % 12;
    const int64_t doy = (153 * mp + 2) / 5 + t.day - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    const int64_t days = era * 146097 + doe - 730425;  // 730425: 2000-03-01 minus 0000-03-01
    return days * 86400 + t.hour * 3600 + t.minute * 60 + t.second;
}

std::string TimeText(const LocalTime& t) {
    return std::to_string(t.year) + "-" + TwoDigits(t.month) + "-" + TwoDigits(t.day) + " " +
           TwoDigits(t.hour) + ":" + TwoDigits(t.minute) + ":" + TwoDigits(t.second);
}

std::string FileNameOf(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::optional<size_t> TrendSeriesByKey(std::string_view key) {
    for (size_t i = 0; i < kTrendSeriesCount; ++i) {
        if (kTrendSeries[i].key == key) return i;
    }
    return std::nullopt;
}

std::vector<int> TrendNvs() {
    std::vector<int> nvs;
    for (const TrendSeries& series : kTrendSeries) {
        if (std::find(nvs.begin(), nvs.end(), series.nv) == nvs.end()) nvs.push_back(series.nv);
    }
    return nvs;
}

void TrendBuffer::Add(const TrendSample& sample) {
    if (slots_.empty()) return;
    if (count_ < slots_.size()) {
        slots_[(first_ + count_) % slots_.size()] = sample;
        ++count_;
    } else {
        slots_[first_] = sample;
        first_ = (first_ + 1) % slots_.size();
    }
}

const TrendSample& TrendBuffer::operator[](size_t i) const {
    return slots_[(first_ + i) % slots_.size()];
}

std::string TrendValueText(const TrendSeries& series, uint16_t word) {
    const uint8_t bytes[2] = {static_cast<uint8_t>(word >> 8), static_cast<uint8_t>(word & 0xFF)};
    return FormatField(WordAt(0, 0, series.codec), bytes);
}

int64_t TrendHundredthsFloor(const TrendSeries& series, uint16_t word) {
    const Fraction f = HundredthsOf(series, word);
    return FloorDiv(f.num, f.den);
}

int64_t TrendHundredthsCeil(const TrendSeries& series, uint16_t word) {
    const Fraction f = HundredthsOf(series, word);
    return CeilDiv(f.num, f.den);
}

double TrendValue(const TrendSeries& series, uint16_t word) {
    const Fraction f = HundredthsOf(series, word);
    return static_cast<double>(f.num) / static_cast<double>(f.den) / 100.0;
}

TrendScale ScaleTrendAxis(TrendAxis axis, std::optional<int64_t> low, std::optional<int64_t> high) {
    int64_t lo = 0;
    int64_t hi = axis == TrendAxis::Temperature ? kEmptyTemperatureTop : kPercentTop;
    if (low && high && *low <= *high) {
        lo = *low;
        hi = *high;
    }
    if (axis == TrendAxis::Percent) {
        lo = std::min<int64_t>(lo, 0);
        hi = std::max(hi, kPercentTop);
    } else if (lo == hi) {
        lo -= kFlatMargin;
        hi += kFlatMargin;
    }
    for (int64_t decade = kFinestStep;; decade *= 10) {
        for (const int64_t mantissa : {1, 2, 5}) {
            const int64_t step = mantissa * decade;
            const int64_t min = FloorDiv(lo, step) * step;
            const int64_t max = CeilDiv(hi, step) * step;
            if ((max - min) / step <= kMaxSteps) return {min, max, step};
        }
    }
}

std::string TrendScaleText(int64_t hundredths, int64_t step) {
    if (step % 100 == 0) return FormatScaled(hundredths / 100, 1, 0);
    if (step % 10 == 0) return FormatScaled(hundredths / 10, 10, 1);
    return FormatScaled(hundredths, 100, 2);
}

TrendLayout LayOutTrend() {
    constexpr int kTop = 20;
    constexpr int kPlotHeight = 520;
    constexpr int kAxisWidth = 70;
    constexpr int kLegendX = 780;
    constexpr int kRowHeight = 50;
    constexpr int kBoxSize = 20;
    TrendLayout layout{};
    layout.temperatureAxis = {0, kTop, kAxisWidth, kPlotHeight};
    layout.plot = {kAxisWidth, kTop, 620, kPlotHeight};
    layout.percentAxis = {kAxisWidth + 620, kTop, kAxisWidth, kPlotHeight};
    for (size_t i = 0; i < kTrendSeriesCount; ++i) {
        const int y = kTop + static_cast<int>(i) * kRowHeight;
        TrendLayout::Row& row = layout.legend[i];
        row.entry = {kLegendX, y, kTrendWidth - kLegendX, kRowHeight - 6};
        row.checkBox = {kLegendX + 8, y + (kRowHeight - 6 - kBoxSize) / 2, kBoxSize, kBoxSize};
        row.text = {kLegendX + 8 + kBoxSize + 8, y, kTrendWidth - (kLegendX + 36), kRowHeight - 6};
    }
    return layout;
}

std::optional<TrendHit> HitTestTrend(const TrendLayout& layout, int x, int y) {
    for (size_t i = 0; i < kTrendSeriesCount; ++i) {
        if (layout.legend[i].checkBox.Contains(x, y)) return TrendHit{i, true};
        if (layout.legend[i].entry.Contains(x, y)) return TrendHit{i, false};
    }
    return std::nullopt;
}

void TrendModel::Add(TrendSample sample) {
    if (samples_.size() > 0)
        sample.seconds = std::max(sample.seconds, samples_[samples_.size() - 1].seconds);
    samples_.Add(sample);
}

bool TrendModel::SetWindow(int minutes) {
    if (std::find(std::begin(kTrendWindows), std::end(kTrendWindows), minutes) ==
        std::end(kTrendWindows)) {
        return false;
    }
    windowMinutes_ = minutes;
    return true;
}

void TrendModel::SetPaused(bool paused) {
    if (!paused) {
        paused_.reset();
    } else if (!paused_) {
        paused_ = Visible().endSeconds;
    }
}

TrendModel::Window TrendModel::Visible() const {
    const size_t n = samples_.size();
    const int64_t end = paused_ ? *paused_ : n > 0 ? samples_[n - 1].seconds : 0;
    const int64_t start = end - int64_t{windowMinutes_} * 60;
    // The samples are in time order: the first after `start`, and the first
    // after `end`.
    const auto after = [this, n](int64_t seconds) {
        size_t lo = 0;
        size_t hi = n;
        while (lo < hi) {
            const size_t mid = lo + (hi - lo) / 2;
            if (samples_[mid].seconds > seconds) {
                hi = mid;
            } else {
                lo = mid + 1;
            }
        }
        return lo;
    };
    return {after(start), after(end), end};
}

TrendScale TrendModel::Scale(TrendAxis axis) const {
    std::optional<int64_t> low;
    std::optional<int64_t> high;
    const Window window = Visible();
    for (size_t s = window.first; s < window.end; ++s) {
        for (size_t i = 0; i < kTrendSeriesCount; ++i) {
            const std::optional<uint16_t>& word = samples_[s].words[i];
            if (kTrendSeries[i].axis != axis || !shown_[i] || !word) continue;
            const int64_t floor = TrendHundredthsFloor(kTrendSeries[i], *word);
            const int64_t ceil = TrendHundredthsCeil(kTrendSeries[i], *word);
            low = low ? std::min(*low, floor) : floor;
            high = high ? std::max(*high, ceil) : ceil;
        }
    }
    return ScaleTrendAxis(axis, low, high);
}

std::string TrendModel::LatestText(size_t series) const {
    if (samples_.size() == 0) return "";
    const std::optional<uint16_t>& word = samples_[samples_.size() - 1].words[series];
    return word ? TrendValueText(kTrendSeries[series], *word) : "-";
}

std::string TrendModel::CsvText() const {
    std::string csv = text::kTrendTimeHeader;
    for (const TrendSeries& series : kTrendSeries)
        csv += std::string(",") + series.name + " (" + series.unit + ")";
    csv += "\r\n";
    for (size_t s = 0; s < samples_.size(); ++s) {
        const TrendSample& sample = samples_[s];
        csv += TimeText(sample.time);
        for (size_t i = 0; i < kTrendSeriesCount; ++i) {
            csv += ",";
            if (sample.words[i]) csv += TrendValueText(kTrendSeries[i], *sample.words[i]);
        }
        csv += "\r\n";
    }
    return csv;
}

std::array<bool, kTrendSeriesCount> TrendSeriesFitted(std::span<const PageDef* const> pages,
                                                      const uint8_t* reversedPart1) {
    std::array<bool, kTrendSeriesCount> fitted{};
    fitted.fill(true);
    if (reversedPart1 == nullptr) return fitted;
    for (size_t i = 0; i < kTrendSeriesCount; ++i) {
        const TrendSeries& series = kTrendSeries[i];
        for (const PageDef* def : pages) {
            for (const LiveRead& live : def->liveReads) {
                if (live.nv != series.nv) continue;
                for (const Field& field : live.fields) {
                    if (field.kind != FieldKind::Word || field.offset != series.offset) continue;
                    for (const OptionRule& rule : def->optionRules) {
                        if (std::find(rule.controls.begin(), rule.controls.end(), field.control) ==
                            rule.controls.end()) {
                            continue;
                        }
                        const uint8_t byte = reversedPart1[rule.byte];
                        const bool set = TestBit(byte, rule.bit) != 0 ||
                                         (rule.orBit >= 0 && TestBit(byte, rule.orBit) != 0);
                        if (set != rule.enableWhenSet) fitted[i] = false;
                    }
                }
            }
        }
    }
    return fitted;
}

TrendSession::TrendSession(CSheet& sheet, PageId host,
                           const std::array<bool, kTrendSeriesCount>& fitted)
    : sheet_(sheet), host_(host) {
    for (size_t i = 0; i < kTrendSeriesCount; ++i) model_.SetShown(i, fitted[i]);
}

void TrendSession::Tick() {
    // A page's Read or Write, or an action of Import / Export, owns the node
    // link until it ends: this tick is skipped rather than squeezed in.
    if (sheet_.Busy()) return;
    TrendSample sample;
    for (const int nv : TrendNvs()) {
        uint8_t buffer[kNvBufferSize] = {};
        if (sheet_.node().ReadNv(nv, buffer, kNvValueSize) != kHostOk) continue;
        for (size_t i = 0; i < kTrendSeriesCount; ++i) {
            const TrendSeries& series = kTrendSeries[i];
            if (series.nv != nv) continue;
            sample.words[i] = static_cast<uint16_t>(
                ComposeWord(buffer[series.offset], buffer[series.offset + 1]));
        }
    }
    sample.time = sheet_.clock().Now();
    sample.seconds = SecondsOf(sample.time);
    model_.Add(sample);
    sheet_.screen().UpdateTrend();
}

void TrendSession::ChooseWindow(int minutes) {
    if (model_.SetWindow(minutes)) sheet_.screen().UpdateTrend();
}

void TrendSession::Pause(bool paused) {
    model_.SetPaused(paused);
    sheet_.screen().UpdateTrend();
}

void TrendSession::ShowSeries(size_t series, bool shown) {
    if (series >= kTrendSeriesCount) return;
    model_.SetShown(series, shown);
    sheet_.screen().UpdateTrend();
}

void TrendSession::SaveData() {
    const std::optional<std::string> path = sheet_.screen().SaveFileDialog(
        {text::kTrendDataName, text::kTrendDataExtension, text::kTrendDataFilter});
    if (!path) return;
    if (!sheet_.storage().ReplaceFile(*path, model_.CsvText())) {
        sheet_.screen().MessageBox(FileNameOf(*path) + text::kFileNotSavedTail, "", MsgButtons::Ok,
                                   MsgIcon::Stop);
    }
}

void TrendSession::Closed() { sheet_.CloseTrend(); }

}  // namespace qta1
