#include "app/session/image_save.h"

#include <string_view>

#include "app/image/image_encoder.h"
#include "app/lib/atomic_write.h"

namespace glimmerly {
namespace {

// The file is encoded in memory first: the atomic writer then owns the whole
// road to disk (temporary name, flush, move, clean-up), and an encoder that
// fails half-way has written nothing at all.
Result<std::wstring> save(const BgraImage& picture, const std::wstring& path, ImageFormat format,
                          bool keep_existing) {
    auto bytes = encode_image(picture, format);
    if (!bytes) return std::move(bytes).failure();
    const std::string_view view(reinterpret_cast<const char*>(bytes->data()), bytes->size());
    return write_file_atomically(view, path, keep_existing);
}

}  // namespace

Status save_image_atomically(const BgraImage& picture, const std::wstring& path, ImageFormat format) {
    GLIM_TRY(save(picture, path, format, false));
    return ok_status();
}

Result<std::wstring> save_image_without_replacing(const BgraImage& picture, const std::wstring& path,
                                                  ImageFormat format) {
    return save(picture, path, format, true);
}

}  // namespace glimmerly
