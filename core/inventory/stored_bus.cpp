#include "core/inventory/stored_bus.h"

#include "core/inventory/module_file.h"

namespace terrix {

BusSave SaveCompleteBus(CBusList& list) {
    if (list.Count() == 0 || list.CollisionCount() > 0) {
        return BusSave::kIncomplete;
    }
    return list.Save() ? BusSave::kSaved : BusSave::kFailed;
}

bool IsCollisionPlaceholder(const ModuleRecord& record) {
    return record.enModuleState == msCollision || record.SerialNo() > kMaxValidSerial;
}

ModuleRemoval RemoveModuleFromBus(CBusList& list, const ModuleRecord& record) {
    if (IsCollisionPlaceholder(record)) {
        return ModuleRemoval::kRefused;
    }
    // By serial number, not by pointer: the caller's record may be a copy, and it is deleted here.
    if (list.RemoveBySerial(record.SerialNo()) == nullptr) {
        return ModuleRemoval::kNotInList;
    }
    return list.Save() ? ModuleRemoval::kRemoved : ModuleRemoval::kSaveFailed;
}

bool SaveModuleChange(const ModuleRecord& record, InventoryFileError* error) {
    return IsCollisionPlaceholder(record) || !IsKnownSerial(record.SerialNo()) ||
           WriteModuleFile(record, error);
}

} // namespace terrix
