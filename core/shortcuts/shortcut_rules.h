#pragma once
// The program's nine configurable shortcuts as rows, what each row holds in
// the settings and puts back by default, and the rules a newly recorded
// combination must pass before anything is registered or written: every
// refusal here is decided from the settings alone, so the popup rows, the
// setup and the settings window refuse alike.

#include <cstdint>
#include <optional>
#include <string>

#include "core/base/shortcut.h"
#include "core/settings/settings.h"
#include "text/text_table.h"

namespace glimmerly {

// The rows in the order the popup and the settings window list them.
enum class ShortcutRow : std::uint8_t {
    Capture,
    Instant,
    Board,
    Arrow,
    Rectangle,
    Ellipse,
    ShowClick,
    Spotlight,
    Magnifier,
};
inline constexpr std::size_t kShortcutRowCount = 9;

// What the setup is choosing; its title is text 106 + the kind.
enum class ShortcutKind : std::uint8_t {
    Capture = 0,
    Instant = 1,
    Arrow = 2,
    Rectangle = 3,
    Ellipse = 4,
    Board = 5,
    ShowClick = 6,
    Spotlight = 7,
    Magnifier = 8,
};

ShortcutKind kind_of_row(ShortcutRow row);
ShortcutRow row_of_kind(ShortcutKind kind);
constexpr bool is_shape_kind(ShortcutKind kind) {
    return kind == ShortcutKind::Arrow || kind == ShortcutKind::Rectangle || kind == ShortcutKind::Ellipse;
}
constexpr bool is_pointer_kind(ShortcutKind kind) { return kind >= ShortcutKind::ShowClick; }

// The combination Backspace puts back: Print Screen for capture, the stored
// defaults for the others, none for the pointer shortcuts (cleared).
std::optional<Shortcut> row_default(ShortcutRow row);

// The row's combination in the settings: capture is absent while its key
// is 0, the pointer shortcuts while unassigned.
std::optional<Shortcut> row_shortcut_in(const Settings& settings, ShortcutRow row);
// Sets the row; absent clears a pointer shortcut (the other rows always
// hold one, and keep theirs).
void set_row_shortcut_in(Settings& settings, ShortcutRow row, std::optional<Shortcut> shortcut);

// Ctrl+Alt+Esc belongs to the system and to presentation mode's stop.
inline constexpr Shortcut kReservedShortcut{kShortcutCtrl | kShortcutAlt, 27};

// VK_SHIFT..VK_MENU, VK_LWIN, VK_RWIN and the left and right forms.
bool is_modifier_key(std::uint32_t key);

// A refusal: its text, or "Shortcut unavailable or invalid: {detail}"
// around it when `wrapped` (the shapes' way of saying every refusal).
struct ShortcutRefusal {
    TextId text{};
    bool wrapped = false;

    friend bool operator==(const ShortcutRefusal&, const ShortcutRefusal&) = default;
};

// Why the combination cannot become the kind's shortcut, given every other
// shortcut in the settings (the kind's own is ignored); none when it may be
// tried with the system.
std::optional<ShortcutRefusal> judge_shortcut(ShortcutKind kind, Shortcut combination, const Settings& settings);

std::string refusal_text(const ShortcutRefusal& refusal, Language language);

// Closing the setup ends the program only when it was the visible first-run
// setup and left no global shortcut to call the program with; a row
// recording that ends never does.
bool setup_close_quits(bool recording_row, ShortcutKind kind, bool capture_registered, bool instant_registered,
                       bool board_registered);

}  // namespace glimmerly
