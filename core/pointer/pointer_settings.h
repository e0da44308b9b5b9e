#pragma once
// The pointer effects of the presentation mode and their one stored line (a
// line of the settings file), read in its 19-, 20- and 24-field forms and
// written in the 24-field form.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/base/result.h"
#include "core/base/rgb.h"
#include "core/base/shortcut.h"

namespace glimmerly {

// Choices hold the index of their option in the settings window's order.
struct PointerSettings {
    std::uint32_t halo_shape = 1;         // 0 off, 1 disc, 2 ring, 3 neon
    std::uint32_t halo_size = 48;         // 24..160 px
    std::uint32_t halo_opacity = 100;     // 10..100 %
    std::uint32_t halo_thickness = 2;     // 1..12
    std::uint32_t halo_movement = 0;      // 0 instant, 1 smooth
    std::uint32_t trail_style = 0;        // 0 off, 1 line, 2 dots, 3 sparks, 4 stars
    std::uint32_t trail_length = 1;       // 0 short, 1 medium, 2 long
    std::uint32_t click_animation = 0;    // 0 off, 1 ripple, 2 ring, 3 waves
    Rgb left_click_color{0xED, 0x4F, 0x5C};
    Rgb right_click_color{0x40, 0x9C, 0xFF};
    std::uint32_t click_sound = 0;        // 0 off, 1 soft, 2 click
    std::uint32_t click_volume = 1;       // 0 low, 1 medium, 2 high
    std::optional<Shortcut> show_click_shortcut;
    std::uint32_t spotlight_shape = 0;    // 0 off, 1 circle, 2 horizontal band, 3 vertical band
    std::uint32_t spotlight_size = 240;   // 60..600 px
    std::uint32_t spotlight_darkness = 60;  // 20..90 %
    bool spotlight_hide_moving = false;
    std::optional<Shortcut> spotlight_shortcut;
    std::uint32_t halo_softness = 0;      // 0..100 %
    std::uint32_t magnifier_size = 240;   // 120..480 px
    std::uint32_t magnifier_zoom = 2;     // 2..8
    std::optional<Shortcut> magnifier_shortcut;
    bool magnifier_hold = false;

    friend bool operator==(const PointerSettings&, const PointerSettings&) = default;
};

inline constexpr std::string_view kPointerSettingsInvalid = "Invalid pointer settings";

// One message for every fault of the line: kPointerSettingsInvalid.
Result<PointerSettings> parse_pointer_settings(std::string_view line);
std::string format_pointer_settings(const PointerSettings& settings);

// Every field within the range its line accepts, so that the written line
// reads back.
bool pointer_settings_valid(const PointerSettings& settings);

}  // namespace glimmerly
