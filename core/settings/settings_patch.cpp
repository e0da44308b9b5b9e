#include "core/settings/settings_patch.h"

namespace glimmerly {

void apply_settings_patch(Settings& s, const SettingsPatch& patch) {
    if (patch.capture_stroke_width) s.capture_stroke_width = *patch.capture_stroke_width;
    if (patch.capture_eraser_size) s.capture_eraser_size = *patch.capture_eraser_size;
    if (patch.custom_color) s.custom_color = *patch.custom_color;
    if (patch.board_visible) s.board_visible = *patch.board_visible;
    if (patch.wheel_hint) s.wheel_hint = *patch.wheel_hint;
    if (patch.mini_toolbar_folded) s.mini_toolbar_folded = *patch.mini_toolbar_folded;
    if (patch.save_choice) {
        s.save_folder = patch.save_choice->folder;
        s.save_format = patch.save_choice->format;
    }
    if (patch.presentation_stroke_width) s.presentation_stroke_width = *patch.presentation_stroke_width;
    if (patch.input_display_offset) s.input_display_offset = *patch.input_display_offset;
}

Settings settings_to_commit(const Settings& changed, const Settings& on_disk) {
    Settings out = changed;
    apply_settings_patch(out, SettingsPatch{
                                  .capture_stroke_width = on_disk.capture_stroke_width,
                                  .capture_eraser_size = on_disk.capture_eraser_size,
                                  .custom_color = on_disk.custom_color,
                                  .board_visible = on_disk.board_visible,
                                  .wheel_hint = on_disk.wheel_hint,
                                  .mini_toolbar_folded = on_disk.mini_toolbar_folded,
                                  .save_choice = SaveChoice{on_disk.save_folder, on_disk.save_format},
                              });
    return out;
}

}  // namespace glimmerly
