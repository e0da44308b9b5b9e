#pragma once
// The user's settings as one record. Its defaults are also the whole record
// when the settings file does not exist.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "core/base/rgb.h"
#include "core/base/shortcut.h"
#include "core/paths/path_names.h"
#include "core/pointer/pointer_settings.h"
#include "text/text_table.h"

namespace glimmerly {

// Indices of `Settings::shape_shortcuts`.
inline constexpr std::size_t kShapeArrow = 0;
inline constexpr std::size_t kShapeRectangle = 1;
inline constexpr std::size_t kShapeEllipse = 2;

// Manual offset of the keyboard and mouse display, each 0..10000.
struct InputDisplayOffset {
    std::uint16_t x = 0;
    std::uint16_t y = 0;

    friend bool operator==(const InputDisplayOffset&, const InputDisplayOffset&) = default;
};

struct Settings {
    Shortcut capture_shortcut{0, 0};
    bool drawing_style = false;
    // UTF-16 code units as the platform gave them; unpaired surrogates survive.
    std::u16string save_folder;
    bool live_capture = false;
    std::uint32_t presentation_duration_ms = 3000;  // 1000, 3000 or 5000
    Rgb presentation_color_1{0xFF, 0xD3, 0x40};
    Rgb presentation_color_2{0xED, 0x4F, 0x5C};
    std::uint8_t input_display_position = 4;  // 0..5
    std::array<Shortcut, 3> shape_shortcuts{{{kShortcutAlt, 65}, {kShortcutAlt, 82}, {kShortcutAlt, 67}}};
    std::uint32_t presentation_stroke_width = 5;  // 1..40
    std::uint32_t presentation_arrow_size = 28;   // 16, 28 or 40
    std::optional<InputDisplayOffset> input_display_offset;
    Rgb custom_color{0xED, 0x4F, 0x5C};
    bool start_with_windows = true;
    std::uint32_t capture_stroke_width = 3;  // 1..40
    Shortcut instant_capture_shortcut{0, 145};  // Scroll Lock alone
    std::uint32_t input_display_size = 100;  // percent: 100, 150 or 200
    ImageFormat save_format = ImageFormat::Png;  // stored as its value
    Shortcut board_shortcut{kShortcutAlt, 66};
    bool board_visible = false;
    std::uint32_t capture_eraser_size = 14;  // 4..128
    Language language = LANGUAGE_AUTO;
    PointerSettings pointer;
    bool wheel_hint = false;
    bool mini_toolbar = false;
    bool mini_toolbar_folded = false;
    bool obs_mirror = false;

    friend bool operator==(const Settings&, const Settings&) = default;
};

}  // namespace glimmerly
