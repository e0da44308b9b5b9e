#pragma once
// The loupe's arithmetic: the two squares of a placement, the round strips
// the classic thumbnails are cut into, the pieces of each window beneath,
// the soft edge of the composed drawing and the Windows build it depends on.
// Windows are opaque numbers here (the handle's value).

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "core/base/pixel_rect.h"

namespace glimmerly {

using LoupeWindowId = std::uintptr_t;

// The first build whose compositor offers the thumbnail visuals.
inline constexpr std::uint32_t kComposedLoupeBuild = 22000;
// The registry value is read into this many bytes; a longer one counts as unreadable.
inline constexpr std::size_t kBuildNumberBytes = 32;

struct LoupeSquares {
    PixelRect source;
    PixelRect destination;
    std::int32_t zoom = 1;  // the zoom in force: 1 when below 2
};

// The square of screen read around (x, y) and the square it is shown in,
// s·z wide, which can be up to z - 1 pixels narrower than the diameter.
LoupeSquares loupe_squares(std::int32_t x, std::int32_t y, std::int32_t diameter, std::uint32_t zoom);

struct LoupeCandidate {
    LoupeWindowId window = 0;
    PixelRect rect;
    friend bool operator==(const LoupeCandidate&, const LoupeCandidate&) = default;
};

// Strict overlap: both spans have a non-empty intersection.
bool rects_overlap(const PixelRect& a, const PixelRect& b);
PixelRect rect_intersection(const PixelRect& a, const PixelRect& b);

// Rows of the source square merged while they stay within 3 destination
// pixels of the circle on both sides; each is centred on the middle column.
std::vector<PixelRect> loupe_strips(const PixelRect& source, const PixelRect& destination, std::int32_t zoom);

struct LoupePlacement {
    PixelRect source;       // in the window's own coordinates (its rectangle's top-left is 0, 0)
    PixelRect destination;  // in the loupe window's client coordinates
    LoupeWindowId window = 0;
    friend bool operator==(const LoupePlacement&, const LoupePlacement&) = default;
};

// One placement per strip and window it overlaps: the bottom-most window
// first, so the top-most is registered and drawn last.
std::vector<LoupePlacement> loupe_placements(const PixelRect& source, std::int32_t zoom,
                                             const std::vector<PixelRect>& strips,
                                             const std::vector<LoupeCandidate>& beneath);

// "CurrentBuildNumber" as read (UTF-16 units, trailing NULs allowed): one
// leading '+', then decimal digits. Anything else, an overflow or a value
// longer than the buffer is 0.
std::uint32_t parse_build_number(std::u16string_view value);

struct FalloffStop {
    double offset = 0;
    double opacity = 0;
};
// Five stops from outer - width to outer, the opacities adding up to a soft edge.
std::array<FalloffStop, 5> falloff_stops(double outer, double width);

}  // namespace glimmerly
