#include "ui/settings_panel/settings_placement.h"

#include <algorithm>

namespace glimmerly {
namespace {

// Sums in 64 bits: a position near the i32 limits plus a size must not wrap.
std::int32_t keep_inside(std::int32_t at, std::int32_t size, std::int32_t low, std::int32_t high) {
    std::int64_t start = at;
    if (start + size > high) start = std::int64_t{high} - size;
    if (start < low) start = low;
    return static_cast<std::int32_t>(start);
}

}  // namespace

PixelPoint place_settings_window(const PixelRect& work, PixelPoint current, std::int32_t width, std::int32_t height,
                                 bool centre) {
    if (centre) return centred_in(work, width, height);
    return {keep_inside(current.x, width, work.left, work.right), keep_inside(current.y, height, work.top, work.bottom)};
}

}  // namespace glimmerly
