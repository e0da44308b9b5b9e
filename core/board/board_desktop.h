#pragma once
// The picture the board editor opens over: the desktop as the user sees it
// now, but with the baked notes taken out of the wallpaper, so that the user
// edits the notes themselves and not their baked copy; and an overlay of the
// desktop's own items (icons and the like), drawn above the notes.
//
// Pixels match as the board compares them everywhere: blue, green and red
// each within 2, alpha not compared.

#include <cstdint>
#include <optional>
#include <span>

#include "core/document/scene_object.h"
#include "core/board/wallpaper_picture.h"
#include "core/image/bgra_image.h"

namespace glimmerly {

// A monitor's rectangle in whole pixels, derived one way everywhere: the
// left and top edges clamped to i32 and truncated (NaN 0), the width and
// height clamped to 0..u32 and truncated.
struct MonitorPixels {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::uint32_t width = 0;
    std::uint32_t height = 0;

    friend bool operator==(const MonitorPixels&, const MonitorPixels&) = default;
};
MonitorPixels monitor_pixels(const Box& rect);

bool board_pixels_match(const std::uint8_t* a, const std::uint8_t* b);

// The monitor's area of the picture: a monitor-sized picture of opaque
// black with the picture pasted at its place.
BgraImage cut_monitor_area(const DesktopPicture& picture, const MonitorPixels& monitor);

struct BoardDesktopMonitor {
    MonitorPixels rect;
    // The monitor's wallpaper is a baked picture; without one it stays as rendered.
    bool shows_bake = false;
    // That picture, when it could be read.
    std::optional<BgraImage> baked;
};

struct BoardDesktop {
    DesktopPicture desktop;
    std::optional<BgraImage> overlay;  // the desktop's size and origin
};

// `base` is the user's own wallpaper on every monitor; `rendered` the same
// picture with the desktop window drawn over it, none when it could not be
// drawn (then the base alone, without an overlay). A monitor whose wallpaper
// is a baked picture keeps, when the desktop shows at least 90 % of that
// picture, what the desktop shows where it differs from the bake and the
// base elsewhere; otherwise it shows its base. Other monitors stay as
// rendered. The overlay holds the pixels where the
// result differs from the base, on monitors where those cover at most half.
BoardDesktop prepare_board_desktop(const DesktopPicture& base, std::optional<DesktopPicture> rendered,
                                   std::span<const BoardDesktopMonitor> monitors);

}  // namespace glimmerly
