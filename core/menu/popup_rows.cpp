#include "core/menu/popup_rows.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/render/key_caps.h"
#include "text/shortcut_text.h"

namespace glimmerly {
namespace {

constexpr PopupRow row(TextId text, std::uint8_t icon, AppCommand command, RowStyle style,
                       std::uint16_t hint = kNoHint) {
    return PopupRow{RowLabel::Text, 0, text, icon, 0, command, hint, style};
}
constexpr PopupRow tool_row(TextId text, std::uint8_t tool, AppCommand command, RowStyle style) {
    return PopupRow{RowLabel::Text, 0, text, 0, tool, command, kNoHint, style};
}
constexpr std::uint16_t hint(TextId text) { return text_index(text); }

constexpr std::array<PopupRow, kMainRowCount> kMainRows{{
    row(TextId::menu_take_screenshot, 23, APP_COMMAND_TAKE_SCREENSHOT, RowStyle::Command),
    row(TextId::menu_instant_screenshot, 24, APP_COMMAND_INSTANT_SCREENSHOT, RowStyle::Command,
        hint(TextId::menu_instant_screenshot_note)),
    row(TextId::menu_board, 22, APP_COMMAND_BOARD_HEADER, RowStyle::Header, hint(TextId::menu_board_note)),
    row(TextId::menu_edit_board, 29, APP_COMMAND_EDIT_BOARD, RowStyle::Command),
    row(TextId::menu_show_board, 30, APP_COMMAND_SHOW_BOARD, RowStyle::Toggle),
    row(TextId::menu_clear_board, 19, APP_COMMAND_CLEAR_BOARD, RowStyle::Command),
    row(TextId::menu_presentation, 22, APP_COMMAND_PRESENTATION_HEADER, RowStyle::Header),
    row(TextId::menu_pointer_effects, 25, CMD_PRESENTATION_POINTER_EFFECTS, RowStyle::Toggle),
    row(TextId::menu_magnifier, 26, CMD_PRESENTATION_MAGNIFIER, RowStyle::Toggle),
    row(TextId::menu_keyboard, 27, CMD_PRESENTATION_KEYBOARD, RowStyle::Toggle),
    row(TextId::menu_mouse, 28, CMD_PRESENTATION_MOUSE, RowStyle::Toggle),
    tool_row(TextId::menu_temporary_shapes, 5, CMD_PRESENTATION_TEMPORARY_SHAPES, RowStyle::Toggle),
    tool_row(TextId::toolbar_arrow, 4, APP_COMMAND_DRAW_ARROW, RowStyle::Command),
    tool_row(TextId::toolbar_rectangle, 1, APP_COMMAND_DRAW_ARROW + 1, RowStyle::Command),
    tool_row(TextId::toolbar_ellipse, 2, APP_COMMAND_DRAW_ARROW + 2, RowStyle::Command),
    PopupRow{RowLabel::Empty, 0, TextId{}, 22, 0, 0, kNoHint, RowStyle::Separator},
    row(TextId::settings_title, 32, APP_COMMAND_SETTINGS, RowStyle::Command),
    PopupRow{RowLabel::LanguageLabel, 0, TextId{}, 33, 0, APP_COMMAND_LANGUAGE_MENU, kNoHint, RowStyle::Submenu},
    row(TextId::menu_quit, 34, APP_COMMAND_QUIT, RowStyle::Command),
}};

constexpr std::array<PopupRow, kLanguageRowCount> make_language_rows() {
    std::array<PopupRow, kLanguageRowCount> rows{};
    rows[0] = row(TextId::menu_language_auto, 22, APP_COMMAND_LANGUAGE_AUTO, RowStyle::Choice);
    for (std::uint8_t n = 0; n < LANGUAGE_COUNT; ++n)
        rows[n + 1] = PopupRow{RowLabel::LanguageName, n, TextId{}, 22, 0, command_of_language(n), kNoHint,
                               RowStyle::Choice};
    return rows;
}
constexpr std::array<PopupRow, kLanguageRowCount> kLanguageRows = make_language_rows();

constexpr std::array<AppCommand, 6> kShortcutRowCommands{1, 7, 8, 171, 172, 173};
// Where each shortcut row's word sits in the snapshot.
constexpr std::array<std::size_t, 6> kShortcutWordIndex{0, 1, 5, 2, 3, 4};

// Measures in units.
constexpr double kTopPadding = 4.0;
constexpr double kLabelSize = 14.0;
constexpr double kSmallSize = 12.0;
constexpr double kLabelLeft = 38.0;
constexpr double kHeaderLeft = 12.0;
constexpr double kRightPadding = 14.0;
constexpr double kCapsGap = 28.0;
constexpr double kShortcutExtra = 30.0;
constexpr double kPressKeysPadding = 32.0;
constexpr double kPressKeysMinimum = 140.0;
constexpr double kRecordingButtons = 64.0;
constexpr double kSwitchWidth = 28.0;
constexpr double kHintBand = 16.0;

double row_height(RowStyle style) {
    switch (style) {
        case RowStyle::Header: return 28.0;
        case RowStyle::Separator: return 9.0;
        default: return 32.0;
    }
}

// Scaled lengths are whole pixels within the i32 range; NaN is 0.
std::int32_t to_pixels(double value) {
    if (std::isnan(value)) return 0;
    constexpr double lo = std::numeric_limits<std::int32_t>::min(), hi = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::clamp(value, lo, hi));
}

// NaN never wins, so one bad width cannot hide the others.
double nan_safe_max(double a, double b) { return std::isnan(b) || b <= a ? a : b; }

Result<double> content_width(const PopupRow& r, const ShortcutBindings& bindings, double caps_width,
                             Language language, const MeasureText& measure) {
    const std::string label = row_label(r, language);
    const bool header = r.style == RowStyle::Header;
    auto text = measure(label, header ? kSmallSize : kLabelSize, header);
    if (!text) return std::move(text).failure();
    double width = 0.0;
    switch (r.style) {
        case RowStyle::Header: width = kHeaderLeft + *text + kRightPadding; break;
        case RowStyle::Separator: width = 0.0; break;
        case RowStyle::Command: {
            double caps = caps_width > 0.0 ? caps_width + kCapsGap : 0.0;
            if (shortcut_row_of(r.command)) {
                auto press = measure(text_of(language, TextId::menu_press_keys), kSmallSize, true);
                if (!press) return std::move(press).failure();
                const double box = std::max(*press + kPressKeysPadding, kPressKeysMinimum);
                caps = std::max(caps + kShortcutExtra, box + kRecordingButtons);
            }
            width = kLabelLeft + *text + kRightPadding + caps;
            break;
        }
        case RowStyle::Toggle: width = kLabelLeft + *text + kCapsGap + kSwitchWidth + kRightPadding; break;
        case RowStyle::Submenu: {
            width = kLabelLeft + *text + kRightPadding + kRightPadding;
            if (const auto value = row_value(bindings, r.command, language)) {
                auto shown = measure(*value, kLabelSize, false);
                if (!shown) return std::move(shown).failure();
                width += *shown + kCapsGap;
            }
            break;
        }
        case RowStyle::Choice: width = kLabelLeft + *text + kCapsGap; break;
    }
    if (r.hint != kNoHint) {
        auto hint_width = measure(text_of(language, text_id(r.hint)), kSmallSize, false);
        if (!hint_width) return std::move(hint_width).failure();
        width = nan_safe_max(width, (header ? kHeaderLeft : kLabelLeft) + *hint_width + kRightPadding);
    }
    return width;
}

}  // namespace

std::span<const PopupRow> main_popup_rows() { return kMainRows; }
std::span<const PopupRow> language_popup_rows() { return kLanguageRows; }

std::optional<ShortcutRow> shortcut_row_of(AppCommand command) {
    for (std::size_t i = 0; i < kShortcutRowCommands.size(); ++i)
        if (kShortcutRowCommands[i] == command) return static_cast<ShortcutRow>(i);
    return std::nullopt;
}

std::optional<RowCommandWord> decode_row_command(std::uint64_t lparam) {
    const auto action = static_cast<std::uint32_t>(lparam & 0xFFu);
    if (action > kRowPutPrevious) return std::nullopt;
    return RowCommandWord{action, static_cast<std::uint32_t>(lparam >> 8)};
}

std::array<std::uint32_t, 6> binding_words(const Settings& settings, const HeldShortcuts& held) {
    const auto word = [](Shortcut shortcut, bool unavailable) -> std::uint32_t {
        return shortcut.key == 0 ? 0u : pack_shortcut(shortcut, unavailable);
    };
    const auto global = [&](Shortcut shortcut, const std::optional<Shortcut>& registered) {
        return word(shortcut, registered != shortcut);
    };
    const auto& shapes = settings.shape_shortcuts;
    return {global(settings.capture_shortcut, held.capture),
            global(settings.instant_capture_shortcut, held.instant),
            word(shapes[kShapeArrow], held.shape_failed[0]),
            word(shapes[kShapeRectangle], held.shape_failed[1]),
            word(shapes[kShapeEllipse], held.shape_failed[2]),
            global(settings.board_shortcut, held.board)};
}

AppCommand command_of(ShortcutRow row) {
    const auto index = static_cast<std::size_t>(row);
    return index < kShortcutRowCommands.size() ? kShortcutRowCommands[index] : 0;
}

std::optional<std::uint32_t> row_shortcut_word(const ShortcutBindings& bindings, AppCommand command) {
    const auto shortcut_row = shortcut_row_of(command);
    if (!shortcut_row) return std::nullopt;
    return bindings.shortcuts[kShortcutWordIndex[static_cast<std::size_t>(*shortcut_row)]];
}

bool row_checked(const ShortcutBindings& bindings, AppCommand command) {
    switch (command) {
        case APP_COMMAND_SHOW_BOARD: return bindings.flag(BindingFlag::BoardShown);
        case CMD_PRESENTATION_POINTER_EFFECTS: return bindings.flag(BindingFlag::PointerEffects);
        case CMD_PRESENTATION_MAGNIFIER: return bindings.flag(BindingFlag::Magnifier);
        case CMD_PRESENTATION_KEYBOARD: return bindings.flag(BindingFlag::Keyboard);
        case CMD_PRESENTATION_MOUSE: return bindings.flag(BindingFlag::Mouse);
        case CMD_PRESENTATION_TEMPORARY_SHAPES: return bindings.flag(BindingFlag::TemporaryShapes);
        default: break;
    }
    const auto language = language_of_command(command);
    return language && *language == bindings.language;
}

std::string row_label(const PopupRow& r, Language language) {
    switch (r.label_kind) {
        case RowLabel::Text: return std::string(text_of(language, r.label_text));
        case RowLabel::LanguageLabel: return language_menu_label(language);
        case RowLabel::LanguageName:
            return r.label_argument < LANGUAGE_COUNT ? std::string(LANGUAGE_OWN_NAMES[r.label_argument]) : std::string();
        case RowLabel::Empty: break;
    }
    return {};
}

std::optional<std::string> row_value(const ShortcutBindings& bindings, AppCommand command, Language language) {
    if (command != APP_COMMAND_LANGUAGE_MENU) return std::nullopt;
    const std::size_t entry = bindings.language == LANGUAGE_AUTO ? 0 : std::size_t{bindings.language} + 1u;
    return language_menu_item_label(LANGUAGE_MENU_KIND, LANGUAGE_SUBMENU_ID, entry, language);
}

std::vector<std::string> row_caps_labels(std::uint32_t word, Language language) {
    const Shortcut shortcut = unpack_shortcut(word);
    if (shortcut.key == 0) return {std::string(text_of(language, TextId::setup_waiting))};
    return key_display_name(shortcut.modifiers, shortcut.key, language);
}

Result<double> row_caps_width(std::uint32_t word, Language language, const MeasureText& measure) {
    std::vector<double> widths;
    for (const std::string& cap : row_caps_labels(word, language)) {
        auto width = measure(cap, kKeyCapLabelSize, false);
        if (!width) return std::move(width).failure();
        widths.push_back(*width);
    }
    return key_caps_row_width(widths);
}

Result<PopupLayout> layout_popup_rows(std::span<const PopupRow> rows, const ShortcutBindings& bindings, double scale,
                                      Language language, const MeasureText& measure) {
    PopupLayout layout;
    layout.rows = rows;
    double width = 0.0;
    std::int32_t top = to_pixels(std::round(kTopPadding * scale));
    layout.tops.push_back(top);
    for (const PopupRow& r : rows) {
        double caps = 0.0;
        if (const auto word = row_shortcut_word(bindings, r.command)) {
            auto measured = row_caps_width(*word, language, measure);
            if (!measured) return std::move(measured).failure();
            caps = *measured;
        }
        layout.caps_widths.push_back(caps);
        auto row_width = content_width(r, bindings, caps, language, measure);
        if (!row_width) return std::move(row_width).failure();
        width = nan_safe_max(width, *row_width);
        const double height = row_height(r.style) + (r.hint != kNoHint ? kHintBand : 0.0);
        top = to_pixels(static_cast<double>(top) + to_pixels(std::round(height * scale)));
        layout.tops.push_back(top);
    }
    layout.width = to_pixels(std::ceil(scale * width));
    return layout;
}

std::int32_t popup_height(const PopupLayout& layout) {
    return to_pixels(static_cast<double>(layout.tops.front()) + layout.tops.back());
}

std::optional<std::size_t> row_at(const PopupLayout& layout, std::int32_t y) {
    for (std::size_t i = 0; i + 1 < layout.tops.size(); ++i)
        if (layout.tops[i] <= y && y < layout.tops[i + 1]) return i;
    return std::nullopt;
}

std::optional<std::size_t> step_hover(std::span<const PopupRow> rows, std::optional<std::size_t> current, bool down) {
    const std::size_t n = rows.size();
    const bool from_none = !current || *current >= n;
    for (std::size_t step = 1; step <= n; ++step) {
        std::size_t i = 0;
        if (from_none)
            i = down ? step - 1 : n - step;
        else
            i = down ? (*current + step) % n : (*current + n - step) % n;
        if (is_selectable(rows[i].style)) return i;
    }
    return std::nullopt;
}

namespace {

// The left edge of a row's caps in units.
double caps_left(const PopupLayout& layout, std::size_t row, double scale) {
    return layout.width / scale - kRightPadding - layout.caps_widths[row];
}

}  // namespace

ShortcutRowClick shortcut_row_click(const PopupLayout& layout, std::size_t row, double x, double scale, bool saved) {
    const double left = caps_left(layout, row, scale);
    if (saved && left - 30.0 <= x && x < left - 6.0) return ShortcutRowClick::RestorePrevious;
    if (x >= left - 8.0) return ShortcutRowClick::StartRecording;
    return ShortcutRowClick::Choose;
}

std::uint8_t shortcut_hot_part(const PopupLayout& layout, std::size_t row, double x, double scale) {
    return x >= caps_left(layout, row, scale) - 8.0 ? kHotCaps : kHotLabel;
}

std::optional<std::uint32_t> recording_row_click(const PopupLayout& layout, double x, double scale) {
    const double right = layout.width / scale - kRightPadding;
    if (right - 52.0 <= x && x < right - 28.0) return kRowPutDefault;
    if (right - 24.0 <= x && x < right) return kRowCancel;
    return std::nullopt;
}

}  // namespace glimmerly
