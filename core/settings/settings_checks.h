#pragma once
// The value rules of the settings file, shared by its reader and by the
// check of a whole record before it is written: a record that passes reads
// back from its own file.

#include <array>
#include <string>
#include <string_view>

#include "core/base/result.h"
#include "core/settings/settings.h"

namespace glimmerly {

namespace settings_message {
inline constexpr std::string_view NOT_UTF8 = "The settings file is not UTF-8 text";
inline constexpr std::string_view LIVE_CAPTURE = "Invalid live capture setting";
inline constexpr std::string_view PRESENTATION_DURATION = "Invalid presentation duration";
inline constexpr std::string_view PRESENTATION_COLOR = "Invalid presentation color";
inline constexpr std::string_view INPUT_DISPLAY_POSITION = "Invalid input display position";
inline constexpr std::string_view SHORTCUT_SYNTAX = "Invalid shape shortcut";
inline constexpr std::string_view PRESENTATION_STROKE_WIDTH = "Invalid presentation stroke width";
inline constexpr std::string_view PRESENTATION_ARROW_SIZE = "Invalid presentation arrow size";
inline constexpr std::string_view INPUT_DISPLAY_OFFSET = "Invalid input display offset";
inline constexpr std::string_view INPUT_DISPLAY_LOCK = "Invalid input display lock";
inline constexpr std::string_view OBS_MIRROR = "Invalid OBS mirror setting";
inline constexpr std::string_view INPUT_DISPLAY_LAYOUT = "Invalid input display layout";
inline constexpr std::string_view INPUT_DISPLAY_SIZE = "Invalid input display size";
inline constexpr std::string_view SETTINGS_NUMBER = "Invalid settings number";
inline constexpr std::string_view CAPTURE_SHORTCUT = "Invalid shortcut or drawing style";
inline constexpr std::string_view FOLDER_ENCODING = "Invalid folder encoding";
inline constexpr std::string_view INSTANT_SHORTCUT = "Invalid instant capture shortcut";
inline constexpr std::string_view INSTANT_SOUND = "Invalid instant capture sound setting";
inline constexpr std::string_view BOARD_VISIBILITY = "Invalid board visibility";
inline constexpr std::string_view WHEEL_HINT = "Invalid wheel hint setting";
inline constexpr std::string_view MINI_TOOLBAR = "Invalid mini toolbar setting";
inline constexpr std::string_view MINI_TOOLBAR_FOLD = "Invalid mini toolbar fold";
inline constexpr std::string_view STARTUP = "Invalid startup setting";
inline constexpr std::string_view CAPTURE_STROKE_WIDTH = "Invalid capture stroke width";
inline constexpr std::string_view CAPTURE_ERASER_SIZE = "Invalid capture eraser size";
inline constexpr std::string_view SAVE_FORMAT = "Invalid save format";
inline constexpr std::string_view CUSTOM_COLOR = "Invalid custom color";
}  // namespace settings_message

// A failure carrying one of the messages above.
inline Failure settings_refusal(std::string_view message) { return plain_failure(std::string(message)); }

bool valid_presentation_duration(std::uint32_t ms);
bool valid_input_display_position(std::uint32_t position);
bool valid_stroke_width(std::uint32_t width);
bool valid_arrow_size(std::uint32_t size);
bool valid_offset_coordinate(std::uint32_t value);
bool valid_input_display_size(std::uint32_t percent);
bool valid_eraser_size(std::uint32_t size);
// Key 0 is allowed: the default capture shortcut is "none".
bool valid_capture_shortcut(const Shortcut& shortcut);
bool valid_instant_shortcut(const Shortcut& shortcut);
// Code unit 0 would cut the path short in every platform call.
bool valid_folder(std::u16string_view folder);

// Arrow, rectangle, ellipse in turn: a bad modifier set or key, no Alt or
// Ctrl, Ctrl+Alt+Escape, or a repeat of an earlier one, as
// "refused shortcut (<text key>)".
Status check_shape_shortcuts(const std::array<Shortcut, 3>& shortcuts);
Status check_board_shortcut(const Shortcut& shortcut);

// The whole record by the reader's rules and in the reader's order, so that
// the message is the one reading the written file would give.
Status validate_settings(const Settings& settings);

}  // namespace glimmerly
