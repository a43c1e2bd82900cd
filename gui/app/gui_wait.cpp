#include "gui/app/gui_wait.h"

#include "core/platform/pump_wait.h"

#include <QEventLoop>
#include <QTimer>

namespace terrix {

namespace {

// Below this the event loop is not worth starting; the rest of the wait is slept.
constexpr uint64_t kMinLoopUs = 1000;

int nestedWaits = 0;

} // namespace

void GuiWait(Clock& clock, uint64_t deadlineUs) {
    const uint64_t now = clock.NowUs();
    if (now >= deadlineUs) {
        return;
    }
    if (nestedWaits > 0 || deadlineUs - now < kMinLoopUs) {
        clock.SleepUntilUs(deadlineUs);
        return;
    }
    ++nestedWaits;
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    // Whole milliseconds, rounded down: the remainder is slept below, so the wait is never cut short and
    // ends within a millisecond of its deadline.
    timer.start(static_cast<int>((deadlineUs - now) / 1000));
    loop.exec();
    --nestedWaits;
    // The loop also ends early when the application quits while a bus operation waits; the wait still
    // lasts its full time.
    clock.SleepUntilUs(deadlineUs);
}

void InstallGuiWaitHook() {
    SetThreadWaitHook(GuiWait);
}

} // namespace terrix
