#include "core/settings/settings_checks.h"

namespace glimmerly {
namespace {

constexpr std::uint32_t kEscape = 27;

Failure refused(TextId text) { return plain_failure("refused shortcut (" + std::string(text_key(text)) + ")"); }

bool reserved(const Shortcut& s) { return s.modifiers == (kShortcutAlt | kShortcutCtrl) && s.key == kEscape; }

}  // namespace

bool valid_presentation_duration(std::uint32_t ms) { return ms == 1000 || ms == 3000 || ms == 5000; }
bool valid_input_display_position(std::uint32_t position) { return position <= 5; }
bool valid_stroke_width(std::uint32_t width) { return width >= 1 && width <= 40; }
bool valid_arrow_size(std::uint32_t size) { return size == 16 || size == 28 || size == 40; }
bool valid_offset_coordinate(std::uint32_t value) { return value <= 10000; }
bool valid_input_display_size(std::uint32_t percent) { return percent == 100 || percent == 150 || percent == 200; }
bool valid_eraser_size(std::uint32_t size) { return size >= 4 && size <= 128; }

bool valid_capture_shortcut(const Shortcut& shortcut) {
    return shortcut.known_modifiers() && shortcut.key <= 254;
}

bool valid_instant_shortcut(const Shortcut& shortcut) { return shortcut.usable(); }

bool valid_folder(std::u16string_view folder) { return folder.find(u'\0') == std::u16string_view::npos; }

Status check_shape_shortcuts(const std::array<Shortcut, 3>& shortcuts) {
    for (std::size_t i = 0; i < shortcuts.size(); ++i) {
        const Shortcut& s = shortcuts[i];
        if (!s.usable()) return refused(TextId::setup_invalid_shape);
        if (!s.alt() && !s.ctrl()) return refused(TextId::setup_shape_needs_modifier);
        if (reserved(s)) return refused(TextId::setup_reserved);
        for (std::size_t j = 0; j < i; ++j)
            if (shortcuts[j] == s) return refused(TextId::setup_duplicate_shape);
    }
    return ok_status();
}

Status check_board_shortcut(const Shortcut& s) {
    if (!s.usable()) return refused(TextId::setup_invalid_board);
    if (!s.alt() && !s.ctrl()) return refused(TextId::setup_board_needs_modifier);
    if (reserved(s)) return refused(TextId::setup_reserved);
    return ok_status();
}

Status validate_settings(const Settings& s) {
    namespace m = settings_message;
    // Only the lines whose values can be out of range appear; the order is
    // the reader's (lines 7, 10, 11-13, 14, 15, 16, 30, 24, 2-4, 5, 21, 26,
    // 20, 28, 25).
    if (!valid_presentation_duration(s.presentation_duration_ms)) return settings_refusal(m::kPresentationDuration);
    if (!valid_input_display_position(s.input_display_position)) return settings_refusal(m::kInputDisplayPosition);
    GLIM_TRY(check_shape_shortcuts(s.shape_shortcuts));
    if (!valid_stroke_width(s.presentation_stroke_width)) return settings_refusal(m::kPresentationStrokeWidth);
    if (!valid_arrow_size(s.presentation_arrow_size)) return settings_refusal(m::kPresentationArrowSize);
    if (s.input_display_offset &&
        (!valid_offset_coordinate(s.input_display_offset->x) || !valid_offset_coordinate(s.input_display_offset->y)))
        return settings_refusal(m::kInputDisplayOffset);
    if (!pointer_settings_valid(s.pointer)) return settings_refusal(kPointerSettingsInvalid);
    if (!valid_input_display_size(s.input_display_size)) return settings_refusal(m::kInputDisplaySize);
    if (!valid_capture_shortcut(s.capture_shortcut)) return settings_refusal(m::kCaptureShortcut);
    if (!valid_folder(s.save_folder)) return settings_refusal(m::kFolderEncoding);
    if (!valid_instant_shortcut(s.instant_capture_shortcut)) return settings_refusal(m::kInstantShortcut);
    GLIM_TRY(check_board_shortcut(s.board_shortcut));
    if (!valid_stroke_width(s.capture_stroke_width)) return settings_refusal(m::kCaptureStrokeWidth);
    if (!valid_eraser_size(s.capture_eraser_size)) return settings_refusal(m::kCaptureEraserSize);
    if (s.save_format != ImageFormat::Png && s.save_format != ImageFormat::Jpeg) return settings_refusal(m::kSaveFormat);
    return ok_status();
}

}  // namespace glimmerly
