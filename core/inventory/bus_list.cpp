#include "core/inventory/bus_list.h"

#include "core/inventory/bus_info_file.h"
#include "core/inventory/module_file.h"

#include <algorithm>

namespace terrix {

CBusList::CBusList() = default;
CBusList::~CBusList() = default;

uint32_t CBusList::CollisionCount() const {
    uint32_t collisions = 0;
    for (uint32_t i = 0; i < count_; ++i) {
        if (slots_[i]->enModuleState == msCollision) {
            ++collisions;
        }
    }
    return collisions;
}

ModuleRecord* CBusList::GetAt(uint32_t index) const {
    return index < count_ ? slots_[index].get() : nullptr;
}

int CBusList::IndexOfStation(uint8_t station, ModuleRecord** record) const {
    for (uint32_t i = 0; i < count_; ++i) {
        if (slots_[i]->iaStation == station) {
            if (record != nullptr) {
                *record = slots_[i].get();
            }
            return static_cast<int>(i);
        }
    }
    if (record != nullptr) {
        *record = nullptr;
    }
    return -1;
}

int CBusList::IndexOfSerial(uint16_t serialNo, ModuleRecord** record) const {
    for (uint32_t i = 0; i < count_; ++i) {
        if (slots_[i]->SerialNo() == serialNo) {
            if (record != nullptr) {
                *record = slots_[i].get();
            }
            return static_cast<int>(i);
        }
    }
    if (record != nullptr) {
        *record = nullptr;
    }
    return -1;
}

ModuleRecord* CBusList::FindByStation(uint8_t station) const {
    ModuleRecord* record = nullptr;
    IndexOfStation(station, &record);
    return record;
}

ModuleRecord* CBusList::FindBySerial(uint16_t serialNo) const {
    ModuleRecord* record = nullptr;
    IndexOfSerial(serialNo, &record);
    return record;
}

bool CBusList::Add(std::unique_ptr<ModuleRecord>&& record) {
    if (!record || IsFull()) {
        return false;
    }
    slots_[count_++] = std::move(record);
    return true;
}

bool CBusList::ReplaceByStation(uint8_t station, std::unique_ptr<ModuleRecord>&& record) {
    if (!record) {
        return false;
    }
    const int index = IndexOfStation(station);
    if (index < 0) {
        return false;
    }
    slots_[static_cast<uint32_t>(index)] = std::move(record);
    return true;
}

std::unique_ptr<ModuleRecord> CBusList::RemoveAt(uint32_t index) {
    if (index >= count_) {
        return nullptr;
    }
    std::unique_ptr<ModuleRecord> removed = std::move(slots_[index]);
    std::move(slots_.begin() + index + 1, slots_.begin() + count_, slots_.begin() + index);
    --count_;
    slots_[count_].reset();
    return removed;
}

std::unique_ptr<ModuleRecord> CBusList::RemoveByStation(uint8_t station) {
    const int index = IndexOfStation(station);
    return index < 0 ? nullptr : RemoveAt(static_cast<uint32_t>(index));
}

std::unique_ptr<ModuleRecord> CBusList::RemoveBySerial(uint16_t serialNo) {
    const int index = IndexOfSerial(serialNo);
    return index < 0 ? nullptr : RemoveAt(static_cast<uint32_t>(index));
}

void CBusList::Sort(bool bySerial) {
    if (count_ < 2) {
        return;
    }
    // Empty slots would sort first; the used slots never hold one, so only the key decides. A stable sort
    // keeps records with equal keys in their order, so "the first record with this station" stays the same.
    const auto key = [bySerial](const std::unique_ptr<ModuleRecord>& r) -> int {
        return !r ? -1 : (bySerial ? r->SerialNo() : r->iaStation);
    };
    std::stable_sort(slots_.begin(), slots_.begin() + count_,
                     [&](const auto& a, const auto& b) { return key(a) < key(b); });
}

bool CBusList::MergeFrom(CBusList& other) {
    if (&other == this) {
        return true;
    }
    bool allMoved = true;
    uint32_t kept = 0;
    for (uint32_t i = 0; i < other.count_; ++i) {
        std::unique_ptr<ModuleRecord>& slot = other.slots_[i];
        if (IndexOfSerial(slot->SerialNo()) < 0) {
            if (Add(std::move(slot))) {
                continue;
            }
            allMoved = false;
        }
        // Stays in the other list, which is closed up as it goes.
        if (kept != i) {
            other.slots_[kept] = std::move(slot);
        }
        ++kept;
    }
    for (uint32_t i = kept; i < other.count_; ++i) {
        other.slots_[i].reset();
    }
    other.count_ = kept;
    Sort(false);
    return allMoved;
}

void CBusList::Clear() {
    for (auto& slot : slots_) {
        slot.reset();
    }
    count_ = 0;
}

bool CBusList::Save() {
    lastError_ = {};
    return SaveBusInfo(*this, &lastError_);
}

CBusList* CBusList::LoadKnownModules() {
    if (!known_) {
        known_ = std::make_unique<CBusList>();
        for (const uint16_t serialNo : ReadKnownModuleSerials()) {
            AddKnownModule(serialNo, false); // a missing entry reads as 65535 and is refused here
        }
    }
    return known_.get();
}

bool CBusList::AddKnownModule(uint16_t serialNo, bool checkDuplicates) {
    if (!known_ || serialNo > kMaxValidSerial) {
        return false;
    }
    if (checkDuplicates && known_->IndexOfSerial(serialNo) >= 0) {
        return true;
    }
    if (known_->IsFull()) {
        return false;
    }
    auto record = std::make_unique<ModuleRecord>();
    ReadModuleFile(serialNo, *record);
    if (record->SerialNo() == 0) {
        record->stationInfo.wSerialNo = serialNo;
    }
    return known_->Add(std::move(record));
}

bool CBusList::SaveKnownModules() {
    if (!known_) {
        return true;
    }
    known_->Sort(true);
    lastError_ = {};
    return WriteKnownModules(*known_, &lastError_);
}

bool CBusList::FreeKnownModules() {
    const bool had = known_ != nullptr;
    known_.reset();
    return had;
}

} // namespace terrix
