// The main frame: port selection, clock, commands that wait for their windows, the circuit window rule and
// forgetting the stored bus state.

#include "core/inventory/module_record.h"
#include "core/platform/com_port.h"
#include "core/platform/ini_section.h"
#include "gui/app/bus_activity.h"
#include "gui/app/frame_windows.h"
#include "gui/app/language.h"
#include "gui/app/main_frame.h"
#include "gui/toolkit/placement_dialog.h"
#include "gui_test_support.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QTest>
#include <QTime>
#include <QToolBar>

using namespace terrix;

class TestMainFrame : public QObject {
    Q_OBJECT

    test::TempDataDir data_;

private Q_SLOTS:
    void init() { LoadLanguageModule(QStringLiteral("Terrix English"), true); }

    void startsOnPortOneAndShowsTheDeviceOfEachPort() {
        SetPortDeviceName(2, "/dev/ttyUSB0");
        CMainFrame frame;
        QCOMPARE(frame.GetBusContext()->portContext.nPortNo, 1);
        QVERIFY(frame.Action(ID_BUS_COM1)->isChecked());
        QCOMPARE(frame.Action(ID_BUS_COM2)->text(), QStringLiteral("Serial Comport2 (/dev/ttyUSB0)"));
        QCOMPARE(frame.Action(ID_BUS_COM4)->text(), QStringLiteral("Serial Comport4 (/dev/ttyS3)"));
    }

    void choosingAPortMovesTheCheckMark() {
        CMainFrame frame;
        frame.Action(ID_BUS_COM3)->trigger();
        QCOMPARE(frame.GetBusContext()->portContext.nPortNo, 3);
        QCOMPARE(frame.GetBusContext()->portContext.hPort, kInvalidPort); // choosing opens nothing
        for (const int id : {ID_BUS_COM1, ID_BUS_COM2, ID_BUS_COM3, ID_BUS_COM4}) {
            QCOMPARE(frame.Action(id)->isChecked(), id == ID_BUS_COM3);
        }
    }

    void clockShowsTheTimeBeforeTheFirstTick() {
        CMainFrame frame;
        const QTime shown = QTime::fromString(frame.ClockPane()->text(), QStringLiteral("HH:mm:ss"));
        QVERIFY2(shown.isValid(), qPrintable(frame.ClockPane()->text()));
        QVERIFY(frame.ClockPane()->isEnabled());
    }

    void toolBarHoldsTheClassicButtons() {
        CMainFrame frame;
        QList<int> ids;
        for (QAction* action : frame.ToolBar()->actions()) {
            ids << (action->isSeparator() ? 0 : action->data().toInt());
        }
        const QList<int> expectedIds{ID_FILE_NEW,  ID_FILE_OPEN,  0, ID_FILE_SAVE,  0, ID_EDIT_CUT,
                                     ID_EDIT_COPY, ID_EDIT_PASTE, 0, ID_FILE_PRINT, 0, ID_APP_ABOUT};
        QCOMPARE(ids, expectedIds);
        for (const int id : {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, ID_APP_ABOUT, ID_EDIT_CUT, ID_EDIT_COPY,
                             ID_EDIT_PASTE, ID_FILE_PRINT, ID_INSERT_CHART, ID_MAINT_MEASURE}) {
            const bool works =
                id == ID_FILE_NEW || id == ID_FILE_OPEN || id == ID_FILE_SAVE || id == ID_APP_ABOUT;
            QVERIFY2(frame.Action(id)->isEnabled() == works, qPrintable(QString::number(id)));
        }
    }

    void commandsOfMissingWindowsStayDisabled() {
        CMainFrame empty;
        const int waiting[] = {ID_BUS_DISPLAY,
                               ID_BUS_SCAN_COMPLETELY,
                               ID_BUS_SCAN_KNOWN,
                               ID_MAINT_SCAN_BUS,
                               ID_MAINT_CREATE_COLLISION,
                               ID_MAINT_RESOLVE_COLLISIONS,
                               ID_BUS_SERIAL_PORTS,
                               ID_BUS_TRAFFIC};
        for (const int id : waiting) {
            QVERIFY2(!empty.Action(id)->isEnabled(), qPrintable(QString::number(id)));
        }
        std::vector<int> scans;
        BusContext* given = nullptr;
        FrameWindows windows;
        windows.runScan = [&](BusContext& context, QWidget*, int mode) {
            given = &context;
            scans.push_back(mode);
        };
        CMainFrame frame(windows);
        QVERIFY(frame.Action(ID_BUS_SCAN_KNOWN)->isEnabled());
        QVERIFY(!frame.Action(ID_BUS_DISPLAY)->isEnabled());
        frame.Action(ID_BUS_SCAN_KNOWN)->trigger();
        frame.Action(ID_MAINT_SCAN_BUS)->trigger();
        frame.Action(ID_BUS_SCAN_COMPLETELY)->trigger();
        QCOMPARE(scans, (std::vector<int>{0, 1, 2}));
        QCOMPARE(given, frame.GetBusContext());
    }

    // While one bus operation runs, the frame's bus commands are disabled and a second one is refused.
    void busActivityDisablesTheBusCommands() {
        FrameWindows windows;
        windows.runScan = [](BusContext&, QWidget*, int) {};
        windows.runResolveCollisions = [](BusContext&, QWidget*) {};
        CMainFrame frame(windows);
        BusContext& context = *frame.GetBusContext();
        {
            BusActivity scan(context, QStringLiteral("Scanning"));
            QVERIFY(scan.Granted());
            for (const int id : {ID_BUS_SCAN_COMPLETELY, ID_MAINT_RESOLVE_COLLISIONS, ID_BUS_COM2}) {
                QVERIFY2(!frame.Action(id)->isEnabled(), qPrintable(QString::number(id)));
            }
            QVERIFY(frame.Action(ID_MAINT_FORGET_BUS_INFO)->isEnabled());
            BusActivity second(context, QStringLiteral("Rescan module"));
            QVERIFY(!second);
            QVERIFY2(second.RefusalText().contains(QStringLiteral("Scanning")),
                     qPrintable(second.RefusalText()));
            // Closing the frame now would free the context under the scan: it is asked to stop instead.
            QVERIFY(!frame.close());
            QVERIFY(scan.CancelRequested());
        }
        QVERIFY(frame.Action(ID_BUS_SCAN_COMPLETELY)->isEnabled());
        QVERIFY(frame.Action(ID_BUS_COM2)->isEnabled());
        QVERIFY(BusActivity(context, QStringLiteral("again")).Granted());
    }

    void atMostOneCircuitWindowAndAScanBringsItUp() {
        int created = 0;
        FrameWindows windows;
        windows.createCircuitWindow = [&](BusContext&, QWidget* owner, const ModuleWindows&) {
            ++created;
            return new CPlacementDialog(owner);
        };
        windows.runScan = [](BusContext&, QWidget*, int) {};
        CMainFrame frame(windows);
        frame.OnDisplay();
        QCOMPARE(created, 1);
        QPointer<QWidget> first = frame.CircuitWindow();
        QVERIFY(first != nullptr);
        frame.OnDisplay();
        QCOMPARE(created, 1);
        QCOMPARE(frame.CircuitWindow(), first.data());

        // Closing it tells the frame, which then creates a new one.
        static_cast<QDialog*>(first.data())->reject();
        QVERIFY(frame.CircuitWindow() == nullptr);
        QTRY_VERIFY(first == nullptr);

        // After a scan the window opens by itself.
        frame.OnScan(2);
        QCOMPARE(created, 1);
        QTRY_COMPARE(created, 2);
        QVERIFY(frame.CircuitWindow() != nullptr);
    }

    void forgetBusInfoDeletesOnlyTheStoredState() {
        CIniSection busInfo;
        busInfo.SetSection("BUS INFO");
        busInfo.WriteInt("Count", 2);
        CIniSection known;
        known.SetSection("KNOWN MODULES");
        known.WriteInt("Modules", 1);
        test::MessageRecorder messages;
        CMainFrame frame;
        auto record = std::make_unique<ModuleRecord>();
        record->iaStation = 5;
        QVERIFY(frame.GetBusContext()->busList.Add(std::move(record)));
        frame.Action(ID_MAINT_FORGET_BUS_INFO)->trigger();
        QCOMPARE(messages.Texts(),
                 QStringList{QString::fromUtf8("Aktueller Buszustand wurde verworfen.\nBeim "
                                               "nächsten Mal wird der Bus komplett abgesucht.")});
        QCOMPARE(messages.messages.front().caption, QStringLiteral("Terrix"));
        QCOMPARE(messages.messages.front().buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QVERIFY(!busInfo.HasKey("Count"));
        QVERIFY(known.HasKey("Modules"));
        QCOMPARE(frame.GetBusContext()->busList.Count(), 1u); // the records in memory stay
    }
};

QTEST_MAIN(TestMainFrame)
#include "tst_main_frame.moc"
