// Every window that talks to the bus, closed in the middle of each of its bus operations in each way a user
// closes a window: Escape, its close button (as Alt+F4), closing the circuit window under one of its module
// dialogs, and quitting the program (closing the main frame). Nothing may be deleted while the operation
// that uses it still runs (the suite runs under AddressSanitizer), a close is not lost (the window goes once
// its operation has ended) and the bus is free and answers again afterwards.

#include "core/bus/bus_trace.h"
#include "core/bus/commands.h"
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
#include "gui_test_support.h"
#include "sim/sim_scheme.h"

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
    void (CMeasCircuitDlg::*command)(); // started from the circuit window over the XV module's row, or:
    std::function<void(CMainFrame&)> start = {};
    std::function<void(BusContext&)> prepare = {}; // runs before the close is armed
    // Dialogs that go to the bus only after the user's input: once the dialog is up and the bus idle, this
    // enters the input and confirms it, and the close comes during the bus work that follows.
    std::function<void(QDialog&)> confirm = {};
};

// Enters `input` into the dialog, a `Dialog`, and confirms it with OK.
template <class Dialog> std::function<void(QDialog&)> Accept(std::function<void(Dialog&)> input) {
    return [input](QDialog& d) {
        input(dynamic_cast<Dialog&>(d));
        d.accept();
    };
}

// The XV module of the built-in bus (station 3), identified once.
ModuleRecord g_xv;

} // namespace

class TestCloseSweep : public QObject {
    Q_OBJECT

    test::TempDataDir data_;
    test::MessageRecorder messages_;

private Q_SLOTS:
    void initTestCase() {
        ForbidBusWaitsOnThisThread();
        QApplication::setQuitOnLastWindowClosed(false); // a closed frame must not end the test program
        const std::vector<ModuleRecord> xv = test::IdentifiedSimModules({3});
        QCOMPARE(xv.size(), size_t{1});
        g_xv = xv[0];
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
        using W = CMeasCircuitDlg;
        const Operation operations[] = {
            {"scan completely", nullptr, [](CMainFrame& f) { f.OnScan(3); }},
            {"resolve collisions", nullptr,
             [](CMainFrame& f) {
                 QTimer::singleShot(0, [] {
                     if (auto* d = qobject_cast<CResolveCollisionsDlg*>(QApplication::activeModalWidget())) {
                         d->Sheet()->range->from->SetValue(1500);
                         d->Sheet()->range->to->SetValue(1501);
                         d->OnStart();
                     }
                 });
                 f.OnResolveCollisions();
             },
             [](BusContext& context) {
                 // Two modules answer at station 5: the list holds the collision a scan would have found.
                 test::UseSimScenario(context, kCollisionScenario);
                 ModuleRecord collision;
                 collision.iaStation = 5;
                 collision.enModuleState = msCollision;
                 context.busList.Add(std::make_unique<ModuleRecord>(collision));
             }},
            {"rescan", &W::OnRescan},
            {"halt state", &W::OnHaltState},
            {"offset", &W::OnOffset},
            {"coefficients", &W::OnCoefficients},
            {"application parameters", &W::OnAppParams},
            {"error66 limit", &W::OnError66},
            {"active calibration", &W::OnActiveCalib},
            {"active calibration write", &W::OnActiveCalib, {}, {}, Accept<CActiveCalibDlg>([](auto& d) {
                 d.NewField()->SetValue(d.PreviousField()->GetValue() == 1 ? 2 : 1);
             })},
            {"station number write", &W::OnStationNumber, {}, {}, Accept<CStationNumberDlg>([](auto& d) {
                 d.NewEdit()->SetValue(9);
             })},
            {"conversion time write", &W::OnConversionTime, {}, {}, Accept<CConversionTimeDlg>([](auto& d) {
                 d.NewEdit()->SetValue(d.PreviousEdit()->GetValue() + 10);
             })},
            {"reset baud write", &W::OnResetBaud, {}, {}, [](QDialog& d) { d.accept(); }},
            {"halt state write",
             &W::OnHaltState,
             {},
             {},
             [](QDialog& d) { dynamic_cast<CHaltMeasStateDlg&>(d).CommandRadio(1)->click(); }},
            {"create collisions", nullptr,
             [](CMainFrame& f) { f.Action(ID_MAINT_CREATE_COLLISION)->trigger(); },
             [](BusContext& context) { context.busList.Add(std::make_unique<ModuleRecord>(g_xv)); },
             Accept<CCreateCollisionsDlg>([](auto& d) { d.StationEdit()->setValue(9); })},
        };
        test::ActOnFirstFrame trigger;
        SetBusTraceObserver(&trigger);
        for (const Operation& op : operations) {
            const char* name = op.name;
            sim::ForgetSharedBuses();
            auto frame = std::make_unique<CMainFrame>(AllFrameWindows());
            BusContext& context = *frame->GetBusContext();
            const bool inCircuitWindow = op.command != nullptr;
            const QPointer<CMeasCircuitDlg> circuit =
                test::ShowOnSimBus(*frame, inCircuitWindow ? std::vector{g_xv} : std::vector<ModuleRecord>{});
            QVERIFY2(circuit != nullptr || !inCircuitWindow, name);
            if (op.prepare) {
                op.prepare(context);
            }
            bool circuitMustGo = inCircuitWindow && CloseWay(way) != CloseWay::Escape;
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
                inCircuitWindow ? (circuit->*op.command)() : op.start(*frame);
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
