// A complete scan of the built-in simulated bus run on the user-interface thread, as the scanning dialog
// runs it, with the program's wait hook and a 10 ms timer ticking beside it (offscreen, no window system).
// Prints the largest gap between two ticks (how long the window could not repaint or see Cancel) and the
// processor time against the wall time (the waits must sleep in the event loop, not spin).

#include "core/bus/bus_trace.h"
#include "core/busops/scan_session.h"
#include "core/inventory/unit_names.h"
#include "core/platform/data_paths.h"
#include "gui/app/gui_wait.h"
#include "sim/sim_scheme.h"

#include "cpu_time.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QTemporaryDir dataDir;
    terrix::SetDataDir(dataDir.path().toStdString());
    terrix::RegisterSimTransportScheme();
    terrix::InstallGuiWaitHook();

    terrix::BusContext context;
    context.portContext.nPortNo = 1;
    context.portContext.device = "sim";

    // The frame that went over the bus last, to name where the largest gap happened.
    struct LastFrame final : terrix::BusTraceObserver {
        void OnFrame(const terrix::BusTraceEvent& event) override {
            text = terrix::DescribeTraceEvent(event);
        }
        std::string text;
    } lastFrame;
    terrix::SetBusTraceObserver(&lastFrame);
    std::string gapAfter;
    QElapsedTimer sinceTick;
    qint64 largestGapMs = 0;
    long gapsOver50 = 0;
    long ticks = 0;
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (ticks++ > 0) {
            gapsOver50 += sinceTick.elapsed() > 50 ? 1 : 0;
            if (sinceTick.elapsed() > largestGapMs) {
                largestGapMs = sinceTick.elapsed();
                gapAfter = lastFrame.text;
            }
        }
        sinceTick.restart();
    });

    terrix::ScanSessionResult result;
    double wall = 0;
    double cpu = 0;
    QTimer::singleShot(0, [&] {
        timer.start(10);
        sinceTick.start();
        QElapsedTimer wallTimer;
        wallTimer.start();
        const double cpuStart = terrix::bench::CpuSeconds();
        terrix::ScanSessionOptions options;
        options.forgetSavedBus = true;
        result = terrix::RunScanSession(context, options, terrix::UnitName, {}, {});
        cpu = terrix::bench::CpuSeconds() - cpuStart;
        wall = static_cast<double>(wallTimer.nsecsElapsed()) / 1e9;
        timer.stop();
        QCoreApplication::exit(0);
    });
    QApplication::exec();
    terrix::SetBusTraceObserver(nullptr);

    std::printf("modules found:      %u (scan %s)\n", context.busList.Count(),
                result.scanOk ? "ok" : "failed");
    std::printf("wall time:          %.3f s\n", wall);
    std::printf("10 ms ticks:        %ld (%.0f expected)\n", ticks, wall * 100.0);
    std::printf("largest tick gap:   %lld ms  (target under 50 ms)\n", static_cast<long long>(largestGapMs));
    std::printf("  after the frame:  %s\n", gapAfter.c_str());
    std::printf("gaps over 50 ms:    %ld\n", gapsOver50);
    std::printf(
        "CPU time:           %.3f s = %.2f %% of wall time  (target under 5 %%; includes the simulated "
        "modules)\n",
        cpu, cpu / wall * 100.0);
    return result.scanOk ? 0 : 1;
}
