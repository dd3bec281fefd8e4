// The trend: the unit's temperatures, calculated set points and regulated
// outputs sampled every 2 s while the window is open, and everything its
// window shows, computed here so that every platform draws the same chart:
// the series, the samples kept (up to 8 hours, gaps where a read failed), the
// visible time window, the scale of each axis, the latest value of each
// series as its page shows it, the legend's layout and the CSV text of
// "Save data...".
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "frame/page.h"
#include "frame/platform.h"

namespace qta1 {

class CSheet;

// Temperatures and outputs never share an axis: each has its own scale.
enum class TrendAxis : uint8_t { Temperature, Percent };

// One plotted value: where its page reads it and how the page shows it.
struct TrendSeries {
    const char* key;   // one word, for scripts: "Bs1", "Mv1"
    const char* name;  // in the legend and the CSV header
    const char* unit;  // code page 1252, as the pages' unit labels
    TrendAxis axis;
    int nv;
    int offset;  // of the word's high byte in the NV's value
    Codec codec;
};

// clang-format off
inline constexpr TrendSeries kTrendSeries[] = {
//   key              name                  unit      axis                  NV                        offset codec
    {"Bs1",           "Injection Bs1",      "\xB0" "C", TrendAxis::Temperature, kInjectionTempNv,         0, Codec::Temperature},
    {"Bs2",           "Exhaust/space Bs2",  "\xB0" "C", TrendAxis::Temperature, kSensorTempsNv,           3, Codec::Temperature},
    {"Bs3",           "Intake/outdoor Bs3", "\xB0" "C", TrendAxis::Temperature, kSensorTempsNv,           5, Codec::Temperature},
    {"CalcInjection", "Calc injection",     "\xB0" "C", TrendAxis::Temperature, kCalcInjectionSetpointNv, 0, Codec::Temperature},
    {"CalcSpace",     "Calc space",         "\xB0" "C", TrendAxis::Temperature, kCalcSpaceSetpointNv,     0, Codec::Temperature},
    {"Mv1",           "Heating Mv1",        "%",        TrendAxis::Percent,     kHeatingValveOutputNv,    0, Codec::HalfHundredths},
    {"Me1",           "Exchanger Me1",      "%",        TrendAxis::Percent,     kExchangerOutputNv,       0, Codec::HalfHundredths},
    {"Md4",           "Recycling Md4",      "%",        TrendAxis::Percent,     kRoomModeNv,              7, Codec::Percent4095},
    {"Mv2",           "Cooling Mv2",        "%",        TrendAxis::Percent,     kRoomModeNv,              9, Codec::Percent4095},
};
// clang-format on
inline constexpr size_t kTrendSeriesCount = std::size(kTrendSeries);

inline constexpr int kTrendPeriodMs = 2000;
inline constexpr int64_t kTrendKeptSeconds = 8 * 3600;
inline constexpr size_t kTrendCapacity = kTrendKeptSeconds * 1000 / kTrendPeriodMs;
// The time windows the technician chooses from, in minutes; the first is
// where a new trend starts.
inline constexpr int kTrendWindows[] = {2, 10, 30, 60};
// The page timer that samples, on the page the trend was opened from (the
// refresh timer is 1).
inline constexpr int kTrendTimerId = 2;

// The series of a script's word ("Bs1"), or nothing.
std::optional<size_t> TrendSeriesByKey(std::string_view key);
// The NVs a tick reads, each once, in the order the series first name them.
std::vector<int> TrendNvs();

// One tick: when it was taken and each series' word as the node sent it
// (nothing where the read failed).
struct TrendSample {
    int64_t seconds = 0;  // on the trend's own time line, never decreasing
    LocalTime time;       // the PC's clock, for the CSV
    std::array<std::optional<uint16_t>, kTrendSeriesCount> words{};
};

// A fixed number of samples, the oldest dropped when a new one does not fit.
class TrendBuffer {
public:
    explicit TrendBuffer(size_t capacity) : slots_(capacity) {}
    void Add(const TrendSample& sample);
    size_t size() const { return count_; }
    size_t capacity() const { return slots_.size(); }
    // 0 is the oldest sample kept.
    const TrendSample& operator[](size_t i) const;

private:
    std::vector<TrendSample> slots_;
    size_t first_ = 0;
    size_t count_ = 0;
};

// A series' word as its page shows it ("21.3", "35"), and as a number in
// hundredths of its unit, rounded down or up (exact for temperatures).
std::string TrendValueText(const TrendSeries& series, uint16_t word);
int64_t TrendHundredthsFloor(const TrendSeries& series, uint16_t word);
int64_t TrendHundredthsCeil(const TrendSeries& series, uint16_t word);
// The value in its unit, for drawing.
double TrendValue(const TrendSeries& series, uint16_t word);

// An axis from `min` to `max` in steps of `step` (1, 2 or 5 times a power of
// ten), all in hundredths of the unit.
struct TrendScale {
    int64_t min;
    int64_t max;
    int64_t step;
    bool operator==(const TrendScale&) const = default;
};
// The scale of data from `low` to `high` (hundredths; none: no data): at most
// six steps, never finer than 0.1. Temperatures scale to the data (a flat
// line gets half a degree either side); outputs always show 0 to 100 % and
// grow beyond it only for data outside it.
TrendScale ScaleTrendAxis(TrendAxis axis, std::optional<int64_t> low, std::optional<int64_t> high);

// An axis label: a value of a scale (a multiple of its step, in hundredths)
// with as many decimals as the step needs: "18", "0.5".
std::string TrendScaleText(int64_t hundredths, int64_t step);

// The trend window's chart in abstract units (kTrendWidth x kTrendHeight),
// which a platform scales to its window: the plot with the temperature axis
// left of it and the output axis right of it, and the legend, one row per
// series with its check box.
struct TrendRect {
    int x, y, w, h;
    bool Contains(int px, int py) const { return px >= x && px < x + w && py >= y && py < y + h; }
};
inline constexpr int kTrendWidth = 1000;
inline constexpr int kTrendHeight = 600;
struct TrendLayout {
    TrendRect plot;
    TrendRect temperatureAxis;
    TrendRect percentAxis;
    struct Row {
        TrendRect entry;     // the whole row
        TrendRect checkBox;  // inside the entry
        TrendRect text;      // the name and the latest value
    };
    std::array<Row, kTrendSeriesCount> legend;
};
TrendLayout LayOutTrend();
struct TrendHit {
    size_t series;
    bool checkBox;  // on the check box itself, not just its row
    bool operator==(const TrendHit&) const = default;
};
// The legend entry at a point of the layout, or nothing.
std::optional<TrendHit> HitTestTrend(const TrendLayout& layout, int x, int y);

// Which series a unit has: false for those whose boxes the option rules of
// `pages` disable for this part 1 (reversed, as the rules read it); all true
// without one.
std::array<bool, kTrendSeriesCount> TrendSeriesFitted(std::span<const PageDef* const> pages,
                                                      const uint8_t* reversedPart1);

// What the trend window shows.
class TrendModel {
public:
    explicit TrendModel(size_t capacity = kTrendCapacity) : samples_(capacity) {
        shown_.fill(true);
    }

    // Keeps a tick; its time never goes back before the last one's.
    void Add(TrendSample sample);
    const TrendBuffer& samples() const { return samples_; }

    int windowMinutes() const { return windowMinutes_; }
    // One of kTrendWindows; false (and nothing changes) for another.
    bool SetWindow(int minutes);
    // Paused, the window stays where it was while samples go on being kept.
    bool paused() const { return paused_.has_value(); }
    void SetPaused(bool paused);
    bool Shown(size_t series) const { return shown_[series]; }
    void SetShown(size_t series, bool shown) { shown_[series] = shown; }

    // The samples in the window: [first, end) of samples(), and the time the
    // window ends at (the newest sample, or where it was paused).
    struct Window {
        size_t first;
        size_t end;
        int64_t endSeconds;
    };
    Window Visible() const;
    // The axis over the shown series on it within the window.
    TrendScale Scale(TrendAxis axis) const;
    // The newest value of a series as its page shows it; "-" when the last
    // tick could not read it, "" before the first tick.
    std::string LatestText(size_t series) const;
    // "Save data...": a header with each series' name and unit, then one
    // line per sample kept: the PC's local time and each value as its page
    // shows it (empty where it could not be read), "." as decimal mark,
    // lines ended with CR LF.
    std::string CsvText() const;

private:
    TrendBuffer samples_;
    std::array<bool, kTrendSeriesCount> shown_{};
    int windowMinutes_ = kTrendWindows[0];
    std::optional<int64_t> paused_;  // the window's end while paused
};

// What a trend window hears from the technician. Each action changes the
// model and has the window updated.
class TrendView {
public:
    virtual const TrendModel& Model() const = 0;
    virtual void ChooseWindow(int minutes) = 0;
    virtual void Pause(bool paused) = 0;
    virtual void ShowSeries(size_t series, bool shown) = 0;
    // "Save data...": the CSV through the save dialog.
    virtual void SaveData() = 0;
    // The technician closed the window; the sampling ends.
    virtual void Closed() = 0;

protected:
    ~TrendView() = default;
};

// The sheet's trend while its window is open: the model, and the page timer
// that samples through the sheet's node link.
class TrendSession final : public TrendView {
public:
    // Series whose boxes the unit's options disable on their pages start
    // unchecked (`fitted` false).
    TrendSession(CSheet& sheet, PageId host, const std::array<bool, kTrendSeriesCount>& fitted);

    PageId host() const { return host_; }
    // The page timer fired: reads each NV of the series once and keeps the
    // sample, unless the sheet is in the middle of another action.
    void Tick();

    const TrendModel& Model() const override { return model_; }
    void ChooseWindow(int minutes) override;
    void Pause(bool paused) override;
    void ShowSeries(size_t series, bool shown) override;
    void SaveData() override;
    void Closed() override;

private:
    CSheet& sheet_;
    PageId host_;
    TrendModel model_;
};

}  // namespace qta1
