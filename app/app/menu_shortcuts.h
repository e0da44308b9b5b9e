#pragma once
// The shortcut rows of the tray popup as the App sees them: the snapshot
// the rows show, and a shortcut recorded in place on a row, judged and
// applied (registered where it is a global shortcut, then stored).

#include <windows.h>

#include <cstdint>
#include <optional>

#include "core/base/result.h"
#include "core/base/shortcut.h"
#include "core/menu/popup_rows.h"

namespace glimmerly {

struct App;

// A shortcut row's combination before its last change in the popup, which
// the row offers back while the popup stays open.
struct SavedShortcut {
    ShortcutRow row = ShortcutRow::Capture;
    Shortcut previous;
};

// The shortcuts, each marked when set but not registered, the language
// setting, the presentation toggles and the board's visibility.
Result<ShortcutBindings> shortcut_bindings_snapshot(const App& app);

// The two places a shortcut is recorded: the application window's own
// recorder (the first-run setup) and the tray popup.
enum class RecordingSource : std::uint8_t { AppWindow = 0, Popup = 1 };

// Replaces that source's recording and repaints what shows it.
void invalidate_popup_rows(App& app, RecordingSource source, std::optional<ShortcutRecording> recording);

// A shortcut row's action from the popup: start recording, a key down or
// up, the default combination, cancel, or the combination the row had
// before its last change. A refused combination stays on the row with its
// reason; an accepted one is in force and stored, and the popup follows.
Status handle_row_command(App& app, HWND window, AppCommand command, std::uint32_t action, std::uint32_t key);

// The combination a shortcut row holds now.
Shortcut row_shortcut(const App& app, ShortcutRow row);

}  // namespace glimmerly
