#pragma once
// The simulated bus behind a pseudo-terminal: a program opens the slave device as if it were a serial port
// and talks to the virtual modules. The PC's baud rate is read from the line settings it made, so the
// baud-rate ladder works as on a real line.

#include "sim/frame.h"
#include "sim/virtual_bus.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <ostream>
#include <string>

namespace terrix::sim {

class PtyServer {
public:
    // Creates the pseudo-terminal; nullptr with the reason in `error`.
    static std::unique_ptr<PtyServer> Create(std::shared_ptr<VirtualBus> bus, std::string& error);
    ~PtyServer();
    PtyServer(const PtyServer&) = delete;
    PtyServer& operator=(const PtyServer&) = delete;

    const std::string& SlavePath() const { return slavePath_; }
    // Points the symbolic link `linkPath` at the slave device (an existing link is replaced, any other
    // file is left alone and refused). The link is removed again when the server ends.
    bool MakeLink(const std::string& linkPath, std::string& error);
    // One line per request, reply and dropped garbage; `out` is not owned and must outlive the server.
    void SetTrace(std::ostream* out);

    // Serves until `stop` is set (looked at every 50 ms at the latest).
    void Serve(const std::atomic<bool>& stop);

    // The PC's baud rate as set on the line, or 0 when it is not one the bus knows.
    uint32_t LineBaud() const;

private:
    PtyServer(std::shared_ptr<VirtualBus> bus, int master, int slave, std::string slavePath);
    void Trace(uint64_t nowUs, const char* what, std::span<const uint8_t> bytes);
    void Send(uint64_t nowUs, std::span<const uint8_t> bytes);

    std::shared_ptr<VirtualBus> bus_;
    int master_;
    // Held open for the server's life: without any slave open the master reads as hung up, and input
    // would be thrown away between two opens of the client.
    int slave_;
    std::string slavePath_;
    std::string linkPath_;
    uint64_t startUs_;
    std::mutex traceMutex_;
    std::ostream* trace_ = nullptr;
};

} // namespace terrix::sim
