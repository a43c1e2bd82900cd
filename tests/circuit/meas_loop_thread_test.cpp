// The measuring loop on its real timer thread while the test's thread reads, stops and destroys it: the
// cases a window meets. The bus runs in virtual time on the timer thread; run under ThreadSanitizer these
// tests check that the two threads share nothing unguarded.

#include "core/circuit/measuring_guard.h"
#include "core/inventory/unit_names.h"

#include "loop_test_support.h"

namespace terrix::test {
namespace {

using Kind = RecordingListener::Kind;

class MeasLoopThreadTest : public LoopFixture {
protected:
    void SetUp() override {
        LoopFixture::SetUp();
        // XV modules have no minimum interval, so with rate 0 the rounds follow each other without a pause.
        AddProbe(3, 40218, true);
        AddProbe(4, 40219, true);
        IdentifyInto({3, 4});
    }
    // A loop with its own timer thread; the countdown runs on the system clock.
    std::unique_ptr<CMeasLoop> MakeThreadLoop() {
        auto loop = std::make_unique<CMeasLoop>();
        loop->Bind(&listener, &context);
        return loop;
    }
};

TEST_F(MeasLoopThreadTest, StopFromTheCallersThreadEndsBackToBackRounds) {
    auto loop = MakeThreadLoop();
    ASSERT_TRUE(loop->Start(true, 0));
    // While the timer thread measures, this thread reads what a window reads (a race there shows under
    // ThreadSanitizer).
    bool sawValue = false;
    for (int i = 0; i < 200 && !sawValue; ++i) {
        sawValue = loop->NewestValue(0).has_value() && loop->MinimumInterval() == 0;
        std::this_thread::yield();
    }
    ASSERT_TRUE(listener.WaitFor(Kind::kValue, 6));
    EXPECT_FALSE(MeasuringGuard::CheckBusFree(context.portContext));
    loop->SetModuleDisabled(1, true);
    loop->Stop();
    ASSERT_TRUE(listener.WaitFor(Kind::kIdle));
    EXPECT_EQ(std::tuple(loop->IsMeasuring(), MeasuringGuard::CheckBusFree(context.portContext),
                         context.portContext.hPort, listener.Events().back().kind,
                         listener.Count(Kind::kIdle), listener.Count(Kind::kCountdown)),
              std::tuple(false, true, kInvalidPort, Kind::kIdle, size_t{1}, size_t{0}));
    EXPECT_EQ(loop->StoreAt(0)->RecordCount() + loop->StoreAt(1)->RecordCount(),
              listener.Count(Kind::kValue));

    // It starts again after a stop on another thread; a stop while it counts down ends the wait.
    listener.Clear();
    loop->SetModuleDisabled(1, false);
    ASSERT_TRUE(loop->Start(true, 3600));
    ASSERT_TRUE(listener.WaitFor(Kind::kCountdown));
    EXPECT_EQ(listener.Numbers(Kind::kCountdown).front(), 3600u);
    loop->Stop();
    ASSERT_TRUE(listener.WaitFor(Kind::kIdle));
    EXPECT_FALSE(loop->IsMeasuring());
    EXPECT_EQ(listener.Numbers(Kind::kValue), (std::vector<uint32_t>{0, 1}));
}

TEST_F(MeasLoopThreadTest, DestroyingTheLoopMidRoundWaitsForTheRoundToEnd) {
    auto loop = MakeThreadLoop();
    ASSERT_TRUE(loop->Start(true, 0));
    ASSERT_TRUE(listener.WaitFor(Kind::kValue, 3));
    loop.reset();
    const size_t values = listener.Count(Kind::kValue);
    EXPECT_EQ(listener.Count(Kind::kIdle), 0u) << "a loop being destroyed reports nothing more";
    EXPECT_EQ(context.portContext.hPort, kInvalidPort);
    EXPECT_TRUE(MeasuringGuard::CheckBusFree(context.portContext));
    // Every value reported was stored, and nothing was stored afterwards.
    uint32_t stored = 0;
    for (uint32_t i = 0; i < 2; ++i) {
        CMeasValueStore store;
        ASSERT_TRUE(store.Attach(*context.busList.GetAt(i)));
        stored += store.RecordCount();
    }
    EXPECT_GE(stored, values);
    EXPECT_LE(stored, values + 1) << "at most the module being measured when the window closed";
}

TEST_F(MeasLoopThreadTest, WindowOnTheCallersThreadIsRefusedWhileRoundsRun) {
    // The window had the port open before; afterwards it tries commands while the timer thread measures.
    PortUser window(&context.portContext);
    ASSERT_TRUE(window.Acquire());
    const PortHandle port = context.portContext.hPort;
    auto loop = MakeThreadLoop();
    ASSERT_TRUE(loop->Start(true, 0));
    EXPECT_EQ(context.portContext.hPort, port) << "the loop takes the open port over";
    ASSERT_TRUE(listener.WaitFor(Kind::kValue, 2));
    ModuleRecord record;
    record.iaStation = 3;
    for (int i = 0; i < 50; ++i) {
        EXPECT_FALSE(window.Release());
        EXPECT_FALSE(window.Acquire());
        EXPECT_FALSE(RescanModule(window, UnitName, record));
        std::this_thread::yield();
    }
    EXPECT_EQ(context.portContext.dwError, kErrorPortReserved);
    EXPECT_EQ(record.SerialNo(), 0) << "the refused rescan left the record alone";
    const size_t values = listener.Count(Kind::kValue);
    ASSERT_TRUE(listener.WaitFor(Kind::kValue, values + 4)) << "the rounds go on";
    loop->Stop();
    ASSERT_TRUE(listener.WaitFor(Kind::kIdle));
    EXPECT_EQ(context.portContext.hPort, kInvalidPort);
    EXPECT_FALSE(window.Release()) << "nothing left to close";
    ASSERT_TRUE(RescanModule(window, UnitName, record));
    EXPECT_EQ(record.SerialNo(), 40218);
}

} // namespace
} // namespace terrix::test
