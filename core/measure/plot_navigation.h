#pragma once
// Where the value window's plot stands over the stored values: the first value shown and the number of
// values per plot, and how the toolbar's navigation commands move them. Plain arithmetic, so that the
// window only calls it and shows the result.

#include <cstdint>

namespace terrix {

enum class PlotMove {
    kFirst,       // start at value 0
    kPageBack,    // back by samples per plot
    kBack,        // back by one value
    kForward,     // forward by one value
    kPageForward, // forward by samples per plot
    kLast,        // the last page: count - samples per plot
};

inline constexpr int64_t kDefaultSamplesPerPlot = 40;
// Samples per plot are kept to what a record index can count.
inline constexpr int64_t kMaxSamplesPerPlot = 4294967295LL;

// Samples per plot from a number the user typed: at least 1 (0 and negative numbers give 1), at most
// kMaxSamplesPerPlot.
int64_t ClampSamplesPerPlot(int64_t typed);

// The first value of the last page: max(0, count - samples per plot).
int64_t LastPageStart(int64_t count, int64_t samplesPerPlot);

// The first value after a navigation command. Nothing goes below 0; moving forward stops at the last page
// (a plot already beyond it, because a row near the end was selected, stays where it is), so paging never
// runs into values that do not exist. With no values every command gives 0. A samples-per-plot below 1
// counts as 1.
int64_t MovePlotFirst(PlotMove move, int64_t first, int64_t samplesPerPlot, int64_t count);

// The first value when the plot is set to start at a row (a selected list row): not below 0.
int64_t PlotFirstAt(int64_t row);

// The records a page shows: [begin, end), never beyond the stored values; empty when there are none or the
// page starts after the last one.
struct PlotPageRange {
    uint32_t begin = 0;
    uint32_t end = 0;
    uint32_t Size() const { return end - begin; }
    bool operator==(const PlotPageRange&) const = default;
};
PlotPageRange PageRangeOf(int64_t first, int64_t samplesPerPlot, int64_t count);

// Whether the value list scrolls to a newly appended row: only when it had filled its page and its last
// visible row was the last row before the new one (top row + rows per page - 1 = new count - 2), so that a
// list left at its end follows the measurements and a list scrolled back stays where it is.
bool ListFollowsNewValue(int64_t topRow, int64_t rowsPerPage, int64_t newCount);

} // namespace terrix
