#pragma once
// One module's place in the measuring loop: the module record (owned by the bus list), the module's value
// store (owned here) and the newest value the loop fetched for it.

#include "core/inventory/module_record.h"
#include "core/measure/meas_value_store.h"
#include "core/measure/measuring_step.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace terrix {

class CMeasSlot {
public:
    // Attaches the store to the module (files in the data directory), except for a collision record,
    // whose store stays unbound.
    explicit CMeasSlot(ModuleRecord* record);
    CMeasSlot(const CMeasSlot&) = delete;
    CMeasSlot& operator=(const CMeasSlot&) = delete;

    ModuleRecord* Record() const { return record_; }
    CMeasValueStore& Store() { return *store_; }
    const ChannelOptions& Options() const { return options_; }

    // The record the latest fetch filled, in the store's layout; none before the first fetch. Safe to call
    // from any thread while the loop measures.
    std::optional<CMeasRecord> NewestValue() const;
    // Keeps a copy of the record the measuring step just filled (called by the loop).
    void SetNewestValue(const CMeasRecord& filled);

    // A saved module that did not answer when the loop started and has answered since: the record its
    // identification filled. The loop measures the module from this copy, since the bus list's record
    // belongs to the window's thread. Null until then; the loop's slots lock guards both.
    const ModuleRecord* Joined() const { return joined_.get(); }
    void SetJoined(const ModuleRecord& identified) { joined_ = std::make_unique<ModuleRecord>(identified); }

private:
    ModuleRecord* record_;
    std::unique_ptr<CMeasValueStore> store_;
    ChannelOptions options_;
    mutable std::mutex newestMutex_;
    std::vector<uint8_t> newest_; // packed; empty until the first fetch
    std::unique_ptr<ModuleRecord> joined_;
};

} // namespace terrix
