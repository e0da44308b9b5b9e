#pragma once
// High-quality scaling of a picture through the Windows Imaging Component.

#include <cstdint>

#include "core/base/result.h"
#include "core/image/bgra_image.h"

namespace glimmerly {

// The picture resampled to width x height with the high-quality cubic filter;
// a copy when the size is already that. Refused with E_INVALIDARG: an invalid
// picture, or one whose byte count does not fit in 32 bits ("Invalid BGRA
// image dimensions or buffer length"), and a wanted size with a side of 0 or
// more than 2^27 pixels ("Unsupported scaled image size"). The calling thread
// must have a COM apartment.
Result<BgraImage> scale_bgra_image(const BgraImage& picture, std::uint32_t width, std::uint32_t height);

}  // namespace glimmerly
