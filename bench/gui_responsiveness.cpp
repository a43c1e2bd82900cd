// How long the desktop program's user-interface thread is kept from its event loop while the windows run
// bus work on the built-in simulated bus (offscreen, no window system): a complete scan from the scanning
// dialog, a collision resolution from the resolve-collisions dialog and "Program module" from the
// calibration dialog, each through the window's own code. A 10 ms timer ticks on the user-interface thread
// meanwhile; the largest gap between two ticks is how long a window could not repaint or see Cancel. The
// processor time against the wall time shows that waits sleep instead of spinning (it includes the
// simulated modules, which run in this process).
//
// Run it idle and again with both cores busy (e.g. two `yes >/dev/null`): the figures that matter are the
// gaps under load.

#include "core/busops/bus_scan.h"
#include "core/inventory/bus_info_file.h"
#include "core/inventory/unit_names.h"
#include "core/platform/data_paths.h"
#include "core/platform/port_user.h"
#include "core/platform/pump_wait.h"
#include "gui/base/bus_activity.h"
#include "gui/busops/resolve_collisions_dlg.h"
#include "gui/busops/scan_dlg.h"
#include "gui/config/coefficients_dlg.h"
#include "gui/toolkit/message_box.h"
#include "sim/sim_scheme.h"

#include "cpu_time.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <functional>
#include <string>

namespace {

using namespace terrix;

// Four modules, two pairs of them at one station: the resolution moves three of them.
constexpr const char* kCollisionScenario = R"({"modules": [
    {"station": 5, "serialNo": 1500, "moduleName": "PX-TAVIK2", "moduleId": 11},
    {"station": 5, "serialNo": 1501, "moduleName": "PX-TAVIK2", "moduleId": 11},
    {"station": 7, "serialNo": 1502, "moduleName": "PX-TAVIK2", "moduleId": 11},
    {"station": 7, "serialNo": 1503, "moduleName": "PX-TAVIK2", "moduleId": 11}]})";

struct Figures {
    qint64 largestGapMs = 0;
    double wallSeconds = 0;
    double cpuSeconds = 0;
};

// Runs `start` from the event loop and lets the loop run until `done` holds, with the 10 ms timer ticking.
Figures Measure(const std::function<void()>& start, const std::function<bool()>& done) {
    Figures figures;
    QElapsedTimer sinceTick;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        figures.largestGapMs = std::max(figures.largestGapMs, sinceTick.elapsed());
        sinceTick.restart();
    });
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (done()) {
            loop.quit();
        }
    });
    QElapsedTimer wall;
    const double cpuStart = bench::CpuSeconds();
    QTimer::singleShot(0, [&] {
        ticker.start(10);
        sinceTick.start();
        wall.start();
        poll.start(5);
        start();
    });
    loop.exec();
    figures.cpuSeconds = bench::CpuSeconds() - cpuStart;
    figures.wallSeconds = static_cast<double>(wall.nsecsElapsed()) / 1e9;
    return figures;
}

void Print(const char* operation, const Figures& figures, const std::string& outcome) {
    std::printf("largest_gap_ms %s %lld\n", operation, static_cast<long long>(figures.largestGapMs));
    std::printf("  wall %.2f s, CPU %.2f s = %.1f %% of wall time, %s\n", figures.wallSeconds,
                figures.cpuSeconds, figures.cpuSeconds / figures.wallSeconds * 100.0, outcome.c_str());
}

// Lets a window just shown lay itself out and paint.
void SettleShownWindow() {
    QElapsedTimer elapsed;
    elapsed.start();
    while (elapsed.elapsed() < 200) {
        QCoreApplication::processEvents();
    }
}

void UseSimBus(BusContext& context, const std::string& device) {
    context.portContext.nPortNo = 1;
    context.portContext.device = device;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QTemporaryDir dataDir;
    SetDataDir(dataDir.path().toStdString());
    RegisterSimTransportScheme();
    ForbidBusWaitsOnThisThread();
    // Every question is answered yes and every message is taken as read, as a user who clicks on would.
    SetMessageHandler([](const MessageRequest& request) {
        if (qEnvironmentVariableIsSet("TERRIX_BENCH_MESSAGES")) {
            std::fprintf(stderr, "message: %s\n", qPrintable(request.text));
        }
        return request.buttons.testFlag(QMessageBox::Yes) ? QMessageBox::Yes : QMessageBox::Ok;
    });
    int failures = 0;

    {
        BusContext context;
        UseSimBus(context, "sim");
        CScanDlg dialog(context, nullptr, CScanDlg::kDetailed | CScanDlg::kForgetBus);
        bool finished = false;
        QObject::connect(&dialog, &QDialog::finished, [&] { finished = true; });
        const Figures figures = Measure([&] { dialog.show(); }, [&] { return finished; });
        const bool ok = dialog.result() == QDialog::Accepted && context.busList.Count() > 0;
        failures += ok ? 0 : 1;
        Print("scan_completely", figures,
              std::to_string(context.busList.Count()) + " modules" + (ok ? "" : " (scan FAILED)"));
    }

    {
        const QString scenario = dataDir.filePath(QStringLiteral("collisions.json"));
        QFile file(scenario);
        file.open(QIODevice::WriteOnly);
        file.write(kCollisionScenario);
        file.close();
        BusContext context;
        UseSimBus(context, "sim:" + scenario.toStdString());
        ForgetBusInfo(); // the first scan saved the built-in bus: this one probes every station
        PortUser user(&context.portContext);
        BusScan(context, user, UnitName, {});
        const uint32_t before = context.busList.CollisionCount();
        CResolveCollisionsDlg dialog(context, nullptr);
        dialog.Sheet()->range->from->SetValue(1500);
        dialog.Sheet()->range->to->SetValue(1503);
        bool finished = false;
        QObject::connect(&dialog, &QDialog::finished, [&] { finished = true; });
        // Shown and laid out before the clock starts, as the calibration dialog below: the figure is the
        // resolution's, not the first layout of a window with two lists.
        dialog.show();
        SettleShownWindow();
        const Figures figures = Measure(
            [&] {
                dialog.OnStart();
            },
            [&] { return finished || (!dialog.IsRunning() && !BusActivity::IsBusy(context)); });
        const bool ok = before > 0 && context.busList.CollisionCount() == 0;
        failures += ok ? 0 : 1;
        Print("resolve_collisions", figures,
              std::to_string(before) + " collisions before, " +
                  std::to_string(context.busList.CollisionCount()) + " after");
    }

    {
        BusContext context;
        UseSimBus(context, "sim");
        ModuleRecord xv;
        xv.iaStation = 3;
        xv.enModuleState = msIdentified;
        xv.bIsTavikXV = 1;
        xv.stationInfo.wSerialNo = 40218;
        xv.stationInfo.SetModuleName("PX-TAVIK2XV");
        CCoefficientsDlg dialog(context, nullptr, xv);
        dialog.Open(); // opens the port and reads the data that "Program module" writes back
        dialog.show();
        while (BusActivity::IsBusy(context)) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
        }
        bool started = false;
        const Figures figures = Measure(
            [&] {
                started = true;
                dialog.ProgramModule();
            },
            [&] { return started && !BusActivity::IsBusy(context); });
        const bool ok = dialog.ModuleChanged();
        failures += ok ? 0 : 1;
        Print("program_module", figures, ok ? "module programmed" : "NOT programmed");
    }
    return failures == 0 ? 0 : 1;
}
