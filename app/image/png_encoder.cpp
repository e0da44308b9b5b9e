#include "app/image/png_encoder.h"

#include <objbase.h>
#include <wincodec.h>
#include <windows.h>

#include <algorithm>

#include "app/win/com.h"
#include "app/win/failure.h"

namespace glimmerly {

namespace {

using win::ComPtr;
using win::hr_failure;

// WritePixels takes its buffer length as 32 bits, so a picture too large for
// that goes in bands of whole rows (each call appends below the last).
Status write_rows(IWICBitmapFrameEncode& frame, const BgraImage& image) {
    const std::uint32_t stride = image.width * 4;  // below 2^31 for a valid image
    const std::uint32_t band = std::max<std::uint32_t>(1, 0x7FFFFFFFu / stride);
    for (std::uint32_t first = 0; first < image.height;) {
        const std::uint32_t rows = std::min(band, image.height - first);
        auto* bytes = const_cast<BYTE*>(image.pixels.data() + std::size_t{first} * stride);
        const HRESULT hr = frame.WritePixels(rows, stride, rows * stride, bytes);
        if (FAILED(hr)) return hr_failure(hr, "IWICBitmapFrameEncode::WritePixels");
        first += rows;
    }
    return ok_status();
}

Status encode_png_onto(IWICImagingFactory& factory, IStream& stream, const BgraImage& image) {
    ComPtr<IWICBitmapEncoder> encoder;
    HRESULT hr = factory.CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.put());
    if (FAILED(hr)) return hr_failure(hr, "IWICImagingFactory::CreateEncoder");
    hr = encoder->Initialize(&stream, WICBitmapEncoderNoCache);
    if (FAILED(hr)) return hr_failure(hr, "IWICBitmapEncoder::Initialize");

    ComPtr<IWICBitmapFrameEncode> frame;
    ComPtr<IPropertyBag2> options;
    hr = encoder->CreateNewFrame(frame.put(), options.put());
    if (FAILED(hr)) return hr_failure(hr, "IWICBitmapEncoder::CreateNewFrame");
    if (!frame) return plain_failure("Image frame missing");
    hr = frame->Initialize(options.get());
    if (FAILED(hr)) return hr_failure(hr, "IWICBitmapFrameEncode::Initialize");
    hr = frame->SetSize(image.width, image.height);
    if (FAILED(hr)) return hr_failure(hr, "IWICBitmapFrameEncode::SetSize");

    // Alpha is kept: a grab is opaque anyway, and a picture that carries
    // transparency must not lose it on the way to disk.
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
    hr = frame->SetPixelFormat(&format);
    if (FAILED(hr)) return hr_failure(hr, "IWICBitmapFrameEncode::SetPixelFormat");
    // Our bytes are written as they are, so a frame in any other layout
    // would hold a scrambled picture.
    if (!IsEqualGUID(format, GUID_WICPixelFormat32bppBGRA))
        return plain_failure("The PNG encoder does not take 32-bit BGRA pixels");

    GLIM_TRY(write_rows(*frame.get(), image));
    hr = frame->Commit();
    if (FAILED(hr)) return hr_failure(hr, "IWICBitmapFrameEncode::Commit");
    hr = encoder->Commit();
    if (FAILED(hr)) return hr_failure(hr, "IWICBitmapEncoder::Commit");
    return ok_status();
}

Result<std::vector<std::uint8_t>> read_whole_stream(IStream& stream) {
    STATSTG stat{};
    HRESULT hr = stream.Stat(&stat, STATFLAG_NONAME);
    if (FAILED(hr)) return hr_failure(hr, "IStream::Stat");
    hr = stream.Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr);
    if (FAILED(hr)) return hr_failure(hr, "IStream::Seek");

    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(stat.cbSize.QuadPart));
    std::size_t done = 0;
    while (done < bytes.size()) {
        // Read takes a 32-bit count.
        const ULONG want = static_cast<ULONG>(std::min<std::size_t>(bytes.size() - done, 0x40000000u));
        ULONG got = 0;
        hr = stream.Read(bytes.data() + done, want, &got);
        if (FAILED(hr)) return hr_failure(hr, "IStream::Read");
        if (got == 0) return plain_failure("Incomplete PNG");
        done += got;
    }
    return bytes;
}

}  // namespace

Result<std::vector<std::uint8_t>> encode_png(const BgraImage& image) {
    if (!is_valid_bgra_image(image)) return invalid_input("Invalid BGRA image dimensions or buffer length");

    ComPtr<IStream> stream;
    const HRESULT hr = CreateStreamOnHGlobal(nullptr, TRUE, stream.put());
    if (FAILED(hr)) return hr_failure(hr, "CreateStreamOnHGlobal");
    if (!stream) return hr_failure(E_OUTOFMEMORY, "CreateStreamOnHGlobal");
    auto factory = win::create_instance<IWICImagingFactory>(CLSID_WICImagingFactory);
    if (!factory) return std::move(factory).failure();

    GLIM_TRY(encode_png_onto(*factory->get(), *stream.get(), image));
    return read_whole_stream(*stream.get());
}

}  // namespace glimmerly
