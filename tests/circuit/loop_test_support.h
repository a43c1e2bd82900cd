#pragma once
// Helpers of the measuring-loop tests: a timer whose events the test fires itself, a listener that records
// what the loop reports, and a bus context whose port opens onto a simulated bus in virtual time.

#include "core/busops/identification.h"
#include "core/circuit/meas_loop.h"
#include "core/inventory/unit_names.h"

#include "busops/sim_bus_fixture.h"

#include <algorithm>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <vector>

namespace terrix::test {

// Events happen only when the test fires them, on the test's thread.
class ManualLoopTimer final : public LoopTimer {
public:
    struct Control {
        bool failStart = false;
        bool running = false;
        int wakes = 0;
        Event event;
    };
    explicit ManualLoopTimer(std::shared_ptr<Control> control) : control_(std::move(control)) {}
    bool Start(Event event) override {
        if (control_->failStart) {
            return false;
        }
        control_->running = true;
        control_->event = std::move(event);
        return true;
    }
    void Stop() override { control_->running = false; }
    void Wake() override { ++control_->wakes; }

private:
    std::shared_ptr<Control> control_;
};

// Everything the loop reported, in order; safe to read while the loop's thread reports.
class RecordingListener : public MeasLoopListener {
public:
    enum class Kind { kValue, kCountdown, kIdle, kStoreFailed, kRoundDone, kPortLost, kPortBack, kJoined };
    struct Event {
        Kind kind;
        uint32_t number;         // slot, seconds, rounds or the gap's seconds
        std::string reason = {}; // why a value could not be stored, or the port was lost
    };

    void OnNewValue(uint32_t slot) override { Add({Kind::kValue, slot}); }
    void OnCountdown(uint32_t seconds) override { Add({Kind::kCountdown, seconds}); }
    void OnIdle() override { Add({Kind::kIdle, 0}); }
    void OnStoreFailed(uint32_t slot, const std::string& reason) override {
        Add({Kind::kStoreFailed, slot, reason});
    }
    void OnRoundDone(uint32_t rounds) override { Add({Kind::kRoundDone, rounds}); }
    void OnPortLost(const std::string& reason) override { Add({Kind::kPortLost, 0, reason}); }
    void OnPortBack(uint32_t gapSeconds) override { Add({Kind::kPortBack, gapSeconds}); }
    void OnModuleJoined(uint32_t slot) override { Add({Kind::kJoined, slot}); }

    std::vector<Event> Events() const {
        std::lock_guard lock(mutex_);
        return events_;
    }
    std::vector<uint32_t> Numbers(Kind kind) const {
        std::vector<uint32_t> out;
        for (const Event& e : Events()) {
            if (e.kind == kind) {
                out.push_back(e.number);
            }
        }
        return out;
    }
    size_t Count(Kind kind) const { return Numbers(kind).size(); }
    void Clear() {
        std::lock_guard lock(mutex_);
        events_.clear();
    }
    // Waits until `n` events of this kind have come; false after a minute (a hung loop fails the test
    // instead of hanging it).
    bool WaitFor(Kind kind, size_t n = 1) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, std::chrono::minutes(1), [&] {
            return std::count_if(events_.begin(), events_.end(), [&](const Event& e) {
                       return e.kind == kind;
                   }) >= static_cast<std::ptrdiff_t>(n);
        });
    }

    // Called on the loop's thread after a value was reported.
    std::function<void(uint32_t)> onNewValue;

private:
    void Add(Event e) {
        {
            std::lock_guard lock(mutex_);
            events_.push_back(e);
        }
        changed_.notify_all();
        if (e.kind == Kind::kValue && onNewValue) {
            onNewValue(e.number);
        }
    }

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Event> events_;
};

// A simulated bus reached through the port context "looptest": the loop opens and closes it itself.
class LoopFixture : public SimBusFixture {
protected:
    void SetUp() override {
        SimBusFixture::SetUp();
        ReachBusThrough("looptest", context);
    }
    void TearDown() override {
        if (context.portContext.hPort != kInvalidPort) {
            ComClose(context.portContext.hPort);
        }
        SimBusFixture::TearDown();
    }

    void IdentifyInto(std::initializer_list<uint8_t> stations) {
        const PortHandle p = ComOpenDevice("looptest", kBusBaud);
        for (uint8_t station : stations) {
            auto record = std::make_unique<ModuleRecord>();
            EXPECT_TRUE(IdentifyModule(p, station, *record, UnitName)) << int(station);
            context.busList.Add(std::move(record));
        }
        ComClose(p);
    }
    // A manual-timer loop on the fixture's virtual clock, bound to the fixture's listener and bus, stamping
    // every value with kStamp unless `options` says otherwise.
    static constexpr uint32_t kStamp = 0x0A0B0C0D;
    std::unique_ptr<CMeasLoop> MakeLoop(MeasLoopOptions options = {}) {
        options.clock = &clock;
        options.stampNow = options.stampNow ? options.stampNow : [] { return kStamp; };
        options.timer = std::make_unique<ManualLoopTimer>(timer);
        auto loop = std::make_unique<CMeasLoop>(std::move(options));
        EXPECT_TRUE(loop->Bind(&listener, &context));
        return loop;
    }
    // Moves virtual time on by one timer period and delivers the event, `times` times over.
    void Fire(uint32_t times = 1) {
        for (uint32_t i = 0; i < times; ++i) {
            clock.AdvanceUs(250'000);
            if (timer->running) {
                timer->event();
            }
        }
    }
    // Fires events until the loop is idle or `limit` events have passed; returns the number fired.
    int FireUntilIdle(CMeasLoop& loop, int limit) {
        int fired = 0;
        while (loop.IsMeasuring() && fired < limit) {
            Fire();
            ++fired;
        }
        return fired;
    }
    BusContext context;
    std::shared_ptr<ManualLoopTimer::Control> timer = std::make_shared<ManualLoopTimer::Control>();
    RecordingListener listener;
};

} // namespace terrix::test
