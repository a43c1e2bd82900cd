// The small configuration dialogs of one module (active calibration, offset, Error66 limit, reset baud
// rate, user data) on the simulated bus: what they enable, send and refuse. The operations themselves are
// the core's and tested there.

#include "config_dialog_support.h"
#include "core/config/error66_limit.h"
#include "core/config/offset_adjust.h"
#include "core/config/user_info.h"
#include "core/platform/port_user.h"
#include "gui/app/frame_windows.h"
#include "gui/config/active_calib_dlg.h"
#include "gui/config/config_windows.h"
#include "gui/config/error66_dlg.h"
#include "gui/config/offset_dlg.h"
#include "gui/config/user_data_dlg.h"
#include "gui/toolkit/edit_double.h"
#include "gui/toolkit/edit_integer.h"
#include "gui_test_support.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace terrix;

class TestModuleSettingsDialogs : public QObject {
    Q_OBJECT

    test::TempDataDir data_;

private Q_SLOTS:
    // While the measuring loop holds the port, every bus dialog says why and does not open; the dialogs
    // that opened the port close it again.
    void busDialogsRefusedWhileMeasuring() {
        test::ConfigBus bus;
        FrameWindows windows;
        RegisterConfigDialogs(windows);
        const ModuleWindows& m = windows.moduleWindows;
        PortUser loop(&bus.context.portContext);
        QVERIFY(loop.Reserve());
        for (const auto& [name, entry] :
             {std::pair{"coefficients", m.coefficients}, std::pair{"parameters", m.applicationParameters},
              std::pair{"active", m.activeCalibration}, std::pair{"offset", m.offset},
              std::pair{"error66", m.error66Limit}, std::pair{"baud", m.resetBaud}}) {
            if (!entry) {
                QFAIL(name);
            }
            test::MessageRecorder recorder;
            test::CloseStrayModalSoon();
            QVERIFY2(!entry(bus.context, nullptr, bus.xv), name);
            QCOMPARE(recorder.Texts(), QStringList{QString::fromLatin1(kBusBusyMeasuringText)});
        }
        QCOMPARE(bus.bus->RequestLog().size(), size_t{0});
        loop.FreeReservation();

        COffsetDlg dialog(bus.context, nullptr, bus.xv);
        QVERIFY(dialog.OpenPort());
        QVERIFY(bus.context.portContext.hPort != kInvalidPort);
        {
            COffsetDlg second(bus.context, nullptr, bus.xv);
            QVERIFY(second.OpenPort());
        }
        QVERIFY2(bus.context.portContext.hPort != kInvalidPort, "closed by a dialog that did not open it");
    }

    void portClosedWithTheDialog() {
        test::ConfigBus bus;
        {
            CActiveCalibDlg dialog(bus.context, nullptr, bus.xv);
            QVERIFY(dialog.OpenPort());
            dialog.ReadModule();
        }
        QCOMPARE(bus.context.portContext.hPort, kInvalidPort);
    }

    // The change stops at the end of its range; the new offset follows it.
    void offsetStepsStopAtTheRangeEnds() {
        test::ConfigBus bus;
        bus.ChangeXv([](sim::ModuleState& m) { m.offsets[0] = {1, 15}; }); // 1.5 tenths: 0.15 %
        COffsetDlg dialog(bus.context, nullptr, bus.xv);
        QVERIFY(dialog.OpenPort());
        dialog.ReadModule();
        const double previous = dialog.PreviousField()->GetValue();
        for (const auto& [button, presses, change] :
             {std::tuple{dialog.PlusButton(), 1001, 100.0}, std::tuple{dialog.MinusButton(), 2001, -100.0}}) {
            for (int i = 0; i < presses; ++i) {
                button->click();
            }
            QCOMPARE(dialog.ChangeField()->GetValue(), change);
            QCOMPARE(dialog.NewField()->GetValue(), previous + change);
        }
        // Typing a new offset moves the change, and not back again.
        dialog.NewField()->clear();
        QTest::keyClicks(dialog.NewField(), "2");
        QCOMPARE(dialog.ChangeField()->GetValue(), 2 - previous);
        QCOMPARE(dialog.NewField()->text(), QStringLiteral("2"));
    }

    // After a failed read nothing can be written: all fields 0, the change buttons and OK disabled.
    void offsetReadFailureOpensWithZeros() {
        test::ConfigBus bus;
        bus.ChangeXv([](sim::ModuleState& m) {
            m.offsets[0] = {0, 300};
            m.faults.mute = true;
        });
        test::MessageRecorder recorder;
        COffsetDlg dialog(bus.context, nullptr, bus.xv);
        QVERIFY(dialog.OpenPort());
        dialog.ReadModule();
        QCOMPARE(recorder.Texts(), QStringList{QString::fromLatin1(kMsgOffsetReadFailed)});
        for (CEditDouble* field : {dialog.PreviousField(), dialog.NewField(), dialog.ChangeField()}) {
            QCOMPARE(field->GetValue(), 0.0);
        }
        for (QWidget* control :
             {static_cast<QWidget*>(dialog.PlusButton()), static_cast<QWidget*>(dialog.MinusButton()),
              static_cast<QWidget*>(dialog.OkButton())}) {
            QVERIFY(!control->isEnabled());
        }
        QVERIFY(!dialog.Apply());
    }

    // An unchanged position closes without a question and without a set command; a new one is set.
    void activeCalibrationSetOnlyWhenChanged() {
        test::ConfigBus bus;
        bus.ChangeXv([](sim::ModuleState& m) { m.activeCalibration = 10; });
        for (const uint8_t chosen : {uint8_t{10}, uint8_t{4}}) {
            test::MessageRecorder recorder;
            CActiveCalibDlg dialog(bus.context, nullptr, bus.xv);
            QVERIFY(dialog.OpenPort());
            dialog.ReadModule();
            QCOMPARE(dialog.PreviousField()->text(), QStringLiteral("A"));
            bus.bus->ClearRequestLog();
            dialog.NewField()->SetValue(chosen);
            dialog.accept();
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
            QCOMPARE(bus.Sent(205), size_t{chosen == 10 ? 0u : 1u});
            QCOMPARE(recorder.messages.size(), size_t{chosen == 10 ? 0u : 2u}); // question and "done"
            QCOMPARE(bus.Xv().activeCalibration, chosen);
        }
    }

    void error66Limit_data() {
        QTest::addColumn<bool>("refuseCfgWrite");
        QTest::addColumn<QString>("typed"); // empty: left at the value read
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<int>("limitAfter");
        QTest::addRow("unchanged writes nothing") << false << QString() << QStringList() << 46;
        QTest::newRow("12.37 % sends 123") << false << QStringLiteral("12.37") << QStringList() << 123;
        QTest::addRow("configuration refused")
            << true << QString() << QStringList{QString::fromLatin1(kMsgSetAnalogCfgFailed)} << 46;
    }
    // The new value starts at the limit read; writing happens only for a changed value that was read.
    void error66Limit() {
        QFETCH(bool, refuseCfgWrite);
        QFETCH(QString, typed);
        QFETCH(QStringList, messages);
        QFETCH(int, limitAfter);
        test::ConfigBus bus;
        bus.ChangeXv([&](sim::ModuleState& m) {
            m.channels[1].zeroOffset = 46;
            if (refuseCfgWrite) {
                m.faults.status6.insert(225);
            }
        });
        test::MessageRecorder recorder;
        CError66Dlg dialog(bus.context, nullptr, bus.xv);
        QVERIFY(dialog.OpenPort());
        dialog.ReadModule();
        QCOMPARE(recorder.Texts(), messages);
        QCOMPARE(dialog.OkButton()->isEnabled(), !refuseCfgWrite);
        QCOMPARE(dialog.NewField()->GetValue(), refuseCfgWrite ? 0.0 : 4.6);
        if (!typed.isEmpty()) {
            dialog.NewField()->clear();
            QTest::keyClicks(dialog.NewField(), typed);
        }
        bus.bus->ClearRequestLog();
        QCOMPARE(dialog.WriteLimit(), !typed.isEmpty());
        QCOMPARE(bus.Sent(224), size_t{typed.isEmpty() ? 0u : 1u});
        QCOMPARE(bus.Xv().channels[1].zeroOffset, limitAfter);
    }

    // A two-line comment is stored with backslash-n and shown again as two lines.
    void userDataCommentRoundTrip() {
        test::ConfigBus bus;
        {
            CUserDataDlg dialog(nullptr, bus.xv);
            QCOMPARE(dialog.windowTitle(), QStringLiteral("40218 (PX-TAVIK2XV)"));
            dialog.CommentField()->setPlainText(QStringLiteral("a\nb"));
            QCOMPARE(dialog.IsModified(), 1);
            QVERIFY(dialog.Apply());
        }
        QCOMPARE(FieldText(bus.xv.szComment), std::string("a\\nb"));
        CUserDataDlg again(nullptr, bus.xv);
        QCOMPARE(again.CommentField()->toPlainText(), QStringLiteral("a\nb"));
        QCOMPARE(again.IsModified(), 0);
    }
};

QTEST_MAIN(TestModuleSettingsDialogs)
#include "tst_module_settings_dialogs.moc"
