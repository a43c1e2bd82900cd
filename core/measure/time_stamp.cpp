#include "core/measure/time_stamp.h"

#include "core/platform/local_time.h"

#include <chrono>
#include <cstdio>

namespace terrix {

uint32_t PackTimeStamp(const StampParts& p) {
    const uint32_t yearField = static_cast<uint32_t>(p.year - 1970u) & 0x3Fu;
    return (p.day & 0x1Fu) | ((p.month & 0x0Fu) << 5) | (yearField << 9) | ((p.hour & 0x1Fu) << 15) |
           ((p.minute & 0x3Fu) << 20) | ((p.second & 0x3Fu) << 26);
}

StampParts UnpackTimeStamp(uint32_t stamp) {
    StampParts p;
    p.day = stamp & 0x1Fu;
    p.month = (stamp >> 5) & 0x0Fu;
    p.year = 1970u + ((stamp >> 9) & 0x3Fu);
    p.hour = (stamp >> 15) & 0x1Fu;
    p.minute = (stamp >> 20) & 0x3Fu;
    p.second = (stamp >> 26) & 0x3Fu;
    return p;
}

uint32_t PackLocalTime(std::time_t when) {
    std::tm local{};
    if (!LocalTime(when, &local)) {
        return 0;
    }
    StampParts p;
    p.day = static_cast<unsigned>(local.tm_mday);
    p.month = static_cast<unsigned>(local.tm_mon + 1);
    p.year = static_cast<unsigned>(local.tm_year + 1900);
    p.hour = static_cast<unsigned>(local.tm_hour);
    p.minute = static_cast<unsigned>(local.tm_min);
    // A leap second (60) does not fit the field's range of 0..59.
    p.second = local.tm_sec > 59 ? 59u : static_cast<unsigned>(local.tm_sec);
    return PackTimeStamp(p);
}

uint32_t CurrentTimeStamp() {
    return PackLocalTime(std::time(nullptr));
}

int64_t StampAsUtcSeconds(uint32_t stamp) {
    using namespace std::chrono;
    const StampParts p = UnpackTimeStamp(stamp);
    // Day 0 or month 0 or 13..15 cannot come from the clock; the calendar arithmetic still gives a number.
    const sys_days day =
        sys_days(year{static_cast<int>(p.year)} / month{p.month} / 1) + days{p.day} - days{1};
    return day.time_since_epoch().count() * 86400LL + p.hour * 3600LL + p.minute * 60LL + p.second;
}

std::string StampText(uint32_t stamp) {
    const StampParts p = UnpackTimeStamp(stamp);
    char text[32];
    std::snprintf(text, sizeof text, "%02u.%02u.%04u %02u:%02u:%02u", p.day % 100, p.month % 100,
                  p.year % 10000, p.hour % 100, p.minute % 100, p.second % 100);
    return text;
}

} // namespace terrix
