#pragma once
// The module's measured-value offset (commands 232/233, selector 8), held in tenths of a percent and shown
// in percent, and the editing rules of the "Setting Offset for Calibration" dialog: the new offset and the
// change follow each other, and the +/- 0.1 % buttons step the change within -100..100 %.

#include "core/platform/com_port.h"

#include <cstdint>

namespace terrix {

// Reads the offset: percent = module value x 0.1.
bool ReadOffsetPercent(PortHandle port, uint8_t station, double& percent);
// Sends percent x 10. False without sending when that does not encode (|percent| must stay below 100).
bool WriteOffsetPercent(PortHandle port, uint8_t station, double percent);
bool OffsetPercentEncodes(double percent);

class OffsetEdit {
public:
    static constexpr double kStep = 0.1;
    static constexpr double kMinChange = -100;
    static constexpr double kMaxChange = 100;

    // The read value (0 when the read failed): previous = new offset, change 0.
    void Start(double previousPercent);
    // Typing into the change field; a value outside -100..100 is refused (false, nothing changes).
    bool SetChange(double change);
    // Typing into the new-offset field: the change follows. False (nothing changes) for a non-finite value.
    bool SetNewOffset(double percent);
    // "+ 0.1%" and "- 0.1%": one step, stopping at the range ends rather than wrapping.
    void StepUp() { Step(+1); }
    void StepDown() { Step(-1); }

    double Previous() const { return previous_; }
    double NewOffset() const { return newOffset_; }
    double Change() const { return change_; }
    // The apply step writes only when the new offset differs from the previous one by at least 1e-8.
    bool IsModified() const;

private:
    void Step(int direction);

    double previous_ = 0;
    double newOffset_ = 0;
    double change_ = 0;
};

inline constexpr const char* kMsgOffsetReadFailed = "Error getting coefficient from module!";

} // namespace terrix
