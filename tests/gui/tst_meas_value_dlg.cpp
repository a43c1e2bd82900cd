// The measured-value window and its plot over a real value store: read-out and picture, the list following
// the plot, the samples-per-plot spin, new values, layouts per serial, erasing and column titles. Where the
// moves land is the core's navigation, tested there.

#include "core/measure/meas_value_store.h"
#include "core/measure/time_stamp.h"
#include "gui/base/language.h"
#include "gui/measure/meas_plot_widget.h"
#include "gui/measure/meas_value_dlg.h"
#include "gui/measure/meas_value_list.h"
#include "gui/toolkit/report_list_ctrl.h"
#include "gui/toolkit/string_catalogue.h"
#include "gui/toolkit/virtual_list_model.h"
#include "gui_test_support.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>

#include <cmath>

using namespace terrix;

namespace {

ModuleRecord Module(uint16_t serial, uint32_t mask) {
    ModuleRecord m;
    m.enModuleState = msIdentified;
    m.stationInfo.wSerialNo = serial;
    m.stationInfo.SetModuleName("PX-TAVIK2");
    m.dwMeasChannels = mask;
    CopyToField(m.szUnit0, "Vol%");
    CopyToField(m.szUnit1, "mS/m");
    return m;
}

// Record i: 5 March 2004 14:00 plus i seconds, every value i (or a wave with an error value at 30).
void Append(CMeasValueStore& store, int i, bool wave = false) {
    CMeasRecord& r = store.AppendRecord();
    r.SetStamp(0, PackTimeStamp(
                      {5, 3, 2004, 14, static_cast<unsigned>(i / 60 % 60), static_cast<unsigned>(i % 60)}));
    for (size_t f = 1; f < r.FieldCount(); ++f) {
        r.SetFloat(f, wave ? static_cast<float>(20 + 5 * std::sin(i / 8.0 + static_cast<double>(f)))
                           : static_cast<float>(i));
        if (wave && i == 30) {
            r.SetErrorMarker(f, 9);
        }
    }
    QVERIFY(store.Append());
}

// A store with `count` values, writer and reader open, as a measuring slot has it.
void Fill(CMeasValueStore& store, const QString& dir, const ModuleRecord& module, int count,
          bool wave = false) {
    store.SetDirectory(dir.toStdString());
    QVERIFY(store.Bind(module) && store.OpenReader() && store.OpenWriter());
    for (int i = 0; i < count; ++i) {
        Append(store, i, wave);
    }
}

// The window shown over a fresh store of `count` values.
struct ValueWindow {
    ValueWindow(BusContext& context, const test::TempDataDir& data, uint16_t serial, uint32_t mask, int count)
        : module(Module(serial, mask)) {
        QFile::remove(data.File(QStringLiteral("%1.BinMeasData").arg(serial)));
        QFile::remove(data.File(QStringLiteral("%1.ASC").arg(serial)));
        Fill(store, data.Path(), module, count);
        dlg = std::make_unique<CMeasValueDlg>(context, nullptr, module, store);
        dlg->resize(700, 420);
        dlg->show();
        QVERIFY(QTest::qWaitForWindowExposed(dlg.get()));
        QCoreApplication::processEvents();
    }
    CMeasValueList* List() const { return dlg->List(); }

    ModuleRecord module;
    CMeasValueStore store;
    std::unique_ptr<CMeasValueDlg> dlg;
};

} // namespace

class TestMeasValueDlg : public QObject {
    Q_OBJECT

    test::TempDataDir data_;
    BusContext context_;

private Q_SLOTS:
    // Over an empty store the plot draws nothing; over values it reads out.
    void plotReadsOutAndSaves() {
        CMeasValueStore empty;
        Fill(empty, data_.Path(), Module(303, 1), 0);
        StorePlotSource emptySource(empty, PlotCurvesFor(Module(303, 1)));
        CMeasValueStore store;
        Fill(store, data_.Path(), Module(301, 3), 100, true);
        StorePlotSource source(store, PlotCurvesFor(Module(301, 3)));
        CMeasPlotWidget plot;
        plot.resize(800, 500);
        plot.SetSource(&emptySource);
        plot.Last();
        QVERIFY(plot.ReadoutAt(QPointF(200, 150)).isEmpty());
        QVERIFY(!plot.grab().isNull());

        QSignalSpy moved(&plot, &CMeasPlotWidget::FirstChanged);
        plot.SetSource(&source);

        plot.Last();
        QCOMPARE(moved.takeFirst().at(0).toLongLong(), 60); // the list follows by this signal

        // The read-out in the middle of pane 0: date, time, pane 0's value and pane 1's after " / ".
        plot.show();
        QVERIFY(QTest::qWaitForWindowExposed(&plot));
        const QPoint middle(plot.width() / 2, plot.height() / 4);
        QMouseEvent move(QEvent::MouseMove, middle, plot.mapToGlobal(middle), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(&plot, &move);
        QVERIFY2(plot.Readout().startsWith(QStringLiteral("05.03.2004 14:")), qPrintable(plot.Readout()));
        QVERIFY2(plot.Readout().contains(QStringLiteral(" / ")), qPrintable(plot.Readout()));

        // Saving is the value window's test; a folder that does not exist is refused.
        QVERIFY(!plot.SaveAsPng(data_.File(QStringLiteral("missing/plot.png"))));
    }

    void navigationMovesPlotAndList() {
        const struct {
            int count, start;
            int move; // PlotMove, -1 none
            const char* typedSpp;
            int first; // where the plot, the list's top and current row end (no row in an empty list)
            int spp;   // samples per plot, also beyond the stored values
        } cases[] = {{0, 0, int(PlotMove::kPageForward), "", 0, 40},
                     {100, 0, int(PlotMove::kLast), "", 60, 40},
                     {100, 5, -1, "0", 5, 1},
                     {100, 5, int(PlotMove::kPageForward), "7", 12, 7},
                     {10, 0, -1, "250", 0, 250},
                     {0, 0, -1, "12", 0, 12}};
        for (const auto& c : cases) {
            ValueWindow w(context_, data_, 101, 3, c.count);
            CMeasValueDlg& dlg = *w.dlg;
            dlg.List()->SelectRecord(c.start); // a row the user clicks: the plot starts there
            if (*c.typedSpp != 0) {
                QSpinBox* spin = dlg.SamplesSpin();
                spin->setFocus();
                spin->selectAll();
                QTest::keyClicks(spin, c.typedSpp);
                QTest::keyClick(spin, Qt::Key_Return);
            }
            if (c.move >= 0) {
                dlg.Navigate(static_cast<PlotMove>(c.move));
            }
            QCOMPARE(dlg.SamplesSpin()->value(), c.spp);
            QCOMPARE(static_cast<int>(dlg.Plot()->SamplesPerPlot()), c.spp);
            QCOMPARE(static_cast<int>(dlg.Plot()->CurrentFirst()), c.first);
            QCOMPARE(dlg.FirstEdit()->text(), QString::number(dlg.Plot()->CurrentFirst()));
            QCOMPARE(dlg.List()->CurrentRecord(), c.count > 0 ? c.first : -1);
            if (c.count > 0) {
                QCOMPARE(dlg.List()->TopRecord(), c.first);
            }
        }
    }

    // New values scroll the list only while its end is shown.
    void newValuesFollowedOnlyAtTheEnd() {
        for (const bool scrolledBack : {false, true}) {
            ValueWindow w(context_, data_, 103, 1, 100);
            CMeasValueList* list = w.List();
            QVERIFY(list->RowsPerPage() > 2 && list->RowsPerPage() < 100);
            QTRY_COMPARE(list->LastVisibleRecord(), 99); // opened at the end
            if (scrolledBack) {
                list->ScrollTo(20);
            }
            const int64_t top = list->TopRecord();
            for (int i = 100; i < 103; ++i) {
                Append(w.store, i);
                w.dlg->OnNewValue();
            }
            QCOMPARE(list->RecordCount(), 103);
            QCOMPARE(w.dlg->CountEdit()->text(), QStringLiteral("103"));
            if (scrolledBack) {
                QCOMPARE(list->TopRecord(), top);
            } else {
                QCOMPARE(list->LastVisibleRecord(), 102);
            }
        }
    }

    void layoutsKeptPerSerial() {
        const auto open = [this](uint16_t serial, int setWidth) {
            ValueWindow w(context_, data_, serial, 3, 0);
            const int width = w.List()->View()->columnWidth(1);
            if (setWidth > 0) {
                w.List()->View()->setColumnWidth(1, setWidth);
            }
            w.dlg->reject();
            return width;
        };
        open(201, 150);
        open(202, 90);
        QCOMPARE(open(201, 0), 150); // not the 90 of serial 202
        QVERIFY(CIniSection(SettingsFilePath(), "Layout for 201").HasKey("cxCol1"));
    }

    // A file another program measures into is not removed: the window says so and shows what is left.
    void eraseShowsWhatIsLeft() {
        for (const bool held : {false, true}) {
            ModuleRecord module = Module(104, 1);
            {
                CMeasValueStore writer;
                Fill(writer, data_.Path(), module, 20);
            }
            CMeasValueStore other;
            other.SetDirectory(data_.Path().toStdString());
            QVERIFY(other.Bind(module));
            if (held) {
                QVERIFY(other.OpenWriter());
            }
            CMeasValueStore store;
            store.SetDirectory(data_.Path().toStdString());
            QVERIFY(store.Bind(module) && store.OpenReader());
            CMeasValueDlg dlg(context_, nullptr, module, store);
            dlg.show();
            test::MessageRecorder messages;
            QCOMPARE(dlg.EraseValues(true), !held);
            QCOMPARE(messages.Texts(),
                     (held ? QStringList{Text(24667), Text(24669)} : QStringList{Text(24667)}));
            const int left = held ? 20 : 0;
            QCOMPARE(dlg.List()->RecordCount(), left);
            QCOMPARE(dlg.CountEdit()->text(), QString::number(left));
        }
    }

    // Keys move the current record within the records; the plot starts at it and the table holds one page.
    // Selected rows are copied as text; the plot, hidden behind the list and never laid out, is saved at the
    // list's size.
    void keysCopyAndPicture() {
        const struct {
            int from;
            Qt::Key key;
            int current;
            bool atEnd; // else at the top
        } cases[] = {{0, Qt::Key_End, 99, true},
                     {99, Qt::Key_Home, 0, false},
                     {99, Qt::Key_Down, 99, true},
                     {0, Qt::Key_Up, 0, false}};
        ValueWindow w(context_, data_, 107, 1, 100);
        CMeasValueList* list = w.List();
        for (const auto& c : cases) {
            list->SelectRecord(c.from);
            QTest::keyClick(list->View(), c.key);
            QCOMPARE(static_cast<int>(list->CurrentRecord()), c.current);
            QCOMPARE(list->TopRecord(), c.atEnd ? 100 - list->RowsPerPage() : 0);
            QCOMPARE(w.dlg->Plot()->CurrentFirst(), list->CurrentRecord());
            QCOMPARE(list->View()->ListModel()->RowCount(),
                     std::min<int64_t>(100 - list->TopRecord(), list->RowsPerPage() + 1));
        }

        list->SelectRecord(7);
        for (int i = 0; i < 5; ++i) {
            QTest::keyClick(list->View(), Qt::Key_Up, Qt::ShiftModifier);
        }
        QVERIFY(w.dlg->CopySelection());
        QStringList copied;
        for (int i = 2; i <= 7; ++i) {
            copied << QStringLiteral("05.03.2004 14:00:%1\t%2.000").arg(i, 2, 10, QLatin1Char('0')).arg(i);
        }
        QCOMPARE(QGuiApplication::clipboard()->text().split(QLatin1Char('\n'), Qt::SkipEmptyParts), copied);
        QVERIFY(!w.dlg->PlotShown());
        const QString picture = data_.File(QStringLiteral("plot.png"));
        QVERIFY(w.dlg->SavePictureTo(picture));
        QCOMPARE(QImage(picture).size(), list->size());
    }

    void columnTitlesFollowTheMeasuringChannels() {
        const std::pair<uint32_t, QStringList> cases[] = {
            {1, {"Vol%"}}, {2, {"mS/m"}}, {3, {"Vol%", "mS/m"}}};
        for (const auto& [mask, titles] : cases) {
            ValueWindow w(context_, data_, 105, mask, 0);
            const CVirtualListModel* model = w.List()->View()->ListModel();
            QStringList shown;
            for (int c = 1; c < model->ColumnCount(); ++c) {
                shown << model->headerData(c, Qt::Horizontal).toString();
            }
            QCOMPARE(shown, titles);
        }
        // The window names its module; the time column and the samples label follow the language.
        ValueWindow w(context_, data_, 106, 3, 0);
        const CVirtualListModel* model = w.List()->View()->ListModel();
        for (const bool german : {true, false}) {
            LoadLanguageModule(german ? QStringLiteral("Terrix Deutsch") : QStringLiteral("Terrix English"),
                               true);
            QCoreApplication::processEvents();
            // The serial once (the text names it), then the station.
            QVERIFY2(w.dlg->windowTitle().endsWith(
                         QString::fromUtf8(german ? "106 – Station 0" : "106 – station 0")) &&
                         w.dlg->windowTitle().count(QStringLiteral("106")) == 1,
                     qPrintable(w.dlg->windowTitle()));
            QCOMPARE(model->headerData(0, Qt::Horizontal).toString(),
                     german ? QStringLiteral("Datum/Uhrzeit") : QStringLiteral("Date/Time"));
            QCOMPARE(model->headerData(2, Qt::Horizontal).toString(), QStringLiteral("mS/m"));
        }
    }
};

QTEST_MAIN(TestMeasValueDlg)
#include "tst_meas_value_dlg.moc"
