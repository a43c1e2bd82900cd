#include "core/busops/bus_scan.h"

#include "core/bus/bus_error.h"
#include "core/bus/commands.h"
#include "core/busops/identification.h"
#include "core/busops/station_sequence.h"
#include "core/inventory/bus_info_file.h"

#include <memory>

namespace terrix {

namespace {

bool Report(const ProgressCallback& progress, uint32_t event, uint32_t station, uint32_t percent,
            const ModuleRecord* record) {
    return !progress || progress(ScanProgress{event, station, percent, record});
}

} // namespace

bool BusScan(BusContext& context, PortUser& portUser, const UnitLookup& lookup,
             const ProgressCallback& progress, bool allStations) {
    if (!Report(progress, kEventOpeningPort, 0, 0, nullptr)) {
        return false;
    }
    if (!portUser.Acquire(&context.portContext) && context.portContext.dwError == kErrorPortReserved) {
        // The measuring loop holds the port and measures the modules of this list: leave both alone.
        return false;
    }
    if (context.portContext.dwError == 0) {
        if (!Report(progress, kEventResynchronising, 0, 0, nullptr)) {
            portUser.Release();
            return false;
        }
        ResynchroniseBaud(context.portContext.hPort);
    }
    context.busList.Clear();
    CIniSection busInfo;
    busInfo.SetSection(kBusInfoSection);
    const bool result =
        ScanStations(context.portContext, context.busList, busInfo, lookup, progress, allStations);
    portUser.Release();
    return result;
}

bool ScanStations(ComPortContext& portContext, CBusList& busList, const CIniSection& busInfo,
                  const UnitLookup& lookup, const ProgressCallback& progress, bool allStations) {
    CBusList saved;
    if (!allStations) {
        LoadBusInfo(busInfo, saved);
    }

    if (portContext.dwError == 0) {
        std::unique_ptr<StationSequence> sequence;
        if (saved.Count() > 0) {
            sequence = std::make_unique<KnownStationsSequence>(saved);
        } else {
            sequence = std::make_unique<AllStationsSequence>();
        }
        uint32_t found = 0;
        bool stopped = false;
        for (; sequence->HasMore(); sequence->Next()) {
            const uint8_t station = sequence->CurrentStation();
            const uint32_t percent = sequence->Progress();
            if (!Report(progress, kEventProbing, station, percent, nullptr)) {
                stopped = true;
                break;
            }
            auto record = std::make_unique<ModuleRecord>();
            if (IdentifyModule(portContext.hPort, station, *record, lookup)) {
                ++found;
                if (const ModuleRecord* previous = saved.FindBySerial(record->SerialNo())) {
                    record->bDisabled = previous->bDisabled;
                }
                const ModuleRecord* added = record.get();
                const uint16_t serial = record->SerialNo();
                if (!busList.Add(std::move(record))) {
                    added = nullptr; // the list is full
                }
                if (busList.KnownModules() != nullptr) {
                    busList.AddKnownModule(serial, true);
                }
                if (!Report(progress, kEventIdentified, station, percent, added)) {
                    break;
                }
            } else if (ComPortGone(portContext.hPort)) {
                // The device went away mid-scan: what was found is not the bus, so the scan fails.
                portContext.dwError = kErrorPortOpen;
                break;
            } else if (record->wLastError != kBusNoAnswer) {
                ++found;
                busList.Add(std::move(record));
                Report(progress, kEventNotIdentified, station, percent, nullptr);
            }
        }
        // A scan stopped before any answer (Cancel during the start-up) learnt nothing about the bus: the
        // context stays as it was, not marked as a bus without modules.
        if (found == 0 && !stopped && portContext.dwError == 0) {
            portContext.dwError = kErrorNoModule;
        }
    }
    busList.Sort(false);
    // Saved records come back only for modules this scan did not find: not the station-only records of
    // modules without a known serial (the scan asked at their stations again), and nothing at a station
    // where this scan identified a module (the saved one has moved, or was a placeholder of it).
    const auto identifiedAt = [&busList](uint8_t station) {
        for (uint32_t k = 0; k < busList.Count(); ++k) {
            const ModuleRecord* r = busList.GetAt(k);
            if (r->iaStation == station && r->enModuleState == msIdentified) {
                return true;
            }
        }
        return false;
    };
    for (uint32_t i = saved.Count(); i-- > 0;) {
        const ModuleRecord* old = saved.GetAt(i);
        if (!IsKnownSerial(old->SerialNo()) || identifiedAt(old->iaStation)) {
            saved.RemoveAt(i);
        }
    }
    busList.MergeFrom(saved);
    return portContext.dwError == 0;
}

} // namespace terrix
