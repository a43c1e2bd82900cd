// The bus job: work off the user-interface thread, one job per bus context, results and reports on the
// window's thread, and a window that is closed or deleted while its work runs.

#include "core/platform/pump_wait.h"
#include "gui/base/bus_activity.h"
#include "gui/base/bus_job.h"
#include "gui/toolkit/placement_dialog.h"
#include "gui_test_support.h"

#include <QPointer>
#include <QtTest>

#include <chrono>
#include <stdexcept>
#include <thread>

using namespace terrix;

namespace {

// Work that runs until it is asked to stop (or, so that a broken stop cannot hang the test, for 5 s).
bool WaitForStop(const BusJobControl& job) {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!job.StopRequested() && std::chrono::steady_clock::now() < giveUp) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return job.StopRequested();
}

} // namespace

class TestBusJob : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { ForbidBusWaitsOnThisThread(); }

    void workRunsOffThisThreadAndReportsInOrderOnIt() {
        BusContext context;
        CPlacementDialog window;
        QStringList seen;
        std::thread::id workThread;
        bool busyWhileRunning = false;
        QVERIFY(BusJob::Start(
            context, &window, QStringLiteral("test"),
            [&seen, &window](BusJobControl& job) {
                for (int i = 1; i <= 3; ++i) {
                    job.Post([&seen, i] { seen << QString::number(i); });
                }
                // A bus wait on a worker is allowed, unlike one on the user-interface thread.
                PumpWait(1);
                return std::this_thread::get_id();
            },
            [&](std::thread::id id) {
                workThread = id;
                seen << QStringLiteral("done");
                // The bus is free again for a next phase started from here.
                busyWhileRunning = BusActivity::IsBusy(context);
            }));
        QVERIFY(BusJob::Runs(&window));
        QVERIFY(BusActivity::IsBusy(context));
        QTRY_COMPARE(seen, (QStringList{"1", "2", "3", "done"}));
        QVERIFY(workThread != std::this_thread::get_id());
        QVERIFY(!busyWhileRunning);
        QVERIFY(!BusJob::Runs(&window));
    }

    void aSecondJobOnTheBusIsRefusedWithTheFirstOnesName() {
        test::MessageRecorder messages;
        BusContext context;
        CPlacementDialog first;
        CPlacementDialog second;
        bool secondRan = false;
        QVERIFY(BusJob::Start(context, &first, QStringLiteral("Scanning"), WaitForStop, [](bool) {}));
        QVERIFY(!BusJob::Start(
            context, &second, QStringLiteral("other"), [&secondRan](BusJobControl&) { secondRan = true; },
            [] {}));
        QCOMPARE(messages.messages.size(), size_t{1});
        QVERIFY(messages.messages[0].text.contains(QStringLiteral("Scanning")));
        BusJob::RequestStop(&first);
        QTRY_VERIFY(!BusActivity::IsBusy(context));
        QVERIFY(!secondRan);
    }

    // Work that throws still ends in `done`, with the failed (default) result or, without a result, as
    // such, so that a window waiting for it can go on or close; the bus is free again.
    void workThatThrowsStillEndsInDone() {
        QTest::ignoreMessage(QtWarningMsg, "Bus work stopped by an exception: lost");
        QTest::ignoreMessage(QtWarningMsg, "Bus work stopped by an exception: lost");
        BusContext context;
        CPlacementDialog window;
        int seen = -1;
        QVERIFY(BusJob::Start(
            context, &window, QStringLiteral("test"),
            [](BusJobControl&) -> int { throw std::runtime_error("lost"); },
            [&seen](int value) { seen = value; }));
        QTRY_COMPARE(seen, 0);
        bool doneRan = false;
        QVERIFY(BusJob::Start(
            context, &window, QStringLiteral("test"),
            [](BusJobControl&) { throw std::runtime_error("lost"); }, [&doneRan] { doneRan = true; }));
        QTRY_VERIFY(doneRan);
        QVERIFY(!BusActivity::IsBusy(context));
    }

    // Deleting a window waits for its work, which must not outlive the bus activity, and drops its result.
    void deletingTheWindowWaitsForTheWorkAndDropsTheResult() {
        BusContext context;
        auto* window = new CPlacementDialog;
        auto stopped = std::make_shared<std::atomic<bool>>(false);
        bool doneRan = false;
        QVERIFY(BusJob::Start(
            context, window, QStringLiteral("test"),
            [stopped](BusJobControl& job) { stopped->store(WaitForStop(job)); },
            [&doneRan] { doneRan = true; }));
        delete window;
        QVERIFY(stopped->load());
        QVERIFY(!BusActivity::IsBusy(context));
        QCoreApplication::processEvents();
        QVERIFY(!doneRan);
    }
};

QTEST_MAIN(TestBusJob)
#include "tst_bus_job.moc"
