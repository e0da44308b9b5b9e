#pragma once
// A shortcut changed in place on its row: the tray popup's rows 0-5 and the
// settings window's rows 0-8. A row records through the application
// window's setup state (setup mode on, the window hidden); its first
// combination goes through the same validation and commit as the setup's
// Save. A change leaves "Saved, before: {keys}" with the previous
// combination to put back; a refusal stays on the row, which keeps listening.

#include <windows.h>

#include <cstdint>
#include <optional>

#include "core/base/result.h"
#include "core/base/shortcut.h"
#include "core/menu/popup_rows.h"
#include "core/shortcuts/shortcut_rules.h"
#include "text/shortcut_text.h"

namespace glimmerly {

struct App;

// Where a recording row lives.
enum class MenuSource : std::uint8_t { SettingsWindow = 0, Popup = 1, None = 2 };

// The one combination the program offers back, with where it was changed.
// `state`: 0 the row had no shortcut, 1 it had (modifiers, key), 2 nothing
// to put back.
struct SavedBefore {
    MenuSource source = MenuSource::None;
    ShortcutRow row = ShortcutRow::Capture;
    std::uint32_t state = 2;
    std::uint32_t modifiers = 0;
    std::uint32_t key = 0;
};

// The "Saved, before" line as the views show it.
struct SavedBeforeLine {
    MenuSource source = MenuSource::None;
    ShortcutRow row = ShortcutRow::Capture;
    KeyCaps previous;
};

struct ActiveRow {
    MenuSource source = MenuSource::None;
    ShortcutRow row = ShortcutRow::Capture;
};
// The source whose row records now, and that row.
ActiveRow active_menu_source(const App& app);

// The shortcuts, each marked when set but not in force, the language
// setting, the presentation toggles and the board's visibility.
Result<ShortcutBindings> shortcut_bindings_snapshot(const App& app);

// The tray popup, when open, shows the bindings and toggles as they are now.
Status refresh_open_tray_popup(App& app);

// Replaces a source's recording row (none: it records nothing) and repaints it.
void invalidate_popup_rows(App& app, MenuSource source, std::optional<ShortcutRecording> recording);

// A popup row's action (0 start, 1 key down, 2 key up, 3 default, 4 cancel,
// 5 the previous combination) for its command (1, 7, 8, 171, 172, 173).
// Other commands and actions, or any while no popup is open, are ignored.
Status handle_row_command(App& app, HWND window, AppCommand command, std::uint32_t action, std::uint32_t key);

Status begin_row_recording(App& app, HWND window, MenuSource source, ShortcutRow row);
// A key pressed while a row records: Backspace the default, Esc the end,
// a modifier shown, any other key recorded with the held modifiers.
Status edit_shortcut_row(App& app, HWND window, std::uint32_t key);
void show_held_modifiers(App& app, std::uint32_t modifiers);
// The recorded combination committed to the recording row.
Status assign_row_shortcut(App& app, HWND window);
// The row set to a combination through the same validation, or cleared.
Status set_row_shortcut(App& app, HWND window, MenuSource source, ShortcutRow row, std::optional<Shortcut> shortcut);
Status restore_row_default(App& app, HWND window, ShortcutRow row);
Status restore_previous_row_shortcut(App& app, HWND window, ShortcutRow row);
// Ends the live row's recording (and setup mode when it served the row).
Status choose_menu_row(App& app, HWND window);
// After a change: the saved-before record and line, the row done.
Status mark_shortcut_row_saved(App& app, MenuSource source, ShortcutRow row, std::optional<Shortcut> previous);
Status set_saved_before(App& app, std::optional<SavedBeforeLine> line);

}  // namespace glimmerly
