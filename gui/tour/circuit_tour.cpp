#include "gui/tour/tour_steps.h"

#include "core/busops/scan_session.h"
#include "core/inventory/unit_names.h"
#include "core/platform/data_paths.h"
#include "core/platform/ini_section.h"
#include "gui/base/bus_job.h"
#include "gui/circuit/bus_dialogs.h"
#include "gui/circuit/meas_circuit_dlg.h"
#include "gui/frame/main_frame.h"
#include "gui/toolkit/message_box.h"
#include "gui/toolkit/report_list_ctrl.h"
#include "gui/tour/screenshot_tour.h"

#include <QElapsedTimer>
#include <QMenu>
#include <QPushButton>
#include <QStyle>

namespace terrix {

namespace {

// The open circuit window, opened (after a scan through core when no bus is known yet) if need be.
CMeasCircuitDlg* CircuitWindow(TourContext& tour) {
    CMainFrame& frame = tour.Frame();
    BusContext& context = *frame.GetBusContext();
    if (context.busList.IsEmpty() && frame.CircuitWindow() == nullptr) {
        TourContext::RunBusWork(
            [&context] { RunScanSession(context, ScanSessionOptions{}, UnitName, {}, {}); });
    }
    frame.OnDisplay();
    auto* window = qobject_cast<CMeasCircuitDlg*>(frame.CircuitWindow());
    if (window != nullptr) {
        // The size a user gets on first open (the tour's data directory has no stored placement).
        window->move(frame.geometry().topLeft() + QPoint(20, 60));
        TourContext::Settle(100);
    }
    return window;
}

bool ShowCircuit(TourContext& tour) {
    TourMessageAnswer quiet(QMessageBox::Yes);
    if (tour.Frame().CircuitWindow() == nullptr) {
        // Each language's picture shows the first open, not the placement the other language left.
        CIniSection placement(SettingsFilePath(), "MeasCircDlg");
        for (const char* key : {"Window Left", "Window Right", "Window Top", "Window Bottom"}) {
            placement.DeleteKey(key);
        }
    }
    CMeasCircuitDlg* window = CircuitWindow(tour);
    return window != nullptr && tour.Shoot(QStringLiteral("circuit"), {window}, false);
}

// One single round on the bus, pictured once its values are in (while the countdown to the end of the
// round's interval runs); the values are stored in the data directory as any round's are.
bool ShowCircuitValues(TourContext& tour) {
    TourMessageAnswer quiet(QMessageBox::Yes);
    CMeasCircuitDlg* window = CircuitWindow(tour);
    if (window == nullptr) {
        return false;
    }
    // Rows may show the values of an earlier round: wait until every measured row has one more.
    MeasCircuitController& circuit = window->Controller();
    const auto stored = [&circuit](uint32_t row) {
        return circuit.Model()->index(static_cast<int>(row), MeasCircuitModel::kColValues).data().toString();
    };
    QStringList before;
    for (uint32_t row = 0; row < circuit.ModuleCount(); ++row) {
        before << stored(row);
    }
    window->SingleButton()->click();
    QElapsedTimer waited;
    waited.start();
    const auto measured = [&] {
        for (uint32_t row = 0; row < circuit.ModuleCount(); ++row) {
            const ModuleRecord* record = circuit.Loop().RecordAt(row);
            if (record != nullptr && record->enModuleState == msIdentified && record->bDisabled == 0 &&
                stored(row) == before.value(row)) {
                return false;
            }
        }
        return true;
    };
    while (circuit.Running() != CircuitRun::kIdle && !measured() && waited.elapsed() < 60000) {
        TourContext::Settle(100);
    }
    TourContext::Settle(600); // a countdown report
    const bool shot = tour.Shoot(QStringLiteral("circuit_values"), {window}, false);
    if (circuit.Running() != CircuitRun::kIdle) {
        window->SingleButton()->click(); // "stop"
    }
    while (circuit.Running() != CircuitRun::kIdle && waited.elapsed() < 90000) {
        TourContext::Settle(100);
    }
    return shot;
}

bool ShowCircuitMenu(TourContext& tour) {
    TourMessageAnswer quiet(QMessageBox::Yes);
    CMeasCircuitDlg* window = CircuitWindow(tour);
    if (window == nullptr || window->Controller().ModuleCount() == 0) {
        return window != nullptr && tour.Shoot(QStringLiteral("circuit_menu"), {window}, false);
    }
    window->List()->Select(0);
    std::unique_ptr<QMenu> menu(window->BuildContextMenu());
    const QRect row =
        window->List()->visualRect(window->List()->model()->index(0, MeasCircuitModel::kColModule));
    // At the row, in a window tall enough to hold the whole menu below it (at its first size the window ends
    // within the menu, and the picture would cut the menu off at the window's edge).
    menu->ensurePolished();
    const QPoint at = window->List()->viewport()->mapToGlobal(row.center() + QPoint(0, 5));
    const int below = window->mapToGlobal(QPoint(0, window->height())).y() - at.y();
    const int needed =
        menu->sizeHint().height() + 2 * menu->style()->pixelMetric(QStyle::PM_MenuPanelWidth) + 24;
    if (below < needed) {
        window->resize(window->width(), window->height() + needed - below);
        TourContext::Settle();
    }
    menu->popup(at);
    TourContext::Settle();
    const bool shot = tour.Shoot(QStringLiteral("circuit_menu"), {window, menu.get()}, false);
    menu->close();
    return shot;
}

bool ShowCreateCollisions(TourContext& tour) {
    TourMessageAnswer quiet(QMessageBox::Yes);
    CMainFrame& frame = tour.Frame();
    CCreateCollisionsDlg dialog(*frame.GetBusContext(), &frame);
    dialog.show();
    dialog.move(frame.geometry().center() - dialog.rect().center());
    TourContext::SettleUntil([&dialog] { return !BusJob::Runs(&dialog); }); // the port is taken
    const bool shot = tour.Shoot(QStringLiteral("create_collision"), {&dialog});
    dialog.close();
    return shot;
}

bool ShowHaltState(TourContext& tour) {
    TourMessageAnswer quiet(QMessageBox::Yes);
    CMainFrame& frame = tour.Frame();
    BusContext& context = *frame.GetBusContext();
    ModuleRecord* xv = nullptr;
    for (uint32_t i = 0; i < context.busList.Count() && xv == nullptr; ++i) {
        ModuleRecord* record = context.busList.GetAt(i);
        if (record->enModuleState == msIdentified && HasHaltState(*record)) {
            xv = record;
        }
    }
    bool shot = true;
    if (xv != nullptr) {
        CHaltMeasStateDlg dialog(context, &frame, *xv);
        dialog.show();
        dialog.move(frame.geometry().center() - dialog.rect().center());
        TourContext::SettleUntil([&dialog] { return !BusJob::Runs(&dialog); }); // the state is read
        shot = tour.Shoot(QStringLiteral("halt_state"), {&dialog});
        dialog.close();
    } else {
        std::fprintf(stderr, "terrix: no XV module on the bus: no halt_state picture\n");
    }
    // The next windows of the tour start without the circuit window in front.
    if (QWidget* circuit = frame.CircuitWindow()) {
        circuit->close();
    }
    return shot;
}

} // namespace

void AddCircuitTourSteps(CScreenshotTour& tour) {
    tour.AddStep(QStringLiteral("circuit window"), ShowCircuit);
    tour.AddStep(QStringLiteral("circuit window values"), ShowCircuitValues);
    tour.AddStep(QStringLiteral("circuit window menu"), ShowCircuitMenu);
    tour.AddStep(QStringLiteral("create-collisions dialog"), ShowCreateCollisions);
    tour.AddStep(QStringLiteral("halt-state dialog"), ShowHaltState);
    AddPortOutageTourSteps(tour);
}

} // namespace terrix
