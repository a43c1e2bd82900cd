#include "core/inventory/file_error.h"
#include "core/platform/path_text.h"

#include <cstring>

namespace terrix {

std::string InventoryFileError::Message() const {
    if (code == kNoSerialNumber) {
        return PathText(file) + ": record has no serial number";
    }
    return PathText(file) + ": " + std::strerror(code);
}

} // namespace terrix
