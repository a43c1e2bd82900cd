#include "gui/app/window_table.h"

#include "gui/busops/bus_windows.h"
#include "gui/circuit/meas_circuit_dlg.h"
#include "gui/config/config_windows.h"
#include "gui/measure/meas_value_dlg.h"
#include "gui/publish/publish_dlg.h"

namespace terrix {

FrameWindows AllFrameWindows() {
    FrameWindows windows;
    // One line per window, e.g. `RegisterScanDialog(windows);` (declared in the window's header).
    RegisterBusWindows(windows);
    RegisterCircuitWindows(windows);
    RegisterConfigDialogs(windows);
    RegisterMeasValueWindow(windows);
    RegisterPublishDialog(windows);
    return windows;
}

} // namespace terrix
