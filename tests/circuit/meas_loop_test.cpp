// The measuring loop's state machine, driven event by event on the test's thread in virtual time.

#include "core/bus/commands.h"
#include "core/circuit/measuring_guard.h"
#include "core/inventory/record_values.h"

#include "loop_test_support.h"

#include <filesystem>

namespace terrix::test {
namespace {

using Kind = RecordingListener::Kind;

class MeasLoopTest : public LoopFixture {
protected:
    // Probes at stations 1 and 2, the XV module at 3, a probe at 4 whose record says it failed, a probe at
    // 5 whose record is not identified, and a collision record at 6.
    void BuildMixedBus() {
        AddProbe(1, 31042);
        const size_t slower = AddProbe(2, 31057);
        bus->Modify(slower, [](sim::ModuleState& m) { m.channels[0].measurementCount = 10; });
        AddProbe(3, 40218, true);
        AddProbe(4, 31100);
        AddProbe(5, 31101);
        IdentifyInto({1, 2, 3, 4, 5});
        context.busList.GetAt(1)->bDisabled = 1;
        context.busList.GetAt(3)->enModuleState = msFailed;
        context.busList.GetAt(4)->enModuleState = msNotIdentified;
        auto collision = std::make_unique<ModuleRecord>();
        collision->enModuleState = msCollision;
        collision->iaStation = 6;
        collision->stationInfo.wSerialNo = kNoSerial;
        context.busList.Add(std::move(collision));
    }
};

TEST_F(MeasLoopTest, SlotsFollowTheBusList) {
    BuildMixedBus();
    auto loop = MakeLoop();
    ASSERT_TRUE(loop->Bind(&listener, &context));
    ASSERT_EQ(loop->SlotCount(), 6u);
    for (uint32_t i = 0; i < 6; ++i) {
        EXPECT_EQ(loop->RecordAt(i), context.busList.GetAt(i)) << i;
    }
    EXPECT_EQ(loop->SlotAt(6), nullptr);
    EXPECT_EQ(loop->StoreAt(6), nullptr);
    EXPECT_FALSE(loop->StoreAt(5)->IsBound()) << "a collision record gets no store";
    EXPECT_FALSE(std::filesystem::exists(dataDir / "65535.BinMeasData"));
    EXPECT_TRUE(std::filesystem::exists(dataDir / "31042.BinMeasData"));
    EXPECT_FALSE(loop->NewestValue(0).has_value());

    EXPECT_FALSE(loop->RemoveBySerial(kNoSerial));
    EXPECT_FALSE(loop->RemoveBySerial(12345));
    EXPECT_TRUE(loop->RemoveBySerial(31057));
    ASSERT_EQ(loop->SlotCount(), 5u);
    EXPECT_EQ(loop->RecordAt(1)->SerialNo(), 40218) << "the gap is closed in order";

    CMeasLoop unbound;
    EXPECT_TRUE(unbound.Bind(nullptr, nullptr));
    EXPECT_EQ(unbound.SlotCount(), 0u);
    EXPECT_FALSE(unbound.Start(false, 0)) << "nothing to measure without a bus";
}

TEST_F(MeasLoopTest, MinimumIntervalCountsActiveProbesOnly) {
    BuildMixedBus();
    auto loop = MakeLoop();
    loop->Bind(&listener, &context);
    const uint32_t probe = ConversionTimeSec(context.busList.GetAt(0));
    const uint32_t disabledProbe = ConversionTimeSec(context.busList.GetAt(1));
    const uint32_t xv = ConversionTimeSec(context.busList.GetAt(2));
    ASSERT_GT(xv, probe) << "the XV module's long time must not count";
    ASSERT_GT(disabledProbe, probe) << "the disabled probe converts longer";
    EXPECT_EQ(loop->MinimumInterval(), probe);

    loop->SetModuleDisabled(0, true);
    EXPECT_EQ(loop->MinimumInterval(), 0u) << "failed, unidentified and collision records do not count";
    loop->SetModuleDisabled(1, false);
    EXPECT_EQ(loop->MinimumInterval(), disabledProbe);
}

TEST_F(MeasLoopTest, SingleRoundMeasuresOnlyIdentifiedActiveModules) {
    BuildMixedBus();
    auto loop = MakeLoop();
    loop->Bind(&listener, &context);
    loop->SetModuleDisabled(0, false);
    bus->ClearRequestLog();

    ASSERT_TRUE(loop->Start(false, 0));
    EXPECT_EQ(loop->State(), MeasLoopState::kMeasuring);
    EXPECT_EQ(timer->wakes, 1) << "the first round is handed to the timer at once";
    EXPECT_TRUE(bus->RequestLog().empty()) << "Start itself does no bus work";
    Fire();

    // The round: the probe triggered (242, 241) and fetched (241); the XV module fetched with its own reads.
    EXPECT_EQ(RequestsTo(1, kCmdStartMeasurement), 1u);
    EXPECT_EQ(RequestsTo(1, kCmdReadMeasuredValues), 2u);
    EXPECT_EQ(RequestsTo(3, kCmdStartMeasurement), 0u);
    EXPECT_EQ(RequestsTo(3, kCmdReadMeasBlockB), 1u);
    for (uint8_t station : {2, 4, 5, 6}) {
        EXPECT_EQ(RequestsTo(station), 0u) << "station " << int(station) << " must not be measured";
    }
    // A single round whose interval is over stops at once.
    EXPECT_EQ(listener.Numbers(Kind::kValue), (std::vector<uint32_t>{0, 2}));
    const uint32_t minimum = loop->MinimumInterval();
    if (minimum == 0) {
        EXPECT_FALSE(loop->IsMeasuring());
    } else {
        FireUntilIdle(*loop, 4 * static_cast<int>(minimum) + 8);
    }
    EXPECT_EQ(loop->State(), MeasLoopState::kIdle);
    EXPECT_EQ(listener.Events().back().kind, Kind::kIdle);
    EXPECT_EQ(listener.Count(Kind::kIdle), 1u);
    EXPECT_EQ(context.portContext.hPort, kInvalidPort) << "the stop closes the port";
    EXPECT_FALSE(timer->running);

    EXPECT_EQ(loop->StoreAt(0)->RecordCount(), 1u);
    EXPECT_EQ(loop->StoreAt(1)->RecordCount(), 0u);
    EXPECT_EQ(loop->StoreAt(2)->RecordCount(), 1u);
    EXPECT_EQ(loop->StoreAt(3)->RecordCount(), 0u);
    const std::optional<CMeasRecord> newest = loop->NewestValue(0);
    ASSERT_TRUE(newest.has_value());
    uint32_t stamp = 0;
    newest->GetValue(0, &stamp);
    EXPECT_EQ(stamp, 0x0A0B0C0Du);
    ASSERT_TRUE(loop->StoreAt(0)->ReadRecord(0));
    EXPECT_EQ(loop->StoreAt(0)->ReadRecordData().Pack(), newest->Pack());
}

TEST_F(MeasLoopTest, SingleRoundWithRate30CountsDownThenStops) {
    AddProbe(1, 31042);
    IdentifyInto({1});
    auto loop = MakeLoop();
    loop->Bind(&listener, &context);
    ASSERT_LT(loop->MinimumInterval(), 30u);
    ASSERT_TRUE(loop->Start(false, 30));
    Fire();
    ASSERT_EQ(listener.Count(Kind::kValue), 1u);
    EXPECT_EQ(loop->State(), MeasLoopState::kWaiting);
    EXPECT_EQ(loop->WaitInterval(), 30u);
    EXPECT_NE(context.portContext.hPort, kInvalidPort) << "the port stays open while counting down";

    const int fired = FireUntilIdle(*loop, 1000);
    EXPECT_EQ(loop->State(), MeasLoopState::kIdle);
    // 30 s of events at 4 per second, less what the round took.
    EXPECT_GE(fired, 110);
    EXPECT_LE(fired, 121);
    const std::vector<uint32_t> countdown = listener.Numbers(Kind::kCountdown);
    ASSERT_FALSE(countdown.empty());
    EXPECT_EQ(countdown.front(), 30u) << "counted from the round's start, which took less than a second";
    EXPECT_EQ(countdown.back(), 1u);
    EXPECT_TRUE(std::is_sorted(countdown.rbegin(), countdown.rend()));
    EXPECT_EQ(listener.Count(Kind::kValue), 1u) << "a single round measures once";
    EXPECT_EQ(listener.Events().back().kind, Kind::kIdle);
    EXPECT_EQ(context.portContext.hPort, kInvalidPort);
}

TEST_F(MeasLoopTest, LoopRepeatsAtTheRateAndStopsAtOnceWhileWaiting) {
    AddProbe(1, 31042);
    IdentifyInto({1});
    auto loop = MakeLoop();
    loop->Bind(&listener, &context);
    const uint32_t rate = std::max(loop->MinimumInterval(), 5u);
    ASSERT_TRUE(loop->Start(true, 1));
    Fire();
    EXPECT_EQ(loop->WaitInterval(), std::max(loop->MinimumInterval(), 1u))
        << "the rate never undercuts the probe";

    loop->Stop();
    ASSERT_FALSE(loop->IsMeasuring());
    listener.Clear();

    ASSERT_TRUE(loop->Start(true, rate));
    // Three rounds and most of the wait after the third.
    for (uint32_t i = 0; i < 4 * (2 * rate + rate / 2) + 1; ++i) {
        Fire();
    }
    EXPECT_EQ(listener.Numbers(Kind::kRoundDone), (std::vector<uint32_t>{1, 2, 3}));
    EXPECT_EQ(loop->StoreAt(0)->RecordCount(), 4u) << "one record from the first start";
    ASSERT_EQ(loop->State(), MeasLoopState::kWaiting);

    // Stop while waiting: at once, on this thread.
    loop->Stop();
    EXPECT_EQ(loop->State(), MeasLoopState::kIdle);
    EXPECT_EQ(listener.Events().back().kind, Kind::kIdle);
    EXPECT_FALSE(timer->running);
    EXPECT_EQ(context.portContext.hPort, kInvalidPort);
    EXPECT_TRUE(MeasuringGuard::CheckBusFree(context.portContext));
    loop->Stop(); // nothing more happens when idle
    EXPECT_EQ(listener.Count(Kind::kIdle), 1u);
}

TEST_F(MeasLoopTest, PendingStopEndsBackToBackRoundsAndRoundsMidway) {
    // The XV module alone has no minimum interval: with rate 0 the rounds follow each other in one step.
    AddProbe(3, 40218, true);
    AddProbe(4, 40219, true);
    IdentifyInto({3, 4});
    auto loop = MakeLoop();
    loop->Bind(&listener, &context);
    ASSERT_EQ(loop->MinimumInterval(), 0u);
    listener.onRoundDone = [&](uint32_t rounds) {
        if (rounds == 3) {
            loop->Stop();
        }
    };
    ASSERT_TRUE(loop->Start(true, 0));
    Fire(); // runs until the stop
    EXPECT_EQ(loop->State(), MeasLoopState::kIdle);
    EXPECT_EQ(listener.Numbers(Kind::kRoundDone), (std::vector<uint32_t>{1, 2, 3}));
    EXPECT_EQ(listener.Count(Kind::kCountdown), 0u);
    EXPECT_EQ(loop->StoreAt(0)->RecordCount(), 3u);

    // A stop asked for during a round ends it after the current module.
    listener.Clear();
    listener.onRoundDone = nullptr;
    listener.onNewValue = [&](uint32_t slot) {
        if (slot == 0) {
            loop->Stop();
        }
    };
    ASSERT_TRUE(loop->Start(true, 0));
    Fire();
    EXPECT_EQ(loop->State(), MeasLoopState::kIdle);
    EXPECT_EQ(listener.Numbers(Kind::kValue), (std::vector<uint32_t>{0}));
    EXPECT_EQ(listener.Count(Kind::kRoundDone), 0u);
    EXPECT_EQ(loop->StoreAt(0)->RecordCount(), 4u);
    EXPECT_EQ(loop->StoreAt(1)->RecordCount(), 3u);
    EXPECT_EQ(context.portContext.hPort, kInvalidPort);
}

TEST_F(MeasLoopTest, FailedStartWaitsForStop) {
    AddProbe(1, 31042);
    IdentifyInto({1});
    auto loop = MakeLoop();
    loop->Bind(&listener, &context);

    context.portContext.device = "/nonexistent/terrix-port";
    EXPECT_FALSE(loop->Start(true, 10));
    EXPECT_EQ(loop->StartError(), kMeasStartNoPort);
    EXPECT_STREQ(MeasStartErrorText(loop->StartError()), "Unable to open any COM ports.");
    EXPECT_EQ(loop->State(), MeasLoopState::kStopRequested);
    EXPECT_TRUE(loop->IsMeasuring());
    EXPECT_TRUE(listener.Events().empty()) << "nothing is reported until the user stops";
    EXPECT_TRUE(MeasuringGuard::CheckBusFree(context.portContext)) << "no port, no claim";
    loop->Stop();
    EXPECT_EQ(loop->State(), MeasLoopState::kIdle);
    EXPECT_EQ(listener.Count(Kind::kIdle), 1u);

    context.portContext.device = "looptest";
    timer->failStart = true;
    listener.Clear();
    bus->ClearRequestLog();
    EXPECT_FALSE(loop->Start(true, 10));
    EXPECT_EQ(loop->StartError(), kMeasStartNoTimer);
    EXPECT_NE(context.portContext.hPort, kInvalidPort) << "the port stays open until the stop";
    EXPECT_FALSE(MeasuringGuard::CheckBusFree(context.portContext));
    EXPECT_TRUE(bus->RequestLog().empty()) << "no round without a timer";
    loop->Stop();
    EXPECT_EQ(context.portContext.hPort, kInvalidPort);
    EXPECT_TRUE(MeasuringGuard::CheckBusFree(context.portContext));
    EXPECT_EQ(listener.Count(Kind::kIdle), 1u);
    EXPECT_EQ(loop->StoreAt(0)->RecordCount(), 0u);
}

TEST_F(MeasLoopTest, ValueThatCannotBeStoredIsStillReported) {
    AddProbe(1, 31042);
    IdentifyInto({1});
    // A folder where the binary file belongs: the file cannot be opened or written.
    std::filesystem::create_directory(dataDir / "31042.BinMeasData");
    auto loop = MakeLoop();
    loop->Bind(&listener, &context);
    ASSERT_TRUE(loop->Start(false, 0));
    Fire();
    FireUntilIdle(*loop, 200);
    EXPECT_EQ(listener.Numbers(Kind::kValue), (std::vector<uint32_t>{0}));
    EXPECT_EQ(listener.Numbers(Kind::kStoreFailed), (std::vector<uint32_t>{0}));
    EXPECT_NE(listener.LastReason().find("31042.BinMeasData"), std::string::npos) << listener.LastReason();
    EXPECT_TRUE(loop->NewestValue(0).has_value());
    EXPECT_EQ(listener.Events().back().kind, Kind::kIdle);
}

} // namespace
} // namespace terrix::test
