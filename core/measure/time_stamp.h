#pragma once
// The packed time stamp of a measured-value record: local date and time in 32 bits, least significant bit
// first day (5 bits), month (4), year - 1970 modulo 64 (6), hour (5), minute (6), second (6). Years 1970 to
// 2033 are representable; later years wrap round to 1970.

#include <cstdint>
#include <ctime>
#include <string>

namespace terrix {

struct StampParts {
    unsigned day = 1;   // 1..31
    unsigned month = 1; // 1..12
    unsigned year = 1970;
    unsigned hour = 0;
    unsigned minute = 0;
    unsigned second = 0;
};

// Each part is cut to its bit width; the year is stored as (year - 1970) modulo 64.
uint32_t PackTimeStamp(const StampParts& parts);
StampParts UnpackTimeStamp(uint32_t stamp);

// The stamp of a calendar time in the local time zone (0 when the time cannot be converted).
uint32_t PackLocalTime(std::time_t when);
// The stamp of the current local time: what a measurement records when it starts.
uint32_t CurrentTimeStamp();

// "dd.mm.yyyy hh:mm:ss", as the measurement files show a stamp.
std::string StampText(uint32_t stamp);

// Seconds since 1970 when the stamp's fields are read as universal time, so that a time axis labelled from
// this number shows the stamp's own date and time in any time zone.
int64_t StampAsUtcSeconds(uint32_t stamp);

} // namespace terrix
