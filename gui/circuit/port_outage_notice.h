#pragma once
// What the circuit window says about its port while the measuring loop runs: nothing, that the device has
// gone (which one, since when, the newest stored values, how often the port is tried), or that it is back
// (since when, after how long a gap). Widget-free: the window shows Text() in a line above its list and
// marks the modules while PortLost().

#include "core/circuit/meas_loop.h"

#include <QDateTime>
#include <QString>

#include <cstdint>
#include <vector>

namespace terrix {

// The line about saved modules that did not answer when measuring started (serial numbers); empty when
// there are none.
QString AbsentModulesText(const std::vector<uint16_t>& serials);

class PortOutageNotice {
public:
    enum class State { kNone, kLost, kBack };

    void Lost(const PortOutage& outage, const QDateTime& at);
    // Only after a loss; the device is named as the loss named it.
    void Back(uint32_t gapSeconds, const QDateTime& at);
    // A new measurement, or the loop has stopped while the device was away (nothing is tried any more).
    void Clear() { state_ = State::kNone; }

    State GetState() const { return state_; }
    bool PortLost() const { return state_ == State::kLost; }
    // In the current language; empty for kNone.
    QString Text() const;

private:
    State state_ = State::kNone;
    PortOutage outage_;
    QDateTime lostAt_;
    QDateTime backAt_;
    uint32_t gapSeconds_ = 0;
};

} // namespace terrix
