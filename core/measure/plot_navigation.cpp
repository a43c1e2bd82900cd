#include "core/measure/plot_navigation.h"

#include <algorithm>

namespace terrix {

int64_t ClampSamplesPerPlot(int64_t typed) {
    return std::clamp<int64_t>(typed, 1, kMaxSamplesPerPlot);
}

int64_t LastPageStart(int64_t count, int64_t samplesPerPlot) {
    return std::max<int64_t>(0, count - ClampSamplesPerPlot(samplesPerPlot));
}

int64_t MovePlotFirst(PlotMove move, int64_t first, int64_t samplesPerPlot, int64_t count) {
    if (count <= 0) {
        return 0;
    }
    const int64_t spp = ClampSamplesPerPlot(samplesPerPlot);
    const int64_t last = LastPageStart(count, spp);
    first = std::clamp<int64_t>(first, 0, kMaxSamplesPerPlot);
    switch (move) {
    case PlotMove::kFirst:
        return 0;
    case PlotMove::kPageBack:
        return std::max<int64_t>(0, first - spp);
    case PlotMove::kBack:
        return std::max<int64_t>(0, first - 1);
    case PlotMove::kForward:
        return std::max(first, std::min(first + 1, last));
    case PlotMove::kPageForward:
        return std::max(first, std::min(first + spp, last));
    case PlotMove::kLast:
        return last;
    }
    return first;
}

int64_t PlotFirstAt(int64_t row) {
    return std::max<int64_t>(0, row);
}

PlotPageRange PageRangeOf(int64_t first, int64_t samplesPerPlot, int64_t count) {
    const int64_t total = std::clamp<int64_t>(count, 0, kMaxSamplesPerPlot);
    const int64_t begin = std::clamp<int64_t>(first, 0, total);
    const int64_t end = std::min(total, begin + ClampSamplesPerPlot(samplesPerPlot));
    return {static_cast<uint32_t>(begin), static_cast<uint32_t>(end)};
}

bool ListFollowsNewValue(int64_t topRow, int64_t rowsPerPage, int64_t newCount) {
    return rowsPerPage > 0 && newCount - 1 >= rowsPerPage && topRow + rowsPerPage - 1 == newCount - 2;
}

} // namespace terrix
