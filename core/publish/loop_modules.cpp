#include "core/publish/loop_modules.h"

namespace terrix {

std::vector<PublishedModule> PublishedModulesOf(const CMeasLoop& loop) {
    std::vector<PublishedModule> modules;
    for (uint32_t i = 0; i < loop.SlotCount(); ++i) {
        const ModuleRecord* record = loop.RecordAt(i);
        const CMeasValueStore* store = loop.StoreAt(i);
        if (record != nullptr && store != nullptr && store->IsBound()) {
            modules.push_back({*record, store->Directory()});
        }
    }
    return modules;
}

} // namespace terrix
