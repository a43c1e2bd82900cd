#include "core/busops/collisions.h"

#include "core/bus/bus_error.h"
#include "core/bus/commands.h"
#include "core/busops/identification.h"
#include "core/inventory/bus_info_file.h"
#include "core/inventory/module_kind.h"

#include <array>
#include <memory>

namespace terrix {

namespace {

constexpr uint8_t kFirstFreeCandidate = 1;
constexpr uint8_t kLastFreeCandidate = 249;
constexpr uint8_t kLastStation = 252;

// Command 1 is a broadcast nobody acknowledges; a failed send is tried once more.
bool MoveModule(PortHandle port, uint16_t serial, uint8_t station) {
    return SetStationBySerial(port, serial, station) || SetStationBySerial(port, serial, station);
}

class StationTable {
public:
    explicit StationTable(const CBusList& list) {
        entries_.fill(kStationFree);
        for (uint32_t i = 0; i < list.Count(); ++i) {
            const ModuleRecord* r = list.GetAt(i);
            entries_[r->iaStation] = r->SerialNo();
        }
    }
    uint16_t& operator[](uint8_t station) { return entries_[station]; }
    int LowestFree() const {
        for (int s = kFirstFreeCandidate; s <= kLastFreeCandidate; ++s) {
            if (entries_[static_cast<size_t>(s)] == kStationFree) {
                return s;
            }
        }
        return -1;
    }

private:
    std::array<uint16_t, 256> entries_{};
};

void Report(const ProgressCallback& progress, uint32_t event, uint32_t station, uint32_t percent,
            const ModuleRecord* record) {
    if (progress) {
        progress(ScanProgress{event, station, percent, record});
    }
}

// Identifies the module again at every colliding station. A station where one module now answers gets its
// record, one where nobody answers is freed. Returns the collisions left.
uint32_t RecheckCollisions(PortHandle port, CBusList& busList, StationTable& table, uint32_t collisions,
                           uint32_t percent, const UnitLookup& lookup, const ProgressCallback& progress) {
    for (int t = 0; t <= kLastStation && collisions > 0; ++t) {
        const uint8_t station = static_cast<uint8_t>(t);
        if (table[station] != kStationCollision) {
            continue;
        }
        auto record = std::make_unique<ModuleRecord>();
        // Judged by the outcome of the identification as a whole: a lone module that merely lacks an
        // optional command leaves a "not implemented" code behind, yet answered cleanly.
        const bool identified = IdentifyModule(port, station, *record, lookup);
        if (identified) {
            table[station] = record->SerialNo();
            --collisions;
            const ModuleRecord* placed = record.get();
            if (busList.ReplaceByStation(station, std::move(record))) {
                Report(progress, kEventIdentified, station, percent, placed);
            }
        } else if (record->wLastError == kBusNoAnswer) {
            --collisions;
            table[station] = kStationFree;
            busList.RemoveByStation(station);
        }
    }
    return collisions;
}

// The central multiplexer belongs at station 252: move it there, swapping with a module that holds it.
void PlaceMultiplexer(PortHandle port, CBusList& busList, StationTable& table, const UnitLookup& lookup,
                      const ProgressCallback& progress) {
    ModuleRecord* multiplexer = nullptr;
    for (uint32_t i = 0; i < busList.Count(); ++i) {
        if (IsMultiplexerName(busList.GetAt(i)->ModuleName())) {
            multiplexer = busList.GetAt(i);
            break;
        }
    }
    if (multiplexer == nullptr || multiplexer->iaStation == kMultiplexerStation) {
        return;
    }
    const uint16_t occupant = table[kMultiplexerStation];
    if (occupant == kStationCollision) {
        return;
    }
    if (occupant == kStationFree) {
        SetStationBySerial(port, multiplexer->SerialNo(), kMultiplexerStation);
        table[multiplexer->iaStation] = kStationFree;
        table[kMultiplexerStation] = multiplexer->SerialNo();
        multiplexer->iaStation = kMultiplexerStation;
        Report(progress, kEventIdentified, kMultiplexerStation, 100, multiplexer);
        return;
    }
    const uint8_t oldStation = multiplexer->iaStation;
    ModuleRecord* other = busList.FindByStation(kMultiplexerStation);
    SetStationBySerial(port, multiplexer->SerialNo(), kMultiplexerStation);
    SetStationBySerial(port, occupant, oldStation);
    IdentifyModule(port, kMultiplexerStation, *multiplexer, lookup);
    bool otherIdentified = false;
    if (other != nullptr) {
        otherIdentified = IdentifyModule(port, oldStation, *other, lookup);
    }
    table[kMultiplexerStation] = multiplexer->SerialNo();
    table[oldStation] = occupant;
    if (otherIdentified) {
        Report(progress, kEventIdentified, kMultiplexerStation, 100, multiplexer);
    }
}

} // namespace

uint32_t SerialRangeSequence::Progress() const { return (current_ - first_ + 1) * 100 / (last_ - first_ + 1); }

void SerialRangeSequence::Next() {
    if (HasMore()) {
        ++current_;
    }
}

uint16_t KnownSerialsSequence::CurrentSerial() const {
    const ModuleRecord* record = known_ != nullptr ? known_->GetAt(index_) : nullptr;
    return record != nullptr ? record->SerialNo() : 0;
}

void KnownSerialsSequence::Next() {
    if (HasMore()) {
        ++index_;
    }
}

bool ResolveCollisions(ComPortContext& portContext, CBusList& busList, const ResolveOptions& options,
                       const UnitLookup& lookup, const ProgressCallback& progress) {
    const PortHandle port = portContext.hPort;
    if (port == kInvalidPort) {
        return false;
    }
    PortLock lock(port);

    // Modules of the saved list that did not answer wait aside and come back at the end.
    CBusList aside;
    for (uint32_t i = 0; i < busList.Count();) {
        if (busList.GetAt(i)->enModuleState == msNotIdentified) {
            aside.Add(busList.RemoveAt(i));
        } else {
            ++i;
        }
    }
    uint32_t collisions = busList.CollisionCount();
    StationTable table(busList);

    std::unique_ptr<SerialSequence> sequence;
    if (options.useKnownList) {
        sequence = std::make_unique<KnownSerialsSequence>(busList.KnownModules());
    } else {
        sequence = std::make_unique<SerialRangeSequence>(options.firstSerial, options.lastSerial);
    }

    for (; sequence->HasMore(); sequence->Next()) {
        const uint16_t serial = sequence->CurrentSerial();
        const uint32_t percent = sequence->Progress();
        if (progress && !progress(ScanProgress{kEventProbing, serial, percent, nullptr})) {
            break;
        }
        if (busList.FindBySerial(serial) != nullptr) {
            continue;
        }
        const int freeStation = table.LowestFree();
        if (freeStation < 0) {
            break;
        }
        const uint8_t station = static_cast<uint8_t>(freeStation);
        if (!MoveModule(port, serial, station)) {
            continue;
        }
        auto record = std::make_unique<ModuleRecord>();
        if (!IdentifyModule(port, station, *record, lookup)) {
            continue;
        }
        table[station] = record->SerialNo();
        const ModuleRecord* added = record.get();
        if (busList.Add(std::move(record))) {
            Report(progress, kEventIdentified, station, percent, added);
        }
        const uint32_t before = collisions;
        collisions = RecheckCollisions(port, busList, table, collisions, percent, lookup, progress);
        if (before > 0 && collisions == 0) {
            break; // every collision is resolved
        }
    }

    PlaceMultiplexer(port, busList, table, lookup, progress);
    busList.Sort(false);
    busList.MergeFrom(aside);
    Report(progress, kEventResolutionDone, 0, 100, nullptr);
    return true;
}

bool IsCollisionStationAllowed(uint8_t station) { return station <= kLastStation && station != 251; }

bool CreateCollision(PortHandle port, const CBusList& busList, uint8_t station) {
    if (!IsCollisionStationAllowed(station)) {
        return false;
    }
    PortLock lock(port);
    for (uint32_t i = 0; i < busList.Count(); ++i) {
        const ModuleRecord* record = busList.GetAt(i);
        if (record->enModuleState != msCollision) {
            SetStationBySerial(port, record->SerialNo(), station);
        }
    }
    ForgetBusInfo();
    return true;
}

} // namespace terrix
