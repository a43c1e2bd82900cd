#include "core/measure/stamp_year.h"

#include <chrono>

namespace terrix {

unsigned CurrentYear() {
    using namespace std::chrono;
    return static_cast<unsigned>(static_cast<int>(year_month_day(floor<days>(system_clock::now())).year()));
}

std::string StampYearNotice(unsigned year) {
    if (year < 2033) {
        return {};
    }
    if (year == 2033) {
        return "the measurement files hold the years 1970 to 2033 only: from 1 January 2034 on, values are "
               "stored with their year counted from 1970 again (2034 as 1970); the values and their order "
               "are "
               "kept, the dates in the files are not";
    }
    return "the clock says " + std::to_string(year) +
           ", but the measurement files hold the years 1970 to 2033 only: the values are stored with the "
           "year " +
           std::to_string(1970 + (year - 1970) % 64) + " instead; the values and their order are kept";
}

} // namespace terrix
