#include "gui/app/frame_windows.h"

namespace terrix {

FrameWindows AllFrameWindows() {
    FrameWindows windows;
    // One line per window, e.g. `RegisterScanDialog(windows);` (declared in the window's header).
    return windows;
}

} // namespace terrix
