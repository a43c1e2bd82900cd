// The plot widget over a real value store: navigation through the widget, the read-out, saving the picture,
// the XV module's fixed axes, and an empty store. Setting TERRIX_PLOT_PICTURES to a folder keeps the
// pictures there for looking at.

#include "core/measure/meas_value_store.h"
#include "core/measure/time_stamp.h"
#include "gui/measure/meas_plot_widget.h"
#include "gui_test_support.h"

#include <QDir>
#include <QImage>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

#include <cmath>

using namespace terrix;

namespace {

ModuleRecord Module(uint16_t serial, const char* name, uint32_t mask, bool tdc = false) {
    ModuleRecord m;
    m.enModuleState = msIdentified;
    m.stationInfo.wSerialNo = serial;
    m.stationInfo.SetModuleName(name);
    m.dwMeasChannels = mask;
    m.bHasTDCSupport = tdc ? 1 : 0;
    CopyToField(m.szUnit0, "%");
    CopyToField(m.szUnit1, "\xB0"
                           "C");
    return m;
}

// `count` records ten seconds apart from 5 March 2004 14:07:00; every value field holds a wave, record 30
// an error value.
void Fill(CMeasValueStore& store, const QString& dir, const ModuleRecord& module, int count) {
    store.SetDirectory(dir.toStdString());
    QVERIFY(store.Bind(module) && store.OpenReader() && store.OpenWriter());
    for (int i = 0; i < count; ++i) {
        CMeasRecord& r = store.AppendRecord();
        r.SetStamp(0, PackTimeStamp({5, 3, 2004, 14, static_cast<unsigned>(7 + i / 6),
                                     static_cast<unsigned>(i % 6 * 10)}));
        for (size_t f = 1; f < r.FieldCount(); ++f) {
            r.SetFloat(f, static_cast<float>(20 + 5 * std::sin(i / 8.0 + static_cast<double>(f))));
        }
        if (i == 30) {
            r.SetErrorMarker(1, 9);
            r.SetErrorMarker(2, 9);
        }
        QVERIFY(store.Append());
    }
}

} // namespace

class TestMeasPlotWidget : public QObject {
    Q_OBJECT

    test::TempDataDir data_;

    QString PicturePath(const QString& name) const {
        const QString dir = qEnvironmentVariable("TERRIX_PLOT_PICTURES");
        return dir.isEmpty() ? data_.File(name) : QDir(dir).filePath(name);
    }

private Q_SLOTS:
    void navigatesReadsOutAndSaves() {
        CMeasValueStore store;
        Fill(store, data_.Path(), Module(101, "PX-TAVIK2", 3), 100);
        StorePlotSource source(store, PlotCurvesFor(Module(101, "PX-TAVIK2", 3)));
        CMeasPlotWidget plot;
        plot.resize(800, 500);
        QSignalSpy moved(&plot, &CMeasPlotWidget::FirstChanged);
        plot.SetSource(&source);

        plot.Last();
        QCOMPARE(plot.CurrentFirst(), 60);
        QCOMPARE(moved.takeFirst().at(0).toLongLong(), 60);
        plot.Forward(true);
        QCOMPARE(plot.CurrentFirst(), 60);
        plot.Back(true);
        plot.Back(false);
        QCOMPARE(plot.CurrentFirst(), 19);
        QCOMPARE(plot.Page().range, (PlotPageRange{19, 59}));
        QCOMPARE(plot.Page().panes.size(), size_t{2});

        // The read-out in the middle of pane 0: date, time, pane 0's value and pane 1's after " / ".
        plot.show();
        QVERIFY(QTest::qWaitForWindowExposed(&plot));
        const QPoint middle(plot.width() / 2, plot.height() / 4);
        QMouseEvent move(QEvent::MouseMove, middle, plot.mapToGlobal(middle), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(&plot, &move);
        QVERIFY2(plot.Readout().startsWith(QStringLiteral("05.03.2004 14:")), qPrintable(plot.Readout()));
        QVERIFY2(plot.Readout().contains(QStringLiteral(" / ")), qPrintable(plot.Readout()));

        const QString path = PicturePath(QStringLiteral("plot.png"));
        QVERIFY(plot.SaveAsPng(path));
        QCOMPARE(QImage(path).size(), plot.size() * plot.devicePixelRatio());
        plot.ToggleMarkers();
        plot.SetSamplesPerPlot(100);
        plot.First();
        QVERIFY(plot.SaveAsPng(PicturePath(QStringLiteral("plot_all_no_markers.png"))));
        QVERIFY(!plot.SaveAsPng(data_.File(QStringLiteral("missing/plot.png"))));
    }

    void xvModuleOnFixedAxes() {
        CMeasValueStore store;
        const ModuleRecord xv = Module(202, "PX-TAVIK2XV", 1);
        Fill(store, data_.Path(), xv, 40);
        StorePlotSource source(store, PlotCurvesFor(xv));
        CMeasPlotWidget plot;
        plot.resize(800, 500);
        plot.SetSource(&source);
        QCOMPARE(plot.Page().panes.size(), size_t{2});
        QCOMPARE(plot.Page().panes[0].curve.title, std::string("Moisture [%]"));
        QCOMPARE(plot.Page().panes[1].curve.title, std::string("Error [%]"));
        QCOMPARE(plot.Page().panes[1].scale, FixedPercentScale());
        QVERIFY(plot.SaveAsPng(PicturePath(QStringLiteral("plot_xv.png"))));
    }

    void emptyStoreDrawsNothing() {
        CMeasValueStore store;
        Fill(store, data_.Path(), Module(303, "PX-TAVIK2", 1), 0);
        StorePlotSource source(store, PlotCurvesFor(Module(303, "PX-TAVIK2", 1)));
        CMeasPlotWidget plot;
        plot.resize(400, 300);
        plot.SetSource(&source);
        plot.Last();
        plot.Forward(true);
        QCOMPARE(plot.CurrentFirst(), 0);
        QVERIFY(plot.Page().Empty());
        QVERIFY(plot.ReadoutAt(QPointF(200, 150)).isEmpty());
        QVERIFY(!plot.grab().isNull());
    }
};

QTEST_MAIN(TestMeasPlotWidget)
#include "tst_meas_plot_widget.moc"
