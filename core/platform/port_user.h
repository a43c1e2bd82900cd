#pragma once
// The port state of one bus (port number, open handle, start-up error) and the small object through which
// a window or command opens the port on demand and closes it again.

#include "core/platform/com_port.h"

#include <cstdint>

namespace terrix {

// Start-up errors kept in ComPortContext::dwError.
inline constexpr uint32_t kErrorCableCheck = 5001;  // port could not be opened with the cable check
inline constexpr uint32_t kErrorPortOpen = 5002;    // port could not be opened
inline constexpr uint32_t kErrorNoModule = 5003;    // no module answered

struct ComPortContext {
    uint32_t dwError = 0;
    PortHandle hPort = kInvalidPort;
    int32_t nPortNo = -1; // -1 = none chosen, else 1..4
    // Overrides the device of nPortNo (a path or "sim[:file]"), e.g. from a command-line option.
    std::string device;
};

// Clears the context's error, opens at 9600 baud and checks the interface cable; on success the handle and
// port number are stored. Otherwise whatever was opened is closed and the error is 5001.
PortHandle ComOpenChecked(ComPortContext& context);

class PortUser {
public:
    PortUser() = default;
    explicit PortUser(ComPortContext* context) : context_(context) {}
    PortUser(const PortUser&) = delete;
    PortUser& operator=(const PortUser&) = delete;

    // Opens the port unless the context already has it open. Remembers the context when one is given.
    bool Acquire(ComPortContext* context = nullptr);
    // Closes the context's port; false when nothing was open.
    bool Release();

    ComPortContext* Context() const { return context_; }
    PortHandle Port() const { return context_ != nullptr ? context_->hPort : kInvalidPort; }

private:
    ComPortContext* context_ = nullptr;
};

} // namespace terrix
