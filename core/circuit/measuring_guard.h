#pragma once
// Whether a measuring loop is using a port right now. While a loop measures, its PortUser holds the port's
// reservation: every other PortUser's Acquire is refused with kBusBusyMeasuringText and nobody else can
// close the port. Windows ask here first, so they can refuse a command before they change anything.

#include "core/platform/port_user.h"

#include <string>

namespace terrix {

class MeasuringGuard {
public:
    // True from a loop's successful start until its stop has released the port.
    static bool IsMeasuring(const ComPortContext& context);
    // True when no loop measures on the context's port; otherwise false with kBusBusyMeasuringText in
    // `message` (when given).
    static bool CheckBusFree(const ComPortContext& context, std::string* message = nullptr);
};

} // namespace terrix
