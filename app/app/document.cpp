#include "app/app/document.h"

#include <windows.h>

#include "app/image/png_decoder.h"
#include "app/win/failure.h"
#include "app/win/file_io.h"
#include "text/app_error.h"

namespace glimmerly {

Result<OpenedDocument> load_vexil_document(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &attributes))
        return win::win32_failure("GetFileAttributesExW", path);
    const std::uint64_t size = (std::uint64_t{attributes.nFileSizeHigh} << 32) | attributes.nFileSizeLow;
    if (size > kMaxDocumentBytes) return document_read_error(DocumentReadErrorKind::Damaged);

    auto bytes = win::read_file_if_exists(path, kMaxDocumentBytes);
    if (!bytes) return std::move(bytes).failure();
    if (!*bytes) return win::win32_failure_code(ERROR_FILE_NOT_FOUND, "ReadFile", path);
    const std::string& data = **bytes;
    const std::span<const std::uint8_t> view(reinterpret_cast<const std::uint8_t*>(data.data()), data.size());
    return open_vexil_document(view, [](std::span<const std::uint8_t> png) {
        return decode_png(png, kMaxFrameSide);
    });
}

}  // namespace glimmerly
