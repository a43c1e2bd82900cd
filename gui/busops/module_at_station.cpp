#include "gui/busops/module_at_station.h"

#include "core/bus/bus_error.h"
#include "core/bus/commands.h"
#include "core/busops/identification.h"
#include "core/inventory/unit_names.h"
#include "gui/toolkit/core_text.h"
#include "gui/toolkit/message_box.h"
#include "gui/toolkit/string_catalogue.h"

#include <QCoreApplication>
#include <QWidget>

namespace terrix {

QString PortFailureText(const ComPortContext& context) {
    const std::string device = !context.device.empty() ? context.device : PortDeviceName(context.nPortNo);
    return CoreText(PortUserErrorText(context, device));
}

QString BusErrorMessage(uint16_t error) {
    const QString text = FindText(TextKind::String, 5200 + error);
    return text.isNull() ? FindText(TextKind::String, 5199) : text;
}

QString LastBusErrorText() {
    return BusErrorMessage(LastBusError());
}

StationCheckResult CheckStation(PortHandle port, const ModuleRecord& record, uint8_t station, bool strict) {
    StationCheckResult result;
    result.strict = strict;
    result.station = station;
    result.expectedSerial = record.SerialNo();
    ModuleRecord expected = record;
    expected.iaStation = station;
    ModuleRecord found;
    // The strict check is the one the command-line tool makes before a command addressed by serial number.
    result.check = strict ? ConfirmModuleAtStation(port, expected, found, UnitName)
                          : CheckModuleBeforeConfig(port, expected, found, UnitName);
    result.foundSerial = found.SerialNo();
    result.busError = LastBusError();
    return result;
}

bool ShowStationCheck(QWidget* dialog, const StationCheckResult& result) {
    if (result.Passed()) {
        return true;
    }
    QString text;
    if (result.check == StationCheck::kOtherModule) {
        text = QCoreApplication::translate("terrix::CheckModuleAtStation",
                                           "Station %1 is answered by the module with serial number %2, "
                                           "not by the selected module (serial number %3).\nPlease scan "
                                           "the bus again.")
                   .arg(result.station)
                   .arg(result.foundSerial)
                   .arg(result.expectedSerial);
    } else {
        text = QCoreApplication::translate("terrix::CheckModuleAtStation",
                                           "The module at station %1 does not answer:\n%2")
                   .arg(result.station)
                   .arg(BusErrorMessage(result.busError));
    }
    ShowMessage(dialog, text, dialog->windowTitle(), MessageIcon::Warning);
    return false;
}

} // namespace terrix
