// The scanning dialog and the resolve-collisions dialog over the in-process simulated bus, in virtual time.

#include "core/bus/bus_trace.h"
#include "core/inventory/bus_info_file.h"
#include "core/platform/ini_section.h"
#include "gui/busops/resolve_collisions_dlg.h"
#include "gui/busops/scan_dlg.h"
#include "gui/toolkit/report_list_ctrl.h"
#include "gui/toolkit/string_catalogue.h"
#include "gui_test_support.h"
#include "virtual_bus_time.h"

#include <QApplication>
#include <QFile>
#include <QProgressBar>
#include <QPushButton>
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

// The station of the first frame sent to one module (the baud-rate ladder before it is a broadcast).
class FirstProbe final : public BusTraceObserver {
public:
    FirstProbe() { SetBusTraceObserver(this); }
    ~FirstProbe() override { SetBusTraceObserver(nullptr); }
    void OnFrame(const BusTraceEvent& event) override {
        if (station < 0 && event.direction == BusTraceEvent::Direction::Sent && event.bytes.size() > 4 &&
            event.bytes[4] != 16) {
            station = event.bytes[0];
        }
    }
    int station = -1;
};

uint32_t SavedModules() {
    CIniSection busInfo;
    busInfo.SetSection(std::string(kBusInfoSection));
    return busInfo.ReadDWord("Modules", 0);
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

} // namespace

class TestScanDlg : public QObject {
    Q_OBJECT

    test::TempDataDir data_;

    static void UseBus(BusContext& context, const QString& scenario = {}) {
        context.portContext.nPortNo = 1;
        context.portContext.device = "sim";
        if (!scenario.isEmpty()) {
            const QString path =
                QDir(QDir::tempPath())
                    .filePath(
                        QStringLiteral("terrix_scan_dlg_%1.json").arg(QCoreApplication::applicationPid()));
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(scenario.toUtf8());
            context.portContext.device = "sim:" + path.toStdString();
        }
    }

private Q_SLOTS:
    void init() {
        ForgetBusInfo();
        CIniSection().ResetSection("KNOWN MODULES");
    }

    // "scan completely": starts by itself when shown, forgets the saved bus (station 252 is probed first),
    // saves the complete bus and closes with OK.
    void scanCompletelyOnShow() {
        test::VirtualBusTime time;
        test::MessageRecorder messages;
        BusContext context;
        UseBus(context);
        {
            CIniSection busInfo; // a saved bus of one module: a known-module scan would probe only station 1
            busInfo.SetSection(std::string(kBusInfoSection));
            busInfo.WriteDWord("Modules", 1);
        }
        FirstProbe probe;
        CScanDlg dialog(context, nullptr, CScanDlg::kForgetBus);
        dialog.show();
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.isVisible(), 20000);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(probe.station, 252);
        QCOMPARE(context.busList.Count(), 4u);
        QCOMPARE(dialog.ModulesText(), QStringLiteral("4"));
        QCOMPARE(dialog.ProgressBar()->value(), 100);
        QCOMPARE(SavedModules(), 4u);
        QVERIFY2(messages.messages.empty(), qPrintable(messages.Texts().join(QLatin1Char('|'))));
    }

    // A port that does not open: the start-up message with the device and the reason; nothing is saved.
    void portThatDoesNotOpen() {
        test::MessageRecorder messages;
        BusContext context;
        context.portContext.nPortNo = 1;
        context.portContext.device = "/nonexistent/ttyUSB9";
        CScanDlg dialog(context, nullptr, 0);
        dialog.show();
        QTRY_VERIFY(!dialog.isVisible());
        const QString text = messages.Texts().value(0);
        QVERIFY2(text.startsWith(Text(24652)) && text.contains(QStringLiteral("/nonexistent/ttyUSB9")),
                 qPrintable(text));
        QCOMPARE(SavedModules(), 0u);
    }

    // The first Cancel stops the scan and leaves the dialog open with "Start" enabled, nothing saved; the
    // second closes it.
    void cancelTwice() {
        test::VirtualBusTime time;
        test::MessageRecorder messages;
        BusContext context;
        UseBus(context);
        CScanDlg dialog(context, nullptr, CScanDlg::kDetailed | CScanDlg::kForgetBus);
        connect(dialog.ProgressBar(), &QProgressBar::valueChanged, &dialog, [&](int value) {
            if (value >= 5 && dialog.CancelButton()->isEnabled()) {
                dialog.CancelButton()->click();
            }
        });
        dialog.show();
        QTRY_VERIFY_WITH_TIMEOUT(dialog.StartButton()->isEnabled(), 20000);
        QVERIFY(!dialog.IsScanning());
        QVERIFY(dialog.isVisible());
        QVERIFY(dialog.CancelButton()->isEnabled());
        QVERIFY(dialog.ProgressBar()->value() < 100);
        QCOMPARE(SavedModules(), 0u);
        dialog.CancelButton()->click();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }

    // Collisions open the resolve-collisions dialog before anything is saved. A run that leaves collisions
    // keeps it open with progress 0; one that removes them closes it, and only then is the bus saved. The
    // scanning dialog's fields follow the resolution.
    void collisionsAreResolvedBeforeSaving() {
        test::VirtualBusTime time;
        test::MessageRecorder messages;
        BusContext context;
        UseBus(context, QString::fromUtf8(kCollisionScenario));
        CScanDlg scan(context, nullptr, CScanDlg::kDetailed | CScanDlg::kForgetBus);
        int resolveRuns = 0;
        bool savedBeforeResolution = true;
        bool controlsDisabledDuringRun = true;
        QString collisionsAtOpen;
        int scanProgressAfterFirstRun = -1;
        WhenResolveDialogRuns([&](CResolveCollisionsDlg& dialog) {
            savedBeforeResolution = SavedModules() != 0;
            collisionsAtOpen = scan.CollisionsText();
            connect(dialog.ProgressBar(), &QProgressBar::valueChanged, &dialog, [&](int) {
                controlsDisabledDuringRun = controlsDisabledDuringRun && !dialog.StartButton()->isEnabled() &&
                                            !dialog.Sheet()->isEnabled();
            });
            // A range without any of the colliding serials leaves both collisions.
            dialog.Sheet()->range->from->SetValue(1);
            dialog.Sheet()->range->to->SetValue(40);
            dialog.StartButton()->click();
            ++resolveRuns;
            QVERIFY(dialog.isVisible());
            QCOMPARE(dialog.ProgressBar()->value(), 0);
            QCOMPARE(messages.Texts().value(0), Text(24657));
            scanProgressAfterFirstRun = scan.ProgressBar()->value();
            QVERIFY(dialog.StartButton()->isEnabled());
            // The serial page with each colliding module in turn would do; the range covers all four.
            dialog.Sheet()->range->from->SetValue(1500);
            dialog.Sheet()->range->to->SetValue(1503);
            dialog.StartButton()->click();
            ++resolveRuns;
            QVERIFY(!dialog.isVisible());
        });
        scan.show();
        QTRY_VERIFY_WITH_TIMEOUT(!scan.isVisible(), 30000);
        QCOMPARE(resolveRuns, 2);
        QCOMPARE(collisionsAtOpen, QStringLiteral("2"));
        QVERIFY(!savedBeforeResolution);
        QVERIFY(controlsDisabledDuringRun);
        QCOMPARE(scanProgressAfterFirstRun, 100); // the first run went through its 40 candidates
        QCOMPARE(context.busList.CollisionCount(), 0u);
        QCOMPARE(scan.CollisionsText(), QStringLiteral("0"));
        QCOMPARE(SavedModules(), 5u);
        QCOMPARE(messages.Texts().size(), 2);
    }

    // The known-modules page: serial 0 and duplicates are refused with their texts; Delete asks first.
    void knownModulesPage() {
        test::MessageRecorder messages;
        BusContext context;
        CResolveCollisionsDlg dialog(context, nullptr);
        CResolveCollisionsByKnownSerNos& page = *dialog.Sheet()->known;
        QCOMPARE(dialog.Sheet()->range->from->GetValue(), 1000u);
        QCOMPARE(dialog.Sheet()->range->to->GetValue(), 9000u);
        struct Case {
            uint32_t serial;
            QString message; // empty: added
            int rows;
        };
        const Case cases[] = {{0, Text(24727), 0}, {4711, {}, 1}, {815, {}, 2}, {4711, Text(24728), 2}};
        for (const Case& c : cases) {
            messages.Clear();
            page.serial->SetValue(c.serial);
            page.add->click();
            QCOMPARE(messages.Texts().value(0), c.message);
            QCOMPARE(page.list->model()->rowCount(), c.rows);
            QCOMPARE(page.serial->GetValue(),
                     c.message.isEmpty() ? 0u : c.serial); // refused: kept for editing
        }
        // Sorted by serial and kept in the settings file.
        QCOMPARE(context.busList.KnownModules()->GetAt(0)->SerialNo(), 815);
        CIniSection known;
        known.SetSection("KNOWN MODULES");
        QCOMPARE(known.ReadDWord("Modules", 0), 2u);

        page.list->Select(0);
        QVERIFY(page.remove->isEnabled());
        messages.Clear();
        messages.answers.push_back(QMessageBox::Cancel);
        page.remove->click();
        QCOMPARE(messages.Texts().value(0), Text(24730));
        QCOMPARE(page.list->model()->rowCount(), 2);
        page.remove->click(); // answered OK
        QCOMPARE(page.list->model()->rowCount(), 1);
        QCOMPARE(context.busList.KnownModules()->GetAt(0)->SerialNo(), 4711);
        QCOMPARE(known.ReadDWord("Modules", 0), 1u);
    }
};

QTEST_MAIN(TestScanDlg)
#include "tst_scan_dlg.moc"
