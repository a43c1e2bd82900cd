#include "core/circuit/measuring_guard.h"

namespace terrix {

bool MeasuringGuard::IsMeasuring(const ComPortContext& context) {
    return PortUser::IsReserved(context);
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

} // namespace terrix
