#include "gui/tour/tour_steps.h"

#include "core/busops/scan_session.h"
#include "core/circuit/meas_loop.h"
#include "core/inventory/unit_names.h"
#include "core/measure/meas_value_store.h"
#include "core/platform/data_paths.h"
#include "core/platform/path_text.h"
#include "gui/base/bus_activity.h"
#include "gui/frame/main_frame.h"
#include "gui/measure/export_values_dlg.h"
#include "gui/measure/meas_value_dlg.h"
#include "gui/tour/screenshot_tour.h"

#include <QElapsedTimer>

#include <atomic>
#include <cstdio>

namespace terrix {

namespace {

// Enough values for the plot to draw a line. A round waits for the probes' conversion (8 s on the
// simulated bus), so they are measured once, for the English pictures, and the German ones reuse them.
constexpr uint32_t kWantedValues = 3;
constexpr int kMeasuringLimitMs = 40000;

// Tells when a single round has ended.
class RoundCounter final : public MeasLoopListener {
public:
    void OnNewValue(uint32_t) override {}
    void OnCountdown(uint32_t) override {}
    void OnIdle() override { idle_ = true; }
    bool Idle() const { return idle_; }

private:
    std::atomic<bool> idle_{false};
};

const ModuleRecord* FindModule(const CBusList& list, bool xv) {
    for (uint32_t i = 0; i < list.Count(); ++i) {
        const ModuleRecord* record = list.GetAt(i);
        if (record == nullptr || record->enModuleState != msIdentified) {
            continue;
        }
        const MeasLayout layout = ChooseLayout(*record);
        const bool isXv = layout == MeasLayout::kXv || layout == MeasLayout::kXvWithTdc;
        if (xv ? isXv : (!isXv && record->dwMeasChannels == 3)) {
            return record;
        }
    }
    return nullptr;
}

uint32_t StoredValues(const ModuleRecord& module) {
    CMeasValueStore store;
    store.SetDirectory(PathText(DataDir()));
    return store.Bind(module) && store.OpenReader() ? store.RecordCount() : 0;
}

// The bus the circuit window would show: the saved one identified again, or a complete scan when none is
// saved; then measuring rounds until the probe has a few values to plot.
bool PrepareBus(BusContext& context) {
    BusActivity activity(context, nullptr, QStringLiteral("screenshot tour"));
    if (!activity) {
        return false;
    }
    const auto progress = [](const ScanProgress&) { return true; };
    if (FindModule(context.busList, false) == nullptr) {
        // The saved stations when a bus was saved, else the whole bus.
        TourContext::RunBusWork(
            [&] { RunScanSession(context, ScanSessionOptions{}, UnitName, progress, {}); });
    }
    const ModuleRecord* probe = FindModule(context.busList, false);
    if (probe == nullptr) {
        return false;
    }
    const uint32_t have = StoredValues(*probe);
    if (have >= kWantedValues) {
        return true;
    }
    // Single rounds one after the other: a measuring loop would wait the conversion time between them.
    QElapsedTimer elapsed;
    elapsed.start();
    for (uint32_t round = have; round < kWantedValues && elapsed.elapsed() < kMeasuringLimitMs; ++round) {
        RoundCounter counter;
        CMeasLoop loop;
        loop.Bind(&counter, &context);
        if (!loop.Start(false, 0)) {
            loop.Stop();
            break;
        }
        while (!counter.Idle() && elapsed.elapsed() < kMeasuringLimitMs) {
            TourContext::Settle(20);
        }
        loop.Shutdown();
    }
    return StoredValues(*probe) > 0;
}

// Opens the window of `module` over a store of its own, shows it as list or plot and saves the picture.
// With `exportChoices`, the choices of "Export..." over the window, for every value, as a German user gets
// them in the German pictures.
bool ShootValueWindow(TourContext& tour, const ModuleRecord& found, bool plot, const char* picture,
                      bool exportChoices = false) {
    ModuleRecord module = found;
    CMeasValueStore store;
    store.SetDirectory(PathText(DataDir()));
    if (!store.Bind(module)) {
        return false;
    }
    store.OpenReader();
    auto* window = new CMeasValueDlg(*tour.Frame().GetBusContext(), &tour.Frame(), module, store);
    window->resize(700, 400);
    window->show();
    window->move(tour.Frame().geometry().center() - window->rect().center());
    window->ShowPlot(plot);
    TourContext::Settle(150);
    bool shot = false;
    if (exportChoices) {
        const uint32_t count = store.RecordCount();
        CExportValuesDlg choices(0, count, count, tour.Language() == QLatin1String("de"), window);
        choices.show();
        choices.adjustSize();
        choices.move(window->geometry().center() - choices.rect().center());
        TourContext::Settle(150);
        shot = tour.Shoot(QString::fromLatin1(picture), {window, &choices});
        choices.hide();
    } else {
        shot = tour.Shoot(QString::fromLatin1(picture), {window});
    }
    delete window;
    return shot;
}

} // namespace

void AddMeasValueTourSteps(CScreenshotTour& tour) {
    tour.AddStep(QStringLiteral("value window"), [](TourContext& t) {
        BusContext& context = *t.Frame().GetBusContext();
        if (!PrepareBus(context)) {
            std::fprintf(stderr, "terrix: no two-channel probe with values for the value window\n");
            return false;
        }
        const ModuleRecord* probe = FindModule(context.busList, false);
        return ShootValueWindow(t, *probe, false, "values") && ShootValueWindow(t, *probe, true, "plot") &&
               ShootValueWindow(t, *probe, true, "export", true);
    });
    tour.AddStep(QStringLiteral("value window of the XV module"), [](TourContext& t) {
        const ModuleRecord* xv = FindModule(t.Frame().GetBusContext()->busList, true);
        return xv != nullptr && ShootValueWindow(t, *xv, false, "values_xv") &&
               ShootValueWindow(t, *xv, true, "plot_xv");
    });
}

} // namespace terrix
