#include "core/inventory/module_kind.h"

#include "core/platform/ini_document.h"

namespace terrix {

bool IsTavikXVName(std::string_view name) {
    return EqualsIgnoreCase(name, kTavikXVName);
}

bool IsTavikButNotXVName(std::string_view name) {
    return name.size() >= kTavikPrefix.size() &&
           EqualsIgnoreCase(name.substr(0, kTavikPrefix.size()), kTavikPrefix) && !IsTavikXVName(name);
}

bool IsMultiplexerName(std::string_view name) {
    return name == kMultiplexerName;
}

void SetModuleKindFlags(ModuleRecord& record) {
    const std::string name = record.ModuleName();
    record.bIsTavikXV = IsTavikXVName(name) ? 1 : 0;
    record.bIsTavikButNotXV = IsTavikButNotXVName(name) ? 1 : 0;
}

} // namespace terrix
