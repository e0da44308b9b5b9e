#pragma once
// Records and files shared by the settings tests, native and Windows; header
// only, since the two test executables share no test library.

#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "core/settings/settings.h"
#include "core/settings/settings_file.h"

namespace glimmerly::testing_support {

// Every field away from its default, every value one the file can hold.
inline Settings varied_settings() {
    Settings s;
    s.capture_shortcut = {kShortcutCtrl | kShortcutShift, 44};
    s.drawing_style = true;
    s.save_folder = u"C:\\Users\\Zoë\\Pictures \xD83D\xDCF7";
    s.save_folder += static_cast<char16_t>(0xD800);  // an unpaired surrogate survives
    s.live_capture = true;
    s.presentation_duration_ms = 5000;
    s.presentation_color_1 = {0x01, 0x02, 0xAB};
    s.presentation_color_2 = kWhite;
    s.input_display_position = 5;
    s.shape_shortcuts = {{{kShortcutCtrl, 49}, {kShortcutCtrl | kShortcutAlt, 50}, {kShortcutAlt | kShortcutWin, 51}}};
    s.presentation_stroke_width = 40;
    s.presentation_arrow_size = 16;
    s.input_display_offset = InputDisplayOffset{10000, 7};
    s.custom_color = {0x12, 0x34, 0x56};
    s.start_with_windows = false;
    s.capture_stroke_width = 1;
    s.instant_capture_shortcut = {kShortcutShift, 44};
    s.input_display_size = 200;
    s.save_format = ImageFormat::Jpeg;
    s.board_shortcut = {kShortcutCtrl | kShortcutShift, 66};
    s.board_visible = true;
    s.capture_eraser_size = 128;
    s.language = 10;
    s.pointer.halo_shape = 2;
    s.pointer.trail_style = 3;
    s.pointer.magnifier_shortcut = Shortcut{kShortcutAlt, 77};
    s.wheel_hint = true;
    s.mini_toolbar = true;
    s.mini_toolbar_folded = true;
    s.obs_mirror = true;
    return s;
}

inline std::vector<std::string> split_settings_lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

inline std::string join_settings_lines(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) text += line + "\n";
    return text;
}

}  // namespace glimmerly::testing_support

namespace glimmerly {

// Failed comparisons show the record as its file rather than as raw bytes.
inline void PrintTo(const Settings& settings, std::ostream* out) { *out << "\n" << format_settings(settings); }

}  // namespace glimmerly
