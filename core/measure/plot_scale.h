#pragma once
// The rules of the measured-value plot that need no widget: how an axis is rounded to whole steps, which
// ticks it has, how the time labels cycle, and the read-out text for a position in the plot.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace terrix {

// An axis from `bottom` to `top` with ticks every `step`. A step of 0 means the range could not be rounded
// (an empty or reversed range) and the axis has no ticks between its ends.
struct AxisScale {
    double bottom = 0;
    double top = 1;
    double step = 1;
    bool operator==(const AxisScale&) const = default;
};

// Rounds (minimum, maximum) to whole steps: the step is the power of ten just above a tenth of the span,
// the top the first step multiple at or above the maximum, the bottom whole steps below it at or under the
// minimum; fewer than 6 steps halve the step and pull each end in by the half step where the range allows.
// Equal ends, or a span too small for a power of ten of its own, give the unit interval below
// ceiling(maximum). A reversed range comes back unchanged with step 0. Values that are not finite
// (nothing to round) give the axis 0 to 1 with step 1.
AxisScale ScaleAxis(double minimum, double maximum);

// The axis of curves with a fixed scale (the XV module's percentages): 0 to 100 in steps of 10 while the
// page's values (minimum .. maximum) lie within it. A value outside widens the axis just enough to hold it,
// in whole steps of 10, 20, 50, 100, ... chosen so that about a dozen intervals cover it: a frozen soil's
// -5 degrees gives -10 to 100, never a curve drawn at 0. No values (a reversed or not finite range) keep
// 0 to 100.
AxisScale PercentScale(double minimum, double maximum);

// The tick positions bottom, bottom + step, ... up to top (within a small tolerance). Step 0 gives the two
// ends; never more than `maxTicks` positions.
std::vector<double> AxisTicks(const AxisScale& scale, size_t maxTicks = 1000);

// The text of time-axis label number `tickIndex` (0 = leftmost) at `seconds` (a stamp read as universal
// time, see StampAsUtcSeconds): the date "dd.mm.yyyy" at position 0 of the cycle, the time "hh:mm:ss" at
// every even position after it, nothing at odd positions; the cycle starts again after `samplesPerPlot`
// labels. The cycle is counted from the leftmost label of each drawing, so a repaint shows the same labels.
std::string TimeTickLabel(size_t tickIndex, double seconds, int64_t samplesPerPlot);

// "dd.mm.yyyy hh:mm:ss" of a time read as universal time (seconds since 1970, fractions dropped).
std::string PlotDateTimeText(double seconds);

// The read-out for a position: its date and time, four spaces, pane 0's value with two decimals and, when a
// second pane has a curve at the same time, " / " and its value followed by ")" as the program always wrote.
std::string PlotReadoutText(double seconds, double value0, std::optional<double> value1);

} // namespace terrix
