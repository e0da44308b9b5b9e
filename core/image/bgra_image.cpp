#include "core/image/bgra_image.h"

#include <algorithm>
#include <cstring>

namespace glimmerly {

bool is_valid_bgra_image(const BgraImage& image) {
    if (image.width == 0 || image.width >= 0x20000000u) return false;
    if (image.height == 0 || image.height > 0x7FFFFFFFu) return false;
    // Within these bounds the pixel count stays below 2^60, so neither it nor
    // the byte count (below 2^62) can wrap in 64 bits.
    const std::uint64_t count = std::uint64_t{image.width} * image.height;
    return std::uint64_t{image.pixels.size()} == count * 4;
}

}  // namespace glimmerly

namespace glimmerly {

void paste_bgra_image(BgraImage& destination, const BgraImage& source, std::int32_t x, std::int32_t y) {
    const std::int64_t left = std::max<std::int64_t>(x, 0), top = std::max<std::int64_t>(y, 0);
    const std::int64_t right = std::min<std::int64_t>(std::int64_t{x} + source.width, destination.width);
    const std::int64_t bottom = std::min<std::int64_t>(std::int64_t{y} + source.height, destination.height);
    if (left >= right || top >= bottom) return;
    const auto row_bytes = static_cast<std::size_t>(right - left) * 4;
    for (std::int64_t row = top; row < bottom; ++row) {
        const auto from = (static_cast<std::size_t>(row - y) * source.width + static_cast<std::size_t>(left - x)) * 4;
        const auto to = (static_cast<std::size_t>(row) * destination.width + static_cast<std::size_t>(left)) * 4;
        std::memcpy(destination.pixels.data() + to, source.pixels.data() + from, row_bytes);
    }
}

}  // namespace glimmerly
