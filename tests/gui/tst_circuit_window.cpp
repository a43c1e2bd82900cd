// The measuring circuit window on the simulated bus: rows after a round, the loop, closing while it
// measures, module commands and refusals, copying the measurement files, its two bus dialogs, and its
// publishing line against a Mosquitto broker of the test's own.

#include "core/busops/identification.h"
#include "core/inventory/unit_names.h"
#include "core/measure/time_stamp.h"
#include "core/platform/data_paths.h"
#include "core/platform/ini_section.h"
#include "gui/app/bus_job.h"
#include "gui/app/gui_wait.h"
#include "gui/app/language.h"
#include "gui/app/main_frame.h"
#include "gui/app/measuring_status.h"
#include "gui/app/session_end.h"
#include "gui/circuit/bus_dialogs.h"
#include "gui/circuit/circuit_rules.h"
#include "gui/circuit/meas_circuit_dlg.h"
#include "gui/circuit/measuring_refusal.h"
#include "gui/toolkit/report_list_ctrl.h"
#include "gui/toolkit/string_catalogue.h"
#include "gui_test_support.h"
#include "sim/sim_scheme.h"
#include "support/test_broker.h"

#include <QAction>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSpinBox>
#include <QTest>

#include <csignal>
#include <fstream>

using namespace terrix;

namespace {

// The modules of the built-in scenario, identified once: probes at 1 and 2, the XV module at 3.
std::vector<ModuleRecord> g_identified;

ModuleRecord Placeholder(uint8_t station, ModuleState state, uint16_t serial) {
    ModuleRecord r;
    r.iaStation = station;
    r.enModuleState = state;
    r.stationInfo.wSerialNo = serial;
    return r;
}

// A context on the simulated bus holding `records` (no conversion times: a round ends once it measured).
void Fill(BusContext& context, const std::vector<ModuleRecord>& records) {
    context.portContext.nPortNo = 1;
    context.portContext.device = "sim";
    for (ModuleRecord r : records) {
        r.dwMeasTime = 0;
        context.busList.Add(std::make_unique<ModuleRecord>(r));
    }
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

bool WaitIdle(CMeasCircuitDlg& window, int ms = 30000) {
    return QTest::qWaitFor([&] { return window.Running() == CircuitRun::kIdle; }, ms);
}

} // namespace

class TestCircuitWindow : public QObject {
    Q_OBJECT

    test::TempDataDir data_;
    test::MessageRecorder messages;

private Q_SLOTS:
    void initTestCase() {
        RegisterSimTransportScheme();
        InstallGuiWaitHook();
        BusContext context;
        Fill(context, {});
        PortUser user(&context.portContext);
        QVERIFY(user.Acquire());
        for (uint8_t station : {1, 2, 3}) {
            ModuleRecord record;
            QVERIFY(IdentifyModule(user.Port(), station, record, UnitName));
            g_identified.push_back(record);
        }
        user.Release();
    }

    void init() { messages.Clear(); }

    // One letter per enabled command (single, loop, rate, display, erase, Display all, Erase all, offset,
    // coefficients, time, application parameters, halt, files), "-" per disabled one.
    void commandStatesFollowSelectionAndRun() {
        const struct {
            int module;   // -1 none, 0 probe, 2 XV
            int firmware; // low byte for the XV module
            CircuitRun run;
            bool entries;
            const char* enabled;
        } cases[] = {{-1, 0, CircuitRun::kIdle, true, "s-r--DE-----f"},
                     {0, 0, CircuitRun::kIdle, true, "slrdeDE-----f"},
                     {2, 0x36, CircuitRun::kIdle, true, "slrdeDEocta-f"},
                     {2, 0x37, CircuitRun::kIdle, true, "slrdeDEoctahf"},
                     {2, 0x37, CircuitRun::kIdle, false, "slr-e-E----hf"}, // no windows to open
                     {2, 0x37, CircuitRun::kSingle, true, "s--d-D-------"},
                     {0, 0, CircuitRun::kLoop, true, "-l-d-D-------"}};
        for (const auto& t : cases) {
            ModuleRecord record =
                t.module >= 0 ? g_identified[static_cast<size_t>(t.module)] : ModuleRecord{};
            record.stationInfo.wFirmwareVersion = static_cast<uint16_t>(0x2300 | t.firmware);
            CircuitInput in;
            in.moduleCount = 3;
            in.current = t.module >= 0 ? &record : nullptr;
            in.run = t.run;
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
        }
    }

    // One round fills the rows of the identified, active modules only; its button reads "stop" meanwhile. A
    // module's value window hears of each new value; removing the module closes it first.
    void singleRoundFillsOnlyMeasuredRows() {
        LoadLanguageModule(QStringLiteral("Terrix English"), true);
        BusContext context;
        ModuleRecord disabled = g_identified[1];
        disabled.bDisabled = 1;
        Fill(context, {g_identified[0], disabled, g_identified[2], Placeholder(40, msFailed, 5),
                       Placeholder(41, msNotIdentified, 6)});
        QPointer<FakeValueWindow> opened;
        ModuleWindows windows;
        windows.createValueWindow = [&](BusContext&, QWidget* owner, ModuleRecord&, CMeasValueStore&) {
            auto* view = new FakeValueWindow(owner);
            opened = view;
            return static_cast<MeasValueView*>(view);
        };
        CMeasCircuitDlg window(context, nullptr, windows);
        window.show();
        window.List()->Select(0);
        window.DisplayButton()->click();
        QVERIFY(opened != nullptr && opened->isVisible());
        window.RateEdit()->setText(QStringLiteral("0"));
        const QString caption = window.SingleButton()->text();
        window.SingleButton()->click();
        QCOMPARE(window.SingleButton()->text(), Text(24777));
        QVERIFY(!window.LoopButton()->isEnabled());
        QVERIFY(WaitIdle(window));
        QCOMPARE(window.SingleButton()->text(), caption);
        QVERIFY(window.LoopButton()->isEnabled());
        const bool measured[] = {true, false, true, false, false};
        for (int row = 0; row < 5; ++row) {
            const QString value = window.CellText(row, CMeasCircuitDlg::kColValue);
            QVERIFY2(value.isEmpty() != measured[row], qPrintable(QString::number(row) + ": " + value));
            QCOMPARE(window.CellText(row, CMeasCircuitDlg::kColValues), measured[row] ? "1" : "0");
        }
        // Both channels of a probe with their units, three spaces apart.
        QVERIFY2(QRegularExpression(QStringLiteral("^[0-9.]+ %   [0-9.]+ \u00b0C$"))
                     .match(window.CellText(0, CMeasCircuitDlg::kColValue))
                     .hasMatch(),
                 qPrintable(window.CellText(0, CMeasCircuitDlg::kColValue)));
        QCOMPARE(CIniSection(SettingsFilePath(), "MeasCircDlg").ReadDWord("dwMeasTime", 20), 0u);
        QCOMPARE(opened->newValues, 1);
        window.List()->Select(0);
        window.MenuAction(CMeasCircuitDlg::ID_REMOVE)->trigger();
        QVERIFY(opened.isNull());
        QCOMPARE(window.ModuleCount(), 4u);
    }

    // With a broker in the settings, measuring starts publishing: the line says why it waits and how many
    // records do, and that it is connected once the broker runs.
    void publishingLineFollowsThePublisher() {
        LoadLanguageModule(QStringLiteral("Terrix English"), true);
        test::TestBroker broker;
        QVERIFY2(broker.Start(), broker.Log().c_str());
        broker.Stop();
        PublishSettings settings;
        settings.url = broker.Url();
        QVERIFY(WritePublishSettings(SettingsFilePath(), settings));
        BusContext context;
        Fill(context, {g_identified[0]});
        CMeasCircuitDlg window(context, nullptr, ModuleWindows{});
        window.show();
        QVERIFY(window.PublishLabel()->isHidden());
        window.RateEdit()->setText(QStringLiteral("0"));
        window.SingleButton()->click();
        QVERIFY(WaitIdle(window));
        const QString stored = window.CellText(0, CMeasCircuitDlg::kColValues);
        const QString where = QString::fromStdString("127.0.0.1:" + std::to_string(broker.Port()));
        QTRY_COMPARE_WITH_TIMEOUT(
            window.PublishLabel()->text(),
            QStringLiteral("Publishing to %1 waits (connection refused); records waiting: %2")
                .arg(where, stored),
            10000);
        QVERIFY(window.PublishLabel()->isVisible());
        QVERIFY(window.PublishLabel()->toolTip().startsWith(QStringLiteral("Connection refused")));
        QVERIFY(broker.Start());
        QTRY_COMPARE_WITH_TIMEOUT(
            window.PublishLabel()->text(),
            QStringLiteral("Publishing to %1: connected; records waiting: 0").arg(where), 15000);
        window.close(); // stops the publisher
        QVERIFY(WritePublishSettings(SettingsFilePath(), {}));
    }

    // Closing the window while the loop measures stops it (AddressSanitizer watches the values on their way).
    // The first open shows every column where the screen is wide enough; a stored placement still wins.
    void firstOpenShowsEveryColumn() {
        CIniSection(SettingsFilePath(), "MeasCircDlg").ResetSection("MeasCircDlg");
        BusContext context;
        Fill(context, {g_identified[0], g_identified[2]});
        QRect stored;
        {
            CMeasCircuitDlg window(context, nullptr, {});
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            const int columns = window.List()->horizontalHeader()->length();
            const int available = window.screen()->availableGeometry().width();
            // (The test platform's screen is narrower than the window's own layout: then nothing changes.)
            QVERIFY2(window.List()->viewport()->width() >= columns || window.width() >= available,
                     qPrintable(QStringLiteral("columns %1, list %2, window %3, screen %4")
                                    .arg(columns)
                                    .arg(window.List()->viewport()->width())
                                    .arg(window.width())
                                    .arg(available)));
            window.setGeometry(40, 50, 500, 300);
            stored = window.geometry();
            QVERIFY(window.SaveWindowPlacement("MeasCircDlg"));
        }
        CMeasCircuitDlg again(context, nullptr, {});
        again.show();
        QVERIFY(QTest::qWaitForWindowExposed(&again));
        QCOMPARE(again.geometry(), stored);
    }

    void loopStopsByItsButtonAndByClosing() {
        BusContext context;
        Fill(context, {g_identified[0], g_identified[2]});
        auto* window = new CMeasCircuitDlg(context, nullptr, {});
        window->Create();
        window->RateEdit()->setText(QStringLiteral("0"));
        window->LoopButton()->click();
        QCOMPARE(window->Running(), CircuitRun::kLoop);
        QVERIFY(QTest::qWaitFor([&] { return !window->CellText(1, CMeasCircuitDlg::kColValue).isEmpty(); },
                                30000));
        window->LoopButton()->click();
        QVERIFY(WaitIdle(*window));
        QVERIFY(window->SingleButton()->isEnabled());
        QCOMPARE(context.portContext.hPort, kInvalidPort);

        window->LoopButton()->click();
        QVERIFY(QTest::qWaitFor(
            [&] {
                return window->Loop().State() == MeasLoopState::kMeasuring ||
                       window->Loop().State() == MeasLoopState::kWaiting;
            },
            5000));
        QPointer<CMeasCircuitDlg> alive(window);
        window->close();
        QTRY_VERIFY(alive.isNull()); // deleted on close
        QCOMPARE(context.portContext.hPort, kInvalidPort);
        QVERIFY(!PortUser::IsReserved(context.portContext));
    }

    // What the window says of a lost port and of its return, in either order of events it may see.
    void portOutageNoticeTexts() {
        LoadLanguageModule(QStringLiteral("Terrix English"), true);
        PortOutageNotice notice;
        const QDateTime lostAt(QDate(2026, 12, 7), QTime(14, 3, 12));
        notice.Back(5, lostAt); // no loss reported: nothing to say
        QCOMPARE(notice.GetState(), PortOutageNotice::State::kNone);
        QVERIFY(notice.Text().isEmpty());

        PortOutage outage;
        outage.active = true;
        outage.device = "/dev/ttyUSB0";
        outage.retrySeconds = 20;
        notice.Lost(outage, lostAt);
        QVERIFY(notice.PortLost());
        QCOMPARE(notice.Text(), QStringLiteral("Connection to /dev/ttyUSB0 lost at 07.12.2026 14:03:12. Last "
                                               "stored values: none in this measurement. The port is tried "
                                               "every 20 s; measuring goes on by itself when the device "
                                               "answers again."));
        outage.lastStoredStamp = PackTimeStamp({7, 12, 2026, 14, 2, 50});
        notice.Lost(outage, lostAt);
        QVERIFY(notice.Text().contains(QStringLiteral("Last stored values: 07.12.2026 14:02:50.")));

        notice.Back(3 * 3600 + 138, lostAt.addSecs(3 * 3600 + 138));
        QVERIFY(!notice.PortLost());
        QCOMPARE(notice.Text(),
                 QStringLiteral("Connection to /dev/ttyUSB0 back at 07.12.2026 17:05:30 after a "
                                "gap of 03:02:18 (since 07.12.2026 14:03:12); measuring goes "
                                "on."));
        LoadLanguageModule(QStringLiteral("Terrix Deutsch"), true);
        QVERIFY2(notice.Text().startsWith(QStringLiteral("Verbindung zu /dev/ttyUSB0")),
                 qPrintable(notice.Text()));
        LoadLanguageModule(QStringLiteral("Terrix English"), true);
        notice.Clear();
        QVERIFY(notice.Text().isEmpty());
    }

    // The simulated adapter pulled out while the loop measures: the window says so above the list, marks the
    // measured modules, and tells the frame it waits for the port; plugged in again, measuring goes on by
    // itself and the window says so. Closing it meanwhile asks; No keeps it measuring.
    void lostPortIsShownAndMeasuringGoesOnWhenItIsBack() {
        LoadLanguageModule(QStringLiteral("Terrix English"), true);
        std::string error;
        const std::shared_ptr<sim::VirtualBus> bus = sim::SharedBus("", error);
        QVERIFY(bus != nullptr);
        BusContext context;
        Fill(context, {g_identified[0], g_identified[2]});
        CMeasCircuitDlg window(context, nullptr, {});
        window.show();
        window.RateEdit()->setText(QStringLiteral("1"));
        window.LoopButton()->click();
        const auto values = [&] { return window.CellText(1, CMeasCircuitDlg::kColValues).toInt(); };
        QVERIFY(QTest::qWaitFor([&] { return values() >= 1; }, 30000));
        QVERIFY(window.OutageLabel()->isHidden());

        bus->SetUnplugged(true);
        QVERIFY(QTest::qWaitFor([&] { return window.Outage().PortLost(); }, 30000));
        QVERIFY(window.OutageLabel()->isVisible());
        QVERIFY2(window.OutageLabel()->text().startsWith(QStringLiteral("Connection to sim lost at ")),
                 qPrintable(window.OutageLabel()->text()));
        const QAbstractItemModel* model = window.List()->model();
        QCOMPARE(model->data(model->index(0, CMeasCircuitDlg::kColStatus), Qt::ToolTipRole).toString(),
                 QStringLiteral("No connection: the port's device has gone"));
        QTRY_COMPARE(MeasuringStatus::Instance().Get(&context).phase, LoopPhase::kPortLost);
        QCOMPARE(window.Running(), CircuitRun::kLoop);
        const int valuesWhileLost = values();

        // Closing asks; No keeps everything running.
        messages.answers = {QMessageBox::No};
        window.close();
        QCOMPARE(messages.Texts(), QStringList{StopMeasuringQuestion()});
        QVERIFY(window.isVisible());

        bus->SetUnplugged(false);
        QVERIFY(QTest::qWaitFor([&] { return window.Outage().GetState() == PortOutageNotice::State::kBack; },
                                30000));
        QVERIFY2(window.OutageLabel()->text().contains(QStringLiteral(" after a gap of 00:00:")),
                 qPrintable(window.OutageLabel()->text()));
        QVERIFY(model->data(model->index(0, CMeasCircuitDlg::kColStatus), Qt::ToolTipRole).isNull());
        QVERIFY(QTest::qWaitFor([&] { return values() > valuesWhileLost; }, 30000));

        messages.Clear();
        window.close(); // Yes: stop and close
        QCOMPARE(messages.Texts(), QStringList{StopMeasuringQuestion()});
        QVERIFY(!window.isVisible());
        QCOMPARE(MeasuringStatus::Instance().Get(&context).phase, LoopPhase::kIdle);
        QVERIFY(!PortUser::IsReserved(context.portContext));
    }

    // While the loop measures, bus and deleting commands are refused; the frame's status bar says when the
    // next round is due; closing the program asks first and stops the loop on Yes.
    void closingTheFrameStopsTheLoop() {
        FrameWindows windows;
        RegisterCircuitWindows(windows);
        CMainFrame frame(windows);
        Fill(*frame.GetBusContext(), {g_identified[0]});
        frame.show();
        frame.OnDisplay();
        auto* window = qobject_cast<CMeasCircuitDlg*>(frame.CircuitWindow());
        QVERIFY(window != nullptr);
        window->RateEdit()->setText(QStringLiteral("30"));
        window->LoopButton()->click();
        QVERIFY(BusActivity::IsBusy(*frame.GetBusContext()));
        const QString bus = QStringLiteral("talks to the module over the bus");
        const QString files = QStringLiteral("works on measurement files");
        const std::pair<int, QString> commands[] = {{CMeasCircuitDlg::ID_RESCAN, bus},
                                                    {CMeasCircuitDlg::ID_REMOVE, files},
                                                    {CMeasCircuitDlg::ID_RECREATE_ASCII, files}};
        for (const auto& [id, text] : commands) {
            messages.Clear();
            window->MenuAction(id)->trigger();
            QVERIFY2(messages.Texts().size() == 1 && messages.Texts()[0].contains(text),
                     qPrintable(QString::number(id)));
        }
        QCOMPARE(window->ModuleCount(), 1u);
        QTRY_VERIFY_WITH_TIMEOUT(frame.MeasuringPane()->text().startsWith(
                                     QStringLiteral("Measuring loop running: next round at ")),
                                 30000);
        QVERIFY(frame.MeasuringPane()->isVisible());

        messages.Clear();
        messages.answers = {QMessageBox::No};
        frame.close();
        QCOMPARE(messages.Texts(), QStringList{StopMeasuringQuestion()});
        QVERIFY(frame.isVisible());
        QCOMPARE(window->Running(), CircuitRun::kLoop);

        messages.Clear();
        frame.close();
        QVERIFY(QTest::qWaitFor([&] { return !frame.isVisible(); }, 10000));
        // Asked once: the window, stopped by then, asks no more.
        QCOMPARE(messages.Texts(), QStringList{StopMeasuringQuestion()});
        QVERIFY(frame.MeasuringPane()->isHidden());
        QVERIFY(frame.CircuitWindow() == nullptr);
        QVERIFY(!PortUser::IsReserved(frame.GetBusContext()->portContext));
    }

    // While measuring, what needs neither the bus nor the files runs; the rest waits for the loop to stop.
    void commandsThatMustWaitForTheLoop() {
        using W = CMeasCircuitDlg;
        const std::pair<int, MeasuringConflict> rules[] = {{W::ID_DISPLAY_VALUES, MeasuringConflict::kNone},
                                                           {W::ID_DISPLAY_ALL, MeasuringConflict::kNone},
                                                           {W::ID_EDIT_USER_INFO, MeasuringConflict::kNone},
                                                           {W::ID_ACTIVATE, MeasuringConflict::kNone},
                                                           {W::ID_RESCAN, MeasuringConflict::kBus},
                                                           {W::ID_STATION_NUMBER, MeasuringConflict::kBus},
                                                           {W::ID_RESET_BAUD, MeasuringConflict::kBus},
                                                           {W::ID_ERROR66, MeasuringConflict::kBus},
                                                           {W::ID_ACTIVE_CALIB, MeasuringConflict::kBus},
                                                           {W::ID_OFFSET, MeasuringConflict::kBus},
                                                           {W::ID_COEFFICIENTS, MeasuringConflict::kBus},
                                                           {W::ID_CONVERSION_TIME, MeasuringConflict::kBus},
                                                           {W::ID_APP_PARAMS, MeasuringConflict::kBus},
                                                           {W::ID_HALT_STATE, MeasuringConflict::kBus},
                                                           {W::ID_REMOVE, MeasuringConflict::kFiles},
                                                           {W::ID_RECREATE_ASCII, MeasuringConflict::kFiles},
                                                           {W::ID_ERASE, MeasuringConflict::kFiles},
                                                           {W::ID_ERASE_ALL, MeasuringConflict::kFiles},
                                                           {W::ID_COPY_FILES, MeasuringConflict::kFiles}};
        for (const auto& [command, conflict] : rules) {
            QVERIFY2(ConflictWhileMeasuring(command) == conflict, qPrintable(QString::number(command)));
        }

        // The window: the user info opens while the loop measures, the station number is refused with the
        // reason in the user's language; without a selected row it asks for one (24637). The active
        // calibration is a command of the module menu, for XV modules.
        LoadLanguageModule(QStringLiteral("Terrix Deutsch"), true);
        BusContext context;
        Fill(context, {g_identified[0], g_identified[2]});
        std::vector<int> opened;
        ModuleWindows windows;
        const auto dialog = [&opened](int command) {
            return [&opened, command](BusContext&, QWidget*, ModuleRecord&) {
                opened.push_back(command);
                return false;
            };
        };
        windows.userData = dialog(W::ID_EDIT_USER_INFO);
        windows.changeStationNumber = dialog(W::ID_STATION_NUMBER);
        windows.activeCalibration = dialog(W::ID_ACTIVE_CALIB);
        CMeasCircuitDlg window(context, nullptr, windows);
        window.show();
        QAction* activeCalib = window.MenuAction(W::ID_ACTIVE_CALIB);
        QVERIFY(activeCalib != nullptr && activeCalib->isEnabled());
        QCOMPARE(activeCalib->text(), QStringLiteral("Aktive Kalibrierung setzen"));
        window.List()->Select(0); // a probe
        activeCalib->trigger();
        window.List()->Select(1); // the XV module
        activeCalib->trigger();
        QCOMPARE(messages.Texts(), QStringList{Text(24708)});
        window.List()->setCurrentIndex(QModelIndex());
        window.MenuAction(W::ID_STATION_NUMBER)->trigger();
        QCOMPARE(messages.Texts(), (QStringList{Text(24708), Text(24637)}));

        messages.Clear();
        window.List()->Select(1);
        window.RateEdit()->setText(QStringLiteral("30"));
        window.LoopButton()->click();
        QVERIFY(window.Loop().IsMeasuring());
        window.MenuAction(W::ID_EDIT_USER_INFO)->trigger();
        window.MenuAction(W::ID_STATION_NUMBER)->trigger();
        QCOMPARE(messages.Texts().size(), 1);
        QVERIFY2(messages.Texts()[0].contains(QString::fromUtf8("Halten Sie die Meßschleife an („Stop“)")),
                 qPrintable(messages.Texts()[0]));
        QCOMPARE(opened, (std::vector<int>{W::ID_ACTIVE_CALIB, W::ID_EDIT_USER_INFO}));
        window.LoopButton()->click();
        QVERIFY(WaitIdle(window));
        LoadLanguageModule(QStringLiteral("Terrix English"), true);
    }

    // Only a double click or a key opens a value window, also where the desktop opens items on one click.
    void singleClickOpensNoValueWindow() {
        BusContext context;
        Fill(context, {g_identified[0], g_identified[1]});
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

    void removeActivateAndRescan() {
        BusContext context;
        Fill(context, {g_identified[0], Placeholder(77, msIdentified, 777)});
        CMeasCircuitDlg window(context, nullptr, {});
        window.show();

        window.List()->Select(1);
        window.MenuAction(CMeasCircuitDlg::ID_RESCAN)->trigger();
        QCOMPARE(messages.Texts(), QStringList{Text(24671)});
        QCOMPARE(window.CellText(1, CMeasCircuitDlg::kColSerial), QStringLiteral("777"));
        QCOMPARE(window.CellText(1, CMeasCircuitDlg::kColStation), QStringLiteral("77"));

        for (int expected : {1, 0}) {
            window.MenuAction(CMeasCircuitDlg::ID_ACTIVATE)->trigger();
            CIniSection file = CIniSection::ForModule(777);
            file.SetSection("ModuleInfo");
            QCOMPARE(file.ReadInt("bDisabled", -1), expected);
        }

        for (int i = 0; i < 2; ++i) {
            window.List()->Select(0);
            window.MenuAction(CMeasCircuitDlg::ID_REMOVE)->trigger();
        }
        QCOMPARE(window.CountEdit()->text(), QStringLiteral("0"));
        QCOMPARE(window.List()->model()->rowCount(), 0);
        QCOMPARE(window.List()->EmptyText(), Text(32790));
        QVERIFY(!window.SingleButton()->isEnabled());
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

    // The halt state is read and set; a module that does not answer, or another module at the station, leaves
    // the command choices disabled.
    void haltStateReadsSetsAndLocksAfterFailedRead() {
        BusContext context;
        Fill(context, {});
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

        // Another module at the record's station: refused before the state is read, so nothing can be set.
        messages.Clear();
        ModuleRecord moved = g_identified[2];
        moved.stationInfo.wSerialNo = 4242;
        CHaltMeasStateDlg refused(context, nullptr, moved);
        refused.show();
        QTRY_VERIFY(!BusJob::Runs(&refused));
        QCOMPARE(messages.messages.size(), 1u);
        QVERIFY2(messages.Texts().front().contains(QStringLiteral("(serial number 4242)")),
                 qPrintable(messages.Texts().front()));
        QVERIFY(!refused.CommandRadio(0)->isEnabled() && !refused.CommandRadio(1)->isEnabled());
    }

    // Without the port nothing is sent, and the saved bus stays.
    void createCollisionsKeepsTheSavedBusWithoutAPort() {
        BusContext context;
        Fill(context, {g_identified[0]});
        context.portContext.device = "/nonexistent/tty";
        CIniSection settings(SettingsFilePath(), "BUS INFO");
        QVERIFY(settings.WriteDWord("dwCount", 1));
        CCreateCollisionsDlg dialog(context, nullptr);
        dialog.show();
        QTRY_VERIFY(!BusJob::Runs(&dialog));
        QVERIFY(!dialog.PortOpen());
        dialog.StationEdit()->setValue(251);
        dialog.accept();
        QCOMPARE(messages.messages.size(), 1u); // reserved station: said, nothing asked
        dialog.StationEdit()->setValue(7);
        dialog.accept(); // Yes, then the port failure
        QTRY_COMPARE(messages.messages.size(), 3u);
        QCOMPARE(messages.Texts()[1], Text(24627));
        QVERIFY(messages.Texts()[2].startsWith(Text(24655)));
        QVERIFY(CIniSection(SettingsFilePath(), "BUS INFO").HasKey("dwCount"));
        QCOMPARE(dialog.result(), 0);
    }

    // OK asks once and moves the modules once: the close after the bus work does not do the work again.
    void createCollisionsAsksAndSendsOnce() {
        BusContext context;
        Fill(context, {g_identified[0]});
        CCreateCollisionsDlg dialog(context, nullptr);
        dialog.show();
        QTRY_VERIFY(dialog.PortOpen());
        dialog.StationEdit()->setValue(7);
        dialog.accept();
        QTRY_VERIFY(!dialog.isVisible());
        QTest::qWait(50); // a repeated close would come queued
        QCOMPARE(messages.Texts(), QStringList{Text(24627)});
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        sim::ForgetSharedBuses(); // the built-in bus is back at its stations for the next case
    }

    // SIGTERM (as at logout) ends a measuring program without a question: the loop stops after its current
    // module and the frame closes. Last: the session stays ended for the rest of the program.
    void sessionEndStopsTheLoopWithoutAQuestion() {
        FrameWindows windows;
        RegisterCircuitWindows(windows);
        CMainFrame frame(windows);
        Fill(*frame.GetBusContext(), {g_identified[0], g_identified[2]});
        frame.show();
        SessionEnd::Install(&frame);
        frame.OnDisplay();
        auto* window = qobject_cast<CMeasCircuitDlg*>(frame.CircuitWindow());
        QVERIFY(window != nullptr);
        window->RateEdit()->setText(QStringLiteral("0"));
        window->LoopButton()->click();
        QVERIFY(QTest::qWaitFor([&] { return !window->CellText(1, CMeasCircuitDlg::kColValue).isEmpty(); },
                                30000));
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
