#include "core/busops/scan_session.h"

#include "core/busops/collisions.h"
#include "core/inventory/bus_info_file.h"
#include "core/inventory/stored_bus.h"

namespace terrix {

ScanSessionResult ScanForModules(BusContext& context, const ScanSessionOptions& options,
                                 const UnitLookup& lookup, const ProgressCallback& progress) {
    ScanSessionResult result;
    if (PortUser::IsReserved(context.portContext)) {
        // The measuring loop holds the port: nothing saved or listed may change under it either.
        result.startupError = kErrorPortReserved;
        return result;
    }
    CBusList& list = context.busList;
    list.LoadKnownModules();
    PortUser portUser(&context.portContext);
    // A scan stopped half-way knows only some of the stations; saved, it would become the bus that later
    // known-module scans probe, and the rest would never be looked for again.
    const ProgressCallback watched = [&](const ScanProgress& report) {
        const bool goOn = !progress || progress(report);
        result.stopped = result.stopped || !goOn;
        return goOn;
    };
    // A complete scan probes every station but leaves "BUS INFO" alone: it is replaced only when the
    // finished scan is saved, so a cancelled or failed one keeps the bus stored before it.
    result.scanOk = BusScan(context, portUser, lookup, watched, options.forgetSavedBus);
    if (!result.scanOk) {
        result.startupError = context.portContext.dwError;
    }
    list.SaveKnownModules();
    list.FreeKnownModules();
    result.collisionsLeft = list.CollisionCount();
    return result;
}

void FinishScanSession(BusContext& context, ScanSessionResult& result) {
    if (result.startupError == kErrorPortReserved) {
        return; // nothing was scanned
    }
    CBusList& list = context.busList;
    result.collisionsLeft = list.CollisionCount();
    if (list.Count() == 0) {
        // Only a scan that asked the stations may say that none answered; a port that did not open asked
        // none, and its own message says why.
        result.listEmpty = result.startupError != kErrorPortOpen && result.startupError != kErrorCableCheck;
    } else if (!result.stopped && result.startupError != kErrorPortOpen) {
        // A scan stopped half-way, or a port lost mid-scan, leaves part of the bus in the list: saving it
        // would replace the stored bus state.
        const BusSave save = SaveCompleteBus(list);
        result.saved = save == BusSave::kSaved;
        result.saveFailed = save == BusSave::kFailed;
    }
}

ScanSessionResult RunScanSession(BusContext& context, const ScanSessionOptions& options,
                                 const UnitLookup& lookup, const ProgressCallback& progress,
                                 const CollisionResolver& resolver) {
    ScanSessionResult result = ScanForModules(context, options, lookup, progress);
    if (result.startupError == kErrorPortReserved) {
        return result;
    }
    if (result.collisionsLeft > 0 && resolver) {
        // The scan's port user has gone; the resolver acquires the port with its own.
        PortUser portUser(&context.portContext);
        resolver(portUser);
    }
    FinishScanSession(context, result);
    return result;
}

bool RunResolution(BusContext& context, PortUser& portUser, const ResolveOptions& options,
                   const UnitLookup& lookup, const ProgressCallback& progress) {
    if (!portUser.Acquire(&context.portContext)) {
        return false;
    }
    if (options.useKnownList) {
        context.busList.LoadKnownModules();
    }
    const bool ok = ResolveCollisions(context.portContext, context.busList, options, lookup, progress);
    portUser.Release();
    return ok;
}

int StartupErrorTextId(uint32_t error) {
    switch (error) {
    case kErrorCableCheck:
        return 24651;
    case kErrorPortOpen:
        return 24652;
    case kErrorNoModule:
        return 24653;
    default:
        return 0; // kErrorPortReserved has no numbered text
    }
}

std::string StartupErrorText(uint32_t error) {
    switch (error) {
    case kErrorCableCheck:
        return "No RS232 cable detected.\n  Please, check if this cable is connected to the PC\n  or if it "
               "is "
               "confirming to the NKP bus specification.";
    case kErrorPortOpen:
        return "COM-Port no longer available (although having been available before).\nTo resolve the "
               "problem, "
               "please\n  check if meanwhile another program has been started that uses this COM port\n  "
               "check "
               "if RS232 cable is still connected to PC and central module\n  check if RS232 cable has been "
               "damaged\n";
    case kErrorNoModule:
        return "No answer from any module! Hints for resolving the problem:\n  Please, check for power on "
               "the "
               "measuring circuit (Power LED at PX-ROV4/PX-23R).\n  Please, check connection between the "
               "central "
               "module (PX-ROV4/PX-23R) and PC\n  (or if appropriate from Terrix module to PC).\n  Please, "
               "check "
               "the connections between the central module and its connected client ones.\n  If appropriate "
               "try "
               "to completely rescan the NKP-bus.";
    case kErrorPortReserved:
        return kBusBusyMeasuringText;
    default:
        return {};
    }
}

} // namespace terrix
