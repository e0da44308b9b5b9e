#pragma once
// PNG encoding in memory through the Windows Imaging Component, for the
// editable document's picture and the image-search hand-off.

#include <cstdint>
#include <vector>

#include "core/base/result.h"
#include "core/image/bgra_image.h"

namespace glimmerly {

// The bytes of a PNG file of the image, alpha kept (32-bit BGRA). The calling
// thread must have a COM apartment. An invalid image fails with E_INVALIDARG
// "Invalid BGRA image dimensions or buffer length" before anything is made.
Result<std::vector<std::uint8_t>> encode_png(const BgraImage& image);

}  // namespace glimmerly
