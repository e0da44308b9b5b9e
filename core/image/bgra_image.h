#pragma once
// A captured picture: 32-bit blue, green, red, alpha pixels in top-down rows
// without padding.

#include <cstdint>
#include <vector>

namespace glimmerly {

struct BgraImage {
    std::vector<std::uint8_t> pixels;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

// The size is what the platform's bitmap calls accept (a width below 2^29, a
// height that is positive as a signed 32-bit number) and the buffer holds
// exactly the pixels that size names.
inline bool is_valid_bgra_image(const BgraImage& image) {
    if (image.width < 1 || image.width > 0x1FFFFFFFu) return false;
    if (image.height < 1 || image.height > 0x7FFFFFFFu) return false;
    // Both factors are below 2^31, so the product and the byte count fit.
    const std::uint64_t pixel_count = std::uint64_t{image.width} * image.height;
    return image.pixels.size() == pixel_count * 4;
}

}  // namespace glimmerly
