#pragma once
// What the measuring loop reports to the window (or the command-line tool) that runs it.
//
// The calls come from the loop's timer thread; OnIdle after a Stop made while the loop waited comes from
// the thread that called Stop. A window must not touch its controls in them: it forwards each call to its
// own thread with a queued call (QMetaObject::invokeMethod with Qt::QueuedConnection) and returns.
// A listener must not call Bind, Start, Shutdown or destroy the loop from inside a call; Stop is allowed
// (it is then carried out after the current module).

#include <cstdint>
#include <string>

namespace terrix {

class MeasLoopListener {
public:
    virtual ~MeasLoopListener() = default;
    // The module of slot `slot` was measured: CMeasLoop::NewestValue(slot) holds the record (values or
    // error markers). Slots keep their indices while the loop measures.
    virtual void OnNewValue(uint32_t slot) = 0;
    // Whole seconds left until the next round; sent on every timer event while the loop waits.
    virtual void OnCountdown(uint32_t secondsLeft) = 0;
    // The loop has stopped and released the port.
    virtual void OnIdle() = 0;
    // The value of slot `slot` could not be written to its files; `reason` names the file and the cause.
    virtual void OnStoreFailed(uint32_t /*slot*/, const std::string& /*reason*/) {}
    // The port's device has gone (adapter pulled out); `reason` names the device and the cause. Reported
    // once per loss, after the module being measured got its error markers. The loop then stops (OnIdle
    // follows), or, when it reconnects, closes the port and tries to open it again every round period
    // (CMeasLoop::Outage says since when and what was stored last).
    virtual void OnPortLost(const std::string& /*reason*/) {}
    // A reconnecting loop has the device again after `gapSeconds` without it; a round follows at once.
    virtual void OnPortBack(uint32_t /*gapSeconds*/) {}
    // The saved module of slot `slot`, which did not answer when the loop started (CMeasLoop::AbsentSlots),
    // answers now and is measured from this round on.
    virtual void OnModuleJoined(uint32_t /*slot*/) {}
    // A round has ended; `rounds` counts the rounds since Start.
    virtual void OnRoundDone(uint32_t /*rounds*/) {}
};

} // namespace terrix
