#include "gui/busops/scan_report.h"

namespace terrix {

std::vector<ModuleRecord> CopyRecords(const CBusList& list) {
    std::vector<ModuleRecord> rows;
    rows.reserve(list.Count());
    for (uint32_t i = 0; i < list.Count(); ++i) {
        rows.push_back(*list.GetAt(i));
    }
    return rows;
}

ScanReport MakeScanReport(const ScanProgress& progress, const CBusList& list, bool withRows) {
    ScanReport report;
    report.event = progress.event;
    report.station = progress.station;
    report.percent = progress.percent;
    report.modules = list.Count();
    report.collisions = list.CollisionCount();
    if (progress.event == kEventIdentified && progress.record != nullptr) {
        report.identified = *progress.record;
    }
    if (withRows && (progress.event == kEventIdentified || progress.event == kEventResolutionDone)) {
        report.rows = CopyRecords(list);
    }
    return report;
}

} // namespace terrix
