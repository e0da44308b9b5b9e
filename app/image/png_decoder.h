#pragma once
// PNG decoding in memory through the Windows Imaging Component, for the
// frame stored inside an editable document.

#include <cstdint>
#include <span>

#include "core/base/result.h"
#include "core/image/bgra_image.h"

namespace glimmerly {

// The pixels of a PNG file as 32-bit BGRA, alpha kept. A picture wider or
// taller than `max_side` is refused before its pixels are allocated, so a
// damaged or hostile header cannot ask for gigabytes. The calling thread must
// have a COM apartment.
Result<BgraImage> decode_png(std::span<const std::uint8_t> png, std::uint32_t max_side);

}  // namespace glimmerly
