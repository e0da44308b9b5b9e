#pragma once
// Naming rules for the program's files, on Windows paths held as UTF-16 code
// units ("\" and "/" both separate components): the temporary sibling of an
// atomic replace, the image format of a name and the numbered default names
// (001.png, 002.jpg ...).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace glimmerly {

// The last component (empty for a path that ends in a separator).
std::u16string_view file_name_of(std::u16string_view path);
// Everything before the last separator; empty when there is none.
std::u16string_view folder_of(std::u16string_view path);
// `folder` and `name` with one separator between them; `name` alone for an
// empty folder.
std::u16string join_path(std::u16string_view folder, std::u16string_view name);

// The text after the last "." of the file name; none without a dot, for a
// name whose only dot is its first character, and for "..".
std::optional<std::u16string_view> extension_of(std::u16string_view path);

// The path with its extension (and its dot) replaced by "." + `extension`,
// or with it appended when there is none.
std::u16string with_extension(std::u16string_view path, std::u16string_view extension);

// The sibling that an atomic replace writes first: the extension replaced by
// the process id and "tmp" (photo.png and photo both give photo.4242.tmp).
std::u16string temporary_path(std::u16string_view target, std::uint32_t process_id);

enum class ImageFormat : std::uint8_t { Png, Jpeg };

// "png" gives PNG, "jpg" and "jpeg" JPEG, ASCII case-insensitively; any
// other extension, or none, gives none.
std::optional<ImageFormat> image_format_from_extension(std::u16string_view path);

// The number of a default numbered name ("007.png", "Brindlet 7.JPG",
// "capture12.vexil"), looking only at the last component; none for any
// other name.
std::optional<std::uint64_t> classify_save_name(std::u16string_view path);

// The default name that follows `largest` (zero-padded to three digits) with
// the format's extension, or none when the numbers are exhausted.
std::optional<std::u16string> numbered_file_name(std::uint64_t largest, ImageFormat format);

}  // namespace glimmerly
