// Calls from the measuring loop's thread and from the bus trace reach a window as queued calls, and none
// reaches a window that is gone.

#include "core/busops/identification.h"
#include "core/circuit/meas_loop.h"
#include "core/inventory/unit_names.h"
#include "gui/toolkit/queued_adapters.h"
#include "gui_test_support.h"
#include "sim/sim_scheme.h"

#include <QTest>
#include <QThread>

#include <atomic>
#include <thread>

using namespace terrix;

namespace {

// A window as the circuit window holds its loop: the adapter first, the loop after it.
class LoopWindow : public QWidget {
public:
    LoopWindow(BusContext& context, std::atomic<int>& values, std::atomic<bool>& wrongThread)
        : values_(values), wrongThread_(wrongThread) {
        QVERIFY(loop_.Bind(&listener_, &context));
    }
    CMeasLoop& Loop() { return loop_; }

private:
    void OnValue() {
        wrongThread_ = wrongThread_ || QThread::currentThread() != thread();
        ++values_;
    }

    std::atomic<int>& values_;
    std::atomic<bool>& wrongThread_;
    QueuedMeasLoopListener listener_{this, {.newValue = [this](uint32_t) { OnValue(); }}};
    CMeasLoop loop_;
};

} // namespace

class TestQueuedAdapters : public QObject {
    Q_OBJECT

    test::TempDataDir data_;

private Q_SLOTS:
    // The window goes while its loop measures on the simulated bus: the loop is shut down by the window's
    // destruction and nothing is delivered afterwards (AddressSanitizer watches).
    void windowDestroyedWhileTheLoopRuns() {
        RegisterSimTransportScheme();
        BusContext context;
        context.portContext.nPortNo = 1;
        context.portContext.device = "sim";
        {
            PortUser user(&context.portContext);
            QVERIFY(user.Acquire());
            for (uint8_t station : {1, 2}) {
                auto record = std::make_unique<ModuleRecord>();
                QVERIFY(IdentifyModule(user.Port(), station, *record, UnitName));
                QVERIFY(context.busList.Add(std::move(record)));
            }
            user.Release();
        }
        std::atomic<int> values{0};
        std::atomic<bool> wrongThread{false};
        auto* window = new LoopWindow(context, values, wrongThread);
        QVERIFY(window->Loop().Start(true, 0));
        QTRY_VERIFY_WITH_TIMEOUT(values >= 1, 20000);
        QVERIFY(window->Loop().IsMeasuring());
        delete window;
        const int delivered = values;
        QTest::qWait(600); // long enough for the timer's next events, had the loop outlived the window
        QCOMPARE(values.load(), delivered);
        QVERIFY(!wrongThread);
        QCOMPARE(context.portContext.hPort, kInvalidPort); // the loop released the port
    }

    // Calls queued from another thread while the window lived are dropped when it goes first; calls made
    // after it has gone post nothing.
    void queuedCallsDieWithTheirWindow() {
        std::atomic<int> delivered{0};
        auto* window = new QObject;
        QueuedMeasLoopListener listener(window,
                                        {.countdown = [&](uint32_t) { ++delivered; },
                                         .storeFailed = [&](uint32_t, const QString&) { ++delivered; }});
        std::thread loopThread([&] {
            for (uint32_t i = 0; i < 100; ++i) {
                listener.OnCountdown(i);
                listener.OnStoreFailed(i, "disk full");
            }
        });
        loopThread.join();
        delete window;
        listener.OnIdle(); // no handler: nothing
        listener.OnCountdown(1);
        QCoreApplication::processEvents();
        QCOMPARE(delivered.load(), 0);

        QObject alive;
        QueuedMeasLoopListener second(&alive, {.countdown = [&](uint32_t) { ++delivered; }});
        std::thread([&] { second.OnCountdown(3); }).join();
        QCOMPARE(delivered.load(), 0); // queued, not called on the loop's thread
        QCoreApplication::processEvents();
        QCOMPARE(delivered.load(), 1);
    }

    void traceFramesArriveAsCopiesUntilUninstalled() {
        std::vector<BusTraceEvent> seen;
        auto* monitor = new QObject;
        QueuedBusTraceObserver observer(monitor, [&](const BusTraceEvent& event) { seen.push_back(event); });
        observer.Install();
        std::thread([] {
            BusTraceEvent event;
            event.bytes = {5, 0xFD, 0, 8, 0xBE, 0x48, 0xFE};
            NotifyBusTrace(event);
        }).join();
        QVERIFY(seen.empty());
        QCoreApplication::processEvents();
        QCOMPARE(seen.size(), size_t{1});
        QCOMPARE(seen[0].bytes.size(), size_t{7});

        std::thread([] { NotifyBusTrace(BusTraceEvent{}); }).join();
        delete monitor; // a frame still queued goes with the window
        QCoreApplication::processEvents();
        QCOMPARE(seen.size(), size_t{1});
        observer.Uninstall();
        NotifyBusTrace(BusTraceEvent{}); // nobody listens any more
        QCOMPARE(seen.size(), size_t{1});
    }
};

QTEST_MAIN(TestQueuedAdapters)
#include "tst_queued_adapters.moc"
