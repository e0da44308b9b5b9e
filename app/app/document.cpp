#include "app/app/document.h"

#include <windows.h>

#include <new>

#include "app/image/image_decoder.h"
#include "app/image/image_encoder.h"
#include "app/win/failure.h"
#include "app/win/file_io.h"
#include "core/editor/capture_document.h"
#include "text/app_error.h"

namespace glimmerly {
namespace {

Result<std::vector<std::uint8_t>> encode(const EditorState& editor, const BgraImage& frame, ScreenOrigin frame_origin,
                                         const BgraImage& picture) {
    const auto document = compose_capture_document(editor, frame, frame_origin);
    if (!document) return document.failure();
    const auto picture_png = encode_png(picture);
    if (!picture_png) return picture_png.failure();
    const auto frame_png = encode_png(document->frame);
    if (!frame_png) return frame_png.failure();
    return write_vexil_document(document->scene, *picture_png, *frame_png);
}

Result<OpenedDocument> load(const std::wstring& path, const FrameCheck& accept_frame) {
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &attributes))
        return win::win32_failure("GetFileAttributesExW", path);
    const std::uint64_t size = (std::uint64_t{attributes.nFileSizeHigh} << 32) | attributes.nFileSizeLow;
    if (size > kMaxDocumentBytes) return document_read_error(DocumentReadErrorKind::Damaged, "The file passes 256 MiB");

    auto bytes = win::read_file_if_exists(path, kMaxDocumentBytes);
    if (!bytes) return std::move(bytes).failure();
    if (!*bytes) return win::win32_failure_code(ERROR_FILE_NOT_FOUND, "ReadFile", path);
    const std::string& data = **bytes;
    const std::span<const std::uint8_t> view(reinterpret_cast<const std::uint8_t*>(data.data()), data.size());
    return open_vexil_document(
        view,
        [](std::span<const std::uint8_t> png, FrameSize expected) {
            return decode_png_bytes(png, expected.width, expected.height);
        },
        accept_frame);
}

}  // namespace

Result<std::vector<std::uint8_t>> encode_vexil_document(const EditorState& editor, const BgraImage& frame,
                                                        ScreenOrigin frame_origin, const BgraImage& picture) {
    try {
        return encode(editor, frame, frame_origin, picture);
    } catch (const std::bad_alloc&) {
        return out_of_memory("Saving an editable document");
    }
}

Result<OpenedDocument> load_vexil_document(const std::wstring& path, const FrameCheck& accept_frame) {
    try {
        return load(path, accept_frame);
    } catch (const std::bad_alloc&) {
        return out_of_memory("Opening an editable document");
    }
}

}  // namespace glimmerly
