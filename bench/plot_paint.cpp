// The measured-value plot on large value stores, rendered offscreen:
//   1. opening a store and drawing its first page (40 values), for a file of 1,000 and one of 10,000,000
//      records: time to the first picture and the resident memory after it;
//   2. loading a page of 100,000 values (each record read once) and painting it, beside a page of 2,000:
//      time per paint, which the min-max envelope keeps independent of the page's length;
//   3. the measured-value window on both files, as list and as plot: time from opening the store to the
//      first picture of the window, and the resident memory after it.
// Prints figures; never fails on time.
//
// Usage: bench_plot_paint [largest-file [paints]]     defaults 10000000, 50

#include <QApplication>
#include <QImage>
#include <QPixmap>

#include <time.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/two_value_file.h"
#include "core/measure/little_endian.h"
#include "core/measure/meas_value_store.h"
#include "core/measure/plot_data.h"
#include "core/measure/time_stamp.h"
#include "core/platform/data_paths.h"
#include "gui/measure/meas_plot_widget.h"
#include "gui/measure/meas_value_dlg.h"

using namespace terrix;

namespace {

using SteadyClock = std::chrono::steady_clock;

double MillisecondsSince(SteadyClock::time_point start) {
    return std::chrono::duration<double, std::milli>(SteadyClock::now() - start).count();
}

// The processor time of this thread: on a busy machine the wall-clock figures mostly show the others' load.
double ThreadCpuMilliseconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

long StatusKb(const char* key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(key, 0) == 0) {
            return std::strtol(line.c_str() + std::strlen(key), nullptr, 10);
        }
    }
    return -1;
}

uint32_t StampAt(int64_t seconds) {
    using namespace std::chrono;
    const sys_days day{days{seconds / 86400}};
    const year_month_day ymd{day};
    const int64_t inDay = seconds % 86400;
    return PackTimeStamp({static_cast<unsigned>(ymd.day()), static_cast<unsigned>(ymd.month()),
                          static_cast<unsigned>(static_cast<int>(ymd.year())),
                          static_cast<unsigned>(inDay / 3600), static_cast<unsigned>(inDay / 60 % 60),
                          static_cast<unsigned>(inDay % 60)});
}

// A two-value file of `count` records written past the value store: one record every 10 s from
// 1 January 2026, a slow wave with noise on channel 0 and a slower one on channel 1, and now and then a
// value that could not be measured.
bool WriteFile(const std::filesystem::path& path, uint16_t serial, uint32_t count) {
    uint32_t noise = 12345;
    return bench::WriteTwoValueFile(path, serial, count, [&noise](uint32_t i, uint8_t* record) {
        noise = noise * 1103515245u + 12345u;
        StoreLe32(record, StampAt(1767225600LL + int64_t{10} * i));
        const double wave = 20 + 5 * std::sin(i / 3000.0) + ((noise >> 16) % 1000) / 1000.0;
        if (i % 9973 == 9972) {
            StoreLe32(record + 4, 0x7F800009u);
        } else {
            StoreLeFloat(record + 4, static_cast<float>(wave));
        }
        StoreLeFloat(record + 8, static_cast<float>(15 + 3 * std::cos(i / 20000.0)));
    });
}

ModuleRecord BenchModule(uint16_t serial) {
    ModuleRecord module = bench::TwoValueModule(serial);
    CopyToField(module.szUnit0, "%");
    CopyToField(module.szUnit1, "C");
    return module;
}

// Opens the store of `serial`, binds a plot to it and paints the first page once.
void OpenAndPaint(const std::filesystem::path& dir, uint16_t serial, const char* what) {
    const long rssBefore = StatusKb("VmRSS:");
    const SteadyClock::time_point start = SteadyClock::now();
    const double cpuStart = ThreadCpuMilliseconds();
    CMeasValueStore store;
    store.SetDirectory(dir.string());
    const ModuleRecord module = BenchModule(serial);
    if (!store.Bind(module) || !store.OpenReader()) {
        std::printf("%s: cannot open: %s\n", what, store.LastErrorText().c_str());
        return;
    }
    StorePlotSource source(store, PlotCurvesFor(module));
    CMeasPlotWidget plot;
    plot.resize(1000, 600);
    plot.SetSource(&source);
    plot.Last();
    QImage image(plot.size(), QImage::Format_ARGB32_Premultiplied);
    plot.render(&image);
    const double wallMs = MillisecondsSince(start);
    std::printf(
        "%-10s %8u records: open, last page, first paint %6.2f ms (%6.2f ms processor), resident +%ld kB\n",
        what, store.RecordCount(), wallMs, ThreadCpuMilliseconds() - cpuStart,
        StatusKb("VmRSS:") - rssBefore);
}

// Opens the value window of `serial` (as the circuit window does, over the slot's open store), shows it
// and takes its first picture: the list's visible rows, or the plot's last page.
void OpenWindow(const std::filesystem::path& dir, uint16_t serial, bool plot, const char* what) {
    const long rssBefore = StatusKb("VmRSS:");
    const SteadyClock::time_point start = SteadyClock::now();
    const double cpuStart = ThreadCpuMilliseconds();
    CMeasValueStore store;
    store.SetDirectory(dir.string());
    ModuleRecord module = BenchModule(serial);
    if (!store.Bind(module) || !store.OpenReader()) {
        std::printf("%s: cannot open: %s\n", what, store.LastErrorText().c_str());
        return;
    }
    BusContext context;
    CMeasValueDlg window(context, nullptr, module, store);
    window.resize(900, 600);
    window.ShowPlot(plot);
    window.show();
    QCoreApplication::processEvents();
    const QPixmap picture = window.grab();
    const double wallMs = MillisecondsSince(start);
    std::printf("%-17s %8u records: window's first picture %6.2f ms (%6.2f ms processor), resident +%ld kB\n",
                what, store.RecordCount(), wallMs, ThreadCpuMilliseconds() - cpuStart,
                StatusKb("VmRSS:") - rssBefore);
    window.hide();
}

void PaintPage(CMeasPlotWidget& plot, int64_t samples, int paints, const char* picture) {
    SteadyClock::time_point start = SteadyClock::now();
    plot.SetSamplesPerPlot(samples);
    const double loadMs = MillisecondsSince(start);
    QImage image(plot.size(), QImage::Format_ARGB32_Premultiplied);
    plot.render(&image); // warm-up: fonts and glyphs
    start = SteadyClock::now();
    const double cpuStart = ThreadCpuMilliseconds();
    for (int i = 0; i < paints; ++i) {
        plot.render(&image);
    }
    const double paintMs = MillisecondsSince(start) / paints;
    const double paintCpuMs = (ThreadCpuMilliseconds() - cpuStart) / paints;
    std::printf(
        "page of %6lld values: load %6.2f ms (%4zu buckets per pane), paint %6.2f ms (%6.2f ms processor)\n",
        static_cast<long long>(samples), loadMs, plot.Page().panes.front().buckets.size(), paintMs,
        paintCpuMs);
    if (picture != nullptr) {
        image.save(QString::fromUtf8(picture));
    }
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    const uint32_t largest = argc > 1 ? static_cast<uint32_t>(std::strtoul(argv[1], nullptr, 10)) : 10000000u;
    const int paints = argc > 2 ? std::atoi(argv[2]) : 50;

    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "terrix_bench_plot";
    std::filesystem::create_directories(dir);
    SetDataDir(dir.string()); // the windows keep their layout there, not beside the program
    const SteadyClock::time_point start = SteadyClock::now();
    if (!WriteFile(dir / "1000.BinMeasData", 1000, 1000) ||
        !WriteFile(dir / "2000.BinMeasData", 2000, std::max<uint32_t>(largest, 100000))) {
        std::printf("cannot write the files in %s\n", dir.c_str());
        return 1;
    }
    std::printf("files written in %.1f s\n", MillisecondsSince(start) / 1000);

    {
        // Fonts and glyph caches are set up by the first paint of the process; neither file should pay it.
        CMeasPlotWidget warmUp;
        warmUp.resize(1000, 600);
        QImage image(warmUp.size(), QImage::Format_ARGB32_Premultiplied);
        warmUp.render(&image);
    }
    OpenAndPaint(dir, 1000, "small file");
    OpenAndPaint(dir, 2000, "large file");
    // The window's own first show (styles, icons) is paid by neither file.
    OpenWindow(dir, 1000, false, "warm-up");
    OpenWindow(dir, 1000, false, "list, small file");
    OpenWindow(dir, 2000, false, "list, large file");
    OpenWindow(dir, 1000, true, "plot, small file");
    OpenWindow(dir, 2000, true, "plot, large file");

    CMeasValueStore store;
    store.SetDirectory(dir.string());
    const ModuleRecord module = BenchModule(2000);
    store.Bind(module);
    store.OpenReader();
    StorePlotSource source(store, PlotCurvesFor(module));
    CMeasPlotWidget plot;
    plot.resize(1000, 600);
    plot.SetSource(&source);
    plot.SetFirst(1000000 % std::max<uint32_t>(store.RecordCount(), 1));
    PaintPage(plot, 40, paints, nullptr);
    PaintPage(plot, 2000, paints, nullptr);
    PaintPage(plot, 100000, paints, argc > 3 ? argv[3] : nullptr);

    std::filesystem::remove_all(dir);
    return 0;
}
