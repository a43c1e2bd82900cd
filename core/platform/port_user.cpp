#include "core/platform/port_user.h"

namespace terrix {

namespace {

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

bool PortUser::Acquire(ComPortContext* context) {
    if (context != nullptr) {
        context_ = context;
    }
    if (context_ == nullptr) {
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
    if (context_ == nullptr || context_->hPort == kInvalidPort) {
        return false;
    }
    ComClose(context_->hPort);
    context_->hPort = kInvalidPort;
    return true;
}

} // namespace terrix
