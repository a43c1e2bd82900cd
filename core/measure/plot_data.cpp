#include "core/measure/plot_data.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/bus/bus_error.h"
#include "core/inventory/stored_text.h"
#include "core/measure/error_marker.h"
#include "core/measure/meas_value_store.h"
#include "core/measure/time_stamp.h"

namespace terrix {

namespace {

std::string Unit(const std::array<char, 8>& field) {
    return Cp1252ToUtf8(FieldText(field));
}

bool IsXv(MeasLayout layout) {
    return layout == MeasLayout::kXv || layout == MeasLayout::kXvWithTdc;
}

void AddToBucket(EnvelopeBucket& bucket, double value, bool error) {
    if (error) {
        ++bucket.errors;
        return;
    }
    if (bucket.values == 0) {
        bucket.min = bucket.max = bucket.first = value;
    } else {
        bucket.min = std::min(bucket.min, value);
        bucket.max = std::max(bucket.max, value);
    }
    bucket.last = value;
    ++bucket.values;
}

} // namespace

std::vector<std::string> MeasFieldUnits(MeasLayout layout, uint32_t channelMask, const std::string& unit0,
                                        const std::string& unit1) {
    std::vector<std::string> units(MakeRecord(layout).FieldCount());
    if (layout == MeasLayout::kOneValue) {
        units[1] = channelMask == 2 ? unit1 : unit0;
    } else if (layout == MeasLayout::kTwoValue) {
        units[1] = unit0;
        units[2] = unit1;
    }
    return units;
}

std::vector<std::string> MeasFieldUnits(const ModuleRecord& module) {
    return MeasFieldUnits(ChooseLayout(module), module.dwMeasChannels, Unit(module.szUnit0),
                          Unit(module.szUnit1));
}

std::vector<PlotCurve> PlotCurvesFor(MeasLayout layout, uint32_t channelMask, const std::string& unit0,
                                     const std::string& unit1) {
    if (IsXv(layout)) {
        const CMeasRecord record = MakeRecord(layout);
        const size_t second = layout == MeasLayout::kXvWithTdc ? kXvTemperature : kXvError;
        return {{kXvMoisture, record.GetTitle(kXvMoisture), true}, {second, record.GetTitle(second), true}};
    }
    switch (channelMask) {
    case 1:
        return {{1, unit0, false}};
    case 2: // the one-value record holds channel 1 in its only value field
        return {{1, layout == MeasLayout::kOneValue ? unit1 : unit0, false}};
    case 3:
        return {{1, unit0, false}, {2, unit1, false}};
    default:
        return {};
    }
}

std::vector<PlotCurve> PlotCurvesFor(const ModuleRecord& module) {
    return PlotCurvesFor(ChooseLayout(module), module.dwMeasChannels, Unit(module.szUnit0),
                         Unit(module.szUnit1));
}

bool PlotValueOf(const CMeasRecord& record, size_t i, double* value) {
    *value = 0;
    const CMeasField* field = record.Field(i);
    if (field == nullptr) {
        return false;
    }
    switch (field->Kind()) {
    case MeasFieldKind::kFloat: {
        float f = 0;
        if (!field->GetFloat(&f) || !std::isfinite(f)) {
            return false;
        }
        *value = f;
        return true;
    }
    case MeasFieldKind::kWord:
    case MeasFieldKind::kByte:
        *value = field->Bits();
        return true;
    default:
        return false;
    }
}

bool PlotValueMeasured(const CMeasRecord& record, MeasLayout layout, size_t i) {
    const size_t lead = IsXv(layout) ? kXvMoisture : 1;
    if (i == lead || !record.IsErrorMarker(lead)) {
        return true;
    }
    if (!IsXv(layout)) {
        return false; // the second channel came in the same failed reply
    }
    const CMeasField* field = record.Field(lead);
    const uint16_t code = field != nullptr ? ErrorMarkerCode(field->Bits()) : kUnknownErrorCode;
    const bool moduleCode = code >= kBusMeasuringCodeBase && code < kBusMeasuringCodeBase + 100;
    // The module's own error code comes with its error fraction; a failed reply brings neither.
    return moduleCode && i != kXvTemperature;
}

StorePlotSource::StorePlotSource(CMeasValueStore& store, std::vector<PlotCurve> curves)
    : store_(store), curves_(std::move(curves)), labels_(MakeRecord(store.Layout())) {
    if (curves_.size() > 2) {
        curves_.resize(2); // the plot has two panes
    }
}

uint32_t StorePlotSource::Count() {
    return store_.RecordCount();
}

bool StorePlotSource::ReadPoint(uint32_t index, PlotPoint& point) {
    if (!store_.ReadRecord(index)) {
        return false;
    }
    const CMeasRecord& record = store_.ReadRecordData();
    const CMeasField* stamp = record.Field(0);
    point.seconds = stamp != nullptr ? static_cast<double>(StampAsUtcSeconds(stamp->Bits())) : 0.0;
    for (size_t pane = 0; pane < curves_.size(); ++pane) {
        const size_t field = curves_[pane].field;
        point.error[pane] = !PlotValueOf(record, field, &point.value[pane]) ||
                            !PlotValueMeasured(record, store_.Layout(), field);
    }
    return true;
}

std::string StorePlotSource::FormatValue(size_t pane, double value) {
    if (pane >= curves_.size()) {
        return {};
    }
    return labels_.FormatFrom(curves_[pane].field, value);
}

PlotPage LoadPlotPage(PlotSeriesSource& source, int64_t first, int64_t samplesPerPlot, size_t maxBuckets) {
    PlotPage page;
    const std::vector<PlotCurve>& curves = source.Curves();
    const size_t paneCount = std::min<size_t>(curves.size(), 2);
    for (size_t pane = 0; pane < paneCount; ++pane) {
        page.panes.push_back({curves[pane], {}, 0, 0, {}});
    }
    page.range = PageRangeOf(first, samplesPerPlot, source.Count());
    if (page.Empty()) {
        return page;
    }
    maxBuckets = std::max<size_t>(maxBuckets, 1);
    const uint32_t n = page.range.Size();

    // A long page is merged along its time: the page's ends give the time span before the points are read.
    // Where the clock ran backwards between them, the points are merged by their position instead.
    PlotPoint point;
    bool merge = n > maxBuckets;
    double t0 = 0;
    double t1 = 0;
    if (merge) {
        PlotPoint endPoint;
        merge = source.ReadPoint(page.range.begin, point) && source.ReadPoint(page.range.end - 1, endPoint);
        t0 = point.seconds;
        t1 = endPoint.seconds;
    }
    const bool byTime = merge && t1 > t0;
    const auto bucketOf = [&](uint32_t offset, double seconds) -> size_t {
        if (!merge) {
            return offset;
        }
        const double position = byTime ? (seconds - t0) / (t1 - t0) : static_cast<double>(offset) / n;
        const double scaled = std::floor(std::clamp(position, 0.0, 1.0) * static_cast<double>(maxBuckets));
        return std::min(static_cast<size_t>(scaled), maxBuckets - 1);
    };

    double minTime = std::numeric_limits<double>::infinity();
    double maxTime = -minTime;
    std::array<double, 2> minValue{minTime, minTime};
    std::array<double, 2> maxValue{maxTime, maxTime};
    size_t lastBucket = std::numeric_limits<size_t>::max();
    for (uint32_t index = page.range.begin; index < page.range.end; ++index) {
        if (!source.ReadPoint(index, point)) {
            ++page.failedReads;
            continue;
        }
        minTime = std::min(minTime, point.seconds);
        maxTime = std::max(maxTime, point.seconds);
        const size_t bucket = bucketOf(index - page.range.begin, point.seconds);
        const bool fresh = bucket != lastBucket;
        lastBucket = bucket;
        for (size_t pane = 0; pane < paneCount; ++pane) {
            const double scaled = point.error[pane] ? 0.0 : point.value[pane];
            minValue[pane] = std::min(minValue[pane], scaled);
            maxValue[pane] = std::max(maxValue[pane], scaled);
            std::vector<EnvelopeBucket>& buckets = page.panes[pane].buckets;
            if (fresh) {
                buckets.push_back({});
                buckets.back().seconds = point.seconds;
            }
            AddToBucket(buckets.back(), point.value[pane], point.error[pane]);
        }
    }
    if (minTime > maxTime) {
        return page; // not one record could be read: no axes to scale
    }
    page.timeScale = ScaleAxis(minTime, maxTime);
    for (size_t pane = 0; pane < paneCount; ++pane) {
        PlotPane& p = page.panes[pane];
        p.minimum = minValue[pane];
        p.maximum = maxValue[pane];
        p.scale = p.curve.fixedScale ? PercentScale(p.minimum, p.maximum) : ScaleAxis(p.minimum, p.maximum);
    }
    return page;
}

std::vector<PixelColumn> ToPixelColumns(const std::vector<EnvelopeBucket>& buckets, double left, double right,
                                        int width) {
    std::vector<PixelColumn> columns;
    if (width <= 0) {
        return columns;
    }
    const double span = right - left;
    const double last = static_cast<double>(width - 1);
    for (const EnvelopeBucket& b : buckets) {
        const double position = span != 0 && std::isfinite(span) ? (b.seconds - left) / span * last : 0.0;
        const int x = static_cast<int>(std::lround(std::clamp(position, -1.0, last + 1.0)));
        if (!columns.empty() && columns.back().x == x) {
            PixelColumn& c = columns.back();
            if (b.values > 0) {
                if (c.values == 0) {
                    c.min = b.min;
                    c.max = b.max;
                    c.first = b.first;
                } else {
                    c.min = std::min(c.min, b.min);
                    c.max = std::max(c.max, b.max);
                }
                c.last = b.last;
            }
            c.values += b.values;
            c.errors += b.errors;
            continue;
        }
        columns.push_back({x, b.min, b.max, b.first, b.last, b.values, b.errors});
    }
    return columns;
}

std::vector<std::pair<size_t, size_t>> CurveJoins(const std::vector<PixelColumn>& columns) {
    std::vector<std::pair<size_t, size_t>> joins;
    size_t previous = columns.size(); // none yet
    for (size_t i = 0; i < columns.size(); ++i) {
        const PixelColumn& c = columns[i];
        if (c.values == 0) {
            if (c.errors > 0) {
                previous = columns.size(); // a missing round: the line starts again after it
            }
            continue;
        }
        if (previous < columns.size()) {
            joins.emplace_back(previous, i);
        }
        previous = i;
    }
    return joins;
}

} // namespace terrix
