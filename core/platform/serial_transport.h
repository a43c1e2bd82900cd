#pragma once
// A serial device (or a pseudo-terminal) opened raw for the bus: 8 data bits, odd parity, two stop bits,
// no flow control, exclusive use. Built on termios off Windows and on the Win32 communications API on
// Windows; both report failures as errno codes, so that messages and exit statuses are the same.

#include "core/platform/transport.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace terrix {

class SerialTransport final : public Transport {
public:
    // Opens the device; nullptr with the error in `error` when it cannot be opened or configured (nothing is
    // left open then). On Windows "COMn" and "\\\\.\\COMn" name the same port.
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
    SerialTransport(std::intptr_t native, std::string path, uint32_t baud)
        : native_(native), path_(std::move(path)), baud_(baud) {}
    int Descriptor() const { return static_cast<int>(native_); }
    bool SetModemLine(int line, bool on);
    // Records the system's error of the call that just failed; false.
    bool Fail();

    std::intptr_t native_; // the file descriptor, or on Windows the HANDLE
    std::string path_;
    uint32_t baud_;
    uint32_t lastError_ = 0;
    bool gone_ = false;
};

// The device of COM port n when the settings name none: /dev/ttyS<n-1>, on Windows COMn.
std::string DefaultSerialDevice(int portNumber);
// The serial ports this system has, by the names that open them, for the user to choose from: the stable
// /dev/serial/by-id names and USB adapters off Windows, the ports the system registered on Windows.
std::vector<std::string> ListSerialPorts();

// A port of ListSerialPorts() with what the system says about it.
struct SerialPortDescription {
    std::string name;         // what opens it: COM3, /dev/ttyUSB0
    std::string description;  // Windows: the device manager's friendly name, "USB Serial Port (COM3)"
    std::string manufacturer; // Windows: the driver's maker
};
// ListSerialPorts() with descriptions where the system keeps them (UTF-8; empty where it keeps none, as
// off Windows, where the desktop program asks its toolkit instead).
std::vector<SerialPortDescription> DescribeSerialPorts();

} // namespace terrix
