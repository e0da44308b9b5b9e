#include "core/image/image_limits.h"

namespace glimmerly {

std::optional<std::uint32_t> imaging_buffer_size(std::uint32_t width, std::uint32_t height) {
    if (width == 0 || width >= 0x20000000u || height == 0 || height > 0x7FFFFFFFu) return std::nullopt;
    // Both factors are below 2^31 here, so the product cannot wrap in 64 bits.
    const std::uint64_t bytes = std::uint64_t{width} * height * 4;
    if (bytes > 0xFFFFFFFFu) return std::nullopt;
    return static_cast<std::uint32_t>(bytes);
}

bool is_supported_scaled_size(std::uint32_t width, std::uint32_t height) {
    return width != 0 && height != 0 && std::uint64_t{width} * height <= MAX_SCALED_PIXELS;
}

}  // namespace glimmerly
