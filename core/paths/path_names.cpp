#include "core/paths/path_names.h"

#include <limits>

#include "core/base/ascii.h"
#include "core/base/utf.h"
#include "text/text_table.h"

namespace glimmerly {
namespace {

bool is_separator(char16_t c) { return c == u'\\' || c == u'/'; }

std::size_t last_separator(std::u16string_view path) {
    for (std::size_t i = path.size(); i > 0; --i)
        if (is_separator(path[i - 1])) return i - 1;
    return std::u16string_view::npos;
}

// Where the extension's dot stands in the file name, if it has one.
std::optional<std::size_t> extension_dot(std::u16string_view name) {
    if (name == u"..") return std::nullopt;
    const std::size_t dot = name.rfind(u'.');
    if (dot == std::u16string_view::npos || dot == 0) return std::nullopt;
    return dot;
}

bool is_image_extension(std::u16string_view extension) {
    return ascii_iequals(extension, u"png") || ascii_iequals(extension, u"jpg") ||
           ascii_iequals(extension, u"jpeg");
}

}  // namespace

std::u16string_view file_name_of(std::u16string_view path) {
    const std::size_t separator = last_separator(path);
    return separator == std::u16string_view::npos ? path : path.substr(separator + 1);
}

std::u16string_view folder_of(std::u16string_view path) {
    const std::size_t separator = last_separator(path);
    return separator == std::u16string_view::npos ? std::u16string_view{} : path.substr(0, separator);
}

std::u16string join_path(std::u16string_view folder, std::u16string_view name) {
    std::u16string out(folder);
    if (!out.empty() && !is_separator(out.back())) out += u'\\';
    out += name;
    return out;
}

std::optional<std::u16string_view> extension_of(std::u16string_view path) {
    const std::u16string_view name = file_name_of(path);
    const auto dot = extension_dot(name);
    if (!dot) return std::nullopt;
    return name.substr(*dot + 1);
}

std::u16string with_extension(std::u16string_view path, std::u16string_view extension) {
    const std::u16string_view name = file_name_of(path);
    const auto dot = extension_dot(name);
    std::u16string out(path.substr(0, path.size() - (dot ? name.size() - *dot : 0)));
    out += u'.';
    out += extension;
    return out;
}

std::u16string temporary_path(std::u16string_view target, std::uint32_t process_id) {
    const std::string id = std::to_string(process_id);
    return with_extension(target, std::u16string(id.begin(), id.end()) + u".tmp");
}

std::optional<ImageFormat> image_format_from_extension(std::u16string_view path) {
    const auto extension = extension_of(path);
    if (!extension) return std::nullopt;
    if (ascii_iequals(*extension, u"png")) return ImageFormat::Png;
    if (ascii_iequals(*extension, u"jpg") || ascii_iequals(*extension, u"jpeg")) return ImageFormat::Jpeg;
    return std::nullopt;
}

std::optional<std::uint64_t> classify_save_name(std::u16string_view path) {
    const std::u16string_view name = file_name_of(path);
    const auto dot = extension_dot(name);
    if (!dot) return std::nullopt;
    const std::u16string_view extension = name.substr(*dot + 1);
    if (!is_image_extension(extension) && !ascii_iequals(extension, u"vexil")) return std::nullopt;

    // The stem must be text (no unpaired surrogate); white space is matched
    // on code points, so work in UTF-8.
    const std::u16string_view stem16 = name.substr(0, *dot);
    const std::string stem_utf8 = utf16_to_utf8(stem16);
    if (stem16.empty() || utf8_to_utf16(stem_utf8) != std::u16string(stem16)) return std::nullopt;
    std::string stem;
    for (char c : stem_utf8) stem += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;

    std::string_view rest = stem;
    for (std::string_view prefix : {"brindlet", "capture"}) {
        if (rest.starts_with(prefix)) {
            rest.remove_prefix(prefix.size());
            if (rest.empty()) return std::nullopt;
            break;
        }
    }
    // Only leading white space may go: the digits must run to the end.
    const std::string_view digits = trim_unicode_space(rest);
    if (digits.empty() || digits.data() + digits.size() != rest.data() + rest.size()) return std::nullopt;
    std::uint64_t number = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        const std::uint64_t digit = static_cast<std::uint64_t>(c - '0');
        if (number > (std::numeric_limits<std::uint64_t>::max() - digit) / 10) return std::nullopt;
        number = number * 10 + digit;
    }
    return number;
}

std::optional<std::u16string> numbered_file_name(std::uint64_t largest, ImageFormat format) {
    if (largest == std::numeric_limits<std::uint64_t>::max()) return std::nullopt;
    std::string digits = std::to_string(largest + 1);
    if (digits.size() < 3) digits.insert(0, 3 - digits.size(), '0');
    std::u16string name(digits.begin(), digits.end());
    name += format == ImageFormat::Jpeg ? u".jpg" : u".png";
    return name;
}

}  // namespace glimmerly
