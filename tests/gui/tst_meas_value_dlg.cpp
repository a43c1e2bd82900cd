// The measured-value window over a real value store: the list following the plot's navigation, the
// samples-per-plot spin, new values followed only at the end, layouts kept per serial number, a failed
// erase, and the column titles of the module kinds.

#include "core/measure/meas_value_store.h"
#include "core/measure/time_stamp.h"
#include "gui/measure/meas_plot_widget.h"
#include "gui/measure/meas_value_dlg.h"
#include "gui/measure/meas_value_list.h"
#include "gui/toolkit/report_list_ctrl.h"
#include "gui/toolkit/string_catalogue.h"
#include "gui/toolkit/virtual_list_model.h"
#include "gui_test_support.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QSpinBox>
#include <QTest>

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

void Append(CMeasValueStore& store, int i) {
    CMeasRecord& r = store.AppendRecord();
    r.SetStamp(0, PackTimeStamp(
                      {5, 3, 2004, 14, static_cast<unsigned>(i / 60 % 60), static_cast<unsigned>(i % 60)}));
    for (size_t f = 1; f < r.FieldCount(); ++f) {
        r.SetFloat(f, static_cast<float>(i));
    }
    QVERIFY(store.Append());
}

// A store with `count` values, writer and reader open, as a measuring slot has it.
void Fill(CMeasValueStore& store, const QString& dir, const ModuleRecord& module, int count) {
    store.SetDirectory(dir.toStdString());
    QVERIFY(store.Bind(module) && store.OpenReader() && store.OpenWriter());
    for (int i = 0; i < count; ++i) {
        Append(store, i);
    }
}

void Show(CMeasValueDlg& dlg) {
    dlg.resize(700, 420);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    QCoreApplication::processEvents();
}

} // namespace

class TestMeasValueDlg : public QObject {
    Q_OBJECT

    test::TempDataDir data_;
    BusContext context_;

    void RemoveStore(uint16_t serial) {
        QFile::remove(data_.File(QStringLiteral("%1.BinMeasData").arg(serial)));
        QFile::remove(data_.File(QStringLiteral("%1.ASC").arg(serial)));
    }

private Q_SLOTS:
    void navigationMovesPlotAndList_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("move"); // PlotMove, -1 none
        QTest::addColumn<QString>("typedSpp");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("topRow"); // -1: no row selected
        QTest::addColumn<int>("spinMax");
        QTest::addColumn<int>("spp");
        QTest::newRow("no values: last") << 0 << 0 << int(PlotMove::kLast) << "" << 0 << -1 << 1 << 40;
        QTest::newRow("no values: page forward")
            << 0 << 0 << int(PlotMove::kPageForward) << "" << 0 << -1 << 1 << 40;
        QTest::newRow("last of 100 by 40") << 100 << 0 << int(PlotMove::kLast) << "" << 60 << 60 << 100 << 40;
        QTest::newRow("page back from 10")
            << 100 << 10 << int(PlotMove::kPageBack) << "" << 0 << 0 << 100 << 40;
        QTest::newRow("forward from 30")
            << 100 << 30 << int(PlotMove::kForward) << "" << 31 << 31 << 100 << 40;
        QTest::newRow("typed 0 per plot") << 100 << 5 << -1 << "0" << 5 << 5 << 100 << 1;
        QTest::newRow("typed 7 per plot, page forward")
            << 100 << 5 << int(PlotMove::kPageForward) << "7" << 12 << 12 << 100 << 7;
        QTest::newRow("10 values, 40 wanted") << 10 << 0 << int(PlotMove::kLast) << "" << 0 << 0 << 10 << 40;
    }
    void navigationMovesPlotAndList() {
        QFETCH(int, count);
        QFETCH(int, start);
        QFETCH(int, move);
        QFETCH(QString, typedSpp);
        RemoveStore(101);
        ModuleRecord module = Module(101, 3);
        CMeasValueStore store;
        Fill(store, data_.Path(), module, count);
        CMeasValueDlg dlg(context_, nullptr, module, store);
        Show(dlg);
        QCOMPARE(dlg.CountEdit()->text(), QString::number(count));

        if (count > 0) {
            dlg.List()->SelectRecord(start); // a row the user clicks: the plot starts there
            QCOMPARE(dlg.Plot()->CurrentFirst(), start);
        }
        if (!typedSpp.isEmpty()) {
            QSpinBox* spin = dlg.SamplesSpin();
            spin->setFocus();
            spin->selectAll();
            QTest::keyClicks(spin, typedSpp);
            QTest::keyClick(spin, Qt::Key_Return);
        }
        if (move >= 0) {
            dlg.Navigate(static_cast<PlotMove>(move));
        }
        QTEST(dlg.SamplesSpin()->maximum(), "spinMax");
        QCOMPARE(dlg.SamplesSpin()->value(),
                 std::min<int>(dlg.Plot()->SamplesPerPlot(), dlg.SamplesSpin()->maximum()));
        QCOMPARE(dlg.SamplesSpin()->minimum(), 1);
        QTEST(static_cast<int>(dlg.Plot()->SamplesPerPlot()), "spp");
        QTEST(static_cast<int>(dlg.Plot()->CurrentFirst()), "first");
        QCOMPARE(dlg.FirstEdit()->text(), QString::number(dlg.Plot()->CurrentFirst()));
        QFETCH(int, topRow);
        if (topRow >= 0) {
            QCOMPARE(dlg.List()->CurrentRecord(), topRow);
            QCOMPARE(dlg.List()->TopRecord(), topRow);
        } else {
            QCOMPARE(dlg.List()->CurrentRecord(), -1);
        }
    }

    void newValuesFollowedOnlyAtTheEnd_data() {
        QTest::addColumn<bool>("scrolledBack");
        QTest::newRow("list at its end follows") << false;
        QTest::newRow("list scrolled back stays") << true;
    }
    void newValuesFollowedOnlyAtTheEnd() {
        QFETCH(bool, scrolledBack);
        RemoveStore(103);
        ModuleRecord module = Module(103, 1);
        CMeasValueStore store;
        Fill(store, data_.Path(), module, 100);
        CMeasValueDlg dlg(context_, nullptr, module, store);
        Show(dlg);
        CMeasValueList* list = dlg.List();
        const int page = list->RowsPerPage();
        QVERIFY(page > 2 && page < 100);
        QTRY_COMPARE(list->LastVisibleRecord(), 99); // opened at the end
        if (scrolledBack) {
            list->ScrollTo(20);
        }
        const int64_t top = list->TopRecord();

        for (int i = 100; i < 103; ++i) {
            Append(store, i);
            dlg.OnNewValue();
        }
        QCOMPARE(list->RecordCount(), 103);
        QCOMPARE(dlg.CountEdit()->text(), QStringLiteral("103"));
        if (scrolledBack) {
            QCOMPARE(list->TopRecord(), top);
        } else {
            QCOMPARE(list->LastVisibleRecord(), 102);
        }
    }

    void layoutsKeptPerSerial() {
        const auto open = [this](uint16_t serial, int setWidth) {
            ModuleRecord module = Module(serial, 3);
            CMeasValueStore store;
            store.SetDirectory(data_.Path().toStdString());
            store.Bind(module);
            auto* dlg = new CMeasValueDlg(context_, nullptr, module, store);
            dlg->show();
            QCoreApplication::processEvents();
            const int width = dlg->List()->View()->columnWidth(1);
            if (setWidth > 0) {
                dlg->List()->View()->setColumnWidth(1, setWidth);
            }
            dlg->reject();
            delete dlg;
            return width;
        };
        open(201, 150);
        open(202, 90);
        QCOMPARE(open(201, 0), 150);
        QCOMPARE(open(202, 0), 90);
        const QString ini = data_.File(QStringLiteral("Terrix.ini"));
        QFile file(ini);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        QVERIFY(text.contains("[Layout for 201]"));
        QVERIFY(text.contains("[Layout for 202]"));
    }

    void eraseShowsWhatIsLeft_data() {
        QTest::addColumn<bool>("held");
        QTest::addColumn<int>("left");
        QTest::newRow("erased") << false << 0;
        QTest::newRow("file held by another writer") << true << 20;
    }
    void eraseShowsWhatIsLeft() {
        QFETCH(bool, held);
        RemoveStore(104);
        ModuleRecord module = Module(104, 1);
        {
            CMeasValueStore writer;
            Fill(writer, data_.Path(), module, 20);
        }
        // Another program measuring into the same file keeps it from being removed.
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
        Show(dlg);
        test::MessageRecorder messages;
        QCOMPARE(dlg.EraseValues(true), !held);
        QStringList expected{Text(24667)};
        if (held) {
            expected << Text(24669);
        }
        QCOMPARE(messages.Texts(), expected);
        QFETCH(int, left);
        QCOMPARE(dlg.List()->RecordCount(), left);
        QCOMPARE(dlg.CountEdit()->text(), QString::number(left));
    }

    void keysMoveThroughTheRecords_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("current");
        QTest::addColumn<bool>("atEnd"); // else at the top
        QTest::newRow("end") << 0 << int(Qt::Key_End) << 99 << true;
        QTest::newRow("home") << 99 << int(Qt::Key_Home) << 0 << false;
        QTest::newRow("down at the last record") << 99 << int(Qt::Key_Down) << 99 << true;
        QTest::newRow("up at the first record") << 0 << int(Qt::Key_Up) << 0 << false;
    }
    void keysMoveThroughTheRecords() {
        QFETCH(int, from);
        QFETCH(int, key);
        RemoveStore(107);
        ModuleRecord module = Module(107, 1);
        CMeasValueStore store;
        Fill(store, data_.Path(), module, 100);
        CMeasValueDlg dlg(context_, nullptr, module, store);
        Show(dlg);
        CMeasValueList* list = dlg.List();
        list->SelectRecord(from);
        QTest::keyClick(list->View(), static_cast<Qt::Key>(key));
        QTEST(static_cast<int>(list->CurrentRecord()), "current");
        QFETCH(bool, atEnd);
        QCOMPARE(list->TopRecord(), atEnd ? 100 - list->RowsPerPage() : 0);
        QCOMPARE(dlg.Plot()->CurrentFirst(), list->CurrentRecord()); // the plot starts at the current row
        // The table holds one page, however many records there are.
        QCOMPARE(list->View()->ListModel()->RowCount(),
                 std::min<int64_t>(100 - list->TopRecord(), list->RowsPerPage() + 1));
    }

    void copiesSelectedRowsAndSavesTheHiddenPlot() {
        RemoveStore(106);
        ModuleRecord module = Module(106, 1);
        CMeasValueStore store;
        Fill(store, data_.Path(), module, 10);
        CMeasValueDlg dlg(context_, nullptr, module, store);
        Show(dlg);
        dlg.List()->SelectRecord(7);
        for (int i = 0; i < 5; ++i) {
            QTest::keyClick(dlg.List()->View(), Qt::Key_Up, Qt::ShiftModifier);
        }
        QVERIFY(dlg.CopySelection());
        const QStringList lines =
            QGuiApplication::clipboard()->text().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 6);
        QCOMPARE(lines[0], QStringLiteral("05.03.2004 14:00:02\t2.000"));
        QVERIFY(lines[5].endsWith(QStringLiteral("\t7.000")));

        // The plot is hidden behind the list and was never laid out: it is drawn at the list's size.
        QVERIFY(!dlg.PlotShown());
        const QString picture = data_.File(QStringLiteral("plot.png"));
        QVERIFY(dlg.SavePictureTo(picture));
        QCOMPARE(QImage(picture).size(), dlg.List()->size());
    }

    void columnTitlesFollowTheMeasuringChannels_data() {
        QTest::addColumn<uint>("mask");
        QTest::addColumn<QStringList>("titles");
        QTest::newRow("channel 0") << 1u << QStringList{"Vol%"};
        QTest::newRow("channel 1 alone") << 2u << QStringList{"mS/m"};
        QTest::newRow("both") << 3u << QStringList{"Vol%", "mS/m"};
    }
    void columnTitlesFollowTheMeasuringChannels() {
        QFETCH(uint, mask);
        QFETCH(QStringList, titles);
        ModuleRecord module = Module(105, mask);
        CMeasValueStore store;
        store.SetDirectory(data_.Path().toStdString());
        QVERIFY(store.Bind(module));
        CMeasValueDlg dlg(context_, nullptr, module, store);
        QStringList shown;
        for (int c = 1; c < dlg.List()->View()->ListModel()->ColumnCount(); ++c) {
            shown << dlg.List()->View()->ListModel()->headerData(c, Qt::Horizontal).toString();
        }
        QCOMPARE(shown, titles);
        QCOMPARE(QString::fromStdString(dlg.Plot()->Source()->Curves().front().title), titles.front());
    }
};

QTEST_MAIN(TestMeasValueDlg)
#include "tst_meas_value_dlg.moc"
