#include "core/config/offset_adjust.h"

#include "core/bus/commands.h"

#include <cmath>

namespace terrix {

namespace {

constexpr uint8_t kOffsetIndex = 0;
constexpr bool kOffsetFlag = false; // index 0 with the flag clear: selector 8

// Edit fields keep six decimals, so that repeated steps of 0.1 do not drift.
double Round6(double value) {
    return std::round(value * 1e6) / 1e6;
}

} // namespace

bool ReadOffsetPercent(PortHandle port, uint8_t station, double& percent) {
    double value = 0;
    if (!ReadOffset(port, station, kOffsetIndex, kOffsetFlag, value)) {
        return false;
    }
    percent = value * 0.1;
    return true;
}

bool OffsetPercentEncodes(double percent) {
    return std::isfinite(percent) && std::fabs(percent * 10) < 1000;
}

bool WriteOffsetPercent(PortHandle port, uint8_t station, double percent) {
    if (!OffsetPercentEncodes(percent)) {
        return false;
    }
    return WriteOffset(port, station, kOffsetIndex, kOffsetFlag, percent * 10);
}

void OffsetEdit::Start(double previousPercent) {
    previous_ = Round6(previousPercent);
    newOffset_ = previous_;
    change_ = 0;
}

bool OffsetEdit::SetChange(double change) {
    if (!(change >= kMinChange && change <= kMaxChange)) {
        return false;
    }
    change_ = Round6(change);
    newOffset_ = Round6(previous_ + change_);
    return true;
}

bool OffsetEdit::SetNewOffset(double percent) {
    if (!std::isfinite(percent)) {
        return false;
    }
    newOffset_ = Round6(percent);
    change_ = Round6(newOffset_ - previous_);
    return true;
}

void OffsetEdit::Step(int direction) {
    double change = change_ + direction * kStep;
    if (change > kMaxChange) {
        change = kMaxChange;
    } else if (change < kMinChange) {
        change = kMinChange;
    }
    change_ = Round6(change);
    newOffset_ = Round6(previous_ + change_);
}

bool OffsetEdit::IsModified() const {
    return std::fabs(newOffset_ - previous_) >= 1e-8;
}

} // namespace terrix
