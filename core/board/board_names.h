#pragma once
// Names in the board folder and the comparison of wallpaper paths.
//
// Baked pictures are named after their screen, "baked-<stem>.png", so that
// every screen keeps its own file and any baked picture is recognised by its
// name alone: the desktop may show one of an older bake or of another screen.
//
// Wallpaper paths come back from the platform in whatever form it stored:
// other separators, other letter case, a folder reached through "..". Whether
// two paths name one picture needs the platform's lower-casing and its
// canonical folder names, which are injected (PathRules) so that the rules
// themselves are tested natively.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace glimmerly {

inline constexpr char16_t kBaseFileName[] = u"base.txt";
inline constexpr char16_t kPageFileName[] = u"page-1.txt";
inline constexpr char16_t kBakedFingerprintFileName[] = u"baked.txt";
// The one picture of the virtual screen that the program's own wallpaper
// layer composes where the platform keeps a single desktop picture.
inline constexpr char16_t kLayerSpanPictureName[] = u"wallpaper-span.png";

// FNV-1a 64 (the published offset basis and prime).
std::uint64_t fnv1a_64(std::string_view bytes);

// The screen id's first 24 ASCII letters and digits, "-", and the FNV-1a 64
// hash of its UTF-8 bytes as 16 lower-case hex digits.
std::string screen_file_stem(std::string_view screen_id);
// "baked-<stem>.png".
std::u16string baked_picture_name(std::string_view screen_id);

// Whether the path's last component is a baked picture's name of any screen
// or bake: "baked-", anything, "-", 16 hex digits, ".png" (ASCII case
// ignored).
bool is_baked_picture_path(std::u16string_view path);

// A picture the program itself put on the desktop: a baked picture, or the
// wallpaper layer's span picture. Never the user's own.
bool is_program_picture_path(std::u16string_view path);

// The platform's part of comparing paths.
class PathRules {
public:
    virtual ~PathRules() = default;
    // Unicode lower-casing (Windows: LCMapStringEx with the invariant locale).
    virtual std::u16string lower_case(std::u16string_view text) const = 0;
    // The file system's final path of an existing folder; none when it does
    // not exist or cannot be opened.
    virtual std::optional<std::u16string> canonical_folder(std::u16string_view folder) const = 0;
};

// Every "/" made "\" and the whole lower-cased.
std::u16string normalise_wallpaper_path(std::u16string_view path, const PathRules& rules);

// Both absent, or the same text once normalised, or the same file name
// (case ignored) in two existing folders with one canonical path.
bool same_wallpaper_path(const std::optional<std::u16string>& a, const std::optional<std::u16string>& b,
                         const PathRules& rules);

// The path as the user's own wallpaper: none when absent, empty or a picture
// of the program's own.
std::optional<std::u16string> user_wallpaper_path(const std::optional<std::u16string>& path);

}  // namespace glimmerly
