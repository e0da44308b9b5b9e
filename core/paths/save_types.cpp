#include "core/paths/save_types.h"

#include "core/base/ascii.h"

namespace glimmerly {

bool is_document_path(std::u16string_view path) {
    const auto extension = extension_of(path);
    return extension && ascii_iequals(*extension, DOCUMENT_EXTENSION);
}

std::optional<ImageFormat> image_format_of_save_type(std::uint32_t type) {
    if (type == SAVE_TYPE_DOCUMENT) return std::nullopt;
    return type == SAVE_TYPE_JPEG ? ImageFormat::Jpeg : ImageFormat::Png;
}

std::u16string_view save_type_extension(std::uint32_t type) {
    if (type == SAVE_TYPE_DOCUMENT) return DOCUMENT_EXTENSION;
    return type == SAVE_TYPE_JPEG ? u"jpg" : u"png";
}

std::optional<ImageFormat> chosen_image_format(std::u16string_view path, std::uint32_t type) {
    if (is_document_path(path)) return std::nullopt;
    if (const auto format = image_format_from_extension(path)) return format;
    return image_format_of_save_type(type);
}

SaveNameChange save_name_change(std::u16string_view name, std::uint32_t type, bool names_folder) {
    if (name.empty() || classify_save_name(name) || names_folder) return {SaveNameAction::Renumber, {}};
    const std::optional<ImageFormat> wanted = image_format_of_save_type(type);
    if (is_document_path(name)) {
        if (!wanted) return {};
    } else {
        const std::optional<ImageFormat> current = image_format_from_extension(name);
        if (!current || current == wanted) return {};
    }
    return {SaveNameAction::Rename, with_extension(name, save_type_extension(type))};
}

}  // namespace glimmerly
