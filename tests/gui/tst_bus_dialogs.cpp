// The bus windows over the simulated bus in virtual time: scanning, resolving collisions, serial ports,
// traffic monitor, station number and conversion time. What a scan saves is the core's scan session's. The
// publishing settings against a Mosquitto broker of the test's own.

#include "config_dialog_support.h"
#include "core/bus/commands.h"
#include "core/busops/conversion_count.h"
#include "core/inventory/bus_info_file.h"
#include "core/platform/com_port.h"
#include "core/platform/ini_section.h"
#include "core/platform/pump_wait.h"
#include "gui/base/bus_job.h"
#include "gui/busops/conversion_time_dlg.h"
#include "gui/busops/resolve_collisions_dlg.h"
#include "gui/busops/scan_dlg.h"
#include "gui/busops/serial_ports_dlg.h"
#include "gui/busops/station_number_dlg.h"
#include "gui/busops/traffic_monitor.h"
#include "gui/frame/main_frame.h"
#include "gui/publish/publish_dlg.h"
#include "gui/toolkit/report_list_ctrl.h"
#include "gui/toolkit/string_catalogue.h"
#include "gui_test_support.h"
#include "support/temp_dir.h"
#include "support/test_broker.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTcpServer>
#include <QTest>
#include <QTimer>
#include <functional>

using namespace terrix;

namespace {

// Two collisions: two probes on station 5 and two on station 7, beside the multiplexer.
constexpr const char* kCollisionScenario = R"({"modules": [
    {"station": 252, "serialNo": 20513, "moduleName": "PX-ROV4", "moduleId": 1},
    {"station": 5, "serialNo": 1500, "moduleName": "PX-TAVIK2", "moduleId": 11},
    {"station": 5, "serialNo": 1501, "moduleName": "PX-TAVIK2", "moduleId": 11},
    {"station": 7, "serialNo": 1502, "moduleName": "PX-TAVIK2", "moduleId": 11},
    {"station": 7, "serialNo": 1503, "moduleName": "PX-TAVIK2", "moduleId": 11}]})";

// The requests the built-in simulated bus has had since the last call.
std::vector<sim::LoggedRequest> TakeRequests() {
    std::string error;
    const std::shared_ptr<sim::VirtualBus> bus = sim::SharedBus("", error);
    std::vector<sim::LoggedRequest> requests = bus->RequestLog();
    bus->ClearRequestLog();
    return requests;
}

// The address fields of the publishing form; no files.
PublishForm AddressForm(std::string server, std::string user = {}, std::string prefix = {}) {
    PublishForm form;
    form.server = std::move(server);
    form.user = std::move(user);
    form.prefix = std::move(prefix);
    return form;
}

// Calls `act` with the resolve-collisions dialog once it runs modally (from inside the scan).
void WhenResolveDialogRuns(const std::function<void(CResolveCollisionsDlg&)>& act) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, timer, [timer, act] {
        if (auto* dialog = qobject_cast<CResolveCollisionsDlg*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            act(*dialog);
        }
    });
    timer->start(10);
}

// Sets up a module dialog, shows it and waits until it has taken the port.
template <class Dialog> void OpenPort(Dialog& dialog) {
    QVERIFY(dialog.SetUp());
    dialog.show();
    QTRY_VERIFY(!BusJob::Runs(&dialog));
}

} // namespace

class TestBusDialogs : public QObject {
    Q_OBJECT

    test::TempDataDir data_;
    test::MessageRecorder messages;

private Q_SLOTS:
    // A dialog that waits for the bus on this thread fails its test.
    void initTestCase() { ForbidBusWaitsOnThisThread(); }

    void init() {
        messages.Clear();
        ForgetBusInfo();
        CIniSection().ResetSection("KNOWN MODULES");
    }

    // "scan completely" starts when shown, forgets the saved bus (probes 252 first) and closes with OK.
    void scanCompletelyAndCancel() {
        test::VirtualBusTime time;
        BusContext context;
        test::UseSimBus(context, {});
        // A saved bus of one module at station 1: a known-module scan would probe only there.
        CIniSection saved(SettingsFilePath(), std::string(kBusInfoSection));
        QVERIFY(saved.WriteDWord("Modules", 1) && saved.WriteString("Module0", "0,1"));
        CScanDlg dialog(context, nullptr, CScanDlg::kForgetBus);
        dialog.show();
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.isVisible(), 20000);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        const std::vector<sim::LoggedRequest> sent = TakeRequests(); // the baud-rate ladder (16) broadcasts
        const auto probe =
            std::ranges::find_if(sent, [](const sim::LoggedRequest& r) { return r.command != 16; });
        QVERIFY(probe != sent.end());
        QCOMPARE(probe->station, 252);
        QCOMPARE(dialog.ModulesText(), QStringLiteral("4"));
        QCOMPARE(dialog.ProgressBar()->value(), 100);
        QVERIFY2(messages.messages.empty(), qPrintable(messages.Texts().join(QLatin1Char('|'))));
    }

    // Cancel while the modules are resynchronised stops the scan and leaves the dialog open; the port context
    // is left as it was found, so the next scan of either kind opens the port and finds the bus.
    void cancelledStartUpLeavesTheBusUsable() {
        // In real time: the resynchronisation lasts long enough to be cancelled while it runs.
        RegisterSimTransportScheme();
        sim::ForgetSharedBuses();
        BusContext context;
        test::UseSimBus(context, {});
        CScanDlg cancelled(context, nullptr, CScanDlg::kDetailed | CScanDlg::kForgetBus);
        QTimer watch;
        bool cancelClicked = false;
        connect(&watch, &QTimer::timeout, &cancelled, [&] {
            if (!cancelClicked && cancelled.BannerText() == Text(24648) &&
                cancelled.CancelButton()->isEnabled()) {
                cancelClicked = true;
                cancelled.CancelButton()->click();
            }
        });
        watch.start(0);
        cancelled.show();
        // Start is also enabled before the scan starts: the scan is over once it is enabled after the Cancel.
        QTRY_VERIFY_WITH_TIMEOUT(cancelClicked && cancelled.StartButton()->isEnabled(), 20000);
        watch.stop();
        QVERIFY(cancelled.isVisible());
        QCOMPARE(cancelled.ModulesText(), QStringLiteral("0"));
        QCOMPARE(context.portContext.dwError, 0u);
        QCOMPARE(context.portContext.hPort, kInvalidPort);
        // A stop is no start-up failure ("no answer from any module") and no finding ("no module found").
        QVERIFY2(messages.messages.empty(), qPrintable(messages.Texts().join(QLatin1Char('|'))));
        cancelled.CancelButton()->click(); // the second Cancel closes (a disabled one would not)
        QVERIFY(!cancelled.isVisible());
        test::VirtualBusTime time;
        for (const uint32_t mode : {0u, uint32_t(CScanDlg::kDetailed | CScanDlg::kForgetBus)}) {
            CScanDlg again(context, nullptr, mode);
            again.show();
            QTRY_VERIFY_WITH_TIMEOUT(!again.isVisible(), 20000);
            QCOMPARE(again.result(), int(QDialog::Accepted));
            QCOMPARE(again.ModulesText(), QStringLiteral("4"));
        }
        QVERIFY2(messages.messages.empty(), qPrintable(messages.Texts().join(QLatin1Char('|'))));
    }

    // A port that does not open: the start-up message with the device and the reason, and only that.
    void portThatDoesNotOpen() {
        BusContext context;
        context.portContext.nPortNo = 1;
        context.portContext.device = "/nonexistent/ttyUSB9";
        CScanDlg dialog(context, nullptr, 0);
        dialog.show();
        QTRY_VERIFY(!dialog.isVisible());
        const QString text = messages.Texts().value(0);
        QVERIFY2(text.startsWith(Text(24652)) && text.contains(QStringLiteral("/nonexistent/ttyUSB9")),
                 qPrintable(text));
        // No station was asked: nothing may be said about modules on the bus.
        QCOMPARE(messages.messages.size(), size_t(1));
    }

    // Collisions open the resolve dialog: open while collisions are left, closed once they are gone.
    void collisionsAreResolvedBeforeSaving() {
        test::VirtualBusTime time;
        BusContext context;
        test::UseSimScenario(context, kCollisionScenario);
        CScanDlg scan(context, nullptr, CScanDlg::kDetailed | CScanDlg::kForgetBus);
        bool controlsDisabledDuringRun = true;
        QString collisionsAtOpen;
        int scanProgressAfterFirstRun = -1;
        WhenResolveDialogRuns([&](CResolveCollisionsDlg& dialog) {
            collisionsAtOpen = scan.CollisionsText();
            connect(dialog.ProgressBar(), &QProgressBar::valueChanged, &dialog, [&](int) {
                controlsDisabledDuringRun = controlsDisabledDuringRun && !dialog.StartButton()->isEnabled() &&
                                            !dialog.Sheet()->isEnabled();
            });
            // A range without any of the colliding serials leaves both collisions.
            dialog.Sheet()->range->from->SetValue(1);
            dialog.Sheet()->range->to->SetValue(40);
            dialog.StartButton()->click();
            QTRY_VERIFY_WITH_TIMEOUT(!dialog.IsRunning(), 20000);
            QVERIFY(dialog.isVisible());
            QCOMPARE(dialog.ProgressBar()->value(), 0);
            QCOMPARE(messages.Texts().value(0), Text(24657));
            scanProgressAfterFirstRun = scan.ProgressBar()->value();
            // The serial page with each colliding module in turn would do; the range covers all four.
            dialog.Sheet()->range->from->SetValue(1500);
            dialog.Sheet()->range->to->SetValue(1503);
            const QPointer<CResolveCollisionsDlg> resolving(&dialog);
            dialog.StartButton()->click(); // needs Start enabled again after the first run
            QTRY_VERIFY_WITH_TIMEOUT(resolving.isNull() || !resolving->isVisible(), 20000);
        });
        scan.show();
        QTRY_VERIFY_WITH_TIMEOUT(!scan.isVisible(), 30000);
        QCOMPARE(collisionsAtOpen, QStringLiteral("2"));
        QVERIFY(controlsDisabledDuringRun);
        QCOMPARE(scanProgressAfterFirstRun, 100); // the first run went through its 40 candidates
        QCOMPARE(scan.CollisionsText(), QStringLiteral("0"));
        QCOMPARE(messages.Texts().size(), 2);
    }

    // Opened over the main window at its default size, the dialog is no taller than that window. Its
    // known-modules page: serial 0 and duplicates are refused with their texts; Delete asks first.
    void resolveDialogFitsAndItsKnownModulesPage() {
        CMainFrame frame;
        frame.show();
        BusContext& context = *frame.GetBusContext();
        CResolveCollisionsDlg dialog(context, &frame);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QVERIFY2(dialog.height() <= frame.height(),
                 qPrintable(QStringLiteral("%1 > %2").arg(dialog.height()).arg(frame.height())));
        CResolveCollisionsByKnownSerNos& page = *dialog.Sheet()->known;
        const struct {
            uint32_t serial;
            QString message; // empty: added
            int rows;
        } cases[] = {{0, Text(24727), 0}, {4711, {}, 1}, {815, {}, 2}, {4711, Text(24728), 2}};
        for (const auto& c : cases) {
            messages.Clear();
            page.serial->SetValue(c.serial);
            page.add->click();
            QCOMPARE(messages.Texts().value(0), c.message);
            QCOMPARE(page.list->model()->rowCount(), c.rows);
            QCOMPARE(page.serial->GetValue(),
                     c.message.isEmpty() ? 0u : c.serial); // refused: kept for editing
        }
        page.list->Select(0); // 815, sorted before 4711
        messages.Clear();
        messages.answers.push_back(QMessageBox::Cancel);
        page.remove->click();
        QCOMPARE(messages.Texts().value(0), Text(24730));
        QCOMPARE(page.list->model()->rowCount(), 2);
        page.remove->click(); // answered OK
        QCOMPARE(page.list->model()->rowCount(), 1);
        QCOMPARE(context.busList.KnownModules()->GetAt(0)->SerialNo(), 4711);
        QCOMPARE(CIniSection(SettingsFilePath(), "KNOWN MODULES").ReadDWord("Modules", 0), 1u);
    }

    // A device is offered by its stable name where it has one; the serial ports dialog stores the choice.
    void serialPorts() {
        QDir dir(data_.Path());
        QVERIFY(dir.mkpath(QStringLiteral("by-id")));
        test::WriteFileBytes(dir.filePath(QStringLiteral("ttyFAKE0")).toStdString(), "");
        test::WriteFileBytes(dir.filePath(QStringLiteral("ttyFAKE1")).toStdString(), "");
        const QString link = dir.filePath(QStringLiteral("by-id/usb-FTDI_FT232R_A1B2-if00-port0"));
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("ttyFAKE0")), link));
        const QString byId = dir.filePath(QStringLiteral("by-id"));
        QCOMPARE(StableDeviceName(dir.filePath(QStringLiteral("ttyFAKE0")), byId), link);
        QCOMPARE(StableDeviceName(dir.filePath(QStringLiteral("ttyFAKE1")), byId), QString());
        QCOMPARE(StableDeviceName(dir.filePath(QStringLiteral("ttyMISSING")), byId), QString());

        // OK stores only what changed; Test names the device and the cause when it cannot be opened.
        BusContext context;
        CSerialPortsDlg dialog(context, nullptr);
        dialog.PortCombo(2)->setEditText(QStringLiteral("/nonexistent/ttyUSB7"));
        dialog.OnTest(2);
        QVERIFY2(messages.Texts().value(0).contains(QStringLiteral("/nonexistent/ttyUSB7")),
                 qPrintable(messages.Texts().value(0)));
        dialog.PortCombo(3)->setEditText(QStringLiteral("sim"));
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        const CIniSection ports(SettingsFilePath(), "Serial ports");
        QVERIFY(!ports.HasKey("COM1"));
        QCOMPARE(ports.ReadString("COM2", ""), std::string("/nonexistent/ttyUSB7"));
        QCOMPARE(PortDeviceName(3), std::string("sim"));
    }

    // Frames are listed, the oldest dropped beyond the limit; a pause lists nothing; the list saves as text.
    void trafficMonitor() {
        test::VirtualBusTime time;
        BusContext context;
        CTrafficMonitor monitor(context, nullptr, 3);
        const QAbstractItemModel& model = monitor.Model();
        const auto cell = [&](int row, int column) { return model.index(row, column).data().toString(); };
        using T = TrafficModel;
        test::TestTalksToTheBus traffic;
        const PortHandle port = ComOpenDevice("sim", kBusBaud);
        StationInfoBlock block{};
        QVERIFY(ReadStationInfo(port, 2, block));
        QTRY_COMPARE(model.rowCount(), 2);
        QCOMPARE(cell(0, T::kStation), QStringLiteral("2"));
        QCOMPARE(cell(0, T::kCommand), QStringLiteral("2 read station info"));
        QVERIFY(!ReadStationInfo(port, 99, block)); // nobody there: the reply's failure is listed
        QTRY_COMPARE(monitor.Model().Size(), size_t(3));
        QVERIFY(cell(0, T::kOutcome).startsWith(QStringLiteral("ok")));
        QCOMPARE(cell(1, T::kStation), QStringLiteral("99"));
        // The time-out is labelled as one, with the station and command that were asked.
        QCOMPARE((QStringList{cell(2, T::kDirection), cell(2, T::kStation), cell(2, T::kCommand),
                              cell(2, T::kOutcome)}),
                 (QStringList{"time-out", "99", "2 read station info", "9 Module does not answer"}));
        // Every column is wide enough for every row and the grid line (time stamps and bytes are not cut).
        for (int row = 0; row < model.rowCount(); ++row) {
            for (int column = 0; column < TrafficModel::kColumnCount; ++column) {
                QVERIFY2(monitor.View()->columnWidth(column) >
                             monitor.View()->sizeHintForIndex(model.index(row, column)).width(),
                         qPrintable(QStringLiteral("row %1, column %2").arg(row).arg(column)));
            }
        }

        const QString path = data_.File(QStringLiteral("trace.txt"));
        QString error;
        QVERIFY(monitor.SaveText(path, error));
        QCOMPARE(std::ranges::count(test::ReadFileBytes(path.toStdString()), '\n'), 3);

        monitor.Model().Clear();
        monitor.PauseButton()->click();
        QVERIFY(ReadStationInfo(port, 1, block));
        QTest::qWait(20);
        QCOMPARE(model.rowCount(), 0);
        monitor.PauseButton()->click();
        QVERIFY(ReadStationInfo(port, 1, block));
        QTRY_COMPARE(model.rowCount(), 2);
        ComClose(port);
    }

    // The XV conversion time; station numbers refused before anything is sent, then a confirmed move.
    void conversionTimeAndStationNumber() {
        test::VirtualBusTime time;
        BusContext context;
        // The built-in bus: probes at stations 1 and 2, the XV module at 3.
        test::UseSimBus(context, test::IdentifiedSimModules({1, 2, 3}));
        QCOMPARE(context.busList.Count(), 3u);
        ModuleRecord& xv = *context.busList.FindByStation(3);
        xv.dwNumberOfMeas0 = 100;
        {
            CConversionTimeDlg dialog(context, nullptr, xv);
            OpenPort(dialog);
            QCOMPARE(dialog.PreviousEdit()->GetValue(), 76u);
            // The entry is limited to the times whose count fits the module's five-digit field.
            QVERIFY(dialog.NewEdit()->SetValue(MaxConversionSeconds()));
            QVERIFY(!dialog.NewEdit()->SetValue(MaxConversionSeconds() + 1));
            QVERIFY(dialog.NewEdit()->SetValue(60));
            dialog.accept();
            QTRY_COMPARE(dialog.result(), int(QDialog::Accepted));
        }
        QCOMPARE(xv.dwNumberOfMeas0, 79u);

        // Only the XV module converts by a count.
        messages.Clear();
        QVERIFY(!RunConversionTimeDialog(context, nullptr, *context.busList.FindByStation(1)));
        QCOMPARE(messages.Texts().value(0), Text(24638));

        // A disabled module and a collision placeholder are refused before anything is sent.
        ModuleRecord& first = *context.busList.FindByStation(1);
        for (const auto& [disabled, state, text] :
             {std::tuple{1, first.enModuleState, 24639}, std::tuple{0, msCollision, 24638}}) {
            test::MessageRecorder messages;
            ModuleRecord record = first;
            record.bDisabled = disabled;
            record.enModuleState = state;
            TakeRequests();
            QVERIFY2(!RunStationNumberDialog(context, nullptr, record), qPrintable(QString::number(text)));
            QCOMPARE(messages.Texts().value(0), FindText(TextKind::String, text));
            QVERIFY(TakeRequests().empty());
        }

        messages.Clear();
        CStationNumberDlg dialog(context, nullptr, first);
        OpenPort(dialog);
        // A typo shows the module's station again (not 0), so Enter does not move it anywhere.
        for (const char* typed : {"253", "abc"}) {
            QTRY_VERIFY(!dialog.NewEdit()->IsDiscardingTypeAhead());
            messages.Clear();
            dialog.NewEdit()->selectAll();
            QTest::keyClicks(dialog.NewEdit(), QLatin1String(typed));
            QCOMPARE(dialog.NewEdit()->GetValue(), 1u);
            QCOMPARE(dialog.NewEdit()->text(), QStringLiteral("1"));
            QCOMPARE(messages.messages.size(), size_t(1));
        }
        QVERIFY(messages.Texts().value(0).contains(QStringLiteral("number")));
        messages.Clear();
        TakeRequests();
        dialog.accept(); // unchanged: closes without asking or sending
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(messages.messages.empty());
        // Station 2 belongs to another module of the bus.
        QVERIFY(dialog.NewEdit()->SetValue(2));
        dialog.accept();
        QCOMPARE(messages.messages.size(), size_t(1));
        QVERIFY(messages.Texts().value(0).contains(QStringLiteral("already used")));
        QVERIFY(TakeRequests().empty());
        QCOMPARE(first.iaStation, 1);

        // A record whose station another module answers (swapped since the scan): refused before the move.
        messages.Clear();
        ModuleRecord stale = first;
        stale.stationInfo.wSerialNo = static_cast<uint16_t>(first.SerialNo() + 1);
        CStationNumberDlg staleDialog(context, nullptr, stale);
        OpenPort(staleDialog);
        staleDialog.NewEdit()->SetValue(10);
        staleDialog.accept();
        QTRY_VERIFY(!BusJob::Runs(&staleDialog));
        QVERIFY(messages.Texts().value(1).contains(QString::number(first.SerialNo())));
        QCOMPARE(messages.messages.size(), size_t(3)); // asked, refused, not done: nothing sent
        QCOMPARE(stale.iaStation, 1);

        messages.Clear();
        dialog.NewEdit()->SetValue(10);
        dialog.accept(); // confirmed (Yes), applied, "Change carried out."
        QTRY_COMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(messages.messages.size(), size_t(2));
        QCOMPARE(messages.Texts().value(0),
                 QStringLiteral("Move %1 from station 1 to station 10?").arg(first.SerialNo()));
        QCOMPARE(first.iaStation, 10);
    }

    // The dialog shows the stored address as server, user and prefix, and joins them again; what is not an
    // address stays whole. OK stores the section and refuses a malformed address.
    void publishSettingsRoundTrip() {
        const struct {
            const char* url;
            PublishForm form;
        } cases[] = {
            {"mqtts://logger@broker.example:8883/farm/north",
             AddressForm("mqtts://broker.example:8883", "logger", "farm/north")},
            {"mqtt://[::1]:1884/fleet", AddressForm("mqtt://[::1]:1884", "", "fleet")},
            {"broker.example/fleet", AddressForm("broker.example/fleet")}, // no scheme: kept whole
            {"", {}},
        };
        for (const auto& c : cases) {
            PublishSettings settings;
            settings.url = c.url;
            const PublishForm form = PublishForm::FromSettings(settings);
            QCOMPARE(form, c.form);
            if (std::string_view(c.url).find("://") != std::string_view::npos || c.url[0] == '\0') {
                QCOMPARE(form.ToSettings().url, std::string(c.url));
            }
        }
        // A host alone gets mqtt://; the user and prefix fields win over those typed into the server field.
        QCOMPARE(AddressForm(" broker ", "", "/fleet/").ToSettings().url, std::string("mqtt://broker/fleet"));
        QCOMPARE(AddressForm("mqtt://old@b:1/p", "new").ToSettings().url, std::string("mqtt://new@b:1/p"));

        const std::filesystem::path file = SettingsFilePath();
        const PublishSettings stored{.url = "mqtts://logger@broker:8883/farm",
                                     .passwordFile = "/etc/terrix/password",
                                     .caFile = "/etc/terrix/ca.pem",
                                     .certFile = "/etc/terrix/client.pem",
                                     .keyFile = "/etc/terrix/client.key"};
        QVERIFY(WritePublishSettings(file, stored));
        {
            CPublishDlg dialog(nullptr);
            QCOMPARE(dialog.Form().ToSettings(), stored);
            PublishForm form = dialog.Form();
            form.server = "broker:99999";
            dialog.SetForm(form);
            dialog.accept(); // malformed: refused, nothing stored
            QCOMPARE(dialog.result(), int(QDialog::Rejected));
            QVERIFY(messages.Texts().value(0).contains(QStringLiteral("65535")));
            QCOMPARE(ReadPublishSettings(file), stored);

            messages.answers = {QMessageBox::Yes}; // the files do not exist here: stored anyway
            form.server = "mqtts://other:8883";
            form.prefix = "farm/south";
            dialog.SetForm(form);
            dialog.accept();
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
        }
        PublishSettings expected = stored;
        expected.url = "mqtts://logger@other:8883/farm/south";
        QCOMPARE(ReadPublishSettings(file), expected);
        QVERIFY(WritePublishSettings(file, {}));
    }

    // "Test" against a real broker: refused while it is down, connected once it runs; and a dialog closed
    // while a test waits for a broker that never answers.
    void publishTestSaysWhatFailed() {
        test::TestBroker broker;
        QVERIFY2(broker.Start(), broker.Log().c_str());
        broker.Stop();
        CPublishDlg dialog(nullptr);
        dialog.SetForm(AddressForm("mqtt://127.0.0.1:" + std::to_string(broker.Port()), "", "fleet"));
        const auto test = [&dialog] {
            dialog.OnTest();
            QVERIFY(dialog.Testing());
            QVERIFY(!dialog.TestButton()->isEnabled());
            QTRY_VERIFY_WITH_TIMEOUT(!dialog.Testing(), 15000);
            QVERIFY(dialog.TestButton()->isEnabled());
        };
        test();
        QVERIFY2(dialog.ResultLabel()->text().startsWith(QStringLiteral("Connection refused")),
                 qPrintable(dialog.ResultLabel()->text()));
        QVERIFY(broker.Start());
        test();
        QVERIFY2(dialog.ResultLabel()->text().startsWith(QStringLiteral("Connected to 127.0.0.1:")),
                 qPrintable(dialog.ResultLabel()->text()));

        dialog.SetForm(AddressForm("mqtt://b:1")); // no prefix: said at once, no connection tried
        dialog.OnTest();
        QVERIFY(!dialog.Testing());
        QVERIFY(dialog.ResultLabel()->text().contains(QStringLiteral("no topic prefix")));

        QTcpServer silent; // accepts, never answers
        QVERIFY(silent.listen(QHostAddress::LocalHost));
        auto* closing = new CPublishDlg(nullptr);
        closing->SetForm(AddressForm("mqtt://127.0.0.1:" + std::to_string(silent.serverPort()), "", "fleet"));
        closing->OnTest();
        QTRY_VERIFY(silent.hasPendingConnections());
        QVERIFY(closing->Testing());
        delete closing; // the test's thread ends by itself; its answer goes nowhere
        QTest::qWait(300);
    }
};

QTEST_MAIN(TestBusDialogs)
#include "tst_bus_dialogs.moc"
