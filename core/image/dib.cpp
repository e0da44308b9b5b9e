#include "core/image/dib.h"

#include <algorithm>
#include <cstring>

namespace glimmerly {
namespace {

void put_u32(std::uint8_t* at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

}  // namespace

std::optional<std::size_t> dib_size(const BgraImage& picture) {
    if (!is_valid_bgra_image(picture)) return std::nullopt;
    return DIB_HEADER_BYTES + picture.pixels.size();
}

void write_dib(const BgraImage& picture, std::span<std::uint8_t> out) {
    std::uint8_t* header = out.data();
    std::fill_n(header, DIB_HEADER_BYTES, std::uint8_t{0});
    put_u32(header, DIB_HEADER_BYTES);  // biSize
    put_u32(header + 4, picture.width);
    // A positive height means bottom-up rows: the form every reader of the
    // clipboard understands, where a top-down (negative) one is often misread.
    put_u32(header + 8, picture.height);
    header[12] = 1;   // biPlanes
    header[14] = 32;  // biBitCount; biCompression BI_RGB (0) and the rest stay 0

    const std::size_t stride = std::size_t{picture.width} * 4;
    std::uint8_t* row_out = out.data() + DIB_HEADER_BYTES;
    for (std::size_t row = picture.height; row > 0; --row, row_out += stride)
        std::memcpy(row_out, picture.pixels.data() + (row - 1) * stride, stride);
}

}  // namespace glimmerly
