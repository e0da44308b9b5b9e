#include "app/image/image_decoder.h"

#include <objbase.h>
#include <wincodec.h>
#include <windows.h>

#include <new>
#include <optional>

#include "app/win/com.h"
#include "app/win/failure.h"
#include "app/win/owners.h"
#include "core/image/image_limits.h"
#include "core/vexil/png.h"

namespace glimmerly {

using win::ComPtr;
using win::hr_failure;

namespace {

struct ExpectedSize {
    std::uint32_t width;
    std::uint32_t height;
};

Result<BgraImage> read_first_frame(IWICImagingFactory& factory, IWICBitmapDecoder& decoder,
                                   std::optional<ExpectedSize> expected, const ImageSizeCheck& accept_size = {}) {
    ComPtr<IWICBitmapFrameDecode> frame;
    HRESULT hr = decoder.GetFrame(0, frame.put());
    if (FAILED(hr)) return hr_failure(hr, "IWICBitmapDecoder::GetFrame");
    BgraImage picture;
    hr = frame->GetSize(&picture.width, &picture.height);
    if (FAILED(hr)) return hr_failure(hr, "IWICBitmapSource::GetSize");
    if (expected && (picture.width != expected->width || picture.height != expected->height))
        return invalid_input("Unexpected image size");
    // The size is the file's claim: it is judged before a byte is allocated.
    const std::optional<std::uint32_t> bytes = imaging_buffer_size(picture.width, picture.height);
    if (!bytes) return invalid_input("Invalid BGRA image dimensions or buffer length");
    if (accept_size) GLIM_TRY(accept_size(picture.width, picture.height));

    ComPtr<IWICFormatConverter> converter;
    hr = factory.CreateFormatConverter(converter.put());
    if (FAILED(hr)) return hr_failure(hr, "IWICImagingFactory::CreateFormatConverter");
    hr = converter->Initialize(frame.get(), GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                               WICBitmapPaletteTypeCustom);
    if (FAILED(hr)) return hr_failure(hr, "IWICFormatConverter::Initialize");

    // Opaque black where a decoder leaves pixels unwritten.
    picture.pixels.resize(*bytes);
    for (std::size_t i = 3; i < picture.pixels.size(); i += 4) picture.pixels[i] = 0xFF;
    hr = converter->CopyPixels(nullptr, picture.width * 4, *bytes, picture.pixels.data());
    if (FAILED(hr)) return hr_failure(hr, "IWICBitmapSource::CopyPixels");
    return picture;
}

Result<BgraImage> decode_png(std::span<const std::uint8_t> png, std::uint32_t width, std::uint32_t height) {
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
    hr = (*factory)->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnLoad, decoder.put());
    if (FAILED(hr)) return hr_failure(hr, "IWICImagingFactory::CreateDecoderFromStream");
    GUID container{};
    hr = decoder->GetContainerFormat(&container);
    if (FAILED(hr)) return hr_failure(hr, "IWICBitmapDecoder::GetContainerFormat");
    if (!IsEqualGUID(container, GUID_ContainerFormatPng)) return invalid_input("Not a PNG image");
    return read_first_frame(*factory->get(), *decoder.get(), ExpectedSize{width, height});
}

// The size a PNG file's header claims, read from its first bytes; none for
// a file that cannot be read or does not begin as a PNG.
std::optional<PngSize> png_file_size(const std::wstring& path) {
    const auto head = read_png_head(path);
    if (!head) return std::nullopt;
    return png_header_size(*head);
}

Result<BgraImage> load_file(const std::wstring& path, const ImageSizeCheck& accept_size) {
    // Wine's PNG decoder unpacks the whole picture as the decoder is made,
    // before its size can be asked: a PNG's claim is judged from its header
    // first.
    if (accept_size) GLIM_TRY(check_image_file_claim(path, accept_size));
    auto factory = win::create_instance<IWICImagingFactory>(CLSID_WICImagingFactory);
    if (!factory) return std::move(factory).failure();
    ComPtr<IWICBitmapDecoder> decoder;
    const HRESULT hr = (*factory)->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                             WICDecodeMetadataCacheOnLoad, decoder.put());
    if (FAILED(hr)) return hr_failure(hr, "IWICImagingFactory::CreateDecoderFromFilename " + win::to_utf8(path));
    return read_first_frame(*factory->get(), *decoder.get(), std::nullopt, accept_size);
}

}  // namespace

Result<BgraImage> decode_png_bytes(std::span<const std::uint8_t> png, std::uint32_t width, std::uint32_t height) {
    try {
        return decode_png(png, width, height);
    } catch (const std::bad_alloc&) {
        return out_of_memory("Decoding a PNG");
    }
}

Result<BgraImage> load_image_file(const std::wstring& path) { return load_image_file(path, ImageSizeCheck{}); }

Result<BgraImage> load_image_file(const std::wstring& path, std::uint64_t max_pixels) {
    return load_image_file(path, [max_pixels](std::uint32_t width, std::uint32_t height) -> Status {
        if (std::uint64_t{width} * height > max_pixels) return invalid_input("Image too large");
        return ok_status();
    });
}

Result<BgraImage> load_image_file(const std::wstring& path, const ImageSizeCheck& accept_size) {
    try {
        return load_file(path, accept_size);
    } catch (const std::bad_alloc&) {
        return out_of_memory("Decoding an image file");
    }
}

Result<std::vector<std::uint8_t>> read_png_head(const std::wstring& path) {
    win::UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return win::win32_failure("CreateFileW", path);
    std::vector<std::uint8_t> head(33);  // signature and a whole header chunk
    DWORD read = 0;
    if (!ReadFile(file.get(), head.data(), static_cast<DWORD>(head.size()), &read, nullptr))
        return win::win32_failure("ReadFile", path);
    head.resize(read);
    return head;
}

Status check_image_file_claim(const std::wstring& path, const ImageSizeCheck& accept_size) {
    if (const auto claimed = png_file_size(path)) return accept_size(claimed->width, claimed->height);
    return ok_status();
}

}  // namespace glimmerly
