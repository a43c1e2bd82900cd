// The measuring circuit window: first its controller and model without any widget (command rules, rounds,
// loops and a lost port on the simulated bus, publishing to a broker of the test's own, list changes), then
// what the window adds (captions, value windows, closing while measuring, the rescan job) and its
// two bus dialogs. The bus never waits on this thread.

#include "core/measure/time_stamp.h"
#include "core/platform/data_paths.h"
#include "core/platform/ini_section.h"
#include "core/platform/pump_wait.h"
#include "gui/base/bus_job.h"
#include "gui/base/language.h"
#include "gui/base/session_end.h"
#include "gui/circuit/bus_dialogs.h"
#include "gui/circuit/meas_circuit_dlg.h"
#include "gui/circuit/value_windows.h"
#include "gui/frame/main_frame.h"
#include "gui/toolkit/report_list_ctrl.h"
#include "gui/toolkit/string_catalogue.h"
#include "gui_test_support.h"
#include "sim/sim_scheme.h"
#include "support/test_broker.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>

#include <csignal>
#include <fstream>
#include <set>

using namespace terrix;
using C = MeasCircuitController;
using M = MeasCircuitModel;

namespace {

std::vector<ModuleRecord> g_identified; // probes at 1 and 2, the XV module at 3

ModuleRecord Placeholder(uint8_t station, ModuleState state, uint16_t serial) {
    ModuleRecord r;
    r.iaStation = station;
    r.enModuleState = state;
    r.stationInfo.wSerialNo = serial;
    return r;
}

QString Cell(C& controller, int row, int column, int role = Qt::DisplayRole) {
    return controller.Model()->index(row, column).data(role).toString();
}

bool WaitIdle(C& controller, int ms = 30000) {
    return QTest::qWaitFor([&] { return controller.Running() == CircuitRun::kIdle; }, ms);
}

// A value window that counts what the circuit window tells it.
class FakeValueWindow final : public CPlacementDialog, public MeasValueView {
public:
    explicit FakeValueWindow(QWidget* owner) : CPlacementDialog(owner) {}
    CPlacementDialog* Window() override { return this; }
    void OnNewValue() override { ++newValues; }
    int newValues = 0;
};

// A desktop set to open items with one click.
class SingleClickStyle final : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_ItemView_ActivateItemOnSingleClick) {
            return 1;
        }
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace

class TestCircuitWindow : public QObject {
    Q_OBJECT

    test::TempDataDir data_;
    test::MessageRecorder messages;

private Q_SLOTS:
    void initTestCase() {
        ForbidBusWaitsOnThisThread();
        g_identified = test::IdentifiedSimModules({1, 2, 3});
        QCOMPARE(g_identified.size(), size_t{3});
        for (ModuleRecord& record : g_identified) {
            record.dwMeasTime = 0; // no conversion times: a round ends once it measured
        }
    }

    void init() {
        messages.Clear();
        LoadLanguageModule(QStringLiteral("Terrix English"), true);
    }

    // ---- the controller and its model, without widgets

    // One letter per enabled command (single, loop, rate, display, erase, Display all, Erase all, offset,
    // coefficients, time, application parameters, halt, files), "-" per disabled one.
    void commandStatesFollowSelectionRunAndJob() {
        const struct {
            int module;   // -1 none, 0 probe, 2 XV
            int firmware; // low byte for the XV module
            CircuitRun run;
            bool entries;
            bool job;
            const char* enabled;
        } cases[] = {{-1, 0, CircuitRun::kIdle, true, false, "s-r--DE-----f"},
                     {0, 0, CircuitRun::kIdle, true, false, "slrdeDE-----f"},
                     {2, 0x36, CircuitRun::kIdle, true, false, "slrdeDEocta-f"},
                     {2, 0x37, CircuitRun::kIdle, true, false, "slrdeDEoctahf"},
                     {2, 0x37, CircuitRun::kIdle, false, false, "slr-e-E----hf"}, // no windows to open
                     {2, 0x37, CircuitRun::kSingle, true, false, "s--d-D-------"},
                     {0, 0, CircuitRun::kLoop, true, false, "-l-d-D-------"},
                     {2, 0x37, CircuitRun::kIdle, true, true, "---d-D-------"}}; // a rescan runs
        for (const auto& t : cases) {
            ModuleRecord record =
                t.module >= 0 ? g_identified[static_cast<size_t>(t.module)] : ModuleRecord{};
            record.stationInfo.wFirmwareVersion = static_cast<uint16_t>(0x2300 | t.firmware);
            CircuitInput in{.moduleCount = 3, .run = t.run, .jobRuns = t.job};
            in.current = t.module >= 0 ? &record : nullptr;
            in.hasValueWindow = in.hasOffset = in.hasCoefficients = in.hasConversionTime =
                in.hasApplicationParameters = t.entries;
            const CircuitCommands c = CircuitCommandStates(in);
            QString got;
            for (const bool on : {c.singleMeas, c.measLoop, c.rateEdit, c.display, c.erase, c.displayAll,
                                  c.eraseAll, c.offset, c.coefficients, c.conversionTime,
                                  c.applicationParameters, c.haltState, c.copyFiles}) {
                got += on ? QLatin1Char("slrdeDEoctahf"[got.size()]) : QLatin1Char('-');
            }
            QCOMPARE(got, QString::fromLatin1(t.enabled));
            QCOMPARE(c.menuRemove, !t.job);
        }
    }

    // Without a row, on the wrong module, while a job runs: refused, with the reason where there is one.
    // While measuring, what needs neither bus nor files runs; the rest says why in the user's language.
    void commandChecksSayWhyNot() {
        BusContext context;
        ModuleRecord xv = g_identified[2];
        xv.stationInfo.wFirmwareVersion = 0x2337;
        test::UseSimBus(context, {g_identified[0], xv, Placeholder(40, msCollision, 0xFFFF)});
        ModuleWindows dialogs; // every module dialog but the offset's (none is opened here)
        const auto none = [](BusContext&, QWidget*, ModuleRecord&) { return false; };
        dialogs.changeStationNumber = dialogs.changeConversionTime = dialogs.coefficients =
            dialogs.applicationParameters = dialogs.activeCalibration = dialogs.error66Limit =
                dialogs.resetBaud = dialogs.userData = none;
        C controller(context, dialogs);
        // clang-format off
        const struct {
            int row;     // -1 none, 0 probe, 1 XV, 2 collision
            int command;
            int refusal; // 0 runs, -1 refused silently, else the text's number
        } idle[] = {
            {-1, C::ID_RESCAN, 24707}, {-1, C::ID_STATION_NUMBER, 24637}, {-1, C::ID_ERASE, -1},
            {-1, C::ID_COPY_FILES, 0}, {-1, C::ID_EDIT_USER_INFO, 24707}, {0, C::ID_ACTIVE_CALIB, 24708},
            {0, C::ID_HALT_STATE, 24708}, {0, C::ID_ERROR66, 24708}, {0, C::ID_OFFSET, -1} /* no dialog */, {1, C::ID_ACTIVE_CALIB, 0},
            {1, C::ID_HALT_STATE, 0}, {2, C::ID_REMOVE, 24708}, {2, C::ID_ACTIVATE, 24708},
            {2, C::ID_RECREATE_ASCII, 0}};
        // clang-format on
        for (const auto& t : idle) {
            controller.SetCurrentRow(t.row);
            const C::Verdict verdict = controller.Check(t.command);
            QVERIFY2(verdict.allowed == (t.refusal == 0) &&
                         verdict.refusal ==
                             (t.refusal > 0 ? FindText(TextKind::String, t.refusal) : QString()),
                     qPrintable(QStringLiteral("row %1, command %2").arg(t.row).arg(t.command)));
        }
        controller.SetJobRunning(true);
        QVERIFY(!controller.Check(C::ID_RESCAN).allowed && controller.Check(C::ID_RESCAN).refusal.isEmpty());
        QVERIFY(controller.Check(C::ID_DISPLAY_VALUES).allowed);
        controller.SetJobRunning(false);

        LoadLanguageModule(QStringLiteral("Terrix Deutsch"), true);
        controller.SetCurrentRow(1);
        QCOMPARE(controller.StartOrStop(CircuitRun::kLoop, QStringLiteral("30"), QStringLiteral("test")),
                 QString());
        const QString bus = QStringLiteral("spricht das Modul über den Bus an");
        const QString files = QStringLiteral("arbeitet mit Meßdateien");
        const std::pair<int, QString> measuring[] = {
            {C::ID_DISPLAY_VALUES, {}}, {C::ID_DISPLAY_ALL, {}},      {C::ID_EDIT_USER_INFO, {}},
            {C::ID_ACTIVATE, {}},       {C::ID_RESCAN, bus},          {C::ID_STATION_NUMBER, bus},
            {C::ID_RESET_BAUD, bus},    {C::ID_ERROR66, bus},         {C::ID_ACTIVE_CALIB, bus},
            {C::ID_COEFFICIENTS, bus},  {C::ID_CONVERSION_TIME, bus}, {C::ID_APP_PARAMS, bus},
            {C::ID_HALT_STATE, bus},    {C::ID_REMOVE, files},        {C::ID_RECREATE_ASCII, files},
            {C::ID_ERASE, files},       {C::ID_ERASE_ALL, files},     {C::ID_COPY_FILES, files}};
        for (const auto& [command, reason] : measuring) {
            const C::Verdict verdict = controller.Check(command);
            QVERIFY2(verdict.allowed == reason.isEmpty() && verdict.refusal.contains(reason) &&
                         (reason.isEmpty() || verdict.refusal.contains(QString::fromUtf8(
                                                  "Halten Sie die Meßschleife an („Stop“)"))),
                     qPrintable(QString::number(command) + ": " + verdict.refusal));
        }
        controller.StartOrStop(CircuitRun::kLoop, {}, {});
        QVERIFY(WaitIdle(controller));
    }

    // One round fills the rows of the identified, active modules only, reporting each new value; the rows
    // carry their state's colours, and the rate is kept for the next start.
    void singleRoundFillsOnlyMeasuredRows() {
        BusContext context;
        ModuleRecord disabled = g_identified[1];
        disabled.bDisabled = 1;
        test::UseSimBus(context, {g_identified[0], disabled, g_identified[2], Placeholder(40, msFailed, 5),
                                  Placeholder(41, msNotIdentified, 6)});
        C controller(context, {});
        QAbstractItemModelTester tester(controller.Model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QSignalSpy values(&controller, &C::newValue);
        QCOMPARE(controller.StartOrStop(CircuitRun::kSingle, QStringLiteral("0"), QStringLiteral("test")),
                 QString());
        QCOMPARE(controller.Running(), CircuitRun::kSingle);
        QVERIFY(!controller.Commands().measLoop);
        QVERIFY(WaitIdle(controller));
        QCOMPARE(values.count(), 2);
        const bool measured[] = {true, false, true, false, false};
        for (int row = 0; row < 5; ++row) {
            const QString value = Cell(controller, row, M::kColValue);
            QVERIFY2(value.isEmpty() != measured[row], qPrintable(QString::number(row) + ": " + value));
            QCOMPARE(Cell(controller, row, M::kColValues), measured[row] ? "1" : "0");
        }
        // Both channels of a probe with their units, three spaces apart.
        QVERIFY2(QRegularExpression(QStringLiteral("^[0-9.]+ %   [0-9.]+ \u00b0C$"))
                     .match(Cell(controller, 0, M::kColValue))
                     .hasMatch(),
                 qPrintable(Cell(controller, 0, M::kColValue)));
        QCOMPARE(CIniSection(SettingsFilePath(), "MeasCircDlg").ReadDWord("dwMeasTime", 20), 0u);
        QCOMPARE(Cell(controller, 3, M::kColStation, Qt::BackgroundRole), QColor(255, 0, 0).name());
        QCOMPARE(Cell(controller, 4, M::kColStation, Qt::BackgroundRole), QColor(230, 230, 0).name());
        QVERIFY(!controller.Model()->index(0, M::kColStation).data(Qt::BackgroundRole).isValid());
    }

    // With a broker in the settings, measuring starts publishing: the line says why it waits and how many
    // records do, and that it is connected once the broker runs.
    void publishingLineFollowsThePublisher() {
        test::TestBroker broker;
        QVERIFY2(broker.Start(), broker.Log().c_str());
        broker.Stop();
        PublishSettings settings;
        settings.url = broker.Url();
        QVERIFY(WritePublishSettings(SettingsFilePath(), settings));
        BusContext context;
        test::UseSimBus(context, {g_identified[0]});
        C controller(context, {});
        QVERIFY(controller.Publishing().text.isEmpty());
        controller.StartOrStop(CircuitRun::kSingle, QStringLiteral("0"), QStringLiteral("test"));
        QVERIFY(WaitIdle(controller));
        const QString stored = Cell(controller, 0, M::kColValues);
        const QString where = QString::fromStdString("127.0.0.1:" + std::to_string(broker.Port()));
        QTRY_COMPARE_WITH_TIMEOUT(
            controller.Publishing().text,
            QStringLiteral("Publishing to %1 waits (connection refused); records waiting: %2")
                .arg(where, stored),
            10000);
        QVERIFY(!controller.Publishing().good);
        QVERIFY(controller.Publishing().tip.startsWith(QStringLiteral("Connection refused")));
        QVERIFY(broker.Start());
        QTRY_COMPARE_WITH_TIMEOUT(
            controller.Publishing().text,
            QStringLiteral("Publishing to %1: connected; records waiting: 0").arg(where), 15000);
        QVERIFY(controller.Publishing().good);
        controller.Shutdown(); // stops the publisher
        QVERIFY(controller.Publishing().text.isEmpty());
        QVERIFY(WritePublishSettings(SettingsFilePath(), {}));
    }

    // What the window says of a lost port and of its return, in either order of events it may see.
    void portOutageNoticeTexts() {
        PortOutageNotice notice;
        const QDateTime lostAt(QDate(2026, 12, 7), QTime(14, 3, 12));
        notice.Back(5, lostAt); // no loss reported: nothing to say
        QCOMPARE(notice.GetState(), PortOutageNotice::State::kNone);
        notice.Lost({.active = true, .device = "/dev/ttyUSB0", .retrySeconds = 20}, lostAt);
        QVERIFY(notice.Text().contains(QStringLiteral("Last stored values: none in this measurement.")));
        notice.Back(3 * 3600 + 138, lostAt.addSecs(3 * 3600 + 138));
        QCOMPARE(notice.Text(),
                 QStringLiteral("Connection to /dev/ttyUSB0 back at 07.12.2026 17:05:30 after a "
                                "gap of 03:02:18 (since 07.12.2026 14:03:12); measuring goes "
                                "on."));
        notice.Clear();
        QVERIFY(notice.Text().isEmpty());
    }

    // The simulated adapter pulled out while the loop measures: the notice says so, the measured modules are
    // marked, and the frame learns that the loop waits for the port; plugged in again, measuring goes on by
    // itself until it is asked to stop.
    void lostPortIsShownAndMeasuringGoesOnWhenItIsBack() {
        std::string error;
        const std::shared_ptr<sim::VirtualBus> bus = sim::SharedBus("", error);
        QVERIFY(bus != nullptr);
        BusContext context;
        test::UseSimBus(context, {g_identified[0], g_identified[2]});
        C controller(context, {});
        controller.StartOrStop(CircuitRun::kLoop, QStringLiteral("1"), QStringLiteral("test"));
        const auto values = [&] { return Cell(controller, 1, M::kColValues).toInt(); };
        QVERIFY(QTest::qWaitFor([&] { return values() >= 1; }, 30000));

        bus->SetUnplugged(true);
        QVERIFY(QTest::qWaitFor([&] { return controller.Outage().PortLost(); }, 30000));
        QVERIFY2(controller.Outage().Text().startsWith(QStringLiteral("Connection to sim lost at ")),
                 qPrintable(controller.Outage().Text()));
        QCOMPARE(Cell(controller, 0, M::kColStatus, Qt::ToolTipRole),
                 QStringLiteral("No connection: the port's device has gone"));
        QTRY_COMPARE(MeasuringStatus::Instance().Get(&context).phase, LoopPhase::kPortLost);
        QCOMPARE(controller.Running(), CircuitRun::kLoop);
        const int valuesWhileLost = values();

        bus->SetUnplugged(false);
        QVERIFY(QTest::qWaitFor(
            [&] { return controller.Outage().GetState() == PortOutageNotice::State::kBack; }, 30000));
        QVERIFY(controller.Outage().Text().contains(QStringLiteral(" after a gap of 00:00:")));
        QVERIFY(Cell(controller, 0, M::kColStatus, Qt::ToolTipRole).isEmpty());
        QVERIFY(QTest::qWaitFor([&] { return values() > valuesWhileLost; }, 30000));

        // Asking again stops the loop; the port is closed and free afterwards.
        QCOMPARE(controller.StartOrStop(CircuitRun::kSingle, {}, {}), QString());
        QVERIFY(WaitIdle(controller));
        QCOMPARE(MeasuringStatus::Instance().Get(&context).phase, LoopPhase::kIdle);
        QCOMPARE(controller.Outage().GetState(), PortOutageNotice::State::kNone); // "back" went too
        QCOMPARE(context.portContext.hPort, kInvalidPort);
        QVERIFY(!PortUser::IsReserved(context.portContext));
    }

    // "Display all" cascades: every window on the desk, no two on the same spot, the desk's corner first.
    void valueWindowsCascadeOnTheDesk() {
        const QRect desk(100, 50, 1024, 768);
        for (const QSize size : {QSize(720, 480), QSize(300, 200)}) {
            std::set<std::pair<int, int>> seen;
            for (int index = 0; index < 40; ++index) {
                const QPoint at = CascadePosition(desk, size, index);
                QVERIFY2(desk.contains(QRect(at, size)), qPrintable(QString::number(index)));
                QVERIFY(seen.insert({at.x(), at.y()}).second);
            }
            QCOMPARE(CascadePosition(desk, size, 0), desk.topLeft());
        }
        QCOMPARE(CascadePosition(desk, QSize(1200, 900), 3), desk.topLeft()); // larger than the desk
    }

    // (De)activating writes the module file each time; removing the last module leaves no (current) row.
    void activateAndRemove() {
        BusContext context;
        test::UseSimBus(context, {g_identified[0], Placeholder(77, msIdentified, 777)});
        C controller(context, {});
        controller.SetCurrentRow(1);
        for (int expected : {1, 0, 1}) {
            QCOMPARE(controller.ToggleActive(), QString());
            CIniSection file = CIniSection::ForModule(777);
            file.SetSection("ModuleInfo");
            QCOMPARE(file.ReadInt("bDisabled", -1), expected);
        }
        for (int left : {1, 0}) {
            controller.SetCurrentRow(0);
            QCOMPARE(controller.RemoveCurrent(), QString());
            QCOMPARE(controller.ModuleCount(), uint32_t(left));
            QCOMPARE(controller.Model()->rowCount(), left);
            QCOMPARE(controller.CurrentRow(), -1);
        }
        QVERIFY(!controller.Commands().singleMeas);
    }

    // Copying: a missing file is skipped, a file that cannot be written is named with its reason.
    void copyNamesFailuresAndSkipsMissingFiles() {
        namespace fs = std::filesystem;
        const fs::path dir = data_.Path().toStdString();
        fs::create_directories(dir / "src");
        fs::create_directories(dir / "medium" / "3.BinMeasData"); // a folder where the copy should go
        for (const char* name : {"1.BinMeasData", "3.BinMeasData"}) {
            std::ofstream(dir / "src" / name) << "records";
        }
        const CopyReport report = CopyMeasurementFiles({{1, dir / "src" / "1.BinMeasData"},
                                                        {2, dir / "src" / "2.BinMeasData"},
                                                        {3, dir / "src" / "3.BinMeasData"}},
                                                       dir / "medium");
        QCOMPARE(report.skipped, std::vector<fs::path>{dir / "src" / "2.BinMeasData"});
        QCOMPARE(report.failed.size(), 1u);
        QCOMPARE(report.failed[0].first, dir / "src" / "3.BinMeasData");
        QVERIFY(fs::exists(dir / "medium" / "1.BinMeasData"));

        fs::create_directories(dir / "root" / "media" / "tech" / "STICK");
        QCOMPARE(RemovableMediaStart("tech", "/home/tech", dir / "root"),
                 dir / "root" / "media" / "tech" / "STICK");
        QCOMPARE(RemovableMediaStart("other", "/home/other", dir / "root"), fs::path("/home/other"));
    }

    // ---- the window

    // In the frame: the pressed measuring button reads "stop" while the loop runs, the status bar says when
    // the next round is due, and a module's value window hears of each new value. Closing the program asks
    // once; No keeps the loop running, Yes stops it and closes the value window with the circuit window.
    void measuringInTheFrameAndClosingIt() {
        QPointer<FakeValueWindow> opened;
        FrameWindows windows;
        RegisterCircuitWindows(windows);
        windows.moduleWindows.createValueWindow = [&](BusContext&, QWidget* owner, ModuleRecord&,
                                                      CMeasValueStore&) {
            opened = new FakeValueWindow(owner);
            return static_cast<MeasValueView*>(opened.data());
        };
        CMainFrame frame(windows);
        CMeasCircuitDlg* window = test::ShowOnSimBus(frame, {g_identified[0]});
        QVERIFY(window != nullptr);
        window->MenuAction(C::ID_DISPLAY_VALUES)->trigger();
        QVERIFY(opened != nullptr && opened->isVisible());
        window->RateEdit()->setText(QStringLiteral("30"));
        window->LoopButton()->click();
        QCOMPARE(window->LoopButton()->text(), Text(24777));
        QVERIFY(!window->SingleButton()->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(frame.MeasuringPane()->text().startsWith(
                                     QStringLiteral("Measuring loop running: next round at ")),
                                 30000);
        QCOMPARE(opened->newValues, 1);
        QVERIFY(!window->List()->CellTextAt(0, M::kColValue).isEmpty()); // the list shows the model

        messages.answers = {QMessageBox::No};
        frame.close();
        QCOMPARE(messages.Texts(), QStringList{StopMeasuringQuestion()});
        QVERIFY(frame.isVisible());
        QCOMPARE(window->Controller().Running(), CircuitRun::kLoop);

        messages.Clear();
        frame.close();
        QVERIFY(QTest::qWaitFor([&] { return !frame.isVisible(); }, 10000));
        // Asked once: the window, stopped by then, asks no more.
        QCOMPARE(messages.Texts(), QStringList{StopMeasuringQuestion()});
        QVERIFY(opened.isNull());
        QVERIFY(frame.MeasuringPane()->isHidden());
        QVERIFY(frame.CircuitWindow() == nullptr);
        QVERIFY(!PortUser::IsReserved(frame.GetBusContext()->portContext));
    }

    // Only a double click or a key opens a value window, also where the desktop opens items on one click.
    void singleClickOpensNoValueWindow() {
        BusContext context;
        test::UseSimBus(context, {g_identified[0], g_identified[1]});
        int opened = 0;
        ModuleWindows windows;
        windows.createValueWindow = [&](BusContext&, QWidget* owner, ModuleRecord&, CMeasValueStore&) {
            ++opened;
            return static_cast<MeasValueView*>(new FakeValueWindow(owner));
        };
        SingleClickStyle style; // outlives the window that uses it
        CMeasCircuitDlg window(context, nullptr, windows);
        window.List()->setStyle(&style);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QWidget* rows = window.List()->viewport();
        const QRect second = window.List()->visualRect(window.List()->model()->index(1, 3));
        QTest::mouseClick(rows, Qt::LeftButton, {}, second.center());
        QCOMPARE(opened, 0);
        QTest::mouseDClick(rows, Qt::LeftButton, {}, second.center());
        QCOMPARE(opened, 1);
        window.List()->Select(0);
        window.List()->setFocus();
        QTest::keyClick(window.List(), Qt::Key_Return);
        QCOMPARE(opened, 2);
    }

    // The rescan runs as a bus job: meanwhile the window's other commands are off. A module that does not
    // answer, or another module at the station, leaves the row as it was; the module itself refreshes it and
    // keeps its active switch.
    void rescanRunsAsAJob() {
        ModuleRecord stale = g_identified[2]; // switched off, with an out-of-date count
        stale.bDisabled = 1;
        stale.dwNumberOfMeas0 = 99;
        ModuleRecord moved = stale; // another module answers at its station
        moved.stationInfo.wSerialNo = 4242;
        const struct {
            ModuleRecord record;
            QString message; // contained in the one message; empty for none
            QString convCount;
        } cases[] = {{Placeholder(77, msIdentified, 777), Text(24671), QStringLiteral("0/0")},
                     {moved, QStringLiteral("(serial number 4242)"), QStringLiteral("99")},
                     {stale, {}, QString::number(g_identified[2].dwNumberOfMeas0)}};
        for (const auto& t : cases) {
            messages.Clear();
            BusContext context;
            test::UseSimBus(context, {g_identified[0], t.record});
            CMeasCircuitDlg window(context, nullptr, {});
            window.show();
            window.List()->Select(1);
            window.MenuAction(C::ID_RESCAN)->trigger();
            QVERIFY(BusJob::Runs(&window));
            QVERIFY(!window.MenuAction(C::ID_REMOVE)->isEnabled() && !window.SingleButton()->isEnabled());
            QTRY_VERIFY(!BusJob::Runs(&window));
            QVERIFY(window.MenuAction(C::ID_REMOVE)->isEnabled());
            QCOMPARE(messages.messages.size(), size_t{t.message.isEmpty() ? 0u : 1u});
            QVERIFY(t.message.isEmpty() || messages.Texts().front().contains(t.message));
            QCOMPARE(window.List()->CellTextAt(1, M::kColSerial), QString::number(t.record.SerialNo()));
            QCOMPARE(window.List()->CellTextAt(1, M::kColConvCount), t.convCount);
            QCOMPARE(context.busList.GetAt(1)->bDisabled, t.record.bDisabled);
            QCOMPARE(window.Controller().CurrentRow(), 1);
            QCOMPARE(context.portContext.hPort, kInvalidPort);
        }
    }

    // The halt state is read and set; a module that does not answer leaves the command choices disabled.
    void haltStateReadsSetsAndLocksAfterFailedRead() {
        BusContext context;
        test::UseSimBus(context, {});
        ModuleRecord xv = g_identified[2];
        CHaltMeasStateDlg dialog(context, nullptr, xv);
        QCOMPARE(dialog.windowTitle(),
                 QStringLiteral("Halt Measuring State – %1 (station 3)").arg(xv.SerialNo()));
        dialog.show();
        QTRY_VERIFY(dialog.CommandRadio(1)->isEnabled());
        dialog.CommandRadio(1)->click();
        QTRY_COMPARE(dialog.State().command, 1);
        QVERIFY(dialog.StateRadio(dialog.State().haltState)->isChecked());
        QTRY_VERIFY(!BusJob::Runs(&dialog));
        dialog.CommandRadio(0)->click();
        QTRY_COMPARE(dialog.State().command, 0);

        ModuleRecord silent = Placeholder(99, msIdentified, 99);
        CHaltMeasStateDlg failed(context, nullptr, silent);
        failed.show();
        QTRY_VERIFY(!BusJob::Runs(&failed));
        // The one message also shows that the read from the XV module went without any.
        QCOMPARE(messages.Texts(), QStringList{QString::fromLatin1(kMsgHaltStateReadFailed)});
        QVERIFY(!failed.CommandRadio(0)->isEnabled() && !failed.CommandRadio(1)->isEnabled());
    }

    // OK asks once and moves the modules once (the close after the bus work does not do the work again);
    // without the port nothing is sent, the failure names the device, and the saved bus stays.
    void createCollisionsAsksAndSendsOnce() {
        for (const bool port : {false, true}) {
            messages.Clear();
            BusContext context;
            test::UseSimBus(context, {g_identified[0]});
            context.portContext.device = port ? "sim" : "/nonexistent/tty";
            QVERIFY(CIniSection(SettingsFilePath(), "BUS INFO").WriteDWord("dwCount", 1));
            CCreateCollisionsDlg dialog(context, nullptr);
            dialog.show();
            QTRY_VERIFY(!BusJob::Runs(&dialog));
            QCOMPARE(dialog.PortOpen(), port);
            dialog.StationEdit()->setValue(251);
            dialog.accept();
            QCOMPARE(messages.messages.size(), 1u); // reserved station: said, nothing asked
            messages.Clear();
            dialog.StationEdit()->setValue(7);
            dialog.accept(); // Yes, then the move or the port failure
            QTRY_VERIFY(!BusJob::Runs(&dialog) &&
                        (port ? !dialog.isVisible() : messages.messages.size() == 2));
            QTest::qWait(50); // a repeated close would come queued
            QCOMPARE(messages.Texts().value(0), Text(24627));
            QCOMPARE(messages.messages.size(), port ? 1u : 2u);
            QCOMPARE(dialog.result(), port ? int(QDialog::Accepted) : 0);
            if (!port) {
                QVERIFY(messages.Texts()[1].startsWith(Text(24655)) &&
                        messages.Texts()[1].contains(QStringLiteral("/nonexistent/tty")));
                QVERIFY(CIniSection(SettingsFilePath(), "BUS INFO").HasKey("dwCount"));
            }
        }
        sim::ForgetSharedBuses(); // the built-in bus is back at its stations for the next case
    }

    // SIGTERM (as at logout) ends a measuring program without a question: the loop stops after its current
    // module and the frame closes. Last: the session stays ended for the rest of the program.
    void sessionEndStopsTheLoopWithoutAQuestion() {
        FrameWindows windows;
        RegisterCircuitWindows(windows);
        CMainFrame frame(windows);
        SessionEnd::Install(&frame);
        CMeasCircuitDlg* window = test::ShowOnSimBus(frame, {g_identified[0], g_identified[2]});
        QVERIFY(window != nullptr);
        window->RateEdit()->setText(QStringLiteral("0"));
        window->LoopButton()->click();
        QVERIFY(QTest::qWaitFor(
            [&] { return !window->List()->CellTextAt(1, MeasCircuitModel::kColValue).isEmpty(); }, 30000));
        messages.Clear();
        QVERIFY(std::raise(SIGTERM) == 0);
        QVERIFY(QTest::qWaitFor([&] { return !frame.isVisible(); }, 10000));
        QVERIFY(messages.Texts().isEmpty());
        QVERIFY(frame.CircuitWindow() == nullptr);
        QVERIFY(!PortUser::IsReserved(frame.GetBusContext()->portContext));
        // A header and whole records only: the stop came between two modules.
        for (const auto& [file, recordSize] :
             {std::pair{"31042.BinMeasData", 12}, std::pair{"40218.BinMeasData", 39}}) {
            const qint64 size = QFileInfo(QString::fromStdString((DataDir() / file).string())).size();
            QVERIFY2(size > 56 && (size - 56) % recordSize == 0, file);
        }
    }
};

QTEST_MAIN(TestCircuitWindow)
#include "tst_circuit_window.moc"
