#include "core/inventory/file_error.h"

#include <cstring>

namespace terrix {

std::string InventoryFileError::Message() const {
    if (code == kNoSerialNumber) {
        return file.string() + ": record has no serial number";
    }
    return file.string() + ": " + std::strerror(code);
}

} // namespace terrix
