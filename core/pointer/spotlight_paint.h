#pragma once
// The spotlight's picture: premultiplied black at the darkness over the
// whole virtual screen, with a soft-edged hole stamped at the pointer. The
// hole is rendered once per size, shape and darkness; a frame only refills
// the old and the new hole box, so a moving pointer costs two small boxes,
// not a screen.

#include <cstdint>
#include <vector>

#include "core/base/pixel_rect.h"

namespace glimmerly {

enum class SpotlightShape : std::uint8_t { Off = 0, Circle = 1, HorizontalBand = 2, VerticalBand = 3 };

// A BGRA picture of top-down rows, width x 4 bytes each, owned elsewhere.
struct BgraView {
    std::uint8_t* bits = nullptr;
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// What a frame is asked to show, in window pixels.
struct SpotlightFrame {
    std::int32_t cursor_x = 0;
    std::int32_t cursor_y = 0;
    std::uint32_t size = 240;     // 60..600, pixels at 96 dpi
    std::uint32_t darkness = 60;  // 20..90 percent
    std::uint8_t shape = 1;
    double scale = 1.0;
};

// What the picture keeps between frames.
struct SpotlightCanvas {
    std::vector<std::uint8_t> stamp;
    std::uint32_t stamp_size = 0;
    std::int32_t stamp_width = 0;
    std::int32_t stamp_height = 0;
    std::uint8_t stamp_alpha = 0;
    std::uint8_t stamp_shape = 255;  // no stamp yet
    bool has_previous = false;
    PixelRect previous_hole;
    std::uint8_t surface_alpha = 0;
};

// The part of the picture a frame changed; `whole` asks for a push of the
// whole window (new surface or new darkness), else only `rect` goes.
struct SpotlightUpdate {
    PixelRect rect;
    bool whole = false;
};

// darkness x 255 / 100, truncated: 20 gives 51, 90 gives 229.
std::uint8_t spotlight_alpha(std::uint32_t darkness);

// The hole's box around the cursor in window pixels, rounded half away from
// zero and saturated (NaN gives 0); it may reach past the window.
PixelRect spotlight_hole_box(const SpotlightFrame& frame, std::int32_t window_width, std::int32_t window_height);

// Left and top into the bounds, right and bottom between them and the bounds' far edges.
PixelRect clamp_rect(const PixelRect& rect, const PixelRect& bounds);

// One frame into `picture`. `fresh_surface` says the picture was just made
// (its pixels mean nothing yet). The previous hole and the surface alpha are
// remembered for the next frame.
SpotlightUpdate paint_spotlight(SpotlightCanvas& canvas, BgraView picture, bool fresh_surface,
                                const SpotlightFrame& frame);

}  // namespace glimmerly
