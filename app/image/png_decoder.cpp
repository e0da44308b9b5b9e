#include "app/image/png_decoder.h"

#include <objbase.h>
#include <wincodec.h>
#include <windows.h>

#include <algorithm>
#include <new>

#include "app/win/com.h"
#include "app/win/failure.h"

namespace glimmerly {

using win::ComPtr;
using win::hr_failure;

namespace {

Result<BgraImage> decode(std::span<const std::uint8_t> png, std::uint32_t width, std::uint32_t height) {
    if (png.empty() || png.size() > 0xFFFFFFFFu) return invalid_input("PNG data of an unusable length");
    auto factory = win::create_instance<IWICImagingFactory>(CLSID_WICImagingFactory);
    if (!factory) return std::move(factory).failure();

    ComPtr<IWICStream> stream;
    HRESULT hr = (*factory)->CreateStream(stream.put());
    if (FAILED(hr)) return hr_failure(hr, "IWICImagingFactory::CreateStream");
    // The stream only reads from the buffer, whatever its signature says.
    hr = stream->InitializeFromMemory(const_cast<BYTE*>(png.data()), static_cast<DWORD>(png.size()));
    if (FAILED(hr)) return hr_failure(hr, "IWICStream::InitializeFromMemory");
    ComPtr<IWICBitmapDecoder> decoder;
    hr = (*factory)->CreateDecoderFromStream(stream.get(), &GUID_ContainerFormatPng, WICDecodeMetadataCacheOnDemand,
                                             decoder.put());
    if (FAILED(hr)) return hr_failure(hr, "IWICImagingFactory::CreateDecoderFromStream");
    ComPtr<IWICBitmapFrameDecode> frame;
    hr = decoder->GetFrame(0, frame.put());
    if (FAILED(hr)) return hr_failure(hr, "IWICBitmapDecoder::GetFrame");
    ComPtr<IWICFormatConverter> converter;
    hr = (*factory)->CreateFormatConverter(converter.put());
    if (FAILED(hr)) return hr_failure(hr, "IWICImagingFactory::CreateFormatConverter");
    hr = converter->Initialize(frame.get(), GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                               WICBitmapPaletteTypeCustom);
    if (FAILED(hr)) return hr_failure(hr, "IWICFormatConverter::Initialize");

    BgraImage image;
    hr = converter->GetSize(&image.width, &image.height);
    if (FAILED(hr)) return hr_failure(hr, "IWICBitmapSource::GetSize");
    if (image.width != width || image.height != height || width == 0 || height == 0 || width >= 0x20000000u)
        return invalid_input("PNG of " + std::to_string(image.width) + " x " + std::to_string(image.height) +
                             " pixels where " + std::to_string(width) + " x " + std::to_string(height) +
                             " were expected");
    const std::uint32_t stride = image.width * 4;
    image.pixels.resize(std::size_t{stride} * image.height);
    // CopyPixels takes its buffer length as 32 bits: large pictures go in bands.
    const std::uint32_t band = std::max<std::uint32_t>(1, 0x7FFFFFFFu / stride);
    for (std::uint32_t first = 0; first < image.height;) {
        const std::uint32_t rows = std::min(band, image.height - first);
        const WICRect rect{0, static_cast<INT>(first), static_cast<INT>(image.width), static_cast<INT>(rows)};
        hr = converter->CopyPixels(&rect, stride, rows * stride, image.pixels.data() + std::size_t{first} * stride);
        if (FAILED(hr)) return hr_failure(hr, "IWICBitmapSource::CopyPixels");
        first += rows;
    }
    return image;
}

}  // namespace

Result<BgraImage> decode_png(std::span<const std::uint8_t> png, std::uint32_t width, std::uint32_t height) {
    try {
        return decode(png, width, height);
    } catch (const std::bad_alloc&) {
        return out_of_memory("Decoding a PNG");
    }
}

}  // namespace glimmerly
