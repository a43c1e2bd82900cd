#include "gui/measure/meas_plot_widget.h"

#include "gui/measure/field_title_text.h"

#include <QFontMetricsF>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QSaveFile>

#include <algorithm>
#include <cmath>
#include <optional>

namespace terrix {

namespace {

const QColor kBackground(192, 255, 192);
const QColor kPaneColours[2] = {QColor(255, 255, 255), QColor(127, 255, 127)};
const QColor kCurveColour(0, 0, 160);
const QColor kErrorColour(220, 0, 0);
const QColor kGridColour(0, 0, 0, 40);

constexpr double kGap = 8;        // between the panes and around the plot
constexpr size_t kMaxTicks = 200; // the scale rule gives about a dozen; this only bounds a broken axis

QFont AxisFont(const QFont& base) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(base.pointSizeF() > 0 ? base.pointSizeF() : 9);
    return font;
}

double ToY(const QRectF& area, const AxisScale& scale, double value) {
    const double span = scale.top - scale.bottom;
    if (!(span != 0) || !std::isfinite(span)) {
        return area.center().y();
    }
    return area.bottom() - (value - scale.bottom) / span * area.height();
}

// The XV module's axes are titled with its record's field titles, in the user's language; an ordinary
// module's title is its unit name, shown as the module reports it.
QString AxisTitle(const PlotCurve& curve) {
    return curve.fixedScale ? FieldTitleText(curve.title) : QString::fromStdString(curve.title);
}

double ValueAtY(const QRectF& area, const AxisScale& scale, double y) {
    if (area.height() <= 0) {
        return scale.bottom;
    }
    return scale.bottom + (area.bottom() - y) / area.height() * (scale.top - scale.bottom);
}

} // namespace

CMeasPlotWidget::CMeasPlotWidget(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CMeasPlotWidget::SetSource(PlotSeriesSource* source) {
    source_ = source;
    LoadPage();
}

void CMeasPlotWidget::First() {
    MoveTo(MovePlotFirst(PlotMove::kFirst, first_, samplesPerPlot_, source_ ? source_->Count() : 0));
}

void CMeasPlotWidget::Back(bool page) {
    MoveTo(MovePlotFirst(page ? PlotMove::kPageBack : PlotMove::kBack, first_, samplesPerPlot_,
                         source_ ? source_->Count() : 0));
}

void CMeasPlotWidget::Forward(bool page) {
    MoveTo(MovePlotFirst(page ? PlotMove::kPageForward : PlotMove::kForward, first_, samplesPerPlot_,
                         source_ ? source_->Count() : 0));
}

void CMeasPlotWidget::Last() {
    MoveTo(MovePlotFirst(PlotMove::kLast, first_, samplesPerPlot_, source_ ? source_->Count() : 0));
}

void CMeasPlotWidget::SetFirst(int64_t first) {
    MoveTo(PlotFirstAt(first));
}

void CMeasPlotWidget::SetSamplesPerPlot(int64_t samplesPerPlot) {
    samplesPerPlot_ = ClampSamplesPerPlot(samplesPerPlot);
    LoadPage();
}

void CMeasPlotWidget::ToggleMarkers() {
    markers_ = !markers_;
    update();
}

void CMeasPlotWidget::Reload() {
    LoadPage();
}

void CMeasPlotWidget::MoveTo(int64_t first) {
    first_ = first;
    LoadPage();
    Q_EMIT FirstChanged(first_);
}

void CMeasPlotWidget::LoadPage() {
    page_ = source_ != nullptr ? LoadPlotPage(*source_, first_, samplesPerPlot_) : PlotPage{};
    if (!readout_.isEmpty()) { // it named a position on the page before
        readout_.clear();
        Q_EMIT ReadoutChanged(readout_);
    }
    update();
}

CMeasPlotWidget::Layout CMeasPlotWidget::ComputeLayout() const {
    const QFontMetricsF fm(AxisFont(font()));
    const double line = fm.height();
    Layout layout;
    const QRectF all = QRectF(rect()).adjusted(kGap, kGap / 2, -kGap, -kGap / 2);
    layout.readout = QRectF(all.left(), all.top(), all.width(), line + 4);

    // The value labels' widest text sets the left margin, so that long formats are never cut.
    double labelWidth = fm.horizontalAdvance(QStringLiteral("00.000"));
    for (size_t pane = 0; pane < page_.panes.size() && source_ != nullptr; ++pane) {
        for (double tick : AxisTicks(page_.panes[pane].scale, kMaxTicks)) {
            labelWidth = std::max(
                labelWidth, fm.horizontalAdvance(QString::fromStdString(source_->FormatValue(pane, tick))));
        }
    }
    const double dateWidth = fm.horizontalAdvance(QStringLiteral("00.00.0000"));
    const double left = all.left() + line + 6 + labelWidth + 6;
    const double right = all.right() - dateWidth / 2;
    const double top = layout.readout.bottom() + 4;
    const double bottom = all.bottom() - line - 6;
    layout.timeLabels = QRectF(left, bottom + 4, right - left, line + 2);

    // Panes stand a text line apart, so that the top label of one axis never meets the bottom label of the
    // one above.
    const size_t count = std::max<size_t>(page_.panes.size(), 1);
    const double gap = line + 6;
    const double height = std::max(0.0, (bottom - top - gap * static_cast<double>(count - 1)) / count);
    for (size_t pane = 0; pane < count; ++pane) {
        layout.panes.emplace_back(left, top + static_cast<double>(pane) * (height + gap),
                                  std::max(0.0, right - left), height);
    }
    return layout;
}

void CMeasPlotWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kBackground);
    painter.setFont(AxisFont(font()));
    const Layout layout = ComputeLayout();
    for (size_t pane = 0; pane < layout.panes.size(); ++pane) {
        painter.fillRect(layout.panes[pane], kPaneColours[pane % 2]);
    }
    if (!page_.Empty()) {
        DrawTimeAxis(painter, layout);
        for (size_t pane = 0; pane < page_.panes.size(); ++pane) {
            DrawPane(painter, layout, pane);
        }
    }
    painter.setPen(Qt::black);
    for (const QRectF& pane : layout.panes) {
        painter.drawRect(pane);
    }
    painter.drawText(layout.readout, Qt::AlignLeft | Qt::AlignVCenter, readout_);
}

void CMeasPlotWidget::DrawTimeAxis(QPainter& painter, const Layout& layout) const {
    const QRectF& first = layout.panes.front();
    const QRectF& last = layout.panes.back();
    const AxisScale& scale = page_.timeScale;
    const double span = scale.top - scale.bottom;
    const std::vector<double> ticks = AxisTicks(scale, kMaxTicks);
    const QFontMetricsF fm(painter.font());
    for (size_t i = 0; i < ticks.size(); ++i) {
        const double x =
            span != 0 ? first.left() + (ticks[i] - scale.bottom) / span * first.width() : first.left();
        painter.setPen(kGridColour);
        for (const QRectF& pane : layout.panes) {
            painter.drawLine(QPointF(x, pane.top()), QPointF(x, pane.bottom()));
        }
        painter.setPen(Qt::black);
        painter.drawLine(QPointF(x, last.bottom()), QPointF(x, last.bottom() + 4));
        const QString label = QString::fromStdString(TimeTickLabel(i, ticks[i], samplesPerPlot_));
        if (!label.isEmpty()) {
            const double w = fm.horizontalAdvance(label);
            painter.drawText(
                QRectF(x - w / 2 - 2, layout.timeLabels.top(), w + 4, layout.timeLabels.height()),
                Qt::AlignCenter, label);
        }
    }
}

void CMeasPlotWidget::DrawPane(QPainter& painter, const Layout& layout, size_t pane) const {
    const QRectF& area = layout.panes[pane];
    const PlotPane& data = page_.panes[pane];
    const QFontMetricsF fm(painter.font());

    // Value axis: grid, tick labels in the field's format, the title turned along the axis.
    for (double tick : AxisTicks(data.scale, kMaxTicks)) {
        const double y = ToY(area, data.scale, tick);
        painter.setPen(kGridColour);
        painter.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
        painter.setPen(Qt::black);
        painter.drawLine(QPointF(area.left() - 4, y), QPointF(area.left(), y));
        const QString label = QString::fromStdString(source_->FormatValue(pane, tick));
        painter.drawText(QRectF(0, y - fm.height() / 2, area.left() - 6, fm.height()),
                         Qt::AlignRight | Qt::AlignVCenter, label);
    }
    painter.save();
    painter.translate(kGap + fm.ascent(), area.center().y());
    painter.rotate(-90);
    painter.drawText(QRectF(-area.height() / 2, -fm.ascent(), area.height(), fm.height()), Qt::AlignCenter,
                     AxisTitle(data.curve));
    painter.restore();

    const int width = static_cast<int>(area.width());
    const std::vector<PixelColumn> columns =
        ToPixelColumns(data.buckets, page_.timeScale.bottom, page_.timeScale.top, width);
    painter.save();
    painter.setClipRect(area.adjusted(-3, -3, 3, 3));
    // Short pages are drawn smoothly; long ones, a line per pixel column, need no smoothing and stay fast.
    const bool sparse = columns.size() * 4 < static_cast<size_t>(std::max(width, 1));
    painter.setRenderHint(QPainter::Antialiasing, sparse);
    std::vector<QLineF> lines;
    lines.reserve(columns.size() * 2);
    std::vector<QPointF> errors;
    for (const PixelColumn& c : columns) {
        const double x = area.left() + c.x + 0.5;
        if (c.errors > 0) {
            errors.emplace_back(x, area.bottom());
        }
        if (c.values > 0 && c.max > c.min) {
            lines.emplace_back(x, ToY(area, data.scale, c.min), x, ToY(area, data.scale, c.max));
        }
    }
    for (const auto& [from, to] : CurveJoins(columns)) {
        const PixelColumn& a = columns[from];
        const PixelColumn& b = columns[to];
        lines.emplace_back(area.left() + a.x + 0.5, ToY(area, data.scale, a.last), area.left() + b.x + 0.5,
                           ToY(area, data.scale, b.first));
    }
    // A cosmetic one-pixel pen keeps the painter on its fast line path for long pages.
    painter.setPen(QPen(kCurveColour, sparse ? 1.5 : 0.0));
    painter.drawLines(lines.data(), static_cast<int>(lines.size()));
    if (markers_ && sparse) {
        painter.setBrush(kCurveColour);
        for (const PixelColumn& c : columns) {
            if (c.values == 1) {
                painter.drawRect(
                    QRectF(area.left() + c.x + 0.5 - 2.5, ToY(area, data.scale, c.first) - 2.5, 5, 5));
            }
        }
    }
    // A value that could not be measured has no place on the axis: a red mark at the pane's foot shows when.
    painter.setPen(QPen(kErrorColour, 2));
    for (const QPointF& p : errors) {
        painter.drawLine(p, p - QPointF(0, 6));
    }
    painter.restore();
}

double CMeasPlotWidget::TimeAt(const QRectF& area, double x) const {
    const AxisScale& scale = page_.timeScale;
    if (area.width() <= 0) {
        return scale.bottom;
    }
    return scale.bottom + (x - area.left()) / area.width() * (scale.top - scale.bottom);
}

QString CMeasPlotWidget::ReadoutAt(QPointF position) const {
    if (page_.Empty() || page_.panes.empty()) {
        return {};
    }
    const Layout layout = ComputeLayout();
    const auto inside = std::find_if(layout.panes.begin(), layout.panes.end(),
                                     [&](const QRectF& r) { return r.contains(position); });
    if (inside == layout.panes.end()) {
        return {};
    }
    // Each pane's value at the same height within the pane; the time is common to both.
    const double fraction = inside->height() > 0 ? (position.y() - inside->top()) / inside->height() : 0;
    const auto valueIn = [&](size_t pane) {
        const QRectF& r = layout.panes[pane];
        return ValueAtY(r, page_.panes[pane].scale, r.top() + fraction * r.height());
    };
    std::optional<double> second;
    if (page_.panes.size() > 1) {
        second = valueIn(1);
    }
    return QString::fromStdString(PlotReadoutText(TimeAt(*inside, position.x()), valueIn(0), second));
}

void CMeasPlotWidget::mouseMoveEvent(QMouseEvent* event) {
    const QString text = ReadoutAt(event->position());
    if (text != readout_) {
        readout_ = text;
        update();
        Q_EMIT ReadoutChanged(readout_);
    }
    QWidget::mouseMoveEvent(event);
}

void CMeasPlotWidget::leaveEvent(QEvent* event) {
    if (!readout_.isEmpty()) {
        readout_.clear();
        update();
        Q_EMIT ReadoutChanged(readout_);
    }
    QWidget::leaveEvent(event);
}

bool CMeasPlotWidget::SaveAsPng(const QString& path) {
    // Written under a temporary name and put in place only when complete, so a full disk never leaves a
    // broken picture where an earlier one was.
    const QImage image = grab().toImage();
    QSaveFile file(path);
    return !image.isNull() && file.open(QIODevice::WriteOnly) && image.save(&file, "PNG") && file.commit();
}

} // namespace terrix
