#include "gui/app/frame_windows.h"

namespace terrix {

FrameWindows& RegisteredFrameWindows() {
    static FrameWindows windows;
    return windows;
}

} // namespace terrix
