#include "core/image/bgra_image.h"

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
