// The value plot's rules without a widget: axis rounding and labels, the navigation of the value window,
// the page of points and its min-max envelope.

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "core/measure/meas_layouts.h"
#include "core/measure/plot_data.h"
#include "core/measure/plot_navigation.h"
#include "core/measure/plot_scale.h"
#include "core/measure/time_stamp.h"

namespace terrix {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(PlotScale, RoundsRangesToWholeSteps) {
    const std::tuple<double, double, AxisScale> cases[] = {
        {2.0, 8.0, {2, 8, 1}},           // six steps: not halved
        {1.0, 3.2, {1, 3.5, 0.5}},       // halved; only the top moves in
        {0.0, 3.0, {0, 3, 0.5}},         // halved; neither end can move
        {-250, 1250, {-500, 1500, 500}}, // halved; both ends move in
        {3.2, 3.2, {3, 4, 1}},           // equal ends: the unit below ceiling(maximum)
        {-0.5, -0.5, {-1, 0, 1}},        // the same for a negative value
        {0.12, 0.47, {0.1, 0.5, 0.05}},  // steps below 1
        {1e6, 1e6 + 0.001, {1e6, 1e6 + 0.001, 0.0005}},
        {0.0, 5e-324, {0, 1, 1}}, // no power of ten that small: as if equal
        {5.0, 1.0, {5, 1, 0}},    // reversed: unchanged, step 0
        {kNaN, 1.0, {0, 1, 1}},   // nothing to round
        {0.0, kInf, {0, 1, 1}},
    };
    for (const auto& [minimum, maximum, expected] : cases) {
        const AxisScale s = ScaleAxis(minimum, maximum);
        SCOPED_TRACE(testing::Message() << minimum << " .. " << maximum);
        const double tolerance = 1e-9 * std::max(1.0, std::abs(expected.top));
        EXPECT_NEAR(s.bottom, expected.bottom, tolerance);
        EXPECT_NEAR(s.top, expected.top, tolerance);
        EXPECT_NEAR(s.step, expected.step, 1e-12);
        if (std::isfinite(minimum) && std::isfinite(maximum) && minimum <= maximum) {
            EXPECT_LE(s.bottom, minimum + tolerance) << "the axis must hold the data";
            EXPECT_GE(s.top, maximum - tolerance) << "the axis must hold the data";
        }
    }
}

TEST(PlotScale, PercentAxisWidensOnlyForValuesOutside) {
    const std::tuple<double, double, AxisScale> cases[] = {
        {0.0, 100.0, {0, 100, 10}},                  // the ends themselves fit
        {12.5, 12.5, {0, 100, 10}},                  //
        {-0.001, 50, {-10, 100, 10}},                // just below: one step more
        {50, 100.001, {0, 110, 10}},                 // just above
        {-20, 100, {-20, 100, 10}},                  // twelve steps of 10 still
        {-25, 30, {-40, 100, 20}},                   // thirteen would be too many: steps of 20
        {-3000, 20, {-3000, 500, 500}},              // 10, 20, 50, ... 500
        {-5, 1e6, {-100000, 1e6, 100000}},           //
        {kNaN, 50, {0, 100, 10}},                    // no values to widen for
        {80, 20, {0, 100, 10}},                      //
        {-kInf, 5, {0, 100, 10}},                    //
        {-1.7e308, 1.7e308, {-1.7e308, 1.7e308, 0}}, // no step spans that: the ends, unticked
    };
    for (const auto& [minimum, maximum, expected] : cases) {
        SCOPED_TRACE(testing::Message() << minimum << " .. " << maximum);
        const AxisScale s = PercentScale(minimum, maximum);
        EXPECT_EQ(s, expected);
        if (std::isfinite(minimum) && std::isfinite(maximum) && minimum <= maximum) {
            EXPECT_LE(s.bottom, std::min(minimum, 0.0)) << "no value below the axis, which keeps 0";
            EXPECT_GE(s.top, std::max(maximum, 100.0)) << "no value above the axis, which keeps 100";
            EXPECT_TRUE(s.step == 0 || (s.top - s.bottom) / s.step <= 12);
        }
    }
}

TEST(PlotScale, TicksAndLabelCycle) {
    EXPECT_EQ(AxisTicks({1, 3.5, 0.5}), (std::vector<double>{1, 1.5, 2, 2.5, 3, 3.5}));
    EXPECT_EQ(AxisTicks({5, 1, 0}), (std::vector<double>{5, 1}));
    EXPECT_EQ(AxisTicks({0, 1e12, 1}, 3).size(), 3u);

    const double t = static_cast<double>(StampAsUtcSeconds(PackTimeStamp({5, 3, 2004, 14, 7, 9})));
    const std::tuple<size_t, int64_t, const char*> cases[] = {
        {0, 40, "05.03.2004"}, {1, 40, ""},          {2, 40, "14:07:09"},
        {3, 40, ""},           {39, 40, ""},         {40, 40, "05.03.2004"},
        {42, 40, "14:07:09"},  {5, 1, "05.03.2004"}, {3, 0, "05.03.2004"},
        {3, -7, "05.03.2004"}, {4, 3, ""},           {5, 3, "14:07:09"},
    };
    for (const auto& [tick, samplesPerPlot, expected] : cases) {
        EXPECT_EQ(TimeTickLabel(tick, t, samplesPerPlot), expected)
            << "tick " << tick << ", " << samplesPerPlot << " per plot";
    }
    EXPECT_EQ(PlotReadoutText(t + 0.7, 3.14159, std::nullopt), "05.03.2004 14:07:09    3.14");
    EXPECT_EQ(PlotReadoutText(t, -1.005, 20.0), "05.03.2004 14:07:09    -1.00 / 20.00)");
}

TEST(PlotNavigation, MovesStayInsideTheStoredValues) {
    // Move, first value shown, values per plot, stored values, the new first value.
    const std::tuple<PlotMove, int64_t, int64_t, int64_t, int64_t> cases[] = {
        {PlotMove::kLast, 0, 40, 100, 60},     // last page of 100 at 40 per plot
        {PlotMove::kPageBack, 10, 40, 100, 0}, // never below 0
        {PlotMove::kBack, 0, 40, 100, 0},
        {PlotMove::kPageForward, 50, 40, 100, 60}, // stops at the last page
        {PlotMove::kPageForward, 0, 40, 100, 40},
        {PlotMove::kForward, 60, 40, 100, 60},
        {PlotMove::kForward, 95, 40, 100, 95}, // beyond the last page already: stays
        {PlotMove::kPageBack, 95, 40, 100, 55},
        {PlotMove::kLast, 0, 40, 10, 0}, // fewer values than a page
        {PlotMove::kPageForward, 0, 40, 10, 0},
        {PlotMove::kLast, 7, 40, 0, 0}, // no values at all
        {PlotMove::kPageForward, 5, 40, 0, 0},
        {PlotMove::kFirst, 5, 40, 0, 0},
        {PlotMove::kPageForward, 0, 0, 100, 1}, // samples per plot below 1 count as 1
        {PlotMove::kPageBack, 10, -5, 100, 9},
        {PlotMove::kLast, 0, -5, 100, 99},
    };
    for (const auto& [move, first, samplesPerPlot, count, expected] : cases) {
        EXPECT_EQ(MovePlotFirst(move, first, samplesPerPlot, count), expected)
            << "move " << static_cast<int>(move) << " from " << first << ", " << samplesPerPlot
            << " per plot, " << count << " values";
    }
    const int64_t huge = int64_t{1} << 40;
    EXPECT_EQ(std::make_tuple(ClampSamplesPerPlot(0), ClampSamplesPerPlot(-12), ClampSamplesPerPlot(huge)),
              std::make_tuple(1, 1, kMaxSamplesPerPlot));
    EXPECT_EQ((std::vector<PlotPageRange>{PageRangeOf(0, 40, 0), PageRangeOf(0, 40, 10),
                                          PageRangeOf(12, 40, 10), PageRangeOf(-3, 0, 10)}),
              (std::vector<PlotPageRange>{{0, 0}, {0, 10}, {10, 10}, {0, 1}}));
    // A list of 20 rows per page at its end follows; scrolled back by one row, or not yet full, it does not.
    EXPECT_EQ(std::make_tuple(ListFollowsNewValue(30, 20, 51), ListFollowsNewValue(29, 20, 51),
                              ListFollowsNewValue(0, 20, 10)),
              std::make_tuple(true, false, false));
}

// Points kept in memory; counts the reads so a test sees what the plot asked for.
struct VectorSource final : PlotSeriesSource {
    VectorSource(std::vector<PlotCurve> c, std::vector<PlotPoint> p)
        : curves(std::move(c)), points(std::move(p)) {}
    const std::vector<PlotCurve>& Curves() const override { return curves; }
    uint32_t Count() override { return static_cast<uint32_t>(points.size()); }
    bool ReadPoint(uint32_t index, PlotPoint& point) override {
        ++reads;
        point = index < points.size() ? points[index] : point;
        return index < points.size();
    }
    std::string FormatValue(size_t, double value) override { return std::to_string(value); }
    std::vector<PlotCurve> curves;
    std::vector<PlotPoint> points;
    size_t reads = 0;
};

PlotPoint Point(double seconds, double v0, bool error0 = false, double v1 = 0) {
    return {seconds, {v0, v1}, {error0, false}};
}

TEST(PlotPage, ScalesTheShownValuesOnly) {
    const std::vector<PlotCurve> one = PlotCurvesFor(MeasLayout::kOneValue, 2, "mV", "%");
    ASSERT_EQ(one, (std::vector<PlotCurve>{{1, "%", false}})); // channel 1 with its own unit

    // An error value scales as 0; values outside the page do not count.
    VectorSource source(one, {Point(0, 100), Point(10, 2), Point(20, 5, true), Point(30, 8), Point(40, -50)});
    PlotPage page = LoadPlotPage(source, 1, 3);
    const PlotPane& pane = page.panes.at(0);
    EXPECT_EQ(std::tie(page.range, page.timeScale, pane.scale),
              std::make_tuple(PlotPageRange{1, 4}, ScaleAxis(10, 30), ScaleAxis(0, 8)));
    EXPECT_EQ(std::make_tuple(page.panes.size(), pane.buckets.size(), pane.buckets.at(1).errors,
                              pane.buckets[1].values),
              std::make_tuple(1u, 3u, 1u, 0u));

    // No values: nothing is read, not even a record before the first.
    VectorSource empty(one, {});
    EXPECT_TRUE(LoadPlotPage(empty, 0, 40).Empty());
    EXPECT_EQ(empty.reads, 0u);

    // The XV module without TDC support: moisture and error on the percent axis, which widens only for the
    // page whose values do not fit.
    const std::vector<PlotCurve> xv = PlotCurvesFor(MeasLayout::kXv, 1, "", "");
    ASSERT_EQ(xv, (std::vector<PlotCurve>{{2, "Moisture [%]", true}, {4, "Error [%]", true}}));
    VectorSource xvSource(xv, {Point(0, 12, false, 3), Point(1, 250, false, 1), Point(2, 40, false, -5)});
    page = LoadPlotPage(xvSource, 0, 1);
    EXPECT_EQ(std::tie(page.panes.at(0).scale, page.panes.at(1).scale),
              std::make_tuple(AxisScale{0, 100, 10}, AxisScale{0, 100, 10}));
    page = LoadPlotPage(xvSource, 1, 2);
    EXPECT_EQ(std::tie(page.panes.at(0).scale, page.panes.at(1).scale),
              std::make_tuple(AxisScale{0, 250, 50}, AxisScale{-10, 100, 10}));
    EXPECT_EQ(PlotCurvesFor(MeasLayout::kXvWithTdc, 0, "", "")[1], (PlotCurve{10, "Temperature", true}));
    EXPECT_TRUE(PlotCurvesFor(MeasLayout::kTwoValue, 0, "a", "b").empty());
}

TEST(PlotPage, LongPagesReduceToAnEnvelopeThatKeepsTheExtremes) {
    // 100,000 values, one a second, a slow wave with one spike up and one down.
    std::vector<PlotPoint> points;
    for (int i = 0; i < 100000; ++i) {
        points.push_back(Point(1e9 + i, std::sin(i / 5000.0)));
    }
    points[31234].value[0] = 7.5;
    points[77777].value[0] = -9.25;
    points[50000].error[0] = true;
    VectorSource source({{1, "V", false}}, std::move(points));
    const PlotPage page = LoadPlotPage(source, 0, 100000);
    EXPECT_EQ(source.reads, 100000u + 2u); // each record once, the ends once more for the time span
    const std::vector<EnvelopeBucket>& buckets = page.panes[0].buckets;
    EXPECT_LE(buckets.size(), kPlotPageBuckets);
    EXPECT_GT(buckets.size(), kPlotPageBuckets / 2);

    const std::vector<PixelColumn> columns =
        ToPixelColumns(buckets, page.timeScale.bottom, page.timeScale.top, 800);
    EXPECT_LE(columns.size(), 800u);
    double lowest = kInf;
    double highest = -kInf;
    uint32_t values = 0;
    uint32_t errors = 0;
    for (size_t i = 0; i < columns.size(); ++i) {
        lowest = std::min(lowest, columns[i].min);
        highest = std::max(highest, columns[i].max);
        values += columns[i].values;
        errors += columns[i].errors;
        if (i > 0) {
            EXPECT_GT(columns[i].x, columns[i - 1].x);
        }
    }
    EXPECT_EQ(std::make_tuple(lowest, highest, values, errors), std::make_tuple(-9.25, 7.5, 99999u, 1u));
}

// A failed reading stores 0 in what it could not read: such a 0 is left out, and the line does not bridge the
// missing round.
TEST(PlotPage, FailedReadingsAreGapsNotZeros) {
    struct Case {
        MeasLayout layout;
        size_t lead;   // the field that carries the reading's marker
        uint16_t code; // its code
        size_t field;  // the field asked about
        bool measured;
    };
    const Case cases[] = {
        {MeasLayout::kXvWithTdc, kXvMoisture, 9, kXvTemperature, false},   // no reply: no temperature
        {MeasLayout::kXvWithTdc, kXvMoisture, 9, kXvError, false},         // nor an error fraction
        {MeasLayout::kXvWithTdc, kXvMoisture, 305, kXvTemperature, false}, // module's code: not read
        {MeasLayout::kXvWithTdc, kXvMoisture, 305, kXvError, true},        // but its fraction is real
        {MeasLayout::kTwoValue, 1, 9, 2, false},
        {MeasLayout::kTwoValue, 2, 9, 1, true}, // only the lead's marker says the reading failed
    };
    for (const Case& c : cases) {
        CMeasRecord record = MakeRecord(c.layout);
        ASSERT_TRUE(record.SetErrorMarker(c.lead, c.code));
        EXPECT_EQ(PlotValueMeasured(record, c.layout, c.field), c.measured) << c.field << " code " << c.code;
    }

    const auto column = [](int x, uint32_t values, uint32_t errors) {
        return PixelColumn{x, 1, 1, 1, 1, values, errors};
    };
    using Joins = std::vector<std::pair<size_t, size_t>>;
    EXPECT_EQ(CurveJoins({column(0, 1, 0), column(5, 0, 1), column(9, 1, 0), column(12, 2, 1),
                          column(20, 0, 0), column(30, 1, 0)}),
              (Joins{{2, 3}, {3, 5}}));
    EXPECT_TRUE(CurveJoins({column(0, 0, 1), column(3, 1, 0)}).empty());
}

} // namespace
} // namespace terrix
