#include "sim/sim_transport.h"

#include <algorithm>
#include <cerrno>

namespace terrix::sim {

SimTransport::SimTransport(std::shared_ptr<VirtualBus> bus, Clock& clock, uint32_t baud, std::string name)
    : bus_(std::move(bus)), clock_(clock), name_(std::move(name)), baud_(baud) {}

bool SimTransport::GoneLocked() const {
    if (!gone_ && bus_->Unplugged()) {
        gone_ = true;
        lastError_ = EIO;
    }
    return gone_;
}

bool SimTransport::IsGone() const {
    // As with a real device, only a failed operation finds out.
    std::lock_guard lock(mutex_);
    return gone_;
}

bool SimTransport::Write(std::span<const uint8_t> bytes, size_t& written) {
    written = 0;
    std::lock_guard lock(mutex_);
    if (GoneLocked()) {
        return false;
    }
    const uint64_t now = clock_.NowUs();
    for (const Request& request : assembler_.Feed(bytes, now)) {
        const auto reply = bus_->Deliver(request, baud_, now);
        if (!reply) {
            continue;
        }
        // A reply cannot overtake one that is still on the line.
        uint64_t at = now + uint64_t{reply->delayMs} * 1000u;
        if (!incoming_.empty()) {
            at = std::max(at, incoming_.back().atUs);
        }
        for (const uint8_t b : reply->bytes) {
            incoming_.push_back({at, b});
        }
    }
    written = bytes.size();
    return true;
}

bool SimTransport::Read(std::span<uint8_t> buffer, size_t& got) {
    got = 0;
    if (buffer.empty()) {
        return true;
    }
    const uint64_t startUs = clock_.NowUs();
    const uint64_t totalDeadlineUs = startUs + (10u + 2u * buffer.size()) * 1000u;
    uint64_t lastByteUs = 0;
    for (;;) {
        uint64_t nextUs = UINT64_MAX;
        {
            std::lock_guard lock(mutex_);
            if (GoneLocked()) {
                return false;
            }
            const uint64_t now = clock_.NowUs();
            while (got < buffer.size() && !incoming_.empty() && incoming_.front().atUs <= now) {
                buffer[got++] = incoming_.front().byte;
                // A byte that was already waiting counts as arriving when the read began.
                lastByteUs = std::max(incoming_.front().atUs, startUs);
                incoming_.pop_front();
            }
            if (!incoming_.empty()) {
                nextUs = incoming_.front().atUs;
            }
        }
        if (got == buffer.size()) {
            return true;
        }
        uint64_t deadlineUs = totalDeadlineUs;
        if (got > 0) {
            deadlineUs = std::min(deadlineUs, lastByteUs + 1000u);
        }
        if (nextUs <= deadlineUs) {
            clock_.SleepUntilUs(nextUs);
            continue;
        }
        clock_.SleepUntilUs(deadlineUs);
        return true;
    }
}

bool SimTransport::Purge() {
    std::lock_guard lock(mutex_);
    if (GoneLocked()) {
        return false;
    }
    // What has arrived is discarded; bytes still on their way arrive later, as on a real line.
    const uint64_t now = clock_.NowUs();
    while (!incoming_.empty() && incoming_.front().atUs <= now) {
        incoming_.pop_front();
    }
    return true;
}

bool SimTransport::SetBaud(uint32_t baud) {
    std::lock_guard lock(mutex_);
    if (!IsModuleBaud(baud)) {
        lastError_ = EINVAL;
        return false;
    }
    baud_ = baud;
    return true;
}

uint32_t SimTransport::Baud() const {
    std::lock_guard lock(mutex_);
    return baud_;
}

bool SimTransport::SetRts(bool on) {
    std::lock_guard lock(mutex_);
    rts_ = on;
    return true;
}

bool SimTransport::SetDtr(bool on) {
    std::lock_guard lock(mutex_);
    dtr_ = on;
    return true;
}

bool SimTransport::GetModemStatus(bool& cts, bool& dsr) {
    const bool cable = bus_->CablePresent();
    std::lock_guard lock(mutex_);
    cts = cable && rts_;
    dsr = cable && dtr_;
    return true;
}

uint32_t SimTransport::LastError() const {
    std::lock_guard lock(mutex_);
    return lastError_;
}

size_t SimTransport::Available() const {
    std::lock_guard lock(mutex_);
    const uint64_t now = clock_.NowUs();
    return static_cast<size_t>(std::count_if(incoming_.begin(), incoming_.end(),
                                             [now](const Incoming& i) { return i.atUs <= now; }));
}

} // namespace terrix::sim
