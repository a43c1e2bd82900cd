// The main frame: port selection, clock, commands that wait for their windows, the circuit window rule and
// forgetting the stored bus state.

#include "core/inventory/module_record.h"
#include "core/platform/com_port.h"
#include "core/platform/ini_section.h"
#include "gui/app/frame_windows.h"
#include "gui/app/language.h"
#include "gui/app/main_frame.h"
#include "gui/toolkit/placement_dialog.h"
#include "gui_test_support.h"

#include <QAction>
#include <QFileInfo>
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
    void init() {
        RegisteredFrameWindows() = FrameWindows{};
        LoadLanguageModule(QStringLiteral("Terrix English"), true);
    }

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
        // Windows of the frame find its context.
        CPlacementDialog child(&frame);
        QVERIFY(FindBusContext(&child) == frame.GetBusContext());
        QVERIFY(FindBusContext(nullptr) == nullptr);
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
        QList<bool> enabled;
        for (QAction* action : frame.ToolBar()->actions()) {
            ids << (action->isSeparator() ? 0 : action->data().toInt());
            enabled << action->isEnabled();
        }
        const QList<int> expectedIds{ID_FILE_NEW,  ID_FILE_OPEN,  0, ID_FILE_SAVE,  0, ID_EDIT_CUT,
                                     ID_EDIT_COPY, ID_EDIT_PASTE, 0, ID_FILE_PRINT, 0, ID_APP_ABOUT};
        QCOMPARE(ids, expectedIds);
        QVERIFY(frame.Action(ID_FILE_NEW)->isEnabled());
        QVERIFY(frame.Action(ID_FILE_OPEN)->isEnabled());
        QVERIFY(frame.Action(ID_FILE_SAVE)->isEnabled());
        QVERIFY(frame.Action(ID_APP_ABOUT)->isEnabled());
        for (const int id :
             {ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, ID_FILE_PRINT, ID_INSERT_CHART, ID_MAINT_MEASURE}) {
            QVERIFY2(!frame.Action(id)->isEnabled(), qPrintable(QString::number(id)));
        }
    }

    void commandsOfLaterWindowsWaitForThem() {
        CMainFrame frame;
        const int waiting[] = {ID_BUS_DISPLAY,    ID_BUS_SCAN_COMPLETELY,    ID_BUS_SCAN_KNOWN,
                               ID_MAINT_SCAN_BUS, ID_MAINT_CREATE_COLLISION, ID_MAINT_RESOLVE_COLLISIONS};
        for (const int id : waiting) {
            QVERIFY2(!frame.Action(id)->isEnabled(), qPrintable(QString::number(id)));
        }
        std::vector<int> scans;
        RegisteredFrameWindows().runScan = [&](CMainFrame&, int mode) { scans.push_back(mode); };
        Q_EMIT frame.BusMenu()->aboutToShow();
        QVERIFY(frame.Action(ID_BUS_SCAN_KNOWN)->isEnabled());
        QVERIFY(!frame.Action(ID_BUS_DISPLAY)->isEnabled());
        frame.Action(ID_BUS_SCAN_KNOWN)->trigger();
        frame.Action(ID_MAINT_SCAN_BUS)->trigger();
        frame.Action(ID_BUS_SCAN_COMPLETELY)->trigger();
        QCOMPARE(scans, (std::vector<int>{0, 1, 2}));
    }

    void atMostOneCircuitWindowAndAScanBringsItUp() {
        int created = 0;
        RegisteredFrameWindows().createCircuitWindow = [&](CMainFrame& owner) -> QWidget* {
            ++created;
            auto* window = new CPlacementDialog(&owner);
            window->Create();
            return window;
        };
        RegisteredFrameWindows().runScan = [](CMainFrame&, int) {};
        CMainFrame frame;
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

    void saveWritesAnEmptyDocument() {
        CMainFrame frame;
        const QString path = data_.File(QStringLiteral("doc.trx"));
        QVERIFY(frame.Document().OnSaveDocument(path));
        QCOMPARE(QFileInfo(path).size(), 0);
        QCOMPARE(frame.Document().Title(), QStringLiteral("doc.trx"));
        QVERIFY(!frame.Document().OnSaveDocument(data_.File(QStringLiteral("missing/dir/doc.trx"))));
        QVERIFY(frame.Document().OnOpenDocument(path));
        QVERIFY(!frame.Document().OnOpenDocument(data_.File(QStringLiteral("nothing.trx"))));
    }
};

QTEST_MAIN(TestMainFrame)
#include "tst_main_frame.moc"
