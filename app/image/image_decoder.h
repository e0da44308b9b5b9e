#pragma once
// Decoding of image files through the Windows Imaging Component: PNG bytes
// (an editable document's frame) and any image file WIC can read (the
// wallpaper picture, the board, the demo and diagnostic modes).

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "core/base/result.h"
#include "core/image/bgra_image.h"

namespace glimmerly {

// The first frame of PNG bytes as 32-bit BGRA, alpha kept. The picture must
// be exactly `width` x `height`: the caller knows the size from elsewhere (a
// document's scene), and any other size is refused with E_INVALIDARG
// "Unexpected image size" before its pixels are allocated, so that a damaged
// or hostile header cannot ask for gigabytes. Bytes of any other container
// fail with E_INVALIDARG "Not a PNG image", even when WIC could decode them.
// The calling thread must have a COM apartment.
Result<BgraImage> decode_png_bytes(std::span<const std::uint8_t> png, std::uint32_t width, std::uint32_t height);

// The first frame of any image file WIC decodes, as 32-bit BGRA. A frame
// that is not a valid picture, or whose stride or byte count would not fit
// in 32 bits, is refused with E_INVALIDARG before anything is allocated.
Result<BgraImage> load_image_file(const std::wstring& path);
// As above, refusing with E_INVALIDARG "Image too large", before anything is
// allocated, a frame of more than `max_pixels` pixels.
Result<BgraImage> load_image_file(const std::wstring& path, std::uint64_t max_pixels);

// The caller's judgement of the size a file claims, asked before any pixel
// is decoded or allocated; its refusal comes back as it is.
using ImageSizeCheck = std::function<Status(std::uint32_t width, std::uint32_t height)>;
Result<BgraImage> load_image_file(const std::wstring& path, const ImageSizeCheck& accept_size);
// The same judgement of the size a PNG file's header claims, with nothing
// decoded. A file that cannot be read or is no PNG passes: loading it tells
// its failure or judges its size from its decoder.
Status check_image_file_claim(const std::wstring& path, const ImageSizeCheck& accept_size);
// A file's first bytes, as many as a PNG's signature and header chunk take
// (fewer when the file is shorter), to judge a picture with nothing decoded;
// a file that cannot be opened or read is that call's failure, naming it.
Result<std::vector<std::uint8_t>> read_png_head(const std::wstring& path);

}  // namespace glimmerly
