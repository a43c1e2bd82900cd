#include "core/circuit/measuring_guard.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace terrix {

namespace {

// The loop claims and frees from its timer thread as well as from the interface thread.
std::mutex& ClaimMutex() {
    static std::mutex mutex;
    return mutex;
}

std::vector<const ComPortContext*>& Claims() {
    static std::vector<const ComPortContext*> claims;
    return claims;
}

} // namespace

bool MeasuringGuard::IsMeasuring(const ComPortContext& context) {
    std::lock_guard lock(ClaimMutex());
    const auto& claims = Claims();
    return std::find(claims.begin(), claims.end(), &context) != claims.end();
}

bool MeasuringGuard::CheckBusFree(const ComPortContext& context, std::string* message) {
    if (!IsMeasuring(context)) {
        return true;
    }
    if (message != nullptr) {
        *message = kBusBusyMeasuringText;
    }
    return false;
}

void MeasuringGuard::Claim(const ComPortContext& context) {
    std::lock_guard lock(ClaimMutex());
    Claims().push_back(&context);
}

void MeasuringGuard::Unclaim(const ComPortContext& context) {
    std::lock_guard lock(ClaimMutex());
    auto& claims = Claims();
    const auto it = std::find(claims.begin(), claims.end(), &context);
    if (it != claims.end()) {
        claims.erase(it);
    }
}

} // namespace terrix
