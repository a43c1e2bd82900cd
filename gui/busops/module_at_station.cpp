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

QString LastBusErrorText() {
    const QString text = FindText(TextKind::String, 5200 + LastBusError());
    return text.isNull() ? FindText(TextKind::String, 5199) : text;
}

namespace {

void ShowOtherModule(QWidget* dialog, uint8_t station, uint16_t found, uint16_t expected) {
    ShowMessage(dialog,
                QCoreApplication::translate("terrix::CheckModuleAtStation",
                                            "Station %1 is answered by the module with serial number %2, "
                                            "not by the selected module (serial number %3).\nPlease scan "
                                            "the bus again.")
                    .arg(station)
                    .arg(found)
                    .arg(expected),
                dialog->windowTitle(), MessageIcon::Warning);
}

} // namespace

bool CheckModuleAtStation(QWidget* dialog, PortHandle port, const ModuleRecord& record, uint8_t station) {
    // The same check the command-line tool makes before a command addressed by serial number.
    ModuleRecord expected = record;
    expected.iaStation = station;
    ModuleRecord found;
    switch (ConfirmModuleAtStation(port, expected, found, UnitName)) {
    case StationCheck::kConfirmed:
        return true;
    case StationCheck::kOtherModule:
        ShowOtherModule(dialog, station, found.SerialNo(), record.SerialNo());
        return false;
    case StationCheck::kNoModule:
        break;
    }
    ShowMessage(dialog,
                QCoreApplication::translate("terrix::CheckModuleAtStation",
                                            "The module at station %1 does not answer:\n%2")
                    .arg(station)
                    .arg(LastBusErrorText()),
                dialog->windowTitle(), MessageIcon::Warning);
    return false;
}

bool RefuseOtherModuleAtStation(QWidget* dialog, PortHandle port, const ModuleRecord& record,
                                uint8_t station) {
    ModuleRecord expected = record;
    expected.iaStation = station;
    ModuleRecord found;
    if (CheckModuleBeforeConfig(port, expected, found, UnitName) != StationCheck::kOtherModule) {
        return true;
    }
    ShowOtherModule(dialog, station, found.SerialNo(), record.SerialNo());
    return false;
}

} // namespace terrix
