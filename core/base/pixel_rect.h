#pragma once
// A rectangle of whole screen pixels: left and top inside, right and bottom
// outside, as the platform's RECT.

#include <algorithm>
#include <cstdint>

namespace glimmerly {

struct PixelRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    std::int32_t width() const { return right - left; }
    std::int32_t height() const { return bottom - top; }
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

struct PixelPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

// Where a window of that size goes to sit centred in the area; a window
// larger than the area keeps its top-left corner at the area's, so that its
// title bar and first controls stay on screen.
inline PixelPoint centred_in(const PixelRect& area, std::int32_t width, std::int32_t height) {
    const auto offset = [](std::int32_t span, std::int32_t size) {
        return static_cast<std::int32_t>(std::max<std::int64_t>((std::int64_t{span} - size) / 2, 0));
    };
    return {area.left + offset(area.width(), width), area.top + offset(area.height(), height)};
}

}  // namespace glimmerly
