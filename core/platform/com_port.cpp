#include "core/platform/com_port.h"

#include "core/platform/ini_section.h"
#include "core/platform/serial_transport.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <map>

namespace terrix {

namespace {

struct PortEntry {
    std::shared_ptr<Transport> transport;
    std::shared_ptr<std::recursive_mutex> busMutex = std::make_shared<std::recursive_mutex>();
};

struct Registry {
    std::mutex mutex;
    std::map<PortHandle, PortEntry> ports;
    PortHandle nextHandle = 1;
    std::map<std::string, TransportFactory> schemes;
    std::string lastDevice;
};

Registry& GetRegistry() {
    static Registry registry;
    return registry;
}

std::atomic<uint32_t> lastPortError{0};

bool Lookup(PortHandle port, PortEntry& out) {
    Registry& r = GetRegistry();
    std::lock_guard lock(r.mutex);
    const auto it = r.ports.find(port);
    if (it == r.ports.end()) {
        return false;
    }
    out = it->second;
    return true;
}

} // namespace

uint32_t LastPortError() { return lastPortError.load(); }
void SetLastPortError(uint32_t error) { lastPortError = error; }

std::string LastPortDevice() {
    Registry& r = GetRegistry();
    std::lock_guard lock(r.mutex);
    return r.lastDevice;
}

std::string PortErrorText(uint32_t error, const std::string& device) {
    const std::string name = device.empty() ? std::string("the serial port") : device;
    switch (error) {
    case 0: return "No error on " + name + ".";
    case EACCES:
    case EPERM:
        return "Permission denied opening " + name +
               ". Add your user to the 'dialout' group (sudo usermod -aG dialout $USER), then log in again.";
    case EBUSY: return name + " is in use by another program.";
    case ENOENT:
    case ENODEV:
    case ENXIO: return name + " does not exist. Check the cable and the port chosen in the settings.";
    case ENOTTY: return name + " is not a serial device.";
    case EIO:
        return "Lost the connection to " + name +
               " (input/output error). Check that the serial adapter is still plugged in.";
    default: return "Cannot use " + name + ": " + std::strerror(static_cast<int>(error)) + ".";
    }
}

std::string PortDeviceName(int portNumber) {
    CIniSection settings;
    settings.SetSection("Serial ports");
    const std::string fallback = DefaultSerialDevice(portNumber);
    const std::string device = settings.ReadString("COM" + std::to_string(portNumber), fallback);
    return device.empty() ? fallback : device;
}

bool SetPortDeviceName(int portNumber, const std::string& device) {
    CIniSection settings;
    settings.SetSection("Serial ports");
    return settings.WriteString("COM" + std::to_string(portNumber), device);
}

PortHandle ComOpen(int portNumber, uint32_t baud) {
    lastPortError = 0;
    if (portNumber < 1) {
        lastPortError = ENODEV;
        return kInvalidPort;
    }
    return ComOpenDevice(PortDeviceName(portNumber), baud);
}

PortHandle ComOpenDevice(std::string_view device, uint32_t baud) {
    lastPortError = 0;
    Registry& r = GetRegistry();
    TransportFactory factory;
    std::string argument;
    {
        std::lock_guard lock(r.mutex);
        r.lastDevice = std::string(device);
        const size_t colon = device.find(':');
        const std::string scheme(device.substr(0, colon));
        const auto it = r.schemes.find(scheme);
        if (it != r.schemes.end()) {
            factory = it->second;
            argument = colon == std::string_view::npos ? std::string{} : std::string(device.substr(colon + 1));
        }
    }
    uint32_t error = 0;
    std::unique_ptr<Transport> transport;
    if (factory) {
        transport = factory(argument, baud, error);
    } else {
        transport = SerialTransport::Open(std::string(device), baud, error);
    }
    if (!transport) {
        lastPortError = error != 0 ? error : EIO;
        return kInvalidPort;
    }
    // Opening a tty raises DTR and RTS, and some adapters and bus converters react to them; the line
    // wants both off. A device without modem lines (a pseudo-terminal) refuses, which is no error here.
    transport->SetDtr(false);
    transport->SetRts(false);
    // Bytes from before the open (the last reply to a program that was killed) are not ours.
    transport->PurgeInput();
    return ComAdopt(std::move(transport));
}

PortHandle ComAdopt(std::unique_ptr<Transport> transport) {
    if (!transport) {
        return kInvalidPort;
    }
    Registry& r = GetRegistry();
    std::lock_guard lock(r.mutex);
    const PortHandle handle = r.nextHandle++;
    r.ports[handle].transport = std::move(transport);
    return handle;
}

bool ComPurge(PortHandle port) {
    PortEntry entry;
    if (!Lookup(port, entry)) {
        lastPortError = 0;
        return false;
    }
    if (!entry.transport->Purge()) {
        lastPortError = entry.transport->LastError();
        return false;
    }
    return true;
}

bool ComClose(PortHandle port) {
    PortEntry entry;
    if (!Lookup(port, entry)) {
        return false;
    }
    // A transaction in progress on another thread finishes before the port goes away.
    std::lock_guard busLock(*entry.busMutex);
    entry.transport->Purge();
    Registry& r = GetRegistry();
    std::lock_guard lock(r.mutex);
    r.ports.erase(port);
    return true;
}

bool ComSetBaud(PortHandle port, uint32_t baud) {
    PortEntry entry;
    if (!Lookup(port, entry)) {
        lastPortError = EBADF;
        return false;
    }
    if (!entry.transport->SetBaud(baud)) {
        lastPortError = entry.transport->LastError();
        return false;
    }
    return true;
}

bool ComDetectCable(PortHandle port) {
    PortEntry entry;
    if (!Lookup(port, entry)) {
        lastPortError = EBADF;
        return false;
    }
    Transport& t = *entry.transport;
    auto failed = [&] {
        lastPortError = t.LastError();
        return false;
    };
    bool cts = false;
    bool dsr = false;
    if (!t.SetRts(false) || !t.SetDtr(false) || !t.GetModemStatus(cts, dsr)) {
        return failed();
    }
    struct Probe {
        bool rts;
        bool dtr;
        bool expectCts;
        bool expectDsr;
        bool checksCts;
    };
    // The interface converter loops RTS back to CTS and DTR back to DSR; every probe runs even after one
    // has failed.
    const Probe probes[] = {
        {true, false, true, false, true},
        {false, false, false, false, true},
        {false, true, false, true, false},
        {false, false, false, false, false},
    };
    bool result = true;
    for (const Probe& p : probes) {
        if (!t.SetRts(p.rts) || !t.SetDtr(p.dtr) || !t.GetModemStatus(cts, dsr)) {
            return failed();
        }
        const bool ok = p.checksCts ? cts == p.expectCts : dsr == p.expectDsr;
        if (!ok) {
            result = false;
        }
        if (!t.SetRts(false) || !t.SetDtr(false)) {
            return failed();
        }
    }
    return result;
}

bool ComPortGone(PortHandle port) {
    const std::shared_ptr<Transport> transport = ComTransport(port);
    if (!transport || !transport->IsGone()) {
        return false;
    }
    SetLastPortError(transport->LastError());
    return true;
}

std::shared_ptr<Transport> ComTransport(PortHandle port) {
    PortEntry entry;
    return Lookup(port, entry) ? entry.transport : nullptr;
}

PortLock::PortLock(PortHandle port) {
    PortEntry entry;
    if (Lookup(port, entry)) {
        mutex_ = entry.busMutex;
        lock_ = std::unique_lock<std::recursive_mutex>(*mutex_);
    }
}

void RegisterTransportScheme(const std::string& scheme, TransportFactory factory) {
    Registry& r = GetRegistry();
    std::lock_guard lock(r.mutex);
    r.schemes[scheme] = std::move(factory);
}

} // namespace terrix
