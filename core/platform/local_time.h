#pragma once
// The local calendar time of a moment, safe to call from any thread.

#include <ctime>

namespace terrix {

// False when the system cannot convert the moment (then *local is left as it was).
bool LocalTime(std::time_t when, std::tm* local);

} // namespace terrix
