#include "gui/app/frame_windows.h"

#include "gui/busops/bus_windows.h"

namespace terrix {

FrameWindows AllFrameWindows() {
    FrameWindows windows;
    // One line per window, e.g. `RegisterScanDialog(windows);` (declared in the window's header).
    RegisterBusWindows(windows);
    return windows;
}

} // namespace terrix
