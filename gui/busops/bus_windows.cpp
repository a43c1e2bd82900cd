#include "gui/busops/bus_windows.h"

#include "gui/base/window_contracts.h"
#include "gui/busops/conversion_time_dlg.h"
#include "gui/busops/resolve_collisions_dlg.h"
#include "gui/busops/scan_dlg.h"
#include "gui/busops/serial_ports_dlg.h"
#include "gui/busops/station_number_dlg.h"
#include "gui/busops/traffic_monitor.h"

namespace terrix {

void RegisterBusWindows(FrameWindows& windows) {
    RegisterScanDialog(windows);
    RegisterResolveCollisionsDialog(windows);
    RegisterModuleBusDialogs(windows.moduleWindows);
    RegisterSerialPortsDialog(windows);
    RegisterTrafficMonitor(windows);
}

} // namespace terrix
