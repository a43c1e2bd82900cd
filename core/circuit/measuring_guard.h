#pragma once
// Which ports a measuring loop is using right now. While a loop measures, its port belongs to it: another
// bus command on the same port would interleave with the rounds, or close the port under them when its
// PortUser releases it. Every bus command entry point (the circuit window's module commands, the CLI)
// asks CheckBusFree first and refuses to run while the answer is false.

#include "core/platform/port_user.h"

#include <string>

namespace terrix {

inline constexpr const char* kBusBusyMeasuringText =
    "The measuring loop is running on this port. Stop the measurement before using bus commands.";

class MeasuringGuard {
public:
    // True from a loop's successful start until its stop has released the port.
    static bool IsMeasuring(const ComPortContext& context);
    // True when no loop measures on the context's port; otherwise false with kBusBusyMeasuringText in
    // `message` (when given).
    static bool CheckBusFree(const ComPortContext& context, std::string* message = nullptr);

    // The loop's side: marks the context as taken, and frees it again. Claims are counted, so each Claim
    // needs its own Unclaim.
    static void Claim(const ComPortContext& context);
    static void Unclaim(const ComPortContext& context);
};

} // namespace terrix
