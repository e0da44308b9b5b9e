#include "core/menu/popup_placement.h"

#include <algorithm>
#include <limits>

namespace glimmerly {
namespace {

std::int32_t narrow(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

// The start of a span of `size` along one axis: at `at`, or ending at `at`
// when it would pass `hi`; then inside [lo, hi) with `lo` winning.
std::int64_t fit(std::int64_t at, std::int64_t size, std::int64_t lo, std::int64_t hi) {
    std::int64_t start = at + size > hi ? at - size : at;
    if (start + size > hi) start = hi - size;
    return std::max(start, lo);
}

PixelRect sized(std::int64_t left, std::int64_t top, std::int32_t width, std::int32_t height) {
    return {narrow(left), narrow(top), narrow(left + width), narrow(top + height)};
}

}  // namespace

PixelRect place_popup(PixelPoint anchor, std::int32_t width, std::int32_t height, const PixelRect& work) {
    return sized(fit(anchor.x, width, work.left, work.right), fit(anchor.y, height, work.top, work.bottom), width,
                 height);
}

PixelRect place_submenu(const PixelRect& main, std::int32_t top, std::int32_t width, std::int32_t height,
                        const std::optional<PixelRect>& work) {
    std::int64_t x = main.right, y = top;
    if (work) {
        if (x + width > work->right) {
            x = std::int64_t{main.left} - width;
            if (x < work->left) x = std::max<std::int64_t>(work->left, std::int64_t{work->right} - width);
        }
        y = std::max<std::int64_t>(work->top, std::min<std::int64_t>(std::int64_t{work->bottom} - height, y));
    }
    return sized(x, y, width, height);
}

}  // namespace glimmerly
