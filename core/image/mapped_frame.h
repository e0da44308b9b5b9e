#pragma once
// A desktop image as the graphics driver maps it for reading: rows of BGRA
// pixels a row pitch apart (the pitch may hold padding), drawn in the
// orientation of the display hardware, which differs from the user's when
// the monitor is rotated.

#include <cstdint>

#include "core/base/result.h"
#include "core/image/bgra_image.h"

namespace glimmerly {

// The display's rotation, as DXGI_MODE_ROTATION numbers it.
inline constexpr std::uint32_t FRAME_ROTATION_UNSPECIFIED = 0;
inline constexpr std::uint32_t FRAME_ROTATION_IDENTITY = 1;
inline constexpr std::uint32_t FRAME_ROTATION_90 = 2;
inline constexpr std::uint32_t FRAME_ROTATION_180 = 3;
inline constexpr std::uint32_t FRAME_ROTATION_270 = 4;

struct MappedFrame {
    const std::uint8_t* data = nullptr;  // the first row; height x row_pitch bytes
    std::uint32_t width = 0;             // pixels, as the texture holds them
    std::uint32_t height = 0;
    std::uint32_t row_pitch = 0;  // bytes from one row to the next
};

// The frame as the user sees it: upright, without padding, every alpha 255.
// A 90 or 270 degree rotation swaps width and height. A layout that cannot
// hold its pixels, or an unknown rotation, fails with E_INVALIDARG "Invalid
// desktop surface layout" before a byte is read; a missing mapping with
// E_FAIL.
Result<BgraImage> copy_mapped_frame(const MappedFrame& frame, std::uint32_t rotation);

}  // namespace glimmerly
