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
#include <QMenuBar>
#include <QTest>
#include <QTime>
#include <QToolBar>

using namespace terrix;

namespace {

// A modeless window that still works on the bus context when it goes, as the circuit window stops its
// measuring loop and releases the port in its destructor.
class ContextUser : public CPlacementDialog {
public:
    ContextUser(BusContext& context, QWidget* owner, QStringList& log)
        : CPlacementDialog(owner), context_(context), log_(log) {}
    ~ContextUser() override { log_ << QStringLiteral("destroyed, %1 records").arg(context_.busList.Count()); }
    void reject() override {
        log_ << QStringLiteral("closed");
        CPlacementDialog::reject();
    }

private:
    BusContext& context_;
    QStringList& log_;
};

// The accelerator letters of a menu's items (or of the menu bar's titles).
QStringList Accelerators(const QList<QAction*>& actions) {
    QStringList letters;
    for (const QAction* action : actions) {
        const QString text = action->text();
        const qsizetype amp = text.indexOf(QLatin1Char('&'));
        if (action->isVisible() && amp >= 0 && amp + 1 < text.size()) {
            letters << text.mid(amp + 1, 1).toLower();
        }
    }
    return letters;
}

} // namespace

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
        CMainFrame* framePtr = nullptr;
        bool openDuringScan = false;
        windows.runScan = [&](BusContext&, QWidget*, int) {
            openDuringScan = framePtr->CircuitWindow() != nullptr;
        };
        CMainFrame frame(windows);
        framePtr = &frame;
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

        // A scan rebuilds the records the open window's rows point at: the window goes first.
        QPointer<QWidget> second = frame.CircuitWindow();
        frame.OnScan(1);
        QVERIFY(!openDuringScan);
        QTRY_VERIFY(second == nullptr);
        QTRY_COMPARE(created, 3);
    }

    // Quitting closes the modeless windows through their own close path; they go while the bus context
    // still exists (AddressSanitizer watches the destructor's use of it).
    void quittingClosesChildWindowsBeforeTheContextGoes() {
        QStringList log;
        FrameWindows windows;
        windows.createCircuitWindow = [&log](BusContext& context, QWidget* owner, const ModuleWindows&) {
            return new ContextUser(context, owner, log);
        };
        auto* frame = new CMainFrame(windows);
        frame->show();
        frame->OnDisplay();
        QVERIFY(frame->CircuitWindow() != nullptr);
        QVERIFY(frame->close());
        QCOMPARE(log.value(0), QStringLiteral("closed"));
        delete frame;
        QCOMPARE(log, (QStringList{QStringLiteral("closed"), QStringLiteral("destroyed, 0 records")}));

        // A window that keeps a change the user does not want to discard keeps the frame open.
        test::MessageRecorder messages;
        messages.answers = {QMessageBox::No};
        CMainFrame kept(windows);
        kept.show();
        kept.OnDisplay();
        static_cast<CPlacementDialog*>(kept.CircuitWindow())->SetModified(1);
        QVERIFY(!kept.close());
        QVERIFY(kept.CircuitWindow() != nullptr);
    }

    // Within each menu, and among the menu titles, no two items share an accelerator key.
    void acceleratorsAreUniqueInEveryMenu_data() {
        QTest::addColumn<QString>("language");
        QTest::newRow("English") << "Terrix English";
        QTest::newRow("German") << "Terrix Deutsch";
    }

    void acceleratorsAreUniqueInEveryMenu() {
        QFETCH(QString, language);
        QVERIFY(LoadLanguageModule(language, true));
        FrameWindows windows;
        CMainFrame frame(windows);
        QList<QMenu*> menus;
        for (QAction* title : frame.menuBar()->actions()) {
            menus << title->menu();
        }
        for (qsizetype i = 0; i < menus.size(); ++i) {
            for (QAction* item : menus[i]->actions()) {
                if (item->menu() != nullptr) {
                    menus << item->menu();
                }
            }
        }
        QList<QList<QAction*>> groups{frame.menuBar()->actions()};
        for (QMenu* menu : menus) {
            groups << menu->actions();
        }
        for (const QList<QAction*>& group : groups) {
            QStringList letters = Accelerators(group);
            const QString shown = letters.join(QLatin1Char(' '));
            QVERIFY2(letters.removeDuplicates() == 0, qPrintable(shown));
        }
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
