#pragma once
// What the tray popup shows and how its rows are measured and found: the two
// fixed row tables (the main popup and the language submenu), the snapshot
// of shortcuts and toggles the rows show, the layout of one level from text
// widths that the caller measures, and the decisions a pointer or a key
// makes on a laid-out level. The window code draws and posts; it decides
// nothing that is here.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/result.h"
#include "core/base/shortcut.h"
#include "core/menu/app_command.h"
#include "core/shortcuts/shortcut_rules.h"

namespace glimmerly {

enum class RowStyle : std::uint8_t { Header = 0, Separator = 1, Command = 2, Toggle = 3, Submenu = 4, Choice = 5 };
enum class RowLabel : std::uint8_t { Text = 0, LanguageLabel = 1, LanguageName = 2, Empty = 3 };

inline constexpr std::uint16_t kNoHint = 0xFFFF;

struct PopupRow {
    RowLabel label_kind = RowLabel::Empty;
    std::uint8_t label_argument = 0;  // the language of a LanguageName label
    TextId label_text{};
    std::uint8_t icon = 22;           // an icon kind; 0 draws the tool in icon_argument
    std::uint8_t icon_argument = 0;
    AppCommand command = 0;
    std::uint16_t hint = kNoHint;     // a text index, or kNoHint
    RowStyle style = RowStyle::Command;
};

inline constexpr std::size_t kMainRowCount = 19;
inline constexpr std::size_t kLanguageRowCount = 16;
inline constexpr std::size_t kLanguageRow = 17;  // the main row that opens the submenu

std::span<const PopupRow> main_popup_rows();
std::span<const PopupRow> language_popup_rows();

// Headers and the separator never take the hover and never run.
constexpr bool is_selectable(RowStyle style) { return style != RowStyle::Header && style != RowStyle::Separator; }

// A shortcut as the rows carry it: modifiers in bits 0-15, the key in bits
// 16-23, and bit 31 set when the shortcut could not be registered.
inline constexpr std::uint32_t kShortcutUnavailableBit = 0x80000000u;
constexpr std::uint32_t pack_shortcut(Shortcut shortcut, bool unavailable) {
    return (shortcut.modifiers & 0xFFFFu) | (shortcut.key & 0xFFu) << 16 | (unavailable ? kShortcutUnavailableBit : 0u);
}
constexpr Shortcut unpack_shortcut(std::uint32_t word) { return {word & 0xFFFFu, (word >> 16) & 0xFFu}; }

// The popup's shortcut rows (capture to ellipse) by their commands; the
// pointer shortcuts have no popup row and no command (0).
std::optional<ShortcutRow> shortcut_row_of(AppCommand command);
AppCommand command_of(ShortcutRow row);

// The toggles the rows show, in the snapshot's order.
enum class BindingFlag : std::uint8_t { PointerEffects, Magnifier, TemporaryShapes, Keyboard, Mouse, BoardShown };

// What the rows show beside their labels, taken when the popup opens and
// after every change it should follow.
struct ShortcutBindings {
    // Packed shortcuts: capture, instant screenshot, arrow, rectangle, ellipse, board.
    std::array<std::uint32_t, 6> shortcuts{};
    Language language = LANGUAGE_AUTO;  // the setting: 255 automatic
    std::array<bool, 6> flags{};

    bool flag(BindingFlag f) const { return flags[static_cast<std::size_t>(f)]; }
    friend bool operator==(const ShortcutBindings&, const ShortcutBindings&) = default;
};

// What the program holds of the popup's shortcuts: the combination each
// global hotkey is registered with (none while it is not registered), and
// which shape hotkeys presentation mode could not register.
struct HeldShortcuts {
    std::optional<Shortcut> capture;
    std::optional<Shortcut> instant;
    std::optional<Shortcut> board;
    std::array<bool, 3> shape_failed{};  // arrow, rectangle, ellipse
};

// The snapshot's six words for the settings' shortcuts: bit 31 marks one
// that is set but not in force, so that a row never shows keys that do
// nothing; a shortcut with key 0 is the word 0.
std::array<std::uint32_t, 6> binding_words(const Settings& settings, const HeldShortcuts& held);

// The packed shortcut a shortcut row shows; none for other rows.
std::optional<std::uint32_t> row_shortcut_word(const ShortcutBindings& bindings, AppCommand command);
// Whether a toggle is on or a choice is the current one.
bool row_checked(const ShortcutBindings& bindings, AppCommand command);
// The row's label in the interface language.
std::string row_label(const PopupRow& row, Language language);
// The value the language row shows: the current choice's label; none for other rows.
std::optional<std::string> row_value(const ShortcutBindings& bindings, AppCommand command, Language language);

// A shortcut row recording a new combination: the caps of the modifiers
// held so far and a message (shown in red in place of the label when not
// empty: the last combination's refusal).
struct ShortcutRecording {
    std::vector<std::string> caps;
    std::string message;
    ShortcutRow row = ShortcutRow::Capture;
};

// What a shortcut row asks of the App (bits 0-2 of its message, the key from bit 8).
inline constexpr std::uint32_t kRowStartRecording = 0;
inline constexpr std::uint32_t kRowKeyDown = 1;
inline constexpr std::uint32_t kRowKeyUp = 2;
inline constexpr std::uint32_t kRowPutDefault = 3;
inline constexpr std::uint32_t kRowCancel = 4;
inline constexpr std::uint32_t kRowPutPrevious = 5;

// A row message's lParam: the action in bits 0-7 (none above 5), the key
// in every bit from bit 8 up.
struct RowCommandWord {
    std::uint32_t action = 0;
    std::uint32_t key = 0;
};
std::optional<RowCommandWord> decode_row_command(std::uint64_t lparam);

inline constexpr std::uint8_t kHotLabel = 0;
inline constexpr std::uint8_t kHotCaps = 1;
inline constexpr std::uint8_t kHotNone = 2;

struct PopupRowState {
    std::optional<ShortcutRecording> recording;
    // The row whose combination was just changed: it offers the previous one back.
    std::optional<AppCommand> saved_row;
    AppCommand hot_row = 0;
    std::uint8_t hot_part = kHotNone;
};

// A text's unwrapped width in units (1/96 inch) at a size in units, in the
// body style or the strong one.
using MeasureText = std::function<Result<double>(std::string_view text, double size, bool strong)>;

// One level laid out: tops[i] is the top of row i in pixels and the last
// entry the bottom of the last row; the caps width of each row in units.
struct PopupLayout {
    std::vector<std::int32_t> tops;
    std::span<const PopupRow> rows;
    std::int32_t width = 0;
    std::vector<double> caps_widths;
};

// Every row's width from its texts, the widest giving the level's width;
// every height and the padding rounded to pixels one by one after scaling,
// so that rows stay whole. A failed measurement ends the layout.
Result<PopupLayout> layout_popup_rows(std::span<const PopupRow> rows, const ShortcutBindings& bindings, double scale,
                                      Language language, const MeasureText& measure);

// The same padding above the first row and below the last.
std::int32_t popup_height(const PopupLayout& layout);

// What a shortcut row's caps show: the combination's key names, or one
// empty cap ("…") for a row without a shortcut, so that there is always a
// box to click and record one.
std::vector<std::string> row_caps_labels(std::uint32_t word, Language language);

// The caps row's width in units for a packed shortcut.
Result<double> row_caps_width(std::uint32_t word, Language language, const MeasureText& measure);

// The row under a client y; none in the padding.
std::optional<std::size_t> row_at(const PopupLayout& layout, std::int32_t y);

// Up or Down: the previous or next selectable row, wrapping at the ends;
// from no row, Down takes the first and Up the last.
std::optional<std::size_t> step_hover(std::span<const PopupRow> rows, std::optional<std::size_t> current, bool down);

// Where a release on a shortcut row of the main level lands, x in units:
// the button that puts the previous combination back (offered by the saved
// row), the caps (start recording) or the rest (choose the row).
enum class ShortcutRowClick : std::uint8_t { Choose, StartRecording, RestorePrevious };
ShortcutRowClick shortcut_row_click(const PopupLayout& layout, std::size_t row, double x, double scale, bool saved);

// Whether the pointer is over the row's caps (kHotCaps) or its label.
std::uint8_t shortcut_hot_part(const PopupLayout& layout, std::size_t row, double x, double scale);

// A release on the recording row itself: kRowPutDefault on the first
// button, kRowCancel on the second, none elsewhere on the row.
std::optional<std::uint32_t> recording_row_click(const PopupLayout& layout, double x, double scale);

}  // namespace glimmerly
