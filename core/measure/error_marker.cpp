#include "core/measure/error_marker.h"

#include "core/measure/c_locale_format.h"

namespace terrix {

uint32_t ErrorMarkerBits(uint16_t code) {
    return kErrorMarkerBase + (code == 0 ? kUnknownErrorCode : code);
}

bool IsErrorMarkerBits(uint32_t bits) {
    return (bits & 0x7F800000u) == 0x7F800000u && (bits & 0x007FFFFFu) != 0;
}

uint16_t ErrorMarkerCode(uint32_t bits) {
    return static_cast<uint16_t>(bits & 0xFFFFu);
}

std::string ErrorMarkerText(uint16_t code) {
    if (code == kUnknownErrorCode) {
        return "NaN(?)";
    }
    return FormatC("NaN(%u)", static_cast<unsigned>(code));
}

} // namespace terrix
