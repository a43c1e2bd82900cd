#include "core/circuit/meas_loop.h"

#include "core/bus/commands.h"
#include "core/busops/identification.h"
#include "core/inventory/record_values.h"
#include "core/inventory/unit_names.h"
#include "core/measure/meas_layouts.h"
#include "core/measure/time_stamp.h"

#include <algorithm>
#include <thread>

namespace terrix {

const char* MeasStartErrorText(MeasStartError error) {
    switch (error) {
    case kMeasStartPortBusy:
        return kBusBusyMeasuringText;
    case kMeasStartNoPort:
        return "Unable to open any COM ports.";
    case kMeasStartNoTimer:
        return "Not enough timers available for this window!";
    default:
        return "";
    }
}

CMeasLoop::CMeasLoop(MeasLoopOptions options)
    : clock_(options.clock != nullptr ? *options.clock : SystemClock::Instance()),
      stampNow_(options.stampNow ? std::move(options.stampNow) : std::function<uint32_t()>(CurrentTimeStamp)),
      timer_(options.timer ? std::move(options.timer) : std::make_unique<ThreadLoopTimer>(clock_)),
      reconnect_(options.reconnect),
      lookup_(options.lookup ? std::move(options.lookup) : UnitLookup(UnitName)),
      absentRetrySeconds_(options.absentRetrySeconds) {}

CMeasLoop::~CMeasLoop() {
    Shutdown();
}

// ---- slots ----------------------------------------------------------------------------------------------

bool CMeasLoop::Bind(MeasLoopListener* listener, BusContext* context) {
    if (IsMeasuring()) {
        return false;
    }
    std::vector<std::unique_ptr<CMeasSlot>> slots;
    if (context != nullptr) {
        const CBusList& list = context->busList;
        for (uint32_t i = 0; i < list.Count(); ++i) {
            slots.push_back(std::make_unique<CMeasSlot>(list.GetAt(i)));
        }
    }
    {
        std::lock_guard lock(slotsMutex_);
        slots_.swap(slots);
        context_ = context;
    }
    std::lock_guard lock(listenerMutex_);
    listener_ = listener;
    return true;
}

uint32_t CMeasLoop::SlotCount() const {
    std::lock_guard lock(slotsMutex_);
    return static_cast<uint32_t>(slots_.size());
}

CMeasSlot* CMeasLoop::SlotAt(uint32_t index) const {
    std::lock_guard lock(slotsMutex_);
    return index < slots_.size() ? slots_[index].get() : nullptr;
}

ModuleRecord* CMeasLoop::RecordAt(uint32_t index) const {
    CMeasSlot* slot = SlotAt(index);
    return slot != nullptr ? slot->Record() : nullptr;
}

CMeasValueStore* CMeasLoop::StoreAt(uint32_t index) const {
    CMeasSlot* slot = SlotAt(index);
    return slot != nullptr ? &slot->Store() : nullptr;
}

bool CMeasLoop::RemoveBySerial(uint16_t serialNo) {
    if (serialNo == kNoSerial || IsMeasuring()) {
        return false;
    }
    std::unique_ptr<CMeasSlot> removed;
    std::lock_guard lock(slotsMutex_);
    const auto it = std::find_if(slots_.begin(), slots_.end(), [serialNo](const auto& slot) {
        return slot->Record() != nullptr && slot->Record()->SerialNo() == serialNo;
    });
    if (it == slots_.end()) {
        return false;
    }
    removed = std::move(*it);
    slots_.erase(it);
    return true;
}

uint32_t CMeasLoop::MinimumInterval() const {
    std::lock_guard lock(slotsMutex_);
    uint32_t longest = 0;
    for (const auto& slot : slots_) {
        const ModuleRecord* r = slot->Joined() != nullptr ? slot->Joined() : slot->Record();
        if (r != nullptr && r->enModuleState == msIdentified && r->bDisabled == 0 && r->bIsTavikXV == 0) {
            longest = std::max(longest, ConversionTimeSec(r));
        }
    }
    return longest;
}

std::vector<uint32_t> CMeasLoop::AbsentSlots() const {
    std::lock_guard lock(slotsMutex_);
    std::vector<uint32_t> absent;
    for (uint32_t i = 0; i < slots_.size(); ++i) {
        const ModuleRecord* r = slots_[i]->Record();
        if (r != nullptr && slots_[i]->Joined() == nullptr && r->enModuleState == msNotIdentified &&
            r->bDisabled == 0 && IsKnownSerial(r->SerialNo()) && slots_[i]->Store().IsBound()) {
            absent.push_back(i);
        }
    }
    return absent;
}

bool CMeasLoop::SetModuleDisabled(uint32_t index, bool disabled) {
    return ChangeRecord(index, [disabled](ModuleRecord& record) { record.bDisabled = disabled ? 1 : 0; });
}

bool CMeasLoop::ChangeRecord(uint32_t index, const std::function<void(ModuleRecord&)>& change) {
    std::lock_guard lock(slotsMutex_);
    if (index >= slots_.size() || slots_[index]->Record() == nullptr) {
        return false;
    }
    change(*slots_[index]->Record());
    return true;
}

std::optional<CMeasRecord> CMeasLoop::NewestValue(uint32_t index) const {
    CMeasSlot* slot = SlotAt(index);
    return slot != nullptr ? slot->NewestValue() : std::nullopt;
}

CMeasLoop::ModuleView CMeasLoop::ViewOf(uint32_t index) const {
    ModuleView view;
    std::lock_guard lock(slotsMutex_);
    if (index < slots_.size() && slots_[index]->Record() != nullptr) {
        const ModuleRecord& saved = *slots_[index]->Record();
        view.present = true;
        view.record = slots_[index]->Joined() != nullptr ? *slots_[index]->Joined() : saved;
        view.record.bDisabled = saved.bDisabled; // the user's switch lives in the bus list's record
        view.slot = slots_[index].get();
    }
    return view;
}

// ---- state machine --------------------------------------------------------------------------------------

MeasLoopState CMeasLoop::State() const {
    std::lock_guard lock(stateMutex_);
    return state_;
}

MeasStartError CMeasLoop::StartError() const {
    std::lock_guard lock(stateMutex_);
    return startError_;
}

uint32_t CMeasLoop::WaitInterval() const {
    std::lock_guard lock(stateMutex_);
    return waitInterval_;
}

PortOutage CMeasLoop::Outage() const {
    std::lock_guard lock(stateMutex_);
    return outage_;
}

bool CMeasLoop::StopPending() const {
    std::lock_guard lock(stateMutex_);
    return stopPending_;
}

uint64_t CMeasLoop::NowUs() const {
    return clock_.NowUs();
}

bool CMeasLoop::Start(bool loop, uint32_t rateSeconds) {
    if (context_ == nullptr) {
        return false;
    }
    {
        std::lock_guard lock(stateMutex_);
        if (state_ != MeasLoopState::kIdle) {
            return false;
        }
        loop_ = loop;
        rate_ = rateSeconds;
        rounds_ = 0;
        waitInterval_ = kNoWait;
        stopPending_ = false;
        startError_ = kMeasStartOk;
        outage_ = {};
        // The identification before the start has just asked for every module.
        lastAbsentTryUs_ = NowUs();
        state_ = MeasLoopState::kStartRequested;
    }
    // A stop carried out on the timer thread reports OnIdle just before it leaves its step; the start must
    // not be swallowed by that step's re-entry guard.
    while (inStep_.load()) {
        std::this_thread::yield();
    }
    RunStep();
    return StartError() == kMeasStartOk;
}

void CMeasLoop::Stop() {
    {
        std::lock_guard lock(stateMutex_);
        if (state_ == MeasLoopState::kIdle) {
            return;
        }
        stopPending_ = true;
    }
    RunStep();
}

void CMeasLoop::Tick() {
    {
        std::lock_guard lock(stateMutex_);
        const bool waiting = (state_ == MeasLoopState::kWaiting || state_ == MeasLoopState::kRoundDue) &&
                             waitInterval_ != kNoWait;
        if (!stopPending_ && state_ != MeasLoopState::kMeasuring && state_ != MeasLoopState::kPortLost &&
            !waiting) {
            return;
        }
    }
    RunStep();
}

void CMeasLoop::Shutdown() {
    {
        std::lock_guard lock(listenerMutex_);
        listener_ = nullptr;
    }
    {
        std::lock_guard lock(stateMutex_);
        if (state_ != MeasLoopState::kIdle) {
            stopPending_ = true;
        }
    }
    // A round running on the timer thread sees the pending stop after its current module and stops the
    // loop there; joining the timer waits for exactly that.
    timer_->Stop();
    // The loop was waiting (or never got its timer): the stop happens here.
    RunStep();
}

void CMeasLoop::RunStep() {
    for (;;) {
        // A second step never runs beside one already running; the caller's wish is left in the state
        // (a pending stop), which the running step honours.
        bool expected = false;
        if (!inStep_.compare_exchange_strong(expected, true)) {
            return;
        }
        const bool wake = StepBody();
        inStep_.store(false);
        if (wake) {
            timer_->Wake();
        }
        // A Stop that came after the step's last look at the state would otherwise wait for a timer event
        // that may never come.
        if (!StopPending()) {
            return;
        }
    }
}

bool CMeasLoop::StepBody() {
    for (;;) {
        MeasLoopState state;
        {
            std::lock_guard lock(stateMutex_);
            if (stopPending_ && state_ != MeasLoopState::kIdle) {
                state_ = MeasLoopState::kStopRequested;
            }
            state = state_;
        }
        switch (state) {
        case MeasLoopState::kIdle:
            return false;
        case MeasLoopState::kStartRequested:
            // The first round runs on the timer thread, woken at once, so Start never waits for the bus.
            return StartPortAndTimer();
        case MeasLoopState::kMeasuring:
            if (!RunRound()) {
                return false;
            }
            break; // now waiting: checked at once, since the round may have taken the whole interval
        case MeasLoopState::kWaiting: {
            uint32_t left = 0;
            {
                std::lock_guard lock(stateMutex_);
                const uint64_t elapsedUs = NowUs() - roundStartUs_;
                const uint64_t elapsed = elapsedUs / 1'000'000;
                if (elapsed < waitInterval_) {
                    left = static_cast<uint32_t>(waitInterval_ - elapsed);
                } else {
                    state_ = MeasLoopState::kRoundDue;
                }
            }
            if (left > 0) {
                Notify([left](MeasLoopListener& l) { l.OnCountdown(left); });
                return false;
            }
            break;
        }
        case MeasLoopState::kRoundDue: {
            bool stop = false;
            {
                std::lock_guard lock(stateMutex_);
                waitInterval_ = kNoWait;
                stop = !loop_;
                if (!stop) {
                    state_ = MeasLoopState::kMeasuring;
                }
            }
            if (stop) {
                DoStop();
                return false;
            }
            break;
        }
        case MeasLoopState::kStopRequested:
            DoStop();
            return false;
        case MeasLoopState::kPortLost:
            if (!TryReconnect()) {
                return false;
            }
            break; // back: the round runs at once
        }
    }
}

bool CMeasLoop::StartPortAndTimer() {
    auto fail = [this](MeasStartError error) {
        std::lock_guard lock(stateMutex_);
        startError_ = error;
        state_ = MeasLoopState::kStopRequested;
        return false;
    };
    // Reserved before it is opened: from here on no other PortUser can open, use or close the port, and
    // the reservation is freed only after the timer has stopped and the port was closed.
    if (!portUser_.Reserve(&context_->portContext)) {
        return fail(kMeasStartPortBusy);
    }
    portReserved_ = true;
    if (!portUser_.Acquire()) {
        portUser_.FreeReservation();
        portReserved_ = false;
        return fail(kMeasStartNoPort);
    }
    portAcquired_ = true;
    port_ = portUser_.Port();
    if (!timer_->Start([this] { Tick(); })) {
        return fail(kMeasStartNoTimer);
    }
    std::lock_guard lock(stateMutex_);
    state_ = MeasLoopState::kMeasuring;
    return true;
}

bool CMeasLoop::RunRound() {
    {
        std::lock_guard lock(stateMutex_);
        roundStartUs_ = NowUs();
    }
    RetryAbsentModules();
    const uint32_t count = SlotCount();

    // Trigger pass: every active Tavik probe starts its measurement, so they all convert at once.
    for (uint32_t i = 0; i < count; ++i) {
        if (StopPending()) {
            DoStop();
            return false;
        }
        const ModuleView view = ViewOf(i);
        const ModuleRecord& r = view.record;
        if (!view.present || r.enModuleState != msIdentified || r.bDisabled != 0 || r.bIsTavikButNotXV == 0) {
            continue;
        }
        {
            PortLock lock(port_);
            if (StartMeasurement(port_, r.iaStation)) {
                MeasuredChannel ignored0;
                MeasuredChannel ignored1;
                ReadMeasuredValues(port_, r.iaStation, ignored0, ignored1);
            }
        }
        if (StopOnLostPort()) {
            return false;
        }
    }

    // Fetch pass: every active module's values into its store.
    for (uint32_t i = 0; i < count; ++i) {
        if (StopPending()) {
            DoStop();
            return false;
        }
        const ModuleView view = ViewOf(i);
        const ModuleRecord& r = view.record;
        if (!view.present || r.enModuleState != msIdentified || r.bDisabled != 0) {
            continue;
        }
        CMeasValueStore& store = view.slot->Store();
        if (!store.IsBound()) {
            continue;
        }
        MeasuringStepResult result;
        const uint32_t stamp = stampNow_();
        {
            // The module's reads follow each other without a transaction from elsewhere in between.
            PortLock lock(port_);
            result = RunMeasuringStep(port_, r, view.slot->Options(), stamp, store);
        }
        if (result.stored && result.busError == 0) {
            std::lock_guard lock(stateMutex_);
            outage_.lastStoredStamp = stamp;
        }
        view.slot->SetNewestValue(store.AppendRecord());
        Notify([i](MeasLoopListener& l) { l.OnNewValue(i); });
        if (!result.stored) {
            const std::string reason = store.LastErrorText();
            Notify([i, &reason](MeasLoopListener& l) { l.OnStoreFailed(i, reason); });
        }
        if (StopOnLostPort()) {
            return false;
        }
    }

    const uint32_t minimum = MinimumInterval();
    uint32_t rounds = 0;
    {
        std::lock_guard lock(stateMutex_);
        rounds = ++rounds_;
    }
    Notify([rounds](MeasLoopListener& l) { l.OnRoundDone(rounds); });
    {
        std::lock_guard lock(stateMutex_);
        if (!stopPending_) {
            waitInterval_ = std::max(minimum, rate_);
            state_ = MeasLoopState::kWaiting;
            return true;
        }
    }
    DoStop();
    return false;
}

void CMeasLoop::RetryAbsentModules() {
    {
        std::lock_guard lock(stateMutex_);
        if (NowUs() - lastAbsentTryUs_ < uint64_t{absentRetrySeconds_} * 1'000'000) {
            return;
        }
        lastAbsentTryUs_ = NowUs();
    }
    for (const uint32_t i : AbsentSlots()) {
        if (StopPending() || ComPortGone(port_)) {
            return; // the round's passes carry out the stop or report the lost port
        }
        const ModuleView view = ViewOf(i);
        ModuleRecord fresh;
        bool identified = false;
        {
            PortLock lock(port_);
            identified = IdentifyModule(port_, view.record.iaStation, fresh, lookup_);
        }
        // Another module at the saved station, or the same serial number with another record layout, would
        // write into files that are not its own.
        if (!identified || fresh.SerialNo() != view.record.SerialNo() ||
            ChooseLayout(fresh) != view.slot->Store().Layout()) {
            continue;
        }
        {
            std::lock_guard lock(slotsMutex_);
            view.slot->SetJoined(fresh);
        }
        Notify([i](MeasLoopListener& l) { l.OnModuleJoined(i); });
    }
}

bool CMeasLoop::StopOnLostPort() {
    // A dead device fails every transaction at once: running on would write error markers as fast as the
    // disk takes them, round after round, without ever reaching a module again.
    if (!ComPortGone(port_)) {
        return false;
    }
    const std::shared_ptr<Transport> transport = ComTransport(port_);
    const std::string device = transport ? transport->Describe() : std::string();
    const std::string reason = PortErrorText(LastPortError(), device);
    if (!reconnect_) {
        Notify([&reason](MeasLoopListener& l) { l.OnPortLost(reason); });
        DoStop();
        return true;
    }
    // The dead descriptor is closed (a device that comes back is a new one), but the reservation stays:
    // nobody else may take the port in the gap, and the files stay this loop's.
    portUser_.Release();
    portAcquired_ = false;
    port_ = kInvalidPort;
    const uint32_t period = std::max<uint32_t>(1, std::max(MinimumInterval(), RateSeconds()));
    {
        std::lock_guard lock(stateMutex_);
        outage_.active = true;
        outage_.device = device;
        outage_.retrySeconds = period;
        lostAtUs_ = NowUs();
        lastTryUs_ = lostAtUs_;
        waitInterval_ = kNoWait;
        if (!stopPending_) {
            state_ = MeasLoopState::kPortLost;
        }
    }
    Notify([&reason](MeasLoopListener& l) { l.OnPortLost(reason); });
    if (StopPending()) {
        DoStop();
    }
    return true;
}

uint32_t CMeasLoop::RateSeconds() const {
    std::lock_guard lock(stateMutex_);
    return rate_;
}

bool CMeasLoop::TryReconnect() {
    uint32_t left = 0;
    {
        std::lock_guard lock(stateMutex_);
        const uint64_t elapsed = (NowUs() - lastTryUs_) / 1'000'000;
        if (elapsed < outage_.retrySeconds) {
            left = static_cast<uint32_t>(outage_.retrySeconds - elapsed);
        } else {
            lastTryUs_ = NowUs();
        }
    }
    if (left > 0) {
        Notify([left](MeasLoopListener& l) { l.OnCountdown(left); });
        return false;
    }
    if (!portUser_.Acquire()) {
        return false;
    }
    portAcquired_ = true;
    port_ = portUser_.Port();
    uint32_t gap = 0;
    {
        std::lock_guard lock(stateMutex_);
        gap = static_cast<uint32_t>((NowUs() - lostAtUs_) / 1'000'000);
        outage_.active = false;
        state_ = MeasLoopState::kMeasuring;
    }
    Notify([gap](MeasLoopListener& l) { l.OnPortBack(gap); });
    return true;
}

void CMeasLoop::DoStop() {
    {
        std::lock_guard lock(stateMutex_);
        waitInterval_ = kNoWait;
    }
    timer_->Stop();
    if (portAcquired_) {
        portUser_.Release();
        portAcquired_ = false;
    }
    port_ = kInvalidPort;
    if (portReserved_) {
        portUser_.FreeReservation();
        portReserved_ = false;
    }
    {
        std::lock_guard lock(stateMutex_);
        state_ = MeasLoopState::kIdle;
        stopPending_ = false;
    }
    Notify([](MeasLoopListener& l) { l.OnIdle(); });
}

} // namespace terrix
