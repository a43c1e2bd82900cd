#pragma once
// What the scanning window does around the bus scan, for every front end: probe every station when asked,
// keep the known-modules list, hand collisions to a resolver, and save the bus when it is complete.

#include "core/busops/bus_scan.h"
#include "core/busops/collisions.h"

#include <functional>
#include <string>

namespace terrix {

struct ScanSessionOptions {
    bool forgetSavedBus = false; // "scan completely": probe every station; the saved bus is replaced on save
};

struct ScanSessionResult {
    bool scanOk = false;
    uint32_t startupError = 0; // 0, 5001, 5002, 5003 from the port context, or 5004: a loop measures
    bool listEmpty = false;    // 24654
    uint32_t collisionsLeft = 0;
    bool saved = false;      // "BUS INFO" and the module files were written
    bool saveFailed = false; // ... but writing failed
    bool stopped = false;    // the progress callback stopped the scan: the list is partial, not saved
};

// Called when the scan left collisions, with the port user of the scan (the port is closed; acquire it).
using CollisionResolver = std::function<void(PortUser& portUser)>;

// The whole session: ScanForModules, the resolver when collisions were left, then FinishScanSession.
ScanSessionResult RunScanSession(BusContext& context, const ScanSessionOptions& options,
                                 const UnitLookup& lookup, const ProgressCallback& progress,
                                 const CollisionResolver& resolver);

// The bus part of a session, for a front end that asks the user about collisions between the parts: forgets
// the saved bus for the scan when asked (it stays stored), scans with the known-modules list and keeps that
// list. The port is closed again when it returns.
ScanSessionResult ScanForModules(BusContext& context, const ScanSessionOptions& options,
                                 const UnitLookup& lookup, const ProgressCallback& progress);
// The rest, once collisions have been resolved (or not): notes an empty list and saves a bus that was
// scanned completely. No bus traffic.
void FinishScanSession(BusContext& context, ScanSessionResult& result);

// Resolution as the resolve-collisions window runs it: acquire the port, resolve, release.
bool RunResolution(BusContext& context, PortUser& portUser, const ResolveOptions& options,
                   const UnitLookup& lookup, const ProgressCallback& progress);

// The messages for the start-up errors 5001, 5002, 5003 (texts 24651..24653) and for a port that the
// measuring loop holds (5004, kBusBusyMeasuringText, no text number); empty for others.
std::string StartupErrorText(uint32_t error);
int StartupErrorTextId(uint32_t error);
inline constexpr const char* kEmptyBusText =
    "No Module were found at the bus; also earlier none were found. Therefore the module list is empty.";
inline constexpr const char* kCollisionsLeftText = "Collisions are still available!";
inline constexpr const char* kCollisionsRemovedText = "Collision successfully removed!";

} // namespace terrix
