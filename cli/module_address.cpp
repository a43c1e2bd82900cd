#include "cli/module_address.h"

#include "core/bus/bus_error.h"
#include "core/busops/identification.h"
#include "core/inventory/bus_info_file.h"
#include "core/inventory/unit_names.h"

#include <memory>

namespace terrix::cli {

void AddModuleAddressOptions(CLI::App* sub, ModuleAddress& address) {
    auto* station = sub->add_option("--station", address.station, "Station of the module (0..252)")
                        ->check(CLI::Range(0, 252));
    auto* serial = sub->add_option("--serial", address.serial, "Serial number of the module (looked up in the saved bus)")
                       ->check(CLI::Range(0, 65534));
    station->excludes(serial);
}

uint32_t LoadSavedBus(CliContext& context) { return LoadBusInfo(context.bus.busList); }

ModuleRecord* FindAddressedModule(CliContext& context, const ModuleAddress& address) {
    CBusList& list = context.bus.busList;
    LoadSavedBus(context);
    if (address.serial >= 0) {
        ModuleRecord* record = list.FindBySerial(static_cast<uint16_t>(address.serial));
        if (record == nullptr) {
            context.Fail(kExitUsage, "serial number " + std::to_string(address.serial) +
                                         " is not in the saved bus; run 'terrix-cli scan' first or use --station");
        }
        return record;
    }
    if (address.station < 0) {
        context.Fail(kExitUsage, "address the module with --station or --serial");
        return nullptr;
    }
    const uint8_t station = static_cast<uint8_t>(address.station);
    if (ModuleRecord* record = list.FindByStation(station)) {
        return record;
    }
    auto fresh = std::make_unique<ModuleRecord>();
    fresh->iaStation = station;
    ModuleRecord* added = fresh.get();
    if (!list.Add(std::move(fresh))) {
        context.Fail(kExitUsage, "the bus list is full");
        return nullptr;
    }
    return added;
}

bool IdentifyAddressedModule(CliContext& context, PortUser& user, ModuleRecord& record, bool bySerial) {
    ModuleRecord fresh;
    const std::string station = std::to_string(record.iaStation);
    if (bySerial) {
        const std::string serial = std::to_string(record.SerialNo());
        switch (ConfirmModuleAtStation(user.Port(), record, fresh, UnitName)) {
        case StationCheck::kConfirmed:
            break;
        case StationCheck::kOtherModule:
            context.Fail(kExitBus, "Module " + serial + " does not answer at station " + station +
                                       " (found " + std::to_string(fresh.SerialNo()) +
                                       " there). Scan the bus first.");
            return false;
        case StationCheck::kNoModule:
            context.Fail(kExitBus, "Module " + serial + " does not answer at station " + station + ": " +
                                       BusErrorText(fresh.wLastError) + " (" +
                                       std::to_string(fresh.wLastError) + "). Scan the bus first.");
            return false;
        }
    } else if (!IdentifyModule(user.Port(), record.iaStation, fresh, UnitName)) {
        const uint16_t error = fresh.wLastError;
        context.Fail(kExitBus, "the module at station " + station + " could not be identified: " +
                                   BusErrorText(error) + " (" + std::to_string(error) + ")");
        return false;
    }
    fresh.bDisabled = record.bDisabled; // the user's switch survives a new identification
    record = fresh;
    return true;
}

} // namespace terrix::cli
