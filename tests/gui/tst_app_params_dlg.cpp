// "XV Application Parameters" on the simulated bus: counts that follow the typed seconds, entries whose
// counts would not fit refused, nothing written without values read or loaded, parameter files and
// "Set All Offsets and AveTime" over the XV modules only.

#include "config_dialog_support.h"
#include "core/config/app_params.h"
#include "gui/config/app_params_dlg.h"
#include "gui/toolkit/edit_integer.h"
#include "gui_test_support.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace terrix;

namespace {

using Dlg = CAppParamsDlg;

void Type(QLineEdit* field, const QString& text) {
    field->selectAll();
    field->del();
    QTest::keyClicks(field, text);
}

std::array<uint8_t, 10> Block(float offset, uint16_t averaging, uint16_t error66, uint8_t full,
                              uint8_t empty) {
    const AppParams params{offset, averaging, error66, full, empty};
    return params.ToBytes();
}

} // namespace

class TestAppParamsDlg : public QObject {
    Q_OBJECT

    test::TempDataDir data_;

private Q_SLOTS:
    void countsFollowTypedSeconds_data() {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("seconds");
        QTest::addColumn<QString>("count");   // of an accepted entry
        QTest::addColumn<QString>("message"); // a refused entry: the field's own prompt
        QTest::newRow("averaging 20 s") << int(Dlg::kAveraging) << "20"
                                        << "26"
                                        << "";
        QTest::newRow("error66 7 s") << int(Dlg::kError66) << "7"
                                     << "1"
                                     << "";
        QTest::newRow("queue full 10 s") << int(Dlg::kQueueFull) << "10"
                                         << "25"
                                         << "";
        QTest::newRow("queue empty 102 s") << int(Dlg::kQueueEmpty) << "102"
                                           << "255"
                                           << "";
        QTest::newRow("queue 103 s refused") << int(Dlg::kQueueFull) << "103"
                                             << "25"
                                             << "Value must be less or equal than 102.\n";
        QTest::newRow("averaging 49624 s refused") << int(Dlg::kAveraging) << "49624"
                                                   << "26"
                                                   << "Value must be less or equal than 49623.\n";
    }
    void countsFollowTypedSeconds() {
        QFETCH(int, field);
        QFETCH(QString, seconds);
        QFETCH(QString, count);
        QFETCH(QString, message);
        test::ConfigBus bus;
        bus.ChangeXv([](sim::ModuleState& m) { m.applicationParameters = Block(15, 26, 15, 25, 25); });
        test::MessageRecorder recorder;
        Dlg dialog(bus.context, nullptr, bus.xv);
        QVERIFY(dialog.OpenPort());
        dialog.ReadModule();
        const auto f = static_cast<Dlg::Field>(field);
        QCOMPARE(dialog.PreviousField(Dlg::kAveraging)->text(), QStringLiteral("20"));
        QCOMPARE(dialog.PreviousField(Dlg::kError66)->text(), QStringLiteral("60"));
        Type(dialog.NewField(f), seconds);
        if (message.isEmpty()) {
            QCOMPARE(dialog.NewCountField(f)->text(), count);
        } else {
            QVERIFY(dialog.NewField(f)->text() != seconds); // never taken, so never wrapped
        }
        QCOMPARE(recorder.Texts(), message.isEmpty() ? QStringList() : QStringList{message});
    }

    // After a failed read "Set Parameters" and "Set All..." stay disabled until a parameter file is read; a
    // file with four parameters is refused with its messages and changes nothing.
    void failedReadWritesNothingUntilAFileIsRead() {
        test::ConfigBus bus;
        bus.ChangeXv([](sim::ModuleState& m) { m.faults.mute = true; });
        const QString four = data_.File(QStringLiteral("four.par"));
        const QString five = data_.File(QStringLiteral("five.par"));
        {
            QFile file(four);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("Offset Value in Percentage = 15.0\nAveraging Time in No of Measurements = 26\n"
                       "Error66 Delay in units of 10 Measurements = 1\nQueue-Full Time in No of Measurements "
                       "= 25\n");
            QFile copy(five);
            QVERIFY(copy.open(QIODevice::WriteOnly));
            copy.write(
                "Offset Value in Percentage = 15.0\nAveraging Time in No of Measurements = 26\n"
                "Error66 Delay in units of 10 Measurements = 1\nQueue-Full Time in No of Measurements = 25\n"
                "Queue-Empty Time in No of Measurements = 5\n");
        }
        test::MessageRecorder recorder;
        Dlg dialog(bus.context, nullptr, bus.xv);
        QVERIFY(dialog.OpenPort());
        dialog.ReadModule();
        QCOMPARE(recorder.Texts(), QStringList{QString::fromLatin1(kMsgGetAppParamsFailed)});
        QVERIFY(!dialog.OkButton()->isEnabled());
        QVERIFY(!dialog.SetAllButton()->isEnabled());
        QVERIFY(!dialog.WriteParameters());

        recorder.Clear();
        QString chosen = four;
        dialog.SetFileChooser([&](QWidget*, bool save) { return save ? QString() : chosen; });
        dialog.ReadParametersFromFile();
        QCOMPARE(recorder.Texts(),
                 (QStringList{QStringLiteral("Number of parameters isn't 5,\nCheck it and try again please!"),
                              QStringLiteral("Can't read the file!"), QStringLiteral("Can't read file !")}));
        QCOMPARE(dialog.NewField(Dlg::kAveraging)->text(), QStringLiteral("0"));
        QVERIFY(!dialog.OkButton()->isEnabled());

        recorder.Clear();
        chosen = five;
        dialog.ReadParametersFromFile();
        QCOMPARE(recorder.Texts(), QStringList());
        QCOMPARE(dialog.NewField(Dlg::kOffset)->text(), QStringLiteral("1.5"));
        QCOMPARE(dialog.NewField(Dlg::kAveraging)->text(), QStringLiteral("20"));
        QCOMPARE(dialog.NewCountField(Dlg::kQueueEmpty)->text(), QStringLiteral("5"));
        QCOMPARE(dialog.PreviousField(Dlg::kAveraging)->text(), QStringLiteral("0"));
        QVERIFY(dialog.OkButton()->isEnabled());
        QCOMPARE(bus.Sent(193), size_t{0});
    }

    // Offset and averaging go into every XV module of the bus; the other modules are named as skipped.
    void setAllOffsetsNamesSkippedModules() {
        test::ConfigBus bus;
        bus.ChangeXv([](sim::ModuleState& m) { m.applicationParameters = Block(0, 26, 15, 25, 25); });
        auto probe = std::make_unique<ModuleRecord>();
        probe->iaStation = 1;
        probe->enModuleState = msIdentified;
        probe->bIsTavikButNotXV = 1;
        probe->stationInfo.wSerialNo = 31042;
        probe->stationInfo.SetModuleName("PX-TAVIK2");
        QVERIFY(bus.context.busList.Add(std::move(probe)));
        auto xv = std::make_unique<ModuleRecord>(bus.xv);
        QVERIFY(bus.context.busList.Add(std::move(xv)));
        test::MessageRecorder recorder;
        Dlg dialog(bus.context, nullptr, bus.xv);
        QVERIFY(dialog.OpenPort());
        dialog.ReadModule();
        Type(dialog.NewField(Dlg::kOffset), QStringLiteral("1.5"));
        Type(dialog.NewField(Dlg::kAveraging), QStringLiteral("40"));
        Type(dialog.NewField(Dlg::kError66), QStringLiteral("8"));
        bus.bus->ClearRequestLog();
        dialog.SetAllOffsetsAndAveTime();
        QCOMPARE(bus.Sent(193), size_t{1});
        QCOMPARE(AppParams::FromBytes(bus.Xv().applicationParameters), (AppParams{15, 53, 15, 25, 25}));
        QCOMPARE(recorder.messages.size(), size_t{1});
        QVERIFY2(recorder.Texts().front().contains(QStringLiteral("station 1 (PX-TAVIK2, serial 31042)")),
                 qPrintable(recorder.Texts().front()));
        // The dialog's own module was read again: previous and new values are the module's.
        QCOMPARE(dialog.PreviousField(Dlg::kAveraging)->text(), QStringLiteral("40"));
        QCOMPARE(dialog.NewField(Dlg::kError66)->text(), QStringLiteral("60"));
    }
};

QTEST_MAIN(TestAppParamsDlg)
#include "tst_app_params_dlg.moc"
