#include "core/circuit/meas_slot.h"

#include "core/measure/meas_layouts.h"

namespace terrix {

CMeasSlot::CMeasSlot(ModuleRecord* record) : record_(record), store_(std::make_unique<CMeasValueStore>()) {
    if (record_ != nullptr) {
        store_->Attach(*record_);
    }
}

std::optional<CMeasRecord> CMeasSlot::NewestValue() const {
    if (!store_->IsBound()) {
        return std::nullopt;
    }
    CMeasRecord record = MakeRecord(store_->Layout());
    std::lock_guard lock(newestMutex_);
    if (newest_.empty() || !record.Unpack(newest_)) {
        return std::nullopt;
    }
    return record;
}

void CMeasSlot::SetNewestValue(const CMeasRecord& filled) {
    std::vector<uint8_t> packed = filled.Pack();
    std::lock_guard lock(newestMutex_);
    newest_ = std::move(packed);
}

} // namespace terrix
