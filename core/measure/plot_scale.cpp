#include "core/measure/plot_scale.h"

#include <algorithm>
#include <chrono>
#include <cmath>

#include "core/measure/c_locale_format.h"

namespace terrix {

namespace {

// More steps than any rounded range can have (the step is at least a tenth of the span); it only stops the
// loop when rounding at the limits of double precision keeps the bottom above the minimum.
constexpr int kMaxSteps = 64;

struct CalendarTime {
    int day = 1, month = 1, year = 1970, hour = 0, minute = 0, second = 0;
};

CalendarTime ToCalendar(double seconds) {
    using namespace std::chrono;
    // Whole seconds, kept in the range a calendar can show (a broken stamp still gives some date).
    const double clamped = std::isfinite(seconds) ? std::clamp(seconds, -1e12, 1e12) : 0.0;
    const int64_t whole = static_cast<int64_t>(std::floor(clamped));
    const sys_days day{days{static_cast<int>(whole >= 0 ? whole / 86400 : (whole - 86399) / 86400)}};
    const int64_t inDay = whole - static_cast<int64_t>(day.time_since_epoch().count()) * 86400;
    const year_month_day ymd{day};
    CalendarTime t;
    t.day = static_cast<int>(static_cast<unsigned>(ymd.day()));
    t.month = static_cast<int>(static_cast<unsigned>(ymd.month()));
    t.year = static_cast<int>(ymd.year());
    t.hour = static_cast<int>(inDay / 3600);
    t.minute = static_cast<int>(inDay / 60 % 60);
    t.second = static_cast<int>(inDay % 60);
    return t;
}

} // namespace

AxisScale ScaleAxis(double minimum, double maximum) {
    if (!std::isfinite(minimum) || !std::isfinite(maximum)) {
        return {};
    }
    const double span = maximum - minimum;
    if (span < 0) {
        return {minimum, maximum, 0};
    }
    const double unitBottom = std::ceil(maximum) - 1;
    if (span == 0) {
        return {unitBottom, unitBottom + 1, 1};
    }
    double step = std::pow(10.0, std::ceil(std::log10(span * 0.1)));
    if (!(step > 0) || !std::isfinite(step)) {
        // A span too small or too large for a power of ten of its own is drawn as if it were none.
        return {unitBottom, unitBottom + 1, 1};
    }
    double top = std::trunc(maximum / step) * step;
    if (top < maximum) {
        top += step;
    }
    // The bottom is counted down from the top in whole steps, each computed afresh, so that a long walk does
    // not gather rounding errors.
    int steps = 0;
    double bottom = top;
    while (bottom > minimum && steps < kMaxSteps) {
        ++steps;
        bottom = top - steps * step;
    }
    if (steps < 6) {
        step /= 2;
        if (bottom + step <= minimum) {
            bottom += step;
        }
        if (top - step >= maximum) {
            top -= step;
        }
    }
    return {bottom, top, step};
}

AxisScale PercentScale(double minimum, double maximum) {
    constexpr AxisScale kPercent{0, 100, 10};
    if (!std::isfinite(minimum) || !std::isfinite(maximum) || minimum > maximum ||
        (minimum >= kPercent.bottom && maximum <= kPercent.top)) {
        return kPercent;
    }
    const double low = std::min(minimum, kPercent.bottom);
    const double high = std::max(maximum, kPercent.top);
    if (!std::isfinite(high - low)) {
        return {low, high, 0}; // no step spans a range this wide
    }
    // The fixed axis's own step, coarsened along 10, 20, 50, 100, ... until the rounded ends are at most
    // kMaxPercentIntervals steps apart; a float's range needs fewer than 120 coarsenings.
    constexpr double kMaxPercentIntervals = 12;
    constexpr double kFactors[] = {2, 2.5, 2};
    double step = kPercent.step;
    for (int i = 0; i < 1000; ++i) {
        const double bottom = std::floor(low / step) * step;
        const double top = std::ceil(high / step) * step;
        if ((top - bottom) / step <= kMaxPercentIntervals) {
            return {bottom, top, step};
        }
        step *= kFactors[i % 3];
    }
    return {low, high, 0};
}

std::vector<double> AxisTicks(const AxisScale& scale, size_t maxTicks) {
    std::vector<double> ticks;
    if (!std::isfinite(scale.bottom) || !std::isfinite(scale.top) || maxTicks == 0) {
        return ticks;
    }
    if (!(scale.step > 0) || !std::isfinite(scale.step)) {
        ticks.push_back(scale.bottom);
        if (scale.top != scale.bottom && maxTicks > 1) {
            ticks.push_back(scale.top);
        }
        return ticks;
    }
    const double tolerance = scale.step * 1e-6;
    for (size_t k = 0; k < maxTicks; ++k) {
        const double tick = scale.bottom + static_cast<double>(k) * scale.step;
        if (tick > scale.top + tolerance) {
            break;
        }
        ticks.push_back(tick);
    }
    return ticks;
}

std::string TimeTickLabel(size_t tickIndex, double seconds, int64_t samplesPerPlot) {
    const uint64_t cycle = samplesPerPlot < 1 ? 1 : static_cast<uint64_t>(samplesPerPlot);
    const uint64_t counter = tickIndex % cycle;
    const CalendarTime t = ToCalendar(seconds);
    if (counter == 0) {
        return FormatC("%02d.%02d.%04d", t.day, t.month, t.year);
    }
    if (counter % 2 == 0) {
        return FormatC("%02d:%02d:%02d", t.hour, t.minute, t.second);
    }
    return {};
}

std::string PlotDateTimeText(double seconds) {
    const CalendarTime t = ToCalendar(seconds);
    return FormatC("%02d.%02d.%04d %02d:%02d:%02d", t.day, t.month, t.year, t.hour, t.minute, t.second);
}

std::string PlotReadoutText(double seconds, double value0, std::optional<double> value1) {
    std::string text = FormatC("%s    %.2lf", PlotDateTimeText(seconds).c_str(), value0);
    if (value1) {
        text += FormatC(" / %.2lf)", *value1);
    }
    return text;
}

} // namespace terrix
