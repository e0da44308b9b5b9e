#pragma once
// What a save writes: the Save dialog's three file types, the editable
// document's extension, and how the proposed file name follows a change of
// type or folder.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/paths/path_names.h"

namespace glimmerly {

// The Save dialog's file types as the dialog counts them (from 1).
inline constexpr std::uint32_t SAVE_TYPE_PNG = 1;
inline constexpr std::uint32_t SAVE_TYPE_JPEG = 2;
inline constexpr std::uint32_t SAVE_TYPE_DOCUMENT = 3;

inline constexpr std::u16string_view DOCUMENT_EXTENSION = u"vexil";

// The last component's extension is the document's, ASCII case-insensitively.
bool is_document_path(std::u16string_view path);

constexpr std::uint32_t save_type_of(ImageFormat format) {
    return format == ImageFormat::Jpeg ? SAVE_TYPE_JPEG : SAVE_TYPE_PNG;
}
// The picture format a type writes: none for the editable document, PNG for
// an index the dialog should never give.
std::optional<ImageFormat> image_format_of_save_type(std::uint32_t type);
// "png", "jpg" or "vexil" (PNG's for an unknown index).
std::u16string_view save_type_extension(std::uint32_t type);

// What a chosen path of a chosen type writes: the path's own extension wins
// (a document's, then a picture's); without either, the type decides. None
// means the editable document.
std::optional<ImageFormat> chosen_image_format(std::u16string_view path, std::uint32_t type);

// What happens to the name in the dialog's name box when the type or the
// folder changes. A name the user typed keeps its stem: only an extension of
// another type is swapped, and a name without a known extension is left to
// the dialog's default extension. An empty box, a default numbered name or a
// folder's name is replaced by the next free number of the folder shown.
enum class SaveNameAction : std::uint8_t { Keep, Rename, Renumber };
struct SaveNameChange {
    SaveNameAction action = SaveNameAction::Keep;
    std::u16string name;  // for Rename
};
SaveNameChange save_name_change(std::u16string_view name, std::uint32_t type, bool names_folder);

}  // namespace glimmerly
