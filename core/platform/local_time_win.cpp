#include "core/platform/local_time.h"

namespace terrix {

bool LocalTime(std::time_t when, std::tm* local) {
    std::tm converted{};
    if (::localtime_s(&converted, &when) != 0) {
        return false;
    }
    *local = converted;
    return true;
}

} // namespace terrix
