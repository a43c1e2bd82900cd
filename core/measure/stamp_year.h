#pragma once
// The last year that a record's time stamp holds (time_stamp.h): 2033. Measuring goes on after it, with the
// year stored modulo 64, so the user is told once what happens to the dates.

#include <string>

namespace terrix {

// The current year by the system clock (universal time: at most hours off around New Year, which is all the
// notice needs).
unsigned CurrentYear();
// What a measurement in `year` tells its user about the stamp's last year: empty before 2033, else one
// sentence (for 2034 on naming the year that is stored instead).
std::string StampYearNotice(unsigned year);

} // namespace terrix
