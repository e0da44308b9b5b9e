#pragma once
// Where the tray popup and its submenu go on screen. The system's own
// placement is used where the platform has it; this is the program's, with
// the same rules, for where it has not.

#include <cstdint>
#include <optional>

#include "core/base/pixel_rect.h"

namespace glimmerly {

// The popup's top-left corner at the anchor (the pointer), flipped to the
// left of it or above it on the side where it would run past the work area,
// and then kept inside the area; a popup larger than the area keeps the
// area's top-left corner.
PixelRect place_popup(PixelPoint anchor, std::int32_t width, std::int32_t height, const PixelRect& work);

// The submenu beside the main popup with its top at `top`: right of it, or
// left of it when it does not fit on the right; with a work area it is then
// kept inside, moved up near the bottom edge.
PixelRect place_submenu(const PixelRect& main, std::int32_t top, std::int32_t width, std::int32_t height,
                        const std::optional<PixelRect>& work);

}  // namespace glimmerly
