#pragma once
// The program's in-memory picture: 32-bit pixels in the byte order blue,
// green, red, alpha, rows top to bottom without padding (stride = width x 4).

#include <cstdint>
#include <vector>

namespace glimmerly {

struct BgraImage {
    std::vector<std::uint8_t> pixels;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

// Width 1..0x1FFFFFFF, height 1..0x7FFFFFFF (positive as a signed 32-bit
// value) and exactly width x height x 4 bytes. Writers of files, the
// clipboard and the scalers check this before they touch the bytes.
bool is_valid_bgra_image(const BgraImage& image);

}  // namespace glimmerly

namespace glimmerly {

// Copies `source` into `destination` with its top-left corner at (x, y),
// clipped to the destination; pixels are copied as they are, alpha included.
void paste_bgra_image(BgraImage& destination, const BgraImage& source, std::int32_t x, std::int32_t y);

}  // namespace glimmerly
