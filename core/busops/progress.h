#pragma once
// Progress reports of the long bus operations (scan, collision resolution) to whoever shows them; the
// callback's answer continues or stops the operation.

#include "core/inventory/module_record.h"

#include <cstdint>
#include <functional>
#include <string>

namespace terrix {

enum ProgressEvent : uint32_t {
    kEventOpeningPort = 1,      // before the port is opened
    kEventResynchronising = 2,  // before the baud-rate ladder
    kEventProbing = 4,          // before a station (or, in collision resolution, a serial number) is probed
    kEventIdentified = 5,       // a module was identified
    kEventNotIdentified = 6,    // a station answered, but identification failed with a code other than 9
    kEventResolutionDone = 8,   // collision resolution has finished
};

struct ScanProgress {
    uint32_t event = 0;
    uint32_t station = 0; // in collision resolution's event 4: the candidate serial number
    uint32_t percent = 0;
    const ModuleRecord* record = nullptr;
};

// Returns true to go on, false to stop. May be empty.
using ProgressCallback = std::function<bool(const ScanProgress&)>;

// Unit code to unit name; may be empty (identification then leaves the unit names empty).
using UnitLookup = std::function<std::string(uint32_t unitCode)>;

} // namespace terrix
