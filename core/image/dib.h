#pragma once
// The clipboard's device-independent bitmap (CF_DIB) of a picture: a 40-byte
// BITMAPINFOHEADER of a bottom-up 32-bit BI_RGB bitmap, then the rows last
// first, 4 bytes a pixel (B, G, R, A) without padding.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "core/image/bgra_image.h"

namespace glimmerly {

inline constexpr std::size_t DIB_HEADER_BYTES = 40;

// The block's length; none for a picture that is not valid.
std::optional<std::size_t> dib_size(const BgraImage& picture);

// Fills `out`, which must be dib_size(picture) bytes long, with the block.
void write_dib(const BgraImage& picture, std::span<std::uint8_t> out);

}  // namespace glimmerly
