#include "core/platform/port_user.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace terrix {

namespace {

// Which PortUser holds which context's port. One lock covers the reservations and every PortUser's open
// and close, so a refusal can never race with the holder taking or freeing its reservation (the measuring
// loop reserves on the interface thread and frees on its timer thread).
struct Reservation {
    const ComPortContext* context;
    const PortUser* owner;
};

std::mutex& ReservationMutex() {
    static std::mutex mutex;
    return mutex;
}

std::vector<Reservation>& Reservations() {
    static std::vector<Reservation> reservations;
    return reservations;
}

// The holder of the context's reservation, or null. Called with the mutex held.
const PortUser* HolderOf(const ComPortContext& context) {
    for (const Reservation& r : Reservations()) {
        if (r.context == &context) {
            return r.owner;
        }
    }
    return nullptr;
}

bool HeldByOther(const ComPortContext& context, const PortUser* user) {
    const PortUser* holder = HolderOf(context);
    return holder != nullptr && holder != user;
}

PortHandle OpenContextPort(const ComPortContext& context) {
    if (!context.device.empty()) {
        return ComOpenDevice(context.device, kBusBaud);
    }
    return ComOpen(context.nPortNo, kBusBaud);
}

} // namespace

PortHandle ComOpenChecked(ComPortContext& context) {
    context.dwError = 0;
    const PortHandle port = OpenContextPort(context);
    if (port != kInvalidPort && ComDetectCable(port)) {
        context.hPort = port;
        return port;
    }
    if (port != kInvalidPort) {
        const uint32_t cableError = LastPortError();
        ComClose(port);
        SetLastPortError(cableError);
    }
    context.dwError = kErrorCableCheck;
    return kInvalidPort;
}

std::string PortUserErrorText(const ComPortContext& context, const std::string& device) {
    if (context.dwError == kErrorPortReserved) {
        return kBusBusyMeasuringText;
    }
    return PortErrorText(LastPortError(), device);
}

PortUser::~PortUser() {
    FreeReservation();
}

bool PortUser::UseContext(ComPortContext* context) {
    if (context != nullptr) {
        context_ = context;
    }
    return context_ != nullptr;
}

bool PortUser::Acquire(ComPortContext* context) {
    if (!UseContext(context)) {
        return false;
    }
    std::lock_guard lock(ReservationMutex());
    if (HeldByOther(*context_, this)) {
        context_->dwError = kErrorPortReserved;
        return false;
    }
    context_->dwError = 0;
    if (context_->nPortNo == -1 && context_->device.empty()) {
        return ComOpenChecked(*context_) != kInvalidPort;
    }
    if (context_->hPort == kInvalidPort) {
        const PortHandle port = OpenContextPort(*context_);
        if (port == kInvalidPort) {
            context_->dwError = kErrorPortOpen;
            return false;
        }
        context_->hPort = port;
    }
    return true;
}

bool PortUser::Release() {
    if (context_ == nullptr) {
        return false;
    }
    PortHandle port = kInvalidPort;
    {
        std::lock_guard lock(ReservationMutex());
        if (context_->hPort == kInvalidPort || HeldByOther(*context_, this)) {
            return false;
        }
        port = context_->hPort;
        context_->hPort = kInvalidPort;
    }
    // Closed outside the lock: the close waits for a transaction still running on the port, and a
    // transaction's holder must never wait for this lock behind it.
    ComClose(port);
    return true;
}

bool PortUser::Reserve(ComPortContext* context) {
    if (!UseContext(context)) {
        return false;
    }
    std::lock_guard lock(ReservationMutex());
    const PortUser* holder = HolderOf(*context_);
    if (holder == this) {
        return true;
    }
    if (holder != nullptr) {
        context_->dwError = kErrorPortReserved;
        return false;
    }
    Reservations().push_back({context_, this});
    return true;
}

void PortUser::FreeReservation() {
    std::lock_guard lock(ReservationMutex());
    auto& reservations = Reservations();
    reservations.erase(std::remove_if(reservations.begin(), reservations.end(),
                                      [this](const Reservation& r) { return r.owner == this; }),
                       reservations.end());
}

bool PortUser::IsReserved(const ComPortContext& context) {
    std::lock_guard lock(ReservationMutex());
    return HolderOf(context) != nullptr;
}

} // namespace terrix
