#pragma once
// The measured-value plot: one or two panes, each with its own value axis, over a common time axis, drawn
// with QPainter. It reads its points through a PlotSeriesSource (for a module: a StorePlotSource over the
// value store), one page of "samples per plot" values at a time; long pages are drawn as one min-max line
// per pixel column. The rules of paging, scales and labels are core functions (plot_*.h); this widget only
// loads pages and draws them.

#include <QString>
#include <QWidget>

#include "core/measure/plot_data.h"

namespace terrix {

class CMeasPlotWidget : public QWidget {
    Q_OBJECT
public:
    explicit CMeasPlotWidget(QWidget* parent = nullptr);

    // The source of the points (not owned; it must outlive the widget or be replaced first). nullptr, or a
    // source without curves, shows the empty background. Loads the page at the current first value.
    void SetSource(PlotSeriesSource* source);
    PlotSeriesSource* Source() const { return source_; }

    // The toolbar's commands; each reloads the page and repaints.
    void First();
    void Back(bool page);
    void Forward(bool page);
    void Last();
    void SetFirst(int64_t first);
    void SetSamplesPerPlot(int64_t samplesPerPlot);
    void ToggleMarkers();

    int64_t CurrentFirst() const { return first_; }
    int64_t SamplesPerPlot() const { return samplesPerPlot_; }
    bool Markers() const { return markers_; }

    // Reads the page again: after new values were stored or the values were erased.
    void Reload();
    const PlotPage& Page() const { return page_; }

    // The read-out for a position in the widget: date, time and value(s) there; empty outside the panes or
    // while the page is empty.
    QString ReadoutAt(QPointF position) const;
    QString Readout() const { return readout_; }

    // The plot as it is now (at the widget's size) saved as a PNG file; false when it could not be written.
    bool SaveAsPng(const QString& path);

    QSize sizeHint() const override { return {640, 420}; }
    QSize minimumSizeHint() const override { return {240, 160}; }

Q_SIGNALS:
    // After every change of the first value (navigation, SetFirst), with the new first value.
    void FirstChanged(qint64 first);
    void ReadoutChanged(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    struct Layout {
        QRectF readout;
        std::vector<QRectF> panes; // the plot areas, without their axis labels
        QRectF timeLabels;
    };

    void MoveTo(int64_t first);
    void LoadPage();
    Layout ComputeLayout() const;
    void DrawPane(QPainter& painter, const Layout& layout, size_t pane) const;
    void DrawTimeAxis(QPainter& painter, const Layout& layout) const;
    double TimeAt(const QRectF& area, double x) const;

    PlotSeriesSource* source_ = nullptr;
    int64_t first_ = 0;
    int64_t samplesPerPlot_ = kDefaultSamplesPerPlot;
    bool markers_ = true;
    PlotPage page_;
    QString readout_;
};

} // namespace terrix
