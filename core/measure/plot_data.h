#pragma once
// What the measured-value plot draws, without any widget: the curves of a module kind, a small interface
// through which the plot reads points (so a value store or a test can feed it), and the page of points
// reduced to a min-max envelope, so that a page of 100,000 values costs no more to draw than one of a few
// thousand.

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "core/inventory/module_record.h"
#include "core/measure/meas_layouts.h"
#include "core/measure/meas_record.h"
#include "core/measure/plot_navigation.h"
#include "core/measure/plot_scale.h"

namespace terrix {

class CMeasValueStore;

// One curve: the record field it draws, the title of its value axis and whether that axis is fixed at
// 0..100 (the XV module's percentages; widened only for a value outside) or scaled to the page's values.
struct PlotCurve {
    size_t field = 1;
    std::string title; // UTF-8
    bool fixedScale = false;
    bool operator==(const PlotCurve&) const = default;
};

// The unit of each field of a module's record (UTF-8; empty where none): ordinary modules carry their
// channel's unit on the value fields -- a one-value record holds the channel that measures, so channel
// mask 2 gives channel 1's unit --, the XV module's titles carry their own units.
std::vector<std::string> MeasFieldUnits(MeasLayout layout, uint32_t channelMask, const std::string& unit0,
                                        const std::string& unit1);
std::vector<std::string> MeasFieldUnits(const ModuleRecord& module);

// The curves of pane 0 and pane 1 for a module kind: none for an ordinary module measuring no channel, one
// for one channel, two for two; the XV module plots "Moisture [%]" and "Temperature" (with TDC support)
// or "Error [%]", both on the percent axis, titled with the field titles.
std::vector<PlotCurve> PlotCurvesFor(MeasLayout layout, uint32_t channelMask, const std::string& unit0,
                                     const std::string& unit1);
std::vector<PlotCurve> PlotCurvesFor(const ModuleRecord& module);

// One stored value as the plot sees it: its time (the stamp read as universal time) and the value of each
// pane's field. A value that cannot be drawn -- an error marker, or a float that is not finite -- is
// flagged and counts as 0 when the value axis is scaled.
struct PlotPoint {
    double seconds = 0;
    std::array<double, 2> value{};
    std::array<bool, 2> error{};
};

// Where the plot takes its points from. Reads happen on the interface thread, a page at a time.
class PlotSeriesSource {
public:
    virtual ~PlotSeriesSource() = default;
    virtual const std::vector<PlotCurve>& Curves() const = 0;
    virtual uint32_t Count() = 0;
    // Point `index`; false when it could not be read.
    virtual bool ReadPoint(uint32_t index, PlotPoint& point) = 0;
    // A value-axis tick label in the format of pane `pane`'s field ("%.3f", "%.1f", ...).
    virtual std::string FormatValue(size_t pane, double value) = 0;
};

// The plot's source over a module's value store: reads records through the store's cached block reads.
class StorePlotSource final : public PlotSeriesSource {
public:
    StorePlotSource(CMeasValueStore& store, std::vector<PlotCurve> curves);

    const std::vector<PlotCurve>& Curves() const override { return curves_; }
    uint32_t Count() override;
    bool ReadPoint(uint32_t index, PlotPoint& point) override;
    std::string FormatValue(size_t pane, double value) override;

private:
    CMeasValueStore& store_;
    std::vector<PlotCurve> curves_;
    CMeasRecord labels_; // formats axis labels without touching the store's read record
};

// The value of field `i` of a record as the plot draws it; false (and 0) for an error marker, a float
// that is not finite, or a field the record lacks.
bool PlotValueOf(const CMeasRecord& record, size_t i, double* value);

// Whether field `i` of a `layout` record holds what its round measured. A round whose reading failed puts
// the bus error's marker on its first value and 0 into the values it could not read: those 0s are no
// measurement. With the XV module's own error code on the moisture only the temperature went unread.
bool PlotValueMeasured(const CMeasRecord& record, MeasLayout layout, size_t i);

// A run of consecutive points of one page merged into one: the time of its first point, the extremes and
// the first and last of its values (error points left out), and how many values and errors it holds.
struct EnvelopeBucket {
    double seconds = 0;
    double min = 0;
    double max = 0;
    double first = 0;
    double last = 0;
    uint32_t values = 0;
    uint32_t errors = 0;
};

struct PlotPane {
    PlotCurve curve;
    AxisScale scale;
    double minimum = 0; // of the page's values, an error counted as 0
    double maximum = 0;
    std::vector<EnvelopeBucket> buckets; // in page order
};

// One page of the plot ready to draw.
struct PlotPage {
    PlotPageRange range;
    AxisScale timeScale;
    std::vector<PlotPane> panes; // one per curve of the source
    uint32_t failedReads = 0;
    bool Empty() const { return range.Size() == 0; }
};

// Up to this many buckets per pane: far more than a screen has pixel columns.
inline constexpr size_t kPlotPageBuckets = 8192;

// Reads the page's records, and only those, once: each point becomes its own bucket while the page has at
// most `maxBuckets` points, a longer page is merged into about `maxBuckets` buckets along its time. Value
// axes follow the scale rule (or the percent axis, PercentScale); the time axis runs over the page's earliest
// to latest time, rounded by the same rule. A record that cannot be read is counted and left out. No values:
// an empty page that reads nothing.
PlotPage LoadPlotPage(PlotSeriesSource& source, int64_t first, int64_t samplesPerPlot,
                      size_t maxBuckets = kPlotPageBuckets);

// The buckets of a pane reduced to pixel columns 0..width-1 of a time axis from `left` to `right`
// seconds: consecutive buckets that fall into the same column become one, so drawing costs one vertical
// min-max line per column and one joining line between neighbours, whatever the page's length.
struct PixelColumn {
    int x = 0;
    double min = 0;
    double max = 0;
    double first = 0;
    double last = 0;
    uint32_t values = 0;
    uint32_t errors = 0;
};
std::vector<PixelColumn> ToPixelColumns(const std::vector<EnvelopeBucket>& buckets, double left, double right,
                                        int width);

// The joining lines of a curve, as pairs of column indices: from the last value of one column to the first
// of the next column with values, unless a column between them holds only values that could not be
// measured -- a missing round is a gap in the line, not a slope.
std::vector<std::pair<size_t, size_t>> CurveJoins(const std::vector<PixelColumn>& columns);

} // namespace terrix
