// The port of a measuring loop belongs to the loop: bus commands of other windows on the same port are
// refused with a clear text, cannot close the port under the rounds, and change neither the bus nor the
// bus list.

#include "core/busops/bus_scan.h"
#include "core/busops/scan_session.h"
#include "core/circuit/measuring_guard.h"
#include "core/inventory/bus_info_file.h"

#include "loop_test_support.h"

#include <functional>

namespace terrix::test {
namespace {

using Kind = RecordingListener::Kind;

class MeasLoopPortTest : public LoopFixture {
protected:
    void SetUp() override {
        LoopFixture::SetUp();
        AddProbe(1, 31042);
        AddProbe(2, 31057);
        IdentifyInto({1, 2});
    }
    // A repeating loop (rate 60 s) that has measured its first round and now waits.
    std::unique_ptr<CMeasLoop> StartMeasuring() {
        auto loop = MakeLoop();
        loop->Bind(&listener, &context);
        EXPECT_TRUE(loop->Start(true, 60));
        Fire();
        EXPECT_EQ(loop->State(), MeasLoopState::kWaiting);
        return loop;
    }
    // Runs the loop on to its next round.
    void NextRound() {
        for (int i = 0; i < 4 * 60; ++i) {
            Fire();
        }
    }
};

TEST_F(MeasLoopPortTest, ReleaseByTheWindowThatOpenedThePortLeavesItToTheLoop) {
    // The window had the port open when the loop started; the loop takes the open port over.
    PortUser window(&context.portContext);
    ASSERT_TRUE(window.Acquire());
    const PortHandle port = context.portContext.hPort;
    auto loop = StartMeasuring();
    EXPECT_EQ(context.portContext.hPort, port);
    EXPECT_EQ(listener.Numbers(Kind::kValue), (std::vector<uint32_t>{0, 1}));

    EXPECT_FALSE(window.Release());
    EXPECT_EQ(context.portContext.hPort, port);
    NextRound();
    EXPECT_EQ(listener.Numbers(Kind::kValue), (std::vector<uint32_t>{0, 1, 0, 1})) << "values still arrive";
    EXPECT_EQ(loop->StoreAt(0)->RecordCount(), 2u);
    EXPECT_EQ(loop->StoreAt(1)->RecordCount(), 2u);
    EXPECT_TRUE(loop->NewestValue(1).has_value());

    loop->Stop();
    EXPECT_EQ(context.portContext.hPort, kInvalidPort);
    EXPECT_FALSE(window.Release()) << "nothing left to close";
}

TEST_F(MeasLoopPortTest, BusOperationsAreRefusedAndLeaveBusAndListAlone) {
    ASSERT_TRUE(context.busList.Save());
    auto loop = StartMeasuring();
    const PortHandle port = context.portContext.hPort;
    const ModuleRecord* first = context.busList.GetAt(0);
    const ModuleRecord* second = context.busList.GetAt(1);

    struct Operation {
        const char* name;
        uint32_t contextError; // what the refused operation leaves in the port context
        std::function<bool(PortUser&)> run;
    };
    ModuleRecord rescanned = *first;
    rescanned.wLastError = 7; // a mark that a fresh identification would overwrite
    const Operation operations[] = {
        {"open", kErrorPortReserved,
         [&](PortUser& user) {
             const bool opened = user.Acquire();
             EXPECT_EQ(PortUserErrorText(context.portContext, "looptest"), kBusBusyMeasuringText);
             return opened;
         }},
        {"rescan", kErrorPortReserved,
         [&](PortUser& user) { return RescanModule(user, UnitName, rescanned); }},
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
        EXPECT_EQ(context.portContext.dwError, op.contextError);
        EXPECT_TRUE(bus->RequestLog().empty()) << "nothing went onto the bus";
        EXPECT_EQ(context.portContext.hPort, port);
        ASSERT_EQ(context.busList.Count(), 2u);
        EXPECT_EQ(context.busList.GetAt(0), first) << "the records the loop measures stay in place";
        EXPECT_EQ(context.busList.GetAt(1), second);
    }
    EXPECT_EQ(rescanned.wLastError, 7);
    CBusList saved;
    EXPECT_EQ(LoadBusInfo(saved), 2u) << "the saved bus was not forgotten";

    NextRound();
    EXPECT_EQ(listener.Numbers(Kind::kValue), (std::vector<uint32_t>{0, 1, 0, 1}));
    loop->Stop();

    // The same operation runs once the loop has stopped.
    PortUser user(&context.portContext);
    EXPECT_TRUE(RescanModule(user, UnitName, rescanned));
    EXPECT_EQ(rescanned.wLastError, 0);
    EXPECT_EQ(context.portContext.hPort, kInvalidPort);
}

TEST_F(MeasLoopPortTest, SecondLoopOnThePortIsRefusedAndDisturbsNothing) {
    auto loop = StartMeasuring();
    const PortHandle port = context.portContext.hPort;
    RecordingListener otherListener;
    MeasLoopOptions options; // a timer of its own: the fixture's timer belongs to the first loop
    options.clock = &clock;
    options.timer = std::make_unique<ManualLoopTimer>(std::make_shared<ManualLoopTimer::Control>());
    auto second = std::make_unique<CMeasLoop>(std::move(options));
    ASSERT_TRUE(second->Bind(&otherListener, &context));
    EXPECT_FALSE(second->Start(true, 60));
    EXPECT_EQ(second->StartError(), kMeasStartPortBusy);
    EXPECT_STREQ(MeasStartErrorText(second->StartError()), kBusBusyMeasuringText);
    second->Stop();
    EXPECT_EQ(otherListener.Count(Kind::kIdle), 1u);
    EXPECT_EQ(context.portContext.hPort, port) << "the refused loop's stop leaves the port open";
    EXPECT_TRUE(MeasuringGuard::IsMeasuring(context.portContext));

    NextRound();
    EXPECT_EQ(listener.Numbers(Kind::kValue), (std::vector<uint32_t>{0, 1, 0, 1}));
    EXPECT_EQ(otherListener.Count(Kind::kValue), 0u);
    loop->Stop();
    EXPECT_FALSE(MeasuringGuard::IsMeasuring(context.portContext));
}

TEST_F(MeasLoopPortTest, BusAndListChangesAreRefusedWhileMeasuring) {
    auto loop = StartMeasuring();
    std::string message;
    EXPECT_TRUE(MeasuringGuard::IsMeasuring(context.portContext));
    EXPECT_FALSE(MeasuringGuard::CheckBusFree(context.portContext, &message));
    EXPECT_EQ(message, kBusBusyMeasuringText);
    BusContext other;
    EXPECT_TRUE(MeasuringGuard::CheckBusFree(other.portContext)) << "only the loop's port is taken";
    EXPECT_FALSE(loop->RemoveBySerial(31057));
    EXPECT_FALSE(loop->Bind(&listener, &context));
    EXPECT_FALSE(loop->Start(false, 0)) << "already running";
    EXPECT_EQ(loop->SlotCount(), 2u);

    // Deactivating goes through the loop and holds from the next round on.
    ASSERT_TRUE(loop->SetModuleDisabled(1, true));
    EXPECT_FALSE(loop->SetModuleDisabled(2, true));
    bus->ClearRequestLog();
    NextRound();
    EXPECT_EQ(listener.Numbers(Kind::kValue), (std::vector<uint32_t>{0, 1, 0}));
    EXPECT_EQ(RequestsTo(2), 0u);

    loop->Stop();
    EXPECT_TRUE(MeasuringGuard::CheckBusFree(context.portContext, &message));
    EXPECT_TRUE(loop->RemoveBySerial(31057));
}

TEST_F(MeasLoopPortTest, DestroyingAWaitingLoopReleasesEverythingSilently) {
    auto loop = StartMeasuring();
    listener.Clear();
    loop.reset();
    EXPECT_TRUE(listener.Events().empty()) << "no call reaches a window that is going away";
    EXPECT_FALSE(timer->running);
    EXPECT_EQ(context.portContext.hPort, kInvalidPort);
    EXPECT_TRUE(MeasuringGuard::CheckBusFree(context.portContext));
}

} // namespace
} // namespace terrix::test
