#pragma once
// A scan or resolution report as the windows show it. The worker thread copies it out of the bus list,
// which is the worker's while it runs, and the scanning and resolving dialogs show the copy.

#include "core/busops/progress.h"
#include "core/inventory/bus_list.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace terrix {

struct ScanReport {
    uint32_t event = 0;
    uint32_t station = 0; // the probed station (or, in a resolution, the candidate serial number)
    uint32_t percent = 0;
    uint32_t modules = 0; // entries of the bus list, collision placeholders included
    uint32_t collisions = 0;
    std::optional<ModuleRecord> identified; // the module a kEventIdentified report is about
    // The bus list's records, copied when `withRows` was asked for and the list changed (identified,
    // resolution done); empty otherwise.
    std::vector<ModuleRecord> rows;
};

ScanReport MakeScanReport(const ScanProgress& progress, const CBusList& list, bool withRows);

// The records of `list`, in its order.
std::vector<ModuleRecord> CopyRecords(const CBusList& list);

} // namespace terrix
