// The measuring loop's state machine, driven event by event on the test's thread in virtual time.

#include "core/bus/commands.h"
#include "core/busops/bus_scan.h"
#include "core/busops/scan_session.h"
#include "core/circuit/measuring_guard.h"
#include "core/inventory/bus_info_file.h"
#include "core/inventory/record_values.h"

#include "inventory/inventory_test_util.h"
#include "loop_test_support.h"

#include <filesystem>
#include <functional>

namespace terrix::test {
namespace {

using Kind = RecordingListener::Kind;

class MeasLoopTest : public LoopFixture {
protected:
    uint32_t stamp = 100; // the last time stamp given out by LoseThePortInTheSecondRound's loop

    // The loop has stopped, said so last, and let go of its timer and port.
    void ExpectStopped(const CMeasLoop& loop) {
        EXPECT_EQ(std::tuple(loop.State(), listener.Events().back().kind, timer->running,
                             context.portContext.hPort),
                  std::tuple(MeasLoopState::kIdle, Kind::kIdle, false, kInvalidPort));
    }
    // The serial adapter pulled out while a round fetches the second of two probes: the probe being measured
    // gets its error markers and the loss is reported once, naming the device; every file holds whole
    // records. Returns the loop (rate `period`) right after the loss; values are stamped 101, 102, ...
    std::unique_ptr<CMeasLoop> LoseThePortInTheSecondRound(bool reconnect, uint32_t& period) {
        AddProbe(1, 31042);
        AddProbe(2, 31057);
        IdentifyInto({1, 2});
        MeasLoopOptions options;
        options.stampNow = [this] { return ++stamp; };
        options.reconnect = reconnect;
        auto loop = MakeLoop(std::move(options));
        period = std::max<uint32_t>(loop->MinimumInterval(), 10);
        size_t values = 0;
        listener.onNewValue = [&values, this](uint32_t) {
            if (++values == 3) {
                bus->SetUnplugged(true); // after the first probe of the second round
            }
        };
        EXPECT_TRUE(loop->Start(true, period));
        FireUntilIdle(*loop, 4 * static_cast<int>(period) + 8);
        listener.onNewValue = nullptr;
        EXPECT_EQ(listener.Count(Kind::kPortLost), 1u);
        for (const RecordingListener::Event& e : listener.Events()) {
            if (e.kind == Kind::kPortLost) {
                EXPECT_NE(e.reason.find("Lost the connection to sim"), std::string::npos) << e.reason;
            }
        }
        EXPECT_EQ(listener.Numbers(Kind::kValue), (std::vector<uint32_t>{0, 1, 0, 1}));
        EXPECT_EQ(RecordCounts(*loop), (std::vector<uint32_t>{2, 2}));
        EXPECT_EQ(context.portContext.hPort, kInvalidPort);
        return loop;
    }
    std::vector<uint32_t> RecordCounts(const CMeasLoop& loop) {
        std::vector<uint32_t> counts;
        for (uint32_t i = 0; i < loop.SlotCount(); ++i) {
            counts.push_back(loop.StoreAt(i)->RecordCount());
        }
        return counts;
    }
};

// Slots follow the bus list; only the identified active probes set the minimum interval, and a single round
// measures only the identified active modules.
TEST_F(MeasLoopTest, MixedBusSlotsIntervalAndSingleRound) {
    // Probes at stations 1 and 2, the XV module at 3, a probe at 4 whose record says it failed, a probe at 5
    // whose record is not identified, and a collision record at 6.
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
    context.busList.Add(testing::MakeCollision(6));
    auto loop = MakeLoop();
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

    const uint32_t probe = ConversionTimeSec(context.busList.GetAt(0));
    const uint32_t disabledProbe = ConversionTimeSec(context.busList.GetAt(1));
    ASSERT_GT(ConversionTimeSec(context.busList.GetAt(2)), probe)
        << "the XV module's long time must not count";
    ASSERT_GT(disabledProbe, probe) << "the disabled probe converts longer";
    EXPECT_EQ(loop->MinimumInterval(), probe);
    loop->SetModuleDisabled(0, true);
    EXPECT_EQ(loop->MinimumInterval(), 0u) << "failed, unidentified and collision records do not count";
    loop->SetModuleDisabled(1, false);
    EXPECT_EQ(loop->MinimumInterval(), disabledProbe);
    loop->SetModuleDisabled(0, false);
    loop->SetModuleDisabled(1, true);
    bus->ClearRequestLog();

    ASSERT_TRUE(loop->Start(false, 0));
    EXPECT_EQ(loop->State(), MeasLoopState::kMeasuring);
    EXPECT_EQ(timer->wakes, 1) << "the first round is handed to the timer at once";
    EXPECT_TRUE(bus->RequestLog().empty()) << "Start itself does no bus work";
    Fire();
    // The round: the probe triggered (242, 241) and fetched (241); the XV module fetched with its own reads;
    // stations 2, 4, 5 and 6 heard nothing.
    EXPECT_EQ((std::vector<size_t>{
                  CountRequests(kCmdStartMeasurement, 1), CountRequests(kCmdReadMeasuredValues, 1),
                  CountRequests(kCmdStartMeasurement, 3), CountRequests(kCmdReadMeasBlockB, 3),
                  CountRequests(-1, 2), CountRequests(-1, 4), CountRequests(-1, 5), CountRequests(-1, 6)}),
              (std::vector<size_t>{1, 2, 0, 1, 0, 0, 0, 0}));
    // A single round stops once the probe's conversion time is over.
    EXPECT_EQ(listener.Numbers(Kind::kValue), (std::vector<uint32_t>{0, 2}));
    FireUntilIdle(*loop, 4 * static_cast<int>(loop->MinimumInterval()) + 8);
    ExpectStopped(*loop);
    EXPECT_EQ(listener.Count(Kind::kIdle), 1u);
    EXPECT_EQ(RecordCounts(*loop), (std::vector<uint32_t>{1, 0, 1, 0, 0, 0}));
    const std::optional<CMeasRecord> newest = loop->NewestValue(0);
    ASSERT_TRUE(newest.has_value());
    uint32_t stamp = 0;
    newest->GetValue(0, &stamp);
    EXPECT_EQ(stamp, kStamp);
    ASSERT_TRUE(loop->StoreAt(0)->ReadRecord(0));
    EXPECT_EQ(loop->StoreAt(0)->ReadRecordData().Pack(), newest->Pack());

    EXPECT_EQ((std::vector<bool>{loop->RemoveBySerial(kNoSerial), loop->RemoveBySerial(12345),
                                 loop->RemoveBySerial(31057)}),
              (std::vector<bool>{false, false, true}));
    ASSERT_EQ(loop->SlotCount(), 5u);
    EXPECT_EQ(loop->RecordAt(1)->SerialNo(), 40218) << "the gap is closed in order";

    CMeasLoop unbound;
    EXPECT_TRUE(unbound.Bind(nullptr, nullptr));
    EXPECT_EQ(unbound.SlotCount(), 0u);
    EXPECT_FALSE(unbound.Start(false, 0)) << "nothing to measure without a bus";
}

// With one probe: a failed start waits for the user's stop; a single round at rate 30 counts down, then
// stops; a loop repeats at the rate and stops at once while waiting.
TEST_F(MeasLoopTest, OneProbeFailedStartSingleRoundAndLoop) {
    AddProbe(1, 31042);
    IdentifyInto({1});
    auto loop = MakeLoop();
    context.portContext.device = "/nonexistent/terrix-port";
    EXPECT_FALSE(loop->Start(true, 10));
    EXPECT_STREQ(MeasStartErrorText(loop->StartError()), "Unable to open any COM ports.");
    EXPECT_EQ(std::tuple(loop->StartError(), loop->State(), loop->IsMeasuring()),
              std::tuple(kMeasStartNoPort, MeasLoopState::kStopRequested, true));
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
    EXPECT_EQ(std::tuple(context.portContext.hPort, MeasuringGuard::CheckBusFree(context.portContext),
                         listener.Count(Kind::kIdle), loop->StoreAt(0)->RecordCount()),
              std::tuple(kInvalidPort, true, size_t{1}, 0u));
    timer->failStart = false;
    listener.Clear();

    ASSERT_LT(loop->MinimumInterval(), 30u);
    ASSERT_TRUE(loop->Start(false, 30));
    Fire();
    ASSERT_EQ(listener.Count(Kind::kValue), 1u);
    EXPECT_EQ(std::tuple(loop->State(), loop->WaitInterval()), std::tuple(MeasLoopState::kWaiting, 30u));
    EXPECT_NE(context.portContext.hPort, kInvalidPort) << "the port stays open while counting down";

    const int fired = FireUntilIdle(*loop, 1000);
    ExpectStopped(*loop);
    // 30 s of events at 4 per second, less what the round took.
    EXPECT_GE(fired, 110);
    EXPECT_LE(fired, 121);
    const std::vector<uint32_t> countdown = listener.Numbers(Kind::kCountdown);
    ASSERT_FALSE(countdown.empty());
    // Counted from the round's start, which took less than a second.
    EXPECT_EQ(std::pair(countdown.front(), countdown.back()), std::pair(30u, 1u));
    EXPECT_TRUE(std::is_sorted(countdown.rbegin(), countdown.rend()));
    EXPECT_EQ(listener.Count(Kind::kValue), 1u) << "a single round measures once";

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
    Fire(4 * (2 * rate + rate / 2) + 1);
    EXPECT_EQ(listener.Numbers(Kind::kRoundDone), (std::vector<uint32_t>{1, 2, 3}));
    EXPECT_EQ(loop->StoreAt(0)->RecordCount(), 5u)
        << "one record each from the single round and the first start";
    ASSERT_EQ(loop->State(), MeasLoopState::kWaiting);

    // Stop while waiting: at once, on this thread.
    loop->Stop();
    ExpectStopped(*loop);
    EXPECT_TRUE(MeasuringGuard::CheckBusFree(context.portContext));
    loop->Stop(); // nothing more happens when idle
    EXPECT_EQ(listener.Count(Kind::kIdle), 1u);
}

// A stop asked for during a round ends it after the current module. (A stop from the round-done report
// ends terrix-cli's counted rounds end to end; one from another thread is in the loop thread test.)
TEST_F(MeasLoopTest, StopDuringARoundEndsItAfterTheCurrentModule) {
    // The XV module alone has no minimum interval: with rate 0 the rounds follow each other in one step.
    AddProbe(3, 40218, true);
    AddProbe(4, 40219, true);
    IdentifyInto({3, 4});
    auto loop = MakeLoop();
    ASSERT_EQ(loop->MinimumInterval(), 0u);
    listener.onNewValue = [&](uint32_t slot) {
        if (slot == 0) {
            loop->Stop();
        }
    };
    ASSERT_TRUE(loop->Start(true, 0));
    Fire();
    ExpectStopped(*loop);
    EXPECT_EQ(listener.Numbers(Kind::kValue), (std::vector<uint32_t>{0}));
    EXPECT_EQ(listener.Count(Kind::kRoundDone), 0u);
    EXPECT_EQ(RecordCounts(*loop), (std::vector<uint32_t>{1, 0}));
}

TEST_F(MeasLoopTest, ValueThatCannotBeStoredIsStillReported) {
    AddProbe(1, 31042);
    IdentifyInto({1});
    // A folder where the binary file belongs: the file cannot be opened or written.
    std::filesystem::create_directory(dataDir / "31042.BinMeasData");
    auto loop = MakeLoop();
    ASSERT_TRUE(loop->Start(false, 0));
    Fire();
    FireUntilIdle(*loop, 200);
    EXPECT_EQ(listener.Numbers(Kind::kValue), (std::vector<uint32_t>{0}));
    EXPECT_EQ(listener.Numbers(Kind::kStoreFailed), (std::vector<uint32_t>{0}));
    const std::string reason = listener.Events()[1].reason;
    EXPECT_NE(reason.find("31042.BinMeasData"), std::string::npos) << reason;
    EXPECT_TRUE(loop->NewestValue(0).has_value());
    ExpectStopped(*loop);
}

// The port of a measuring loop belongs to the loop: bus commands of other windows on the same port and a
// second loop are refused with a clear text, cannot close the port under the rounds, and change neither bus
// nor list; the list changes only through the loop.
TEST_F(MeasLoopTest, BusOperationsAndListChangesAreRefusedWhileMeasuring) {
    // Probes at stations 1 and 2 in a repeating loop (rate 60 s) that has measured its first round and waits.
    AddProbe(1, 31042);
    AddProbe(2, 31057);
    IdentifyInto({1, 2});
    auto loop = MakeLoop();
    ASSERT_TRUE(loop->Start(true, 60));
    Fire();
    ASSERT_EQ(loop->State(), MeasLoopState::kWaiting);
    ASSERT_TRUE(context.busList.Save());
    const PortHandle port = context.portContext.hPort;
    const ModuleRecord* first = context.busList.GetAt(0);
    const ModuleRecord* second = context.busList.GetAt(1);

    struct Operation {
        const char* name;
        uint32_t contextError; // what the refused operation leaves in the port context
        std::function<bool(PortUser&)> run;
    };
    // The window's rescan is refused in the loop thread test.
    const Operation operations[] = {
        {"open", kErrorPortReserved,
         [&](PortUser& user) {
             const bool opened = user.Acquire();
             EXPECT_EQ(PortUserErrorText(context.portContext, "looptest"), kBusBusyMeasuringText);
             return opened;
         }},
        {"scan", kErrorPortReserved, [&](PortUser& user) { return BusScan(context, user, UnitName, {}); }},
        {"resolution", kErrorPortReserved,
         [&](PortUser& user) {
             return RunResolution(context, user, ResolveOptions{1, 10, false}, UnitName, {});
         }},
        {"scan session", 0, // refused before it asks for the port
         [&](PortUser&) {
             ScanSessionOptions complete;
             complete.forgetSavedBus = true;
             const ScanSessionResult r = RunScanSession(context, complete, UnitName, {}, {});
             EXPECT_EQ(r.startupError, kErrorPortReserved);
             EXPECT_EQ(StartupErrorText(r.startupError), kBusBusyMeasuringText);
             EXPECT_FALSE(r.saved);
             return r.scanOk;
         }},
    };
    for (const Operation& op : operations) {
        SCOPED_TRACE(op.name);
        bus->ClearRequestLog();
        context.portContext.dwError = 0;
        PortUser user(&context.portContext);
        EXPECT_FALSE(op.run(user));
        // Nothing went onto the bus, the port stays the loop's, and the records it measures stay in place.
        EXPECT_EQ(std::tuple(context.portContext.dwError, bus->RequestLog().size(), context.portContext.hPort,
                             context.busList.Count(), context.busList.GetAt(0), context.busList.GetAt(1)),
                  std::tuple(op.contextError, size_t{0}, port, 2u, first, second));
    }
    CBusList saved;
    EXPECT_EQ(LoadBusInfo(saved), 2u) << "the saved bus was not forgotten";

    RecordingListener otherListener;
    MeasLoopOptions options; // a timer of its own: the fixture's timer belongs to the first loop
    options.clock = &clock;
    options.timer = std::make_unique<ManualLoopTimer>(std::make_shared<ManualLoopTimer::Control>());
    CMeasLoop other(std::move(options));
    ASSERT_TRUE(other.Bind(&otherListener, &context));
    EXPECT_FALSE(other.Start(true, 60));
    EXPECT_EQ(other.StartError(), kMeasStartPortBusy);
    EXPECT_STREQ(MeasStartErrorText(other.StartError()), kBusBusyMeasuringText);
    other.Stop();
    EXPECT_EQ(otherListener.Count(Kind::kIdle), 1u);
    EXPECT_EQ(context.portContext.hPort, port) << "the refused loop's stop leaves the port open";

    std::string message;
    EXPECT_TRUE(MeasuringGuard::IsMeasuring(context.portContext));
    EXPECT_FALSE(MeasuringGuard::CheckBusFree(context.portContext, &message));
    EXPECT_EQ(message, kBusBusyMeasuringText);
    EXPECT_TRUE(MeasuringGuard::CheckBusFree(BusContext().portContext)) << "only the loop's port is taken";
    EXPECT_FALSE(loop->RemoveBySerial(31057));
    EXPECT_FALSE(loop->Bind(&listener, &context));
    EXPECT_FALSE(loop->Start(false, 0)) << "already running";
    EXPECT_EQ(loop->SlotCount(), 2u);

    // Deactivating goes through the loop and holds from the next round on; the rounds go on.
    ASSERT_TRUE(loop->SetModuleDisabled(1, true));
    EXPECT_FALSE(loop->SetModuleDisabled(2, true));
    bus->ClearRequestLog();
    Fire(4 * 60); // the next round
    EXPECT_EQ(listener.Numbers(Kind::kValue), (std::vector<uint32_t>{0, 1, 0}));
    EXPECT_EQ(CountRequests(-1, 2), 0u);
    EXPECT_EQ(otherListener.Count(Kind::kValue), 0u);

    // Destroying the waiting loop releases everything, and no call reaches a window that is going away.
    listener.Clear();
    loop.reset();
    EXPECT_EQ(std::tuple(listener.Events().size(), timer->running, context.portContext.hPort,
                         MeasuringGuard::IsMeasuring(context.portContext)),
              std::tuple(size_t{0}, false, kInvalidPort, false));
}

TEST_F(MeasLoopTest, LostPortStopsTheLoop) {
    uint32_t period = 0;
    auto loop = LoseThePortInTheSecondRound(false, period);
    ExpectStopped(*loop);
    EXPECT_FALSE(PortUser::IsReserved(context.portContext));
}

// Reconnecting, the loop closes the dead port but keeps it reserved, tries it once per round period until the
// adapter is back, then reports the gap and measures a round at once.
TEST_F(MeasLoopTest, ReconnectingLoopTriesThePortEveryPeriodAndMeasuresOnWhenItIsBack) {
    uint32_t period = 0;
    auto loop = LoseThePortInTheSecondRound(true, period);
    // The first probe's value of the second round was the last one a module answered.
    EXPECT_EQ(std::tuple(loop->Outage().lastStoredStamp, loop->Outage().retrySeconds, loop->Outage().active,
                         loop->State()),
              std::tuple(103u, period, true, MeasLoopState::kPortLost));
    EXPECT_TRUE(PortUser::IsReserved(context.portContext)) << "the port is kept for the loop";
    EXPECT_TRUE(timer->running);

    // Three retry periods without the adapter: no value, no second report, and a countdown that starts
    // again from the full period after each of the three tries.
    listener.Clear();
    Fire(4 * 3 * period);
    EXPECT_EQ(listener.Count(Kind::kValue), 0u);
    EXPECT_EQ(listener.Count(Kind::kPortLost), 0u);
    const std::vector<uint32_t> countdown = listener.Numbers(Kind::kCountdown);
    size_t tries = 0;
    for (size_t i = 1; i < countdown.size(); ++i) {
        tries += countdown[i] > countdown[i - 1] ? 1 : 0;
        EXPECT_LE(countdown[i], period);
    }
    EXPECT_EQ(tries, 3u);
    EXPECT_EQ(loop->State(), MeasLoopState::kPortLost);

    // Plugged in again: the next try opens the port, reports the gap and measures a round at once.
    bus->SetUnplugged(false);
    listener.Clear();
    for (uint32_t i = 0; i < 4 * period && listener.Count(Kind::kPortBack) == 0; ++i) {
        Fire();
    }
    ASSERT_EQ(listener.Numbers(Kind::kPortBack), std::vector<uint32_t>{4 * period});
    EXPECT_EQ(listener.Numbers(Kind::kValue), (std::vector<uint32_t>{0, 1}));
    EXPECT_EQ(std::tuple(loop->Outage().active, loop->State()), std::tuple(false, MeasLoopState::kWaiting));
    EXPECT_NE(context.portContext.hPort, kInvalidPort);
    EXPECT_EQ(RecordCounts(*loop), (std::vector<uint32_t>{3, 3}));
    loop->Stop();
    ExpectStopped(*loop);
    EXPECT_FALSE(PortUser::IsReserved(context.portContext));
}

// A saved module that did not answer at the start gets no error markers; the loop asks for it at the start
// of the first round after each retry period, and measures it from the round in which it answers.
TEST_F(MeasLoopTest, AbsentModuleIsAskedAgainEveryRetryPeriodAndJoinsWhenItAnswers) {
    AddProbe(1, 31042);
    AddProbe(2, 31057);
    IdentifyInto({1, 2});
    context.busList.GetAt(1)->enModuleState = msNotIdentified; // as a saved module the scan did not find
    ASSERT_TRUE(bus->SetFaults(31057, {.mute = true}));
    // Rounds every `rate` seconds (at least the probe's conversion time), a retry every third round.
    const uint32_t rate = std::max<uint32_t>(10, MakeLoop()->MinimumInterval());
    constexpr uint32_t kRoundsPerRetry = 3;
    MeasLoopOptions options;
    options.absentRetrySeconds = rate * kRoundsPerRetry;
    auto loop = MakeLoop(std::move(options));
    EXPECT_EQ(loop->AbsentSlots(), std::vector<uint32_t>{1});
    ASSERT_TRUE(loop->Start(true, rate));
    const auto runUntilRound = [&](uint32_t rounds) {
        for (int i = 0; i < 8 * static_cast<int>(rate * rounds) && listener.Count(Kind::kRoundDone) < rounds;
             ++i) {
            Fire();
        }
        ASSERT_EQ(listener.Count(Kind::kRoundDone), rounds);
    };

    // Still mute at the first retry (round kRoundsPerRetry + 1); answering from just after it, it waits for
    // the second.
    runUntilRound(kRoundsPerRetry + 1);
    ASSERT_TRUE(bus->SetFaults(31057, {}));
    runUntilRound(2 * kRoundsPerRetry);
    EXPECT_EQ(listener.Count(Kind::kJoined), 0u);
    EXPECT_EQ(RecordCounts(*loop), (std::vector<uint32_t>{2 * kRoundsPerRetry, 0}));

    runUntilRound(2 * kRoundsPerRetry + 1);
    EXPECT_EQ(listener.Numbers(Kind::kJoined), std::vector<uint32_t>{1});
    EXPECT_EQ(RecordCounts(*loop), (std::vector<uint32_t>{2 * kRoundsPerRetry + 1, 1}));
    EXPECT_TRUE(loop->AbsentSlots().empty());
    EXPECT_EQ(context.busList.GetAt(1)->enModuleState, msNotIdentified) << "the bus list is not the loop's";
    loop->Stop();
    ExpectStopped(*loop);
}

} // namespace
} // namespace terrix::test
