// The screenshot tour's pictures of a measuring loop that loses its port and gets it back, and of the
// question before a measuring window closes. The fault needs a device that can be pulled out, so these steps
// measure on the built-in simulated bus whatever COM1 is: its adapter is pulled out and plugged in again.

#include "gui/tour/tour_steps.h"

#include "core/busops/identification.h"
#include "core/inventory/unit_names.h"
#include "core/platform/data_paths.h"
#include "core/platform/ini_section.h"
#include "gui/base/measuring_status.h"
#include "gui/circuit/meas_circuit_dlg.h"
#include "gui/frame/main_frame.h"
#include "gui/toolkit/message_box.h"
#include "gui/tour/screenshot_tour.h"
#include "sim/sim_scheme.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include <cstdio>
#include <functional>
#include <memory>

namespace terrix {

namespace {

constexpr const char* kRateSection = "MeasCircDlg";

// The simulated bus, its circuit window measuring in a loop, and the measuring rate to restore afterwards.
struct FaultBus {
    std::shared_ptr<sim::VirtualBus> bus;
    BusContext context;
    QPointer<CMeasCircuitDlg> window;
    uint32_t savedRate = 20;
};
std::unique_ptr<FaultBus> g_fault;

bool WaitFor(const std::function<bool()>& done, int ms) {
    QElapsedTimer waited;
    waited.start();
    while (!done() && waited.elapsed() < ms) {
        TourContext::Settle(100);
    }
    return done();
}

void EndFaultBus() {
    if (g_fault == nullptr) {
        return;
    }
    g_fault->bus->SetUnplugged(false);
    if (g_fault->window != nullptr) {
        g_fault->window->Controller().Loop().Stop();
        WaitFor([] { return g_fault->window->Controller().Running() == CircuitRun::kIdle; }, 60000);
        delete g_fault->window.data();
    }
    CIniSection(SettingsFilePath(), kRateSection).WriteDWord("dwMeasTime", g_fault->savedRate);
    g_fault.reset();
}

// The built-in bus identified into a context of its own, its circuit window measuring every two seconds
// beside the frame, after its first round.
CMeasCircuitDlg* StartFaultBus(TourContext& tour) {
    EndFaultBus();
    std::string error;
    auto fault = std::make_unique<FaultBus>();
    fault->bus = sim::SharedBus("", error);
    if (fault->bus == nullptr) {
        std::fprintf(stderr, "terrix: no simulated bus: %s\n", error.c_str());
        return nullptr;
    }
    fault->bus->SetUnplugged(false);
    fault->context.portContext.nPortNo = 1;
    fault->context.portContext.device = "sim";
    bool opened = false;
    TourContext::RunBusWork([&fault, &opened] {
        PortUser user(&fault->context.portContext);
        opened = user.Acquire();
        if (!opened) {
            return;
        }
        for (const sim::ModuleState& module : fault->bus->Modules()) {
            auto record = std::make_unique<ModuleRecord>();
            if (IdentifyModule(user.Port(), module.station, *record, UnitName)) {
                fault->context.busList.Add(std::move(record));
            }
        }
        user.Release();
    });
    if (!opened) {
        std::fprintf(stderr, "terrix: the simulated bus does not open: %s\n",
                     PortUserErrorText(fault->context.portContext, "sim").c_str());
        return nullptr;
    }
    fault->savedRate = CIniSection(SettingsFilePath(), kRateSection).ReadDWord("dwMeasTime", 20);
    g_fault = std::move(fault);

    CMainFrame& frame = tour.Frame();
    auto* window = new CMeasCircuitDlg(g_fault->context, &frame, {});
    g_fault->window = window;
    window->Create();
    window->resize(window->sizeHint().expandedTo(QSize(1220, 300)));
    window->move(frame.geometry().topLeft() + QPoint(20, 60));
    window->RateEdit()->setText(QStringLiteral("2"));
    window->LoopButton()->click();
    const bool measured = WaitFor(
        [window] {
            bool values = false;
            const MeasCircuitModel* model = window->Controller().Model();
            for (int row = 0; row < model->rowCount() && !values; ++row) {
                values = !model->index(row, MeasCircuitModel::kColLastMeas).data().toString().isEmpty();
            }
            return values && window->Controller().Loop().State() == MeasLoopState::kWaiting;
        },
        60000);
    if (!measured) {
        std::fprintf(stderr, "terrix: no round on the simulated bus (%u modules, state %d)\n",
                     window->Controller().ModuleCount(),
                     static_cast<int>(window->Controller().Loop().State()));
    }
    return measured ? window : nullptr;
}

bool ShowPortLost(TourContext& tour) {
    TourMessageAnswer quiet(QMessageBox::Yes);
    CMeasCircuitDlg* window = StartFaultBus(tour);
    if (window == nullptr) {
        EndFaultBus();
        return false;
    }
    g_fault->bus->SetUnplugged(true); // the adapter pulled out
    if (!WaitFor([window] { return window->Controller().Outage().PortLost(); }, 30000)) {
        EndFaultBus();
        return false;
    }
    TourContext::Settle(1200); // a countdown to the next try, also in the frame's status bar
    return tour.Shoot(QStringLiteral("port_lost"), {window});
}

bool ShowPortBack(TourContext& tour) {
    if (g_fault == nullptr || g_fault->window == nullptr) {
        return false;
    }
    TourMessageAnswer quiet(QMessageBox::Yes);
    CMeasCircuitDlg* window = g_fault->window;
    g_fault->bus->SetUnplugged(false);
    const bool back = WaitFor(
        [window] {
            return window->Controller().Outage().GetState() == PortOutageNotice::State::kBack &&
                   window->Controller().Loop().State() == MeasLoopState::kWaiting;
        },
        30000);
    TourContext::Settle(600);
    return back && tour.Shoot(QStringLiteral("port_back"), {window});
}

// Closing the measuring window asks first; the picture shows the question, which is answered No, so the
// measurement runs on until the step ends it.
bool ShowCloseWhileMeasuring(TourContext& tour) {
    if (g_fault == nullptr || g_fault->window == nullptr) {
        return false;
    }
    CMeasCircuitDlg* window = g_fault->window;
    bool shot = false;
    bool asked = false;
    MessageHandler previous = SetMessageHandler([&](const MessageRequest& request) {
        asked = request.text == StopMeasuringQuestion();
        QMessageBox box(QMessageBox::Question, request.caption, request.text, request.buttons,
                        request.parent);
        box.setDefaultButton(request.defaultButton);
        box.show();
        box.move(window->geometry().center() - box.rect().center());
        TourContext::Settle(200);
        shot = tour.Shoot(QStringLiteral("close_while_measuring"), {window, &box});
        box.close();
        return QMessageBox::No;
    });
    window->close();
    SetMessageHandler(std::move(previous));
    const bool stillMeasuring = window->isVisible() && window->Controller().Running() == CircuitRun::kLoop;
    EndFaultBus();
    return asked && shot && stillMeasuring;
}

} // namespace

void AddPortOutageTourSteps(CScreenshotTour& tour) {
    tour.AddStep(QStringLiteral("port lost"), ShowPortLost);
    tour.AddStep(QStringLiteral("port back"), ShowPortBack);
    tour.AddStep(QStringLiteral("close while measuring"), ShowCloseWhileMeasuring);
}

} // namespace terrix
