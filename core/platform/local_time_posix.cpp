#include "core/platform/local_time.h"

namespace terrix {

bool LocalTime(std::time_t when, std::tm* local) {
    std::tm converted{};
    if (::localtime_r(&when, &converted) == nullptr) {
        return false;
    }
    *local = converted;
    return true;
}

} // namespace terrix
