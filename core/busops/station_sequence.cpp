#include "core/busops/station_sequence.h"

namespace terrix {

void AllStationsSequence::Next() {
    if (HasMore()) {
        current_ = cursor_;
        ++cursor_;
    }
}

KnownStationsSequence::KnownStationsSequence(const CBusList& list) : list_(list), count_(list.Count()) { Load(); }

void KnownStationsSequence::Next() {
    if (!HasMore()) {
        return;
    }
    const uint8_t previous = station_;
    do {
        ++index_;
        Load();
        // The list is sorted by station, so a station's records follow each other.
    } while (HasMore() && station_ == previous);
}

void KnownStationsSequence::Load() {
    const ModuleRecord* record = list_.GetAt(index_);
    station_ = record != nullptr ? record->iaStation : 0xFF;
    serial_ = record != nullptr ? record->SerialNo() : 0xFFFF;
}

} // namespace terrix
