#include "core/bus/commands.h"
#include "core/busops/bus_scan.h"
#include "core/busops/collisions.h"
#include "core/inventory/unit_names.h"
#include "gui/base/bus_job.h"
#include "gui/busops/conversion_time_dlg.h"
#include "gui/busops/resolve_collisions_dlg.h"
#include "gui/busops/scan_dlg.h"
#include "gui/busops/serial_ports_dlg.h"
#include "gui/busops/station_number_dlg.h"
#include "gui/busops/traffic_monitor.h"
#include "gui/frame/main_frame.h"
#include "gui/toolkit/message_box.h"
#include "gui/tour/screenshot_tour.h"
#include "gui/tour/tour_steps.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>
#include <vector>

namespace terrix {

namespace {

// While the scan step runs, messages are answered as in every tour step, and a modal resolve-collisions
// dialog that a bus with collisions brings up is closed again.
class UnattendedStep {
public:
    UnattendedStep() {
        QObject::connect(&timer_, &QTimer::timeout, &timer_, [] {
            if (auto* dialog = qobject_cast<CResolveCollisionsDlg*>(QApplication::activeModalWidget())) {
                if (!dialog->IsRunning()) {
                    dialog->reject();
                }
            }
        });
        timer_.start(200);
    }

private:
    TourMessageAnswer answer_{QMessageBox::Yes};
    QTimer timer_;
};

void Center(QWidget& window, const QWidget& over) {
    window.adjustSize();
    window.move(over.geometry().center() - window.rect().center());
}

bool ShootDialog(TourContext& tour, QWidget& dialog, const QString& picture) {
    dialog.show();
    Center(dialog, tour.Frame());
    TourContext::Settle(100);
    TourContext::SettleUntil([&dialog] { return !BusJob::Runs(&dialog); }); // the port is taken
    const bool shot = tour.Shoot(picture, {&dialog});
    dialog.hide();
    return shot;
}

// "scan completely" in the first language (every station, and the bus is saved); the second language
// scans the saved stations only, which is quicker and saves the same bus again.
bool ShowScanDone(TourContext& tour) {
    UnattendedStep unattended;
    BusContext& context = *tour.Frame().GetBusContext();
    const uint32_t mode =
        CScanDlg::kDetailed | (tour.Language() == QLatin1String("en") ? uint32_t{CScanDlg::kForgetBus} : 0u);
    CScanDlg dialog(context, &tour.Frame(), mode);
    dialog.show();
    Center(dialog, tour.Frame());
    QElapsedTimer elapsed;
    elapsed.start();
    while (dialog.isVisible() && elapsed.elapsed() < 240000) {
        TourContext::Settle(100);
    }
    if (dialog.isVisible()) {
        std::fprintf(stderr, "terrix: the scan did not end\n");
        return false;
    }
    return ShootDialog(tour, dialog, QStringLiteral("scan_done"));
}

// The modules of the bus that a collision can be made of: identified probes, not the multiplexer.
std::vector<const ModuleRecord*> CollisionCandidates(const CBusList& list) {
    std::vector<const ModuleRecord*> found;
    for (uint32_t i = 0; i < list.Count(); ++i) {
        const ModuleRecord* record = list.GetAt(i);
        if (record->enModuleState == msIdentified && record->iaStation < kMultiplexerStation) {
            found.push_back(record);
        }
    }
    return found;
}

// A real collision on the bus the tour scanned: the second probe is moved by its serial number onto the
// first one's station and the saved stations are scanned again, which finds both answering at once.
// Returns the serial number of the moved probe, 0 when the bus offers no two modules or the port fails.
uint16_t MakeCollision(BusContext& context) {
    const auto candidates = CollisionCandidates(context.busList);
    if (candidates.size() < 2) {
        return 0;
    }
    const uint8_t station = candidates[0]->iaStation;
    const uint16_t moved = candidates[1]->SerialNo();
    bool scanned = false;
    TourContext::RunBusWork([&] {
        PortUser user(&context.portContext);
        if (!user.Acquire()) {
            return;
        }
        SetStationBySerial(user.Port(), moved, station);
        user.Release();
        scanned = BusScan(context, user, UnitName, [](const ScanProgress&) { return true; });
        user.Release();
    });
    return scanned && context.busList.CollisionCount() > 0 ? moved : 0;
}

// The resolve-collisions dialog over a bus with a collision: its three pages, then a resolution by a
// narrow range of serial numbers, pictured with its closing message. The resolution moves the probe to a
// free station and saves the bus, so the later steps work on a bus without collisions again.
bool ShowCollisionPages(TourContext& tour) {
    BusContext& context = *tour.Frame().GetBusContext();
    const uint16_t moved = MakeCollision(context);
    if (moved == 0) {
        std::fprintf(stderr, "terrix: no collision could be made on the bus for the collision pictures\n");
    }
    CResolveCollisionsDlg dialog(context, &tour.Frame());
    dialog.resize(QSize(600, 560)); // tall enough for the collision and the modules beside it
    dialog.Sheet()->range->from->SetValue(moved > 10 ? moved - 10u : 1u);
    dialog.Sheet()->range->to->SetValue(moved + 10u);
    dialog.Sheet()->single->serial->SetValue(moved);
    bool shot = true;
    const QString pictures[] = {QStringLiteral("collision_range"), QStringLiteral("collision_known"),
                                QStringLiteral("collision_serial")};
    for (int page = 0; page < 3; ++page) {
        dialog.Sheet()->setCurrentIndex(page);
        dialog.show();
        dialog.move(tour.Frame().geometry().center() - dialog.rect().center());
        TourContext::Settle(100);
        shot = tour.Shoot(pictures[page], {&dialog}) && shot;
    }
    if (moved == 0) {
        dialog.hide();
        return false;
    }
    // The closing message is shown as a real box over the dialog while the picture is taken.
    bool resolvedShot = false;
    MessageHandler previous = SetMessageHandler([&](const MessageRequest& request) {
        QMessageBox box(QMessageBox::Information, request.caption, request.text, request.buttons, &dialog);
        box.show();
        box.move(dialog.geometry().center() - box.rect().center());
        TourContext::Settle(200);
        resolvedShot = tour.Shoot(QStringLiteral("collision_resolved"), {&dialog, &box});
        box.close();
        return QMessageBox::Ok;
    });
    dialog.Sheet()->setCurrentIndex(0);
    dialog.OnStart();
    TourContext::SettleUntil([&dialog] { return !dialog.IsRunning(); }, 120000);
    SetMessageHandler(std::move(previous));
    dialog.hide();
    if (context.busList.CollisionCount() > 0) {
        std::fprintf(stderr, "terrix: the tour's collision was not resolved\n");
        return false;
    }
    return shot && resolvedShot;
}

// The first record that passes `wanted`, else a stand-in (the picture shows the dialog, not the bus).
ModuleRecord* FindRecord(BusContext& context, bool (*wanted)(const ModuleRecord&)) {
    for (uint32_t i = 0; i < context.busList.Count(); ++i) {
        ModuleRecord* record = context.busList.GetAt(i);
        if (wanted(*record)) {
            return record;
        }
    }
    return nullptr;
}

bool ShowStationNumber(TourContext& tour) {
    BusContext& context = *tour.Frame().GetBusContext();
    ModuleRecord standIn;
    ModuleRecord* record =
        FindRecord(context, [](const ModuleRecord& r) { return r.enModuleState == msIdentified; });
    CStationNumberDlg dialog(context, &tour.Frame(), record != nullptr ? *record : standIn);
    return ShootDialog(tour, dialog, QStringLiteral("station_number"));
}

bool ShowConversionTime(TourContext& tour) {
    BusContext& context = *tour.Frame().GetBusContext();
    ModuleRecord standIn;
    standIn.dwNumberOfMeas0 = 100;
    ModuleRecord* record = FindRecord(context, [](const ModuleRecord& r) { return r.bIsTavikXV != 0; });
    CConversionTimeDlg dialog(context, &tour.Frame(), record != nullptr ? *record : standIn);
    return ShootDialog(tour, dialog, QStringLiteral("conversion_time"));
}

bool ShowSerialPorts(TourContext& tour) {
    CSerialPortsDlg dialog(*tour.Frame().GetBusContext(), &tour.Frame());
    dialog.resize(dialog.sizeHint().expandedTo(QSize(680, 380)));
    dialog.show();
    dialog.move(tour.Frame().geometry().center() - dialog.rect().center());
    TourContext::Settle(100);
    const bool shot = tour.Shoot(QStringLiteral("serial_ports"), {&dialog});
    dialog.hide();
    return shot;
}

// The monitor while each module of the saved bus is asked for its station information.
bool ShowTrafficMonitor(TourContext& tour) {
    BusContext& context = *tour.Frame().GetBusContext();
    CTrafficMonitor monitor(context, &tour.Frame());
    monitor.show();
    monitor.move(tour.Frame().geometry().topLeft() + QPoint(20, 60));
    TourContext::RunBusWork([&context] {
        PortUser user(&context.portContext);
        if (user.Acquire()) {
            for (uint32_t i = 0; i < context.busList.Count(); ++i) {
                StationInfoBlock block{};
                ReadStationInfo(user.Port(), context.busList.GetAt(i)->iaStation, block);
            }
            StationInfoBlock block{};
            ReadStationInfo(user.Port(), 99, block); // nobody there: how a silent station looks
            user.Release();
        }
    });
    TourContext::Settle(200);
    const bool shot = tour.Shoot(QStringLiteral("traffic_monitor"), {&monitor});
    monitor.hide();
    return shot;
}

} // namespace

void AddBusTourSteps(CScreenshotTour& tour) {
    tour.AddStep(QStringLiteral("scanning dialog"), ShowScanDone);
    tour.AddStep(QStringLiteral("collision dialog"), ShowCollisionPages);
    tour.AddStep(QStringLiteral("station-number dialog"), ShowStationNumber);
    tour.AddStep(QStringLiteral("conversion-time dialog"), ShowConversionTime);
    tour.AddStep(QStringLiteral("serial ports"), ShowSerialPorts);
    tour.AddStep(QStringLiteral("traffic monitor"), ShowTrafficMonitor);
}

} // namespace terrix
