#include "gui/app/frame_windows.h"

#include "gui/config/config_windows.h"

namespace terrix {

FrameWindows AllFrameWindows() {
    FrameWindows windows;
    // One line per window, e.g. `RegisterScanDialog(windows);` (declared in the window's header).
    RegisterConfigDialogs(windows);
    return windows;
}

} // namespace terrix
