#pragma once
// The port state of one bus (port number, open handle, start-up error) and the small object through which
// a window or command opens the port on demand and closes it again. One PortUser may reserve a context's
// port (the measuring loop's, while it measures): every other PortUser is then refused and cannot close it.

#include "core/platform/com_port.h"

#include <cstdint>
#include <string>

namespace terrix {

// Start-up errors kept in ComPortContext::dwError.
inline constexpr uint32_t kErrorCableCheck = 5001;  // port could not be opened with the cable check
inline constexpr uint32_t kErrorPortOpen = 5002;    // port could not be opened
inline constexpr uint32_t kErrorNoModule = 5003;    // no module answered
inline constexpr uint32_t kErrorPortReserved = 5004; // another PortUser (the measuring loop) holds the port

inline constexpr const char* kBusBusyMeasuringText =
    "The measuring loop is running on this port. Stop the measurement before using bus commands.";

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

// What to tell the user when a PortUser could not take the context's port: the reservation's text, or the
// system error of the failed open, naming the device.
std::string PortUserErrorText(const ComPortContext& context, const std::string& device);

// Acquire, Release and the reservation may be called from any thread; they are serialised among themselves.
class PortUser {
public:
    PortUser() = default;
    explicit PortUser(ComPortContext* context) : context_(context) {}
    // Frees a reservation still held; the port stays as it is.
    ~PortUser();
    PortUser(const PortUser&) = delete;
    PortUser& operator=(const PortUser&) = delete;

    // Opens the port unless the context already has it open. Remembers the context when one is given.
    // Refused without touching the port, with the context's error kErrorPortReserved, while another
    // PortUser holds the context's reservation.
    bool Acquire(ComPortContext* context = nullptr);
    // Closes the context's port; false when nothing was open, or when another PortUser holds the
    // reservation (the port then stays open for it).
    bool Release();

    // Reserves the context's port for this user (remembering the context when one is given), whether or
    // not it is open yet. False, with the context's error kErrorPortReserved, when another user holds it.
    bool Reserve(ComPortContext* context = nullptr);
    // Gives up this user's reservation; the port stays as it is.
    void FreeReservation();
    // True while some PortUser holds the context's reservation.
    static bool IsReserved(const ComPortContext& context);

    ComPortContext* Context() const { return context_; }
    PortHandle Port() const { return context_ != nullptr ? context_->hPort : kInvalidPort; }

private:
    // Remembers `context` when one is given; false when the user has none.
    bool UseContext(ComPortContext* context);

    ComPortContext* context_ = nullptr;
};

} // namespace terrix
