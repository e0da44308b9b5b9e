#pragma once
// The interface text styles, kept apart from the text formats so that
// platform-free layouts can name the style a width was measured in.

#include <cstdint>

namespace glimmerly {

enum class UiTextStyle : std::uint8_t {
    Body = 0,     // 400
    Strong = 1,   // 600
    Display = 2,  // 600, the display family
    Small = 3,    // 400, the small family
};

}  // namespace glimmerly
