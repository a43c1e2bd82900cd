#include "gui/busops/serial_ports_dlg.h"

#include <QSerialPortInfo>

#include <algorithm>

namespace terrix {

std::vector<SerialDevice> ListSerialDevices() {
    std::vector<SerialDevice> devices;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        SerialDevice device;
        device.device = info.systemLocation();
        device.stableName = StableDeviceName(device.device);
        device.description = info.description();
        device.manufacturer = info.manufacturer();
        device.serialNumber = info.serialNumber();
        devices.push_back(device);
    }
    std::sort(devices.begin(), devices.end(),
              [](const SerialDevice& a, const SerialDevice& b) { return a.device < b.device; });
    return devices;
}

} // namespace terrix
