#pragma once
// COM ports by handle. A port number 1..4 is mapped to a device through the key "COMn" of the section
// "Serial ports" in the settings file (default /dev/ttyS<n-1>, on Windows COMn); a device string may also name a registered
// transport scheme such as "sim" or "sim:<scenario file>".

#include "core/platform/transport.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

namespace terrix {

using PortHandle = int32_t;
inline constexpr PortHandle kInvalidPort = -1;
inline constexpr uint32_t kBusBaud = 9600;

// The system error code (errno) of the last port operation that failed; ComOpen clears it first.
uint32_t LastPortError();
void SetLastPortError(uint32_t error);
// The device of the last ComOpen, for messages.
std::string LastPortDevice();
// A message for a port failure that names the cause and, where there is one, the cure.
std::string PortErrorText(uint32_t error, const std::string& device);

// The device string configured for a port number (1..4).
std::string PortDeviceName(int portNumber);
bool SetPortDeviceName(int portNumber, const std::string& device);

// Opens COM port `portNumber` (1..4) through its configured device.
PortHandle ComOpen(int portNumber, uint32_t baud);
// Opens a device path or a transport scheme ("sim", "sim:file").
PortHandle ComOpenDevice(std::string_view device, uint32_t baud);
// Takes over an already created transport (tests, the simulator).
PortHandle ComAdopt(std::unique_ptr<Transport> transport);

bool ComPurge(PortHandle port);
bool ComClose(PortHandle port);
bool ComSetBaud(PortHandle port, uint32_t baud);
bool ComDetectCable(PortHandle port);

// True when the port's device has gone (see Transport::IsGone); LastPortError() then holds the cause.
// Long operations check it after a failed transaction, so that they end instead of running on against a
// dead device and reporting what they found as the whole bus.
bool ComPortGone(PortHandle port);
// The transport behind a handle, kept alive for the caller even when the port is closed meanwhile.
std::shared_ptr<Transport> ComTransport(PortHandle port);
// Serialises bus activity on one port: a whole transaction (or a composite command) runs under it, so the
// measuring loop's thread and the user-interface thread never interleave on the wire. Recursive, so a
// composite command may hold it around the transactions that take it again.
class PortLock {
public:
    explicit PortLock(PortHandle port);
    bool OwnsPort() const { return lock_.owns_lock(); }

private:
    std::shared_ptr<std::recursive_mutex> mutex_; // declared first: outlives the lock below
    std::unique_lock<std::recursive_mutex> lock_;
};

// A transport scheme, e.g. "sim": the factory gets what follows "scheme:" (possibly empty).
using TransportFactory =
    std::function<std::unique_ptr<Transport>(std::string_view argument, uint32_t baud, uint32_t& error)>;
void RegisterTransportScheme(const std::string& scheme, TransportFactory factory);

} // namespace terrix
