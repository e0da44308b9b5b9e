#pragma once
// PNG decoding in memory through the Windows Imaging Component, for the
// frame stored inside an editable document.

#include <cstdint>
#include <span>

#include "core/base/result.h"
#include "core/image/bgra_image.h"

namespace glimmerly {

// The pixels of a PNG file as 32-bit BGRA, alpha kept. The picture must be
// exactly `width` x `height`: the caller knows the size from elsewhere (a
// document's scene), and a picture of any other size is refused with
// E_INVALIDARG before its pixels are allocated, so that a damaged or hostile
// header cannot ask for gigabytes. Pixels that cannot be had are
// E_OUTOFMEMORY. The calling thread must have a COM apartment.
Result<BgraImage> decode_png(std::span<const std::uint8_t> png, std::uint32_t width, std::uint32_t height);

}  // namespace glimmerly
