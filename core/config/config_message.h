#pragma once
// A message that a configuration operation hands to its window: the text, the caption (empty: the window's
// own title) and the icon. Operations return them in the order the window shows them.

#include <string>
#include <vector>

namespace terrix {

enum class ConfigMessageIcon {
    None, // plain OK box
    Exclamation,
    Stop,
};

struct ConfigMessage {
    std::string text;
    std::string caption;
    ConfigMessageIcon icon = ConfigMessageIcon::None;

    bool operator==(const ConfigMessage&) const = default;
};

using ConfigMessages = std::vector<ConfigMessage>;

inline constexpr const char* kErrorCaption = "Error";

} // namespace terrix
