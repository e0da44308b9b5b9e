#pragma once
// PNG and JPEG encoding through the Windows Imaging Component: onto a stream,
// or into memory for the editable document, the image-search page and the
// atomic image saves.

#include <objidl.h>
#include <wincodec.h>

#include <cstdint>
#include <vector>

#include "core/base/result.h"
#include "core/image/bgra_image.h"
#include "core/paths/path_names.h"

namespace glimmerly {

// Writes one complete image file onto the stream. PNG keeps the alpha
// channel of a picture that has any transparency and is written 24-bit when
// every alpha is 255 (it decodes to the same pixels); JPEG ignores alpha (each pixel's colour channels are written as they
// are, never blended) and is written at quality 1.0 without chroma
// subsampling, so that thin coloured strokes keep their colour. An invalid
// picture fails with E_INVALIDARG "Invalid BGRA image dimensions or buffer
// length" before anything is written.
Status encode_image(const BgraImage& picture, IWICImagingFactory& factory, IStream& stream, ImageFormat format);

// The bytes of the image file. The calling thread must have a COM apartment.
Result<std::vector<std::uint8_t>> encode_image(const BgraImage& picture, ImageFormat format);

inline Result<std::vector<std::uint8_t>> encode_png(const BgraImage& picture) {
    return encode_image(picture, ImageFormat::Png);
}

}  // namespace glimmerly
