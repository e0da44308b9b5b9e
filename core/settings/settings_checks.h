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
inline constexpr std::string_view kNotUtf8 = "The settings file is not UTF-8 text";
inline constexpr std::string_view kLiveCapture = "Invalid live capture setting";
inline constexpr std::string_view kPresentationDuration = "Invalid presentation duration";
inline constexpr std::string_view kPresentationColor = "Invalid presentation color";
inline constexpr std::string_view kInputDisplayPosition = "Invalid input display position";
inline constexpr std::string_view kShortcutSyntax = "Invalid shape shortcut";
inline constexpr std::string_view kPresentationStrokeWidth = "Invalid presentation stroke width";
inline constexpr std::string_view kPresentationArrowSize = "Invalid presentation arrow size";
inline constexpr std::string_view kInputDisplayOffset = "Invalid input display offset";
inline constexpr std::string_view kInputDisplayLock = "Invalid input display lock";
inline constexpr std::string_view kObsMirror = "Invalid OBS mirror setting";
inline constexpr std::string_view kInputDisplayLayout = "Invalid input display layout";
inline constexpr std::string_view kInputDisplaySize = "Invalid input display size";
inline constexpr std::string_view kSettingsNumber = "Invalid settings number";
inline constexpr std::string_view kCaptureShortcut = "Invalid shortcut or drawing style";
inline constexpr std::string_view kFolderEncoding = "Invalid folder encoding";
inline constexpr std::string_view kInstantShortcut = "Invalid instant capture shortcut";
inline constexpr std::string_view kInstantSound = "Invalid instant capture sound setting";
inline constexpr std::string_view kBoardVisibility = "Invalid board visibility";
inline constexpr std::string_view kWheelHint = "Invalid wheel hint setting";
inline constexpr std::string_view kMiniToolbar = "Invalid mini toolbar setting";
inline constexpr std::string_view kMiniToolbarFold = "Invalid mini toolbar fold";
inline constexpr std::string_view kStartup = "Invalid startup setting";
inline constexpr std::string_view kCaptureStrokeWidth = "Invalid capture stroke width";
inline constexpr std::string_view kCaptureEraserSize = "Invalid capture eraser size";
inline constexpr std::string_view kSaveFormat = "Invalid save format";
inline constexpr std::string_view kCustomColor = "Invalid custom color";
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
