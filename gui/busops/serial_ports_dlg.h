#pragma once
// "Serial ports": which device stands behind COM1..COM4. Lists the machine's serial devices (with their
// stable /dev/serial/by-id names), lets the user pick one, type a path or choose the simulated bus, tries a
// device on request, and stores the choice in the "Serial ports" section of the settings file.

#include "core/inventory/bus_context.h"
#include "gui/toolkit/placement_dialog.h"

#include <QString>

#include <array>
#include <vector>

class QComboBox;
class QLabel;
class QPushButton;

namespace terrix {

class CReportListCtrl;
struct FrameWindows;

struct SerialDevice {
    QString device;     // /dev/ttyUSB0
    QString stableName; // /dev/serial/by-id/usb-FTDI_..., or empty
    QString description;
    QString manufacturer;
    QString serialNumber;
};

// The link in `byIdDir` that leads to `device`, or an empty string.
QString StableDeviceName(const QString& device, const QString& byIdDir = QStringLiteral("/dev/serial/by-id"));
// The serial devices of the machine, by device name.
std::vector<SerialDevice> ListSerialDevices();
// What a port's device is best stored as: the stable name where there is one, since /dev/ttyUSBn may
// change with the order the adapters are plugged in.
QString PreferredDeviceName(const SerialDevice& device);

class CSerialPortsDlg : public CPlacementDialog {
    Q_OBJECT
public:
    CSerialPortsDlg(BusContext& context, QWidget* owner);
    ~CSerialPortsDlg() override;

    QComboBox* PortCombo(int portNumber) const { return combos_[static_cast<size_t>(portNumber - 1)]; }
    // Tries to open the device chosen for the port and says how that went.
    void OnTest(int portNumber);
    void accept() override;

protected:
    void OnInitDialog() override;

private:
    void Retranslate();
    void UseSelected(int portNumber);

    BusContext& context_;
    std::vector<SerialDevice> devices_;
    CReportListCtrl* list_ = nullptr;
    QLabel* listLabel_ = nullptr;
    QLabel* hint_ = nullptr;
    std::array<QLabel*, 4> labels_{};
    std::array<QComboBox*, 4> combos_{};
    std::array<QPushButton*, 4> useButtons_{};
    std::array<QPushButton*, 4> testButtons_{};
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    bool placementLoaded_ = false;
};

void RegisterSerialPortsDialog(FrameWindows& windows);

} // namespace terrix
