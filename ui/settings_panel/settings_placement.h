#pragma once
// Where the settings window goes in the work area of its monitor, in pixels.

#include <cstdint>

#include "core/base/pixel_rect.h"

namespace glimmerly {

// Centred when it opens, at the area's top-left corner when it is larger
// than the area. Later (a new size or dpi), its current place moved just
// enough to end inside the area, then to start inside it, so that a window
// larger than the area keeps its title bar on screen.
PixelPoint place_settings_window(const PixelRect& work, PixelPoint current, std::int32_t width, std::int32_t height,
                                 bool centre);

}  // namespace glimmerly
