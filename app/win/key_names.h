#pragma once
// The keyboard layout's own key names, for shortcut texts.

#include <cstdint>
#include <optional>
#include <string>

namespace glimmerly::win {

// The current layout's name of a virtual key (GetKeyNameTextW of its scan
// code); none when the layout names it not.
std::optional<std::string> layout_key_name(std::uint32_t key);

}  // namespace glimmerly::win
