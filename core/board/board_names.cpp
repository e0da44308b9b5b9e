#include "core/board/board_names.h"

#include "core/base/ascii.h"
#include "core/paths/path_names.h"

namespace glimmerly {
namespace {

constexpr std::size_t kStemPrefixLetters = 24;
constexpr char kHexDigits[] = "0123456789abcdef";

bool is_ascii_alphanumeric(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

bool is_hex_digit(char16_t c) {
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

bool is_valid_utf16(std::u16string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (i + 1 >= text.size() || text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF) return false;
            ++i;
        } else if (c >= 0xDC00 && c <= 0xDFFF) {
            return false;
        }
    }
    return true;
}

bool is_separator(char16_t c) { return c == u'\\' || c == u'/'; }

// The folder that holds the path's last component, as something that can be
// opened: a drive's root keeps its separator ("C:" alone names the current
// folder of that drive).
std::u16string parent_folder(std::u16string_view path) {
    std::u16string folder(folder_of(path));
    if (folder.empty() && !path.empty() && is_separator(path.front())) return u"\\";
    if (folder.size() == 2 && folder[1] == u':') folder += u'\\';
    return folder;
}

// Component by component: separators of either kind, repeated or trailing,
// and "." steps do not make two paths differ.
bool same_components(std::u16string_view a, std::u16string_view b) {
    auto next = [](std::u16string_view& path) -> std::u16string_view {
        for (;;) {
            while (!path.empty() && is_separator(path.front())) path.remove_prefix(1);
            std::size_t end = 0;
            while (end < path.size() && !is_separator(path[end])) ++end;
            const std::u16string_view part = path.substr(0, end);
            path.remove_prefix(end);
            if (part != u".") return part;
        }
    };
    for (;;) {
        const std::u16string_view x = next(a), y = next(b);
        if (x != y) return false;
        if (x.empty()) return true;
    }
}

}  // namespace

std::uint64_t fnv1a_64(std::string_view bytes) {
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3ull;
    }
    return hash;
}

std::string screen_file_stem(std::string_view screen_id) {
    std::string stem;
    for (const char c : screen_id) {
        if (stem.size() == kStemPrefixLetters) break;
        if (is_ascii_alphanumeric(c)) stem += c;
    }
    stem += '-';
    const std::uint64_t hash = fnv1a_64(screen_id);
    for (int shift = 60; shift >= 0; shift -= 4) stem += kHexDigits[(hash >> shift) & 15];
    return stem;
}

std::u16string baked_picture_name(std::string_view screen_id) {
    const std::string stem = screen_file_stem(screen_id);  // ASCII only
    return u"baked-" + std::u16string(stem.begin(), stem.end()) + u".png";
}

bool is_baked_picture_path(std::u16string_view path) {
    const std::u16string_view name = file_name_of(path);
    if (name.empty() || name == u"." || name == u".." || !is_valid_utf16(name)) return false;
    std::u16string lower(name);
    for (char16_t& c : lower) c = ascii_lower(c);
    constexpr std::u16string_view kPrefix = u"baked-", kSuffix = u".png";
    if (lower.size() < 10 || !lower.starts_with(kPrefix) || !lower.ends_with(kSuffix)) return false;
    const std::u16string_view middle =
        std::u16string_view(lower).substr(kPrefix.size(), lower.size() - kPrefix.size() - kSuffix.size());
    const std::size_t dash = middle.rfind(u'-');
    if (dash == std::u16string_view::npos) return false;
    const std::u16string_view digits = middle.substr(dash + 1);
    if (digits.size() != 16) return false;
    for (const char16_t c : digits)
        if (!is_hex_digit(c)) return false;
    return true;
}

bool is_program_picture_path(std::u16string_view path) {
    if (is_baked_picture_path(path)) return true;
    const std::u16string_view name = file_name_of(path);
    constexpr std::u16string_view kSpan = kLayerSpanPictureName;
    if (name.size() != kSpan.size()) return false;
    for (std::size_t i = 0; i < name.size(); ++i)
        if (ascii_lower(name[i]) != kSpan[i]) return false;
    return true;
}

std::u16string normalise_wallpaper_path(std::u16string_view path, const PathRules& rules) {
    std::u16string text(path);
    for (char16_t& c : text)
        if (c == u'/') c = u'\\';
    return rules.lower_case(text);
}

bool same_wallpaper_path(const std::optional<std::u16string>& a, const std::optional<std::u16string>& b,
                         const PathRules& rules) {
    if (!a || !b) return !a && !b;
    if (normalise_wallpaper_path(*a, rules) == normalise_wallpaper_path(*b, rules)) return true;
    const std::u16string_view name_a = file_name_of(*a), name_b = file_name_of(*b);
    if (name_a.empty() || name_a == u"..") return false;
    if (rules.lower_case(name_a) != rules.lower_case(name_b)) return false;
    const std::u16string folder_a = parent_folder(*a), folder_b = parent_folder(*b);
    if (folder_a.empty() || folder_b.empty()) return false;
    const auto canonical_a = rules.canonical_folder(folder_a);
    if (!canonical_a) return false;
    const auto canonical_b = rules.canonical_folder(folder_b);
    if (!canonical_b) return false;
    return same_components(*canonical_a, *canonical_b);
}

std::optional<std::u16string> user_wallpaper_path(const std::optional<std::u16string>& path) {
    if (!path || path->empty() || is_program_picture_path(*path)) return std::nullopt;
    return path;
}

}  // namespace glimmerly
