#include "gui/busops/serial_ports_dlg.h"

#include "core/platform/serial_transport.h"

namespace terrix {

// The COM ports Windows registered, in number order, with the device manager's friendly names ("USB Serial
// Port (COM3)"). A COM name is already stable, so there is no second name to store.
std::vector<SerialDevice> ListSerialDevices() {
    std::vector<SerialDevice> devices;
    for (const SerialPortDescription& port : DescribeSerialPorts()) {
        SerialDevice device;
        device.device = QString::fromStdString(port.name);
        device.description = QString::fromStdString(port.description);
        device.manufacturer = QString::fromStdString(port.manufacturer);
        devices.push_back(device);
    }
    return devices;
}

} // namespace terrix
