#include "app/image/image_scaler.h"

#include <objbase.h>
#include <wincodec.h>
#include <windows.h>

#include <new>

#include "app/win/com.h"
#include "app/win/failure.h"
#include "core/image/image_limits.h"

namespace glimmerly {
namespace {

using win::ComPtr;
using win::hr_failure;

// The mingw-w64 headers lack the name of the high-quality cubic mode.
constexpr auto kHighQualityCubic = static_cast<WICBitmapInterpolationMode>(4);

Result<BgraImage> scale(const BgraImage& picture, std::uint32_t width, std::uint32_t height) {
    auto factory = win::create_instance<IWICImagingFactory>(CLSID_WICImagingFactory);
    if (!factory) return std::move(factory).failure();
    // The bitmap made from the pixels copies them: the caller's buffer is
    // only read.
    ComPtr<IWICBitmap> source;
    HRESULT hr = (*factory)->CreateBitmapFromMemory(picture.width, picture.height, GUID_WICPixelFormat32bppBGRA,
                                                    picture.width * 4, static_cast<UINT>(picture.pixels.size()),
                                                    const_cast<BYTE*>(picture.pixels.data()), source.put());
    if (FAILED(hr)) return hr_failure(hr, "IWICImagingFactory::CreateBitmapFromMemory");
    ComPtr<IWICBitmapScaler> scaler;
    hr = (*factory)->CreateBitmapScaler(scaler.put());
    if (FAILED(hr)) return hr_failure(hr, "IWICImagingFactory::CreateBitmapScaler");
    hr = scaler->Initialize(source.get(), width, height, kHighQualityCubic);
    if (FAILED(hr)) return hr_failure(hr, "IWICBitmapScaler::Initialize");

    BgraImage scaled{{}, width, height};
    // At most 2^27 pixels: the byte count fits in 32 bits.
    const auto bytes = static_cast<std::uint32_t>(std::uint64_t{width} * height * 4);
    scaled.pixels.resize(bytes);
    for (std::size_t i = 3; i < scaled.pixels.size(); i += 4) scaled.pixels[i] = 0xFF;
    hr = scaler->CopyPixels(nullptr, width * 4, bytes, scaled.pixels.data());
    if (FAILED(hr)) return hr_failure(hr, "IWICBitmapSource::CopyPixels");
    return scaled;
}

}  // namespace

Result<BgraImage> scale_bgra_image(const BgraImage& picture, std::uint32_t width, std::uint32_t height) {
    if (!is_valid_bgra_image(picture) || !imaging_buffer_size(picture.width, picture.height))
        return invalid_input("Invalid BGRA image dimensions or buffer length");
    if (!is_supported_scaled_size(width, height)) return invalid_input("Unsupported scaled image size");
    try {
        if (width == picture.width && height == picture.height) return picture;
        return scale(picture, width, height);
    } catch (const std::bad_alloc&) {
        return out_of_memory("Scaling an image");
    }
}

}  // namespace glimmerly
