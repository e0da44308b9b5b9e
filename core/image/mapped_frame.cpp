#include "core/image/mapped_frame.h"

#include <cstring>
#include <new>

namespace glimmerly {
namespace {

Failure bad_layout() { return invalid_input("Invalid desktop surface layout"); }
Failure bad_picture() { return invalid_input("Invalid BGRA image dimensions or buffer length"); }

bool swaps_sides(std::uint32_t rotation) { return rotation == FRAME_ROTATION_90 || rotation == FRAME_ROTATION_270; }

// Where source pixel (x, y) of a w x h frame lands in the upright picture,
// as an index of pixels.
std::size_t upright_index(std::uint32_t rotation, std::size_t x, std::size_t y, std::size_t w, std::size_t h) {
    switch (rotation) {
        case FRAME_ROTATION_90: return x * h + (h - 1 - y);
        case FRAME_ROTATION_180: return (h - 1 - y) * w + (w - 1 - x);
        case FRAME_ROTATION_270: return (w - 1 - x) * h + y;
        default: return y * w + x;
    }
}

}  // namespace

Result<BgraImage> copy_mapped_frame(const MappedFrame& frame, std::uint32_t rotation) {
    const std::uint64_t w = frame.width, h = frame.height, pitch = frame.row_pitch;
    // Each factor is below 2^32, so the products below cannot wrap in 64 bits.
    if (!frame.data) return plain_failure("The desktop surface is not mapped");
    if (w == 0 || h == 0 || w * 4 > pitch || (h - 1) * pitch + w * 4 > h * pitch || rotation > FRAME_ROTATION_270)
        return bad_layout();

    BgraImage out;
    out.width = swaps_sides(rotation) ? frame.height : frame.width;
    out.height = swaps_sides(rotation) ? frame.width : frame.height;
    // The picture's own limits, checked before the buffer is sized from them.
    if (out.width >= 0x20000000u || out.height > 0x7FFFFFFFu) return bad_picture();
    try {
        out.pixels.resize(w * h * 4);
    } catch (const std::bad_alloc&) {
        return out_of_memory("The desktop picture does not fit in memory");
    }

    std::uint8_t* pixels = out.pixels.data();
    for (std::uint64_t y = 0; y < h; ++y) {
        const std::uint8_t* row = frame.data + y * pitch;
        if (!swaps_sides(rotation) && rotation != FRAME_ROTATION_180) {
            std::memcpy(pixels + y * w * 4, row, w * 4);
            for (std::uint64_t x = 0; x < w; ++x) pixels[(y * w + x) * 4 + 3] = 255;
            continue;
        }
        for (std::uint64_t x = 0; x < w; ++x) {
            std::uint8_t* to = pixels + upright_index(rotation, x, y, w, h) * 4;
            std::memcpy(to, row + x * 4, 3);
            to[3] = 255;
        }
    }
    if (!is_valid_bgra_image(out)) return bad_picture();
    return out;
}

}  // namespace glimmerly
