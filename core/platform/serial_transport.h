#pragma once
// A serial device (or a pseudo-terminal) opened raw for the bus: 8 data bits, odd parity, two stop bits,
// no flow control, exclusive use.

#include "core/platform/transport.h"

#include <memory>
#include <string>

namespace terrix {

class SerialTransport final : public Transport {
public:
    // Opens the device; nullptr with the system error in `error` when it cannot be opened or configured
    // (no descriptor is left open then).
    static std::unique_ptr<SerialTransport> Open(const std::string& path, uint32_t baud, uint32_t& error);
    ~SerialTransport() override;

    bool Write(std::span<const uint8_t> bytes, size_t& written) override;
    bool Read(std::span<uint8_t> buffer, size_t& got) override;
    bool Purge() override;
    bool PurgeInput() override;
    bool SetBaud(uint32_t baud) override;
    uint32_t Baud() const override { return baud_; }
    bool SetRts(bool on) override;
    bool SetDtr(bool on) override;
    bool GetModemStatus(bool& cts, bool& dsr) override;
    Clock& GetClock() override { return SystemClock::Instance(); }
    uint32_t LastError() const override { return lastError_; }
    bool IsGone() const override { return gone_; }
    std::string Describe() const override { return path_; }

private:
    SerialTransport(int fd, std::string path, uint32_t baud) : fd_(fd), path_(std::move(path)), baud_(baud) {}
    bool SetModemLine(int line, bool on);
    bool Fail();

    int fd_;
    std::string path_;
    uint32_t baud_;
    uint32_t lastError_ = 0;
    bool gone_ = false;
};

// The termios speed constant of a baud rate, or 0 when the rate is not supported.
unsigned BaudConstant(uint32_t baud);

} // namespace terrix
