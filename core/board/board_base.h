#pragma once
// The board's record of the desktop wallpaper, "base.txt" in the board
// folder: what each screen showed before the board was baked into it (to be
// given back by the restore) and which baked picture it got, with the
// wallpaper position and background colour of the user's own desktop.
//
// The file is small and line-based so that a damaged one is refused whole:
// the reader never guesses, and never changes the file.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/result.h"
#include "core/base/rgb.h"

namespace glimmerly {

// The DESKTOP_WALLPAPER_POSITION values.
enum class WallpaperPosition : std::uint8_t { Center = 0, Tile = 1, Stretch = 2, Fit = 3, Fill = 4, Span = 5 };

// A position as the platform reports it: 6 and above read as fill.
constexpr WallpaperPosition wallpaper_position_from(std::uint32_t value) {
    return value <= 5 ? static_cast<WallpaperPosition>(value) : WallpaperPosition::Fill;
}

struct BoardBaseScreen {
    std::string screen;                  // the monitor's device path (UTF-8), never empty, no white space
    std::optional<std::u16string> image;  // the user's own wallpaper there
    std::optional<std::u16string> baked;  // the baked picture last set there

    friend bool operator==(const BoardBaseScreen&, const BoardBaseScreen&) = default;
};

struct BoardBase {
    std::vector<BoardBaseScreen> screens;  // file order; duplicates kept, lookups take the first
    WallpaperPosition position = WallpaperPosition::Fill;
    Rgb colour;

    friend bool operator==(const BoardBase&, const BoardBase&) = default;
};

// The first screen whose id is byte-for-byte `id`; null when none.
BoardBaseScreen* find_base_screen(BoardBase& base, std::string_view id);
const BoardBaseScreen* find_base_screen(const BoardBase& base, std::string_view id);

// Unicode White_Space, which a screen id must not contain.
bool is_unicode_white_space(char32_t c);
// Non-empty valid UTF-8 without white space.
bool is_valid_screen_id(std::string_view id);

// The file's text: LF line ends, paths as their display text (an unpaired
// surrogate becomes U+FFFD). Also one input of the bake fingerprint.
std::string format_board_base(const BoardBase& base);

// The record in the text, or the application error "error.board_base_damaged"
// for any fault: CRLF, a missing final line feed, a trailing empty line,
// version other than 1, position beyond 5, a screen without its image and
// baked lines.
Result<BoardBase> parse_board_base(std::string_view text);

}  // namespace glimmerly
