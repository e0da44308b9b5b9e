#pragma once
// Who owns which settings. Several writers share one file: the capture
// editor, the board and the save dialog each change only their own fields,
// and everything else belongs to the settings window and the menus. A write
// keeps the fields it does not own as the file holds them now.

#include <cstdint>
#include <optional>
#include <string>

#include "core/settings/settings.h"

namespace glimmerly {

// The folder and format remembered after a save.
struct SaveChoice {
    std::u16string folder;
    ImageFormat format = ImageFormat::Png;
};

// The fields one writer changes; absent fields stay as the file has them.
struct SettingsPatch {
    std::optional<std::uint32_t> capture_stroke_width;  // capture editor
    std::optional<std::uint32_t> capture_eraser_size;   // capture editor
    std::optional<Rgb> custom_color;                    // board
    std::optional<bool> board_visible;                  // board
    std::optional<bool> wheel_hint;                     // capture editor: the hint was used once
    std::optional<bool> mini_toolbar_folded;            // capture editor: the fold last chosen
    std::optional<SaveChoice> save_choice;              // save dialog
    std::optional<std::uint32_t> presentation_stroke_width;               // presentation overlays
    std::optional<std::optional<InputDisplayOffset>> input_display_offset;  // presentation overlays
};

void apply_settings_patch(Settings& settings, const SettingsPatch& patch);

// What a commit from the settings window or the menus writes: `changed`,
// except for the fields the editor, the board and the save dialog own, which
// keep their values `on_disk`, so that a window open for a while never undoes
// what they stored meanwhile.
Settings settings_to_commit(const Settings& changed, const Settings& on_disk);

}  // namespace glimmerly
