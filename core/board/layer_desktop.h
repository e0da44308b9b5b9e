#pragma once
// The decisions of the program's own wallpaper layer, which gives each
// monitor its own picture where the platform keeps one desktop picture and
// one style for all of them (Windows before 8, Wine).
//
// The layer keeps a record of every monitor's picture and position (in the
// format of "base.txt"). While the monitors' pictures differ it composes
// them into one picture of the virtual screen, set with the span style.
// Once every monitor is to show the same picture (or none), that picture
// itself is set with the record's own style and tile flag: the desktop is
// then exactly the user's again, and nothing of the layer is left on it.

#include <optional>
#include <span>
#include <string>

#include "core/board/board_base.h"
#include "core/board/board_names.h"
#include "core/board/board_page.h"

namespace glimmerly {

struct LayerDesktop {
    bool spanned = false;  // every monitor's picture composed into the span picture
    // Otherwise the one desktop picture (none: no picture) and its position.
    std::optional<std::u16string> picture;
    WallpaperPosition position = WallpaperPosition::Fill;

    friend bool operator==(const LayerDesktop&, const LayerDesktop&) = default;
};

// What the desktop must show for the record on these monitors. A monitor
// the record does not name shows no picture.
LayerDesktop layer_desktop_for(const BoardBase& record, std::span<const BoardScreen> monitors,
                               const PathRules& rules);

// The record of a desktop that shows one picture (or none) in one position
// on every monitor.
BoardBase layer_record_of_desktop(std::span<const BoardScreen> monitors, const std::optional<std::u16string>& picture,
                                  WallpaperPosition position, Rgb colour);

}  // namespace glimmerly
