#pragma once
// The measuring loop of the circuit window: one slot per module record of the bus list, and the state
// machine that measures one round over every active module, or rounds repeated at the measuring rate with
// a countdown in between. A timer thread drives it every 250 ms and runs every round; the caller's thread
// only acquires the port and starts the timer (Start) or stops the loop (Stop), so it never waits for the
// bus. The loop reports through a MeasLoopListener.
//
// While the loop measures (Start until OnIdle), its PortUser holds the port's reservation: every other
// PortUser is refused (MeasuringGuard tells windows so beforehand) and only the loop closes the port. The
// bus list must not change meanwhile; Bind and RemoveBySerial refuse, and a module is (de)activated through
// SetModuleDisabled.
//
// Bind, Start, Stop and Shutdown belong to one thread, the window's; Start, Bind and Shutdown are never
// called from inside a listener call.

#include "core/busops/progress.h"
#include "core/circuit/loop_timer.h"
#include "core/circuit/meas_loop_listener.h"
#include "core/circuit/meas_slot.h"
#include "core/inventory/bus_context.h"
#include "core/platform/clock.h"
#include "core/platform/port_user.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace terrix {

enum class MeasLoopState : int32_t {
    kIdle = 0,
    kStartRequested = 1,
    kMeasuring = 2, // outside a step: the first round is due on the next timer event
    kWaiting = 3,
    kRoundDue = 4,
    kStopRequested = 5,
    kPortLost = 6, // the device has gone; a reconnecting loop waits for it to come back
};

// Why Start failed; apart from kMeasStartPortBusy the values are the numbers of the messages to show.
enum MeasStartError : int32_t {
    kMeasStartOk = 0,
    kMeasStartPortBusy = 1,    // another loop measures on the port (kBusBusyMeasuringText)
    kMeasStartNoPort = 24655,  // "Unable to open any COM ports."
    kMeasStartNoTimer = 24656, // "Not enough timers available for this window!"
};
const char* MeasStartErrorText(MeasStartError error);

// How often a saved module that did not answer is asked again, at the start of the first round due after
// that time. A probe without power costs the bus a no-answer time-out per try; once every ten minutes keeps
// a short measuring rate short and still finds a probe soon after it was switched on.
inline constexpr uint32_t kAbsentRetrySeconds = 600;

struct MeasLoopOptions {
    // Time base of the countdown (monotonic); the system clock when null.
    Clock* clock = nullptr;
    // The packed local time a measurement records; CurrentTimeStamp when empty.
    std::function<uint32_t()> stampNow;
    // The periodic event; a 250 ms ThreadLoopTimer on `clock` when null.
    std::unique_ptr<LoopTimer> timer;
    // Looks up unit names when a module that was absent is identified; UnitName when empty.
    UnitLookup lookup;
    // How often absent modules are asked for again (see kAbsentRetrySeconds).
    uint32_t absentRetrySeconds = kAbsentRetrySeconds;
    // After the port's device has gone, keep the port reserved and try to open it again every round
    // period (at least every second) instead of stopping; measuring goes on when it opens.
    bool reconnect = false;
};

// What a loop knows about its port while the device is away (and, after it came back, about the last gap).
struct PortOutage {
    bool active = false;          // the device is away now
    std::string device;           // as the port names it ("/dev/ttyUSB0", "sim")
    uint32_t lastStoredStamp = 0; // packed time of the newest answered value stored in this run; 0 = none
    uint32_t retrySeconds = 0;    // how often the port is tried
};

class CMeasLoop {
public:
    static constexpr uint32_t kNoWait = 0xFFFFFFFFu;

    explicit CMeasLoop(MeasLoopOptions options = {});
    // Shutdown, then the slots and their stores go.
    ~CMeasLoop();
    CMeasLoop(const CMeasLoop&) = delete;
    CMeasLoop& operator=(const CMeasLoop&) = delete;

    // One slot per record of the context's bus list, in list order (none without a context); remembers
    // listener and context. False (nothing changed) while the loop measures.
    bool Bind(MeasLoopListener* listener, BusContext* context);
    uint32_t SlotCount() const;
    // nullptr out of range.
    CMeasSlot* SlotAt(uint32_t index) const;
    ModuleRecord* RecordAt(uint32_t index) const;
    CMeasValueStore* StoreAt(uint32_t index) const;
    // Deletes the first slot whose record has this serial number, closing the gap. False for 65535, when
    // no slot has it, and while the loop measures.
    bool RemoveBySerial(uint16_t serialNo);
    // The largest conversion time in whole seconds over the identified, active modules other than the
    // XV module; 0 when there is none.
    uint32_t MinimumInterval() const;
    // (De)activates the module of a slot; the loop reads the flag at its next module. False out of range.
    bool SetModuleDisabled(uint32_t index, bool disabled);
    // The slots of enabled, saved modules (known serial number) that the identification at the start did not
    // find and that have not answered since: the loop leaves them out and asks for them again every
    // kAbsentRetrySeconds.
    std::vector<uint32_t> AbsentSlots() const;
    // Changes the record of a slot while the loop may be copying it on its thread: `change` runs under the
    // loop's lock. False out of range.
    bool ChangeRecord(uint32_t index, const std::function<void(ModuleRecord&)>& change);
    // The newest value of a slot (see CMeasSlot::NewestValue).
    std::optional<CMeasRecord> NewestValue(uint32_t index) const;

    // Reserves and acquires the port, starts the timer; the first round then runs on the timer thread at
    // once. False when the loop is not idle, has no bus context, or the start failed: then StartError()
    // says why, the loop stays in kStopRequested and a Stop completes the stop (and reports OnIdle).
    bool Start(bool loop, uint32_t rateSeconds);
    // Asks the loop to stop. While it waits the stop happens at once, on this thread: timer stopped, port
    // released, OnIdle. While a round runs it is carried out after the current module. Nothing when idle.
    void Stop();
    // The timer's event: runs a step when one is due (first round, countdown, next round, pending stop).
    void Tick();
    // Detaches the listener and stops: a running round ends after its current module, the timer thread
    // is stopped and joined, and the port is released. No listener call follows. Idempotent.
    void Shutdown();

    MeasLoopState State() const;
    // True from Start until the stop (also after a failed start, until Stop).
    bool IsMeasuring() const { return State() != MeasLoopState::kIdle; }
    MeasStartError StartError() const;
    uint32_t WaitInterval() const;
    // The latest loss of the port in this run (active while the device is away).
    PortOutage Outage() const;

private:
    void RunStep();
    // The body of one step; true when the timer should be woken after the step (first round due).
    bool StepBody();
    bool StartPortAndTimer();
    // One measuring round; false when a pending stop ended it (the loop is then stopped).
    bool RunRound();
    bool StopPending() const;
    // At the start of a round, when the retry period is over: identifies the absent modules again; those
    // that answer with their own serial number and layout join the run.
    void RetryAbsentModules();
    // After a module: when the port's device has gone, reports it and stops the loop (or, reconnecting,
    // closes the port and waits for the device); true then.
    bool StopOnLostPort();
    // While the device is away: tries the port when the retry period is over; true when it is back.
    bool TryReconnect();
    uint32_t RateSeconds() const;
    void DoStop();
    uint64_t NowUs() const;

    // Per-module copy of what the round needs, taken under the slots' lock.
    struct ModuleView {
        bool present = false;
        ModuleRecord record;
        CMeasSlot* slot = nullptr;
    };
    ModuleView ViewOf(uint32_t index) const;

    template <typename Fn> void Notify(Fn fn) {
        std::lock_guard lock(listenerMutex_);
        if (listener_ != nullptr) {
            fn(*listener_);
        }
    }

    Clock& clock_;
    std::function<uint32_t()> stampNow_;
    std::unique_ptr<LoopTimer> timer_;

    // Slots and the record fields the loop reads (bDisabled is written only through SetModuleDisabled).
    mutable std::mutex slotsMutex_;
    std::vector<std::unique_ptr<CMeasSlot>> slots_;
    BusContext* context_ = nullptr;
    PortUser portUser_;
    PortHandle port_ = kInvalidPort; // the port of the running measurement
    bool portAcquired_ = false;      // by Start; released by the stop
    bool portReserved_ = false;      // by Start; freed by the stop, after the port was closed

    // State machine. The re-entry flag is atomic: Stop on the caller's thread and the timer's event race.
    mutable std::mutex stateMutex_;
    MeasLoopState state_ = MeasLoopState::kIdle;
    bool stopPending_ = false;
    bool loop_ = false;
    uint32_t rate_ = 0;
    uint64_t roundStartUs_ = 0;
    uint32_t waitInterval_ = kNoWait;
    uint32_t rounds_ = 0;
    const bool reconnect_;
    PortOutage outage_;
    uint64_t lostAtUs_ = 0;
    uint64_t lastTryUs_ = 0;
    uint64_t lastAbsentTryUs_ = 0;
    UnitLookup lookup_;
    const uint32_t absentRetrySeconds_;
    MeasStartError startError_ = kMeasStartOk;
    std::atomic<bool> inStep_{false};

    std::mutex listenerMutex_;
    MeasLoopListener* listener_ = nullptr;
};

} // namespace terrix
