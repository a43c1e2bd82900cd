// Every window that talks to the bus, closed in the middle of each of its bus operations in each way a user
// closes a window: Escape, its close button (as Alt+F4), closing the circuit window under one of its module
// dialogs, and quitting the program (closing the main frame). Nothing may be deleted while the operation
// that uses it still runs (the suite runs under AddressSanitizer), a close is not lost (the window goes once
// its operation has ended) and the bus is free and answers again afterwards.

#include "core/bus/bus_trace.h"
#include "core/bus/commands.h"
#include "core/busops/identification.h"
#include "core/inventory/unit_names.h"
#include "core/platform/pump_wait.h"
#include "gui/app/window_table.h"
#include "gui/base/bus_activity.h"
#include "gui/busops/conversion_time_dlg.h"
#include "gui/busops/resolve_collisions_dlg.h"
#include "gui/busops/scan_dlg.h"
#include "gui/busops/station_number_dlg.h"
#include "gui/circuit/bus_dialogs.h"
#include "gui/circuit/meas_circuit_dlg.h"
#include "gui/config/active_calib_dlg.h"
#include "gui/frame/main_frame.h"
#include "gui/toolkit/edit_integer.h"
#include "gui/toolkit/report_list_ctrl.h"
#include "gui_test_support.h"
#include "sim/sim_scheme.h"
#include "support/temp_dir.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace terrix;

namespace {

constexpr const char* kCollisionScenario = R"({"modules": [
    {"station": 5, "serialNo": 1500, "moduleName": "PX-TAVIK2", "moduleId": 11},
    {"station": 5, "serialNo": 1501, "moduleName": "PX-TAVIK2", "moduleId": 11}]})";

// Escape reaches the window in front (a module dialog not yet shown leaves the circuit window in front);
// Close is the close button or Alt+F4 of the circuit window, or of the window in front where there is none;
// Quit closes the main frame.
enum class CloseWay { Escape, Close, Quit };

struct Operation {
    const char* name;
    bool inCircuitWindow; // started from the circuit window over the XV module's row
    std::function<void(CMainFrame&, CMeasCircuitDlg*)> start;
    std::function<void(BusContext&)> prepare = {}; // runs before the close is armed
    // Dialogs that go to the bus only after the user's input: once the dialog is up and the bus idle, this
    // enters the input and confirms it, and the close comes during the bus work that follows.
    std::function<void(QDialog&)> confirm = {};
};

// The XV module of the built-in bus (station 3), identified once.
ModuleRecord g_xv;

} // namespace

class TestCloseSweep : public QObject {
    Q_OBJECT

    test::TempDataDir data_;
    test::MessageRecorder messages_;
    QString collisionScenario_;

private Q_SLOTS:
    void initTestCase() {
        RegisterSimTransportScheme();
        ForbidBusWaitsOnThisThread();
        QApplication::setQuitOnLastWindowClosed(false); // a closed frame must not end the test program
        collisionScenario_ = data_.File(QStringLiteral("collisions.json"));
        test::WriteFileBytes(collisionScenario_.toStdString(), kCollisionScenario);
        BusContext context;
        context.portContext.device = "sim";
        test::TestTalksToTheBus setUp;
        PortUser user(&context.portContext);
        QVERIFY(user.Acquire());
        QVERIFY(IdentifyModule(user.Port(), 3, g_xv, UnitName));
        user.Release();
    }

    // One row per way of closing, so that the three can run side by side.
    void closeDuringEveryBusOperation_data() {
        QTest::addColumn<int>("way");
        QTest::newRow("escape") << int(CloseWay::Escape);
        QTest::newRow("close") << int(CloseWay::Close);
        QTest::newRow("quit") << int(CloseWay::Quit);
    }

    void closeDuringEveryBusOperation() {
        QFETCH(int, way);
        const std::string collisions = "sim:" + collisionScenario_.toStdString();
        const Operation operations[] = {
            {"scan completely", false, [](CMainFrame& f, CMeasCircuitDlg*) { f.OnScan(3); }},
            {"resolve collisions", false,
             [](CMainFrame& f, CMeasCircuitDlg*) {
                 QTimer::singleShot(0, [] {
                     if (auto* d = qobject_cast<CResolveCollisionsDlg*>(QApplication::activeModalWidget())) {
                         d->Sheet()->range->from->SetValue(1500);
                         d->Sheet()->range->to->SetValue(1501);
                         d->OnStart();
                     }
                 });
                 f.OnResolveCollisions();
             },
             [&](BusContext& context) {
                 // Two modules answer at station 5: the list holds the collision a scan would have found.
                 context.portContext.device = collisions;
                 ModuleRecord collision;
                 collision.iaStation = 5;
                 collision.enModuleState = msCollision;
                 context.busList.Add(std::make_unique<ModuleRecord>(collision));
             }},
            {"rescan", true, [](CMainFrame&, CMeasCircuitDlg* w) { w->OnRescan(); }},
            {"halt state", true, [](CMainFrame&, CMeasCircuitDlg* w) { w->OnHaltState(); }},
            {"offset", true, [](CMainFrame&, CMeasCircuitDlg* w) { w->OnOffset(); }},
            {"coefficients", true, [](CMainFrame&, CMeasCircuitDlg* w) { w->OnCoefficients(); }},
            {"application parameters", true, [](CMainFrame&, CMeasCircuitDlg* w) { w->OnAppParams(); }},
            {"error66 limit", true, [](CMainFrame&, CMeasCircuitDlg* w) { w->OnError66(); }},
            {"active calibration", true, [](CMainFrame&, CMeasCircuitDlg* w) { w->OnActiveCalib(); }},
            {"active calibration write",
             true,
             [](CMainFrame&, CMeasCircuitDlg* w) { w->OnActiveCalib(); },
             {},
             [](QDialog& d) {
                 auto& dialog = dynamic_cast<CActiveCalibDlg&>(d);
                 dialog.NewField()->SetValue(dialog.PreviousField()->GetValue() == 1 ? 2 : 1);
                 dialog.accept();
             }},
            {"station number write",
             true,
             [](CMainFrame&, CMeasCircuitDlg* w) { w->OnStationNumber(); },
             {},
             [](QDialog& d) {
                 auto& dialog = dynamic_cast<CStationNumberDlg&>(d);
                 dialog.NewEdit()->SetValue(9);
                 dialog.accept();
             }},
            {"conversion time write",
             true,
             [](CMainFrame&, CMeasCircuitDlg* w) { w->OnConversionTime(); },
             {},
             [](QDialog& d) {
                 auto& dialog = dynamic_cast<CConversionTimeDlg&>(d);
                 dialog.NewEdit()->SetValue(dialog.PreviousEdit()->GetValue() + 10);
                 dialog.accept();
             }},
            {"reset baud write",
             true,
             [](CMainFrame&, CMeasCircuitDlg* w) { w->OnResetBaud(); },
             {},
             [](QDialog& d) { d.accept(); }},
            {"halt state write",
             true,
             [](CMainFrame&, CMeasCircuitDlg* w) { w->OnHaltState(); },
             {},
             [](QDialog& d) { dynamic_cast<CHaltMeasStateDlg&>(d).CommandRadio(1)->click(); }},
            {"create collisions", false,
             [](CMainFrame& f, CMeasCircuitDlg*) { f.Action(ID_MAINT_CREATE_COLLISION)->trigger(); },
             [](BusContext& context) { context.busList.Add(std::make_unique<ModuleRecord>(g_xv)); },
             [](QDialog& d) {
                 dynamic_cast<CCreateCollisionsDlg&>(d).StationEdit()->setValue(9);
                 d.accept();
             }},
        };
        test::ActOnFirstFrame trigger;
        SetBusTraceObserver(&trigger);
        for (const Operation& op : operations) {
            const QByteArray label = QByteArray(op.name);
            const char* name = label.constData();
            sim::ForgetSharedBuses();
            auto frame = std::make_unique<CMainFrame>(AllFrameWindows());
            BusContext& context = *frame->GetBusContext();
            context.portContext.nPortNo = 1;
            context.portContext.device = "sim";
            frame->show();
            QPointer<CMeasCircuitDlg> circuit;
            if (op.inCircuitWindow) {
                context.busList.Add(std::make_unique<ModuleRecord>(g_xv));
                frame->OnDisplay();
                circuit = qobject_cast<CMeasCircuitDlg*>(frame->CircuitWindow());
                QVERIFY2(circuit != nullptr, name);
                circuit->List()->Select(0);
            }
            if (op.prepare) {
                op.prepare(context);
            }
            bool circuitMustGo = op.inCircuitWindow && CloseWay(way) != CloseWay::Escape;
            const auto close = [&] {
                QWidget* reached = QApplication::activeModalWidget();
                if (reached == nullptr) {
                    reached = circuit != nullptr ? static_cast<QWidget*>(circuit) : frame.get();
                }
                circuitMustGo = circuitMustGo || (circuit != nullptr && reached == circuit);
                switch (CloseWay(way)) {
                case CloseWay::Escape:
                    QTest::keyClick(reached, Qt::Key_Escape);
                    break;
                case CloseWay::Close:
                    (circuit != nullptr ? static_cast<QWidget*>(circuit) : reached)->close();
                    break;
                case CloseWay::Quit:
                    frame->close();
                    break;
                }
            };
            QTimer confirmer;
            if (op.confirm) {
                connect(&confirmer, &QTimer::timeout, [&] {
                    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
                    if (dialog != nullptr && qobject_cast<QMessageBox*>(dialog) == nullptr &&
                        !BusActivity::IsBusy(context)) {
                        confirmer.stop();
                        trigger.Arm(close);
                        op.confirm(*dialog);
                    }
                });
                confirmer.start(20);
            } else {
                trigger.Arm(close);
            }
            // The scanning and resolve dialogs take a close during their run as Cancel and stay open: the
            // user closes them afterwards. Every other window must go by the close itself (a module dialog
            // closed in the middle of its read, too).
            QTimer leftovers;
            connect(&leftovers, &QTimer::timeout, [&] {
                QWidget* modal = QApplication::activeModalWidget();
                if (trigger.Fired() && !BusActivity::IsBusy(context) &&
                    (qobject_cast<CScanDlg*>(modal) != nullptr ||
                     qobject_cast<CResolveCollisionsDlg*>(modal) != nullptr)) {
                    static_cast<QDialog*>(modal)->reject();
                }
            });
            leftovers.start(20);
            bool returned = false;
            QTimer::singleShot(0, [&] {
                op.start(*frame, circuit);
                returned = true;
            });
            QTRY_VERIFY2_WITH_TIMEOUT(returned && !BusActivity::IsBusy(context) &&
                                          QApplication::activeModalWidget() == nullptr,
                                      name, 30000);
            leftovers.stop();
            confirmer.stop();
            QVERIFY2(trigger.Fired(), name);
            if (circuitMustGo) {
                QTRY_VERIFY2(circuit.isNull(), name);
            }
            if (CloseWay(way) == CloseWay::Quit) {
                QTRY_VERIFY2(!frame->isVisible(), name);
            }
            trigger.Arm({});
            QCOMPARE(context.portContext.hPort, kInvalidPort);
            QVERIFY2(!PortUser::IsReserved(context.portContext), name);
            // The bus answers again through the same context.
            context.portContext.device = "sim";
            test::TestTalksToTheBus check;
            PortUser user(&context.portContext);
            StationInfoBlock info;
            // (The station number case may have moved the module to station 9 before the close.)
            QVERIFY2(user.Acquire() &&
                         (ReadStationInfo(user.Port(), 3, info) || ReadStationInfo(user.Port(), 9, info)),
                     name);
            user.Release();
            frame.reset();
        }
        SetBusTraceObserver(nullptr);
    }
};

QTEST_MAIN(TestCloseSweep)
#include "tst_close_sweep.moc"
