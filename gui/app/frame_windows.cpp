#include "gui/app/frame_windows.h"

#include "gui/measure/meas_value_dlg.h"

namespace terrix {

FrameWindows AllFrameWindows() {
    FrameWindows windows;
    // One line per window, e.g. `RegisterScanDialog(windows);` (declared in the window's header).
    RegisterMeasValueWindow(windows);
    return windows;
}

} // namespace terrix
