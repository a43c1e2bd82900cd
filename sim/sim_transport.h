#pragma once
// The simulated bus as a byte stream inside this process. Requests written to it go to the VirtualBus at
// the transport's baud rate; replies arrive on the transport's clock (at once, or later for a module with
// a reply delay). With a VirtualClock a read that waits for nothing moves the clock instead of sleeping,
// so tests run the protocol's waits in no real time.

#include "core/platform/transport.h"
#include "sim/frame.h"
#include "sim/virtual_bus.h"

#include <deque>
#include <memory>
#include <mutex>
#include <string>

namespace terrix::sim {

class SimTransport final : public Transport {
public:
    // `clock` must outlive the transport.
    SimTransport(std::shared_ptr<VirtualBus> bus, Clock& clock, uint32_t baud = 9600,
                 std::string name = "sim");

    bool Write(std::span<const uint8_t> bytes, size_t& written) override;
    bool Read(std::span<uint8_t> buffer, size_t& got) override;
    bool Purge() override;
    bool SetBaud(uint32_t baud) override;
    uint32_t Baud() const override;
    // The interface cable loops RTS to CTS and DTR to DSR, unless the bus has no cable.
    bool SetRts(bool on) override;
    bool SetDtr(bool on) override;
    bool GetModemStatus(bool& cts, bool& dsr) override;
    Clock& GetClock() override { return clock_; }
    uint32_t LastError() const override;
    // Once an operation found the bus's adapter pulled out, this transport stays dead even after it is
    // plugged in again.
    bool IsGone() const override;
    std::string Describe() const override { return name_; }

    const std::shared_ptr<VirtualBus>& Bus() const { return bus_; }
    // Bytes that have arrived by now and wait to be read.
    size_t Available() const;

private:
    // True (with EIO as the last error) when the adapter is or was pulled out. Called with mutex_ held.
    bool GoneLocked() const;

    struct Incoming {
        uint64_t atUs;
        uint8_t byte;
    };

    std::shared_ptr<VirtualBus> bus_;
    Clock& clock_;
    std::string name_;
    mutable std::mutex mutex_;
    uint32_t baud_;
    mutable uint32_t lastError_ = 0;
    mutable bool gone_ = false;
    bool rts_ = false;
    bool dtr_ = false;
    FrameAssembler assembler_;
    std::deque<Incoming> incoming_; // in line order; arrival times never decrease
};

} // namespace terrix::sim
