#pragma once
// The settings window's side of the shared row editing: which of its
// shortcut rows records, what the row shows meanwhile, and the "Saved,
// before" line.

#include <windows.h>

#include <optional>

#include "app/app/row_edit.h"
#include "core/base/result.h"
#include "core/menu/popup_rows.h"

namespace glimmerly {

struct App;

// The settings window's recording row, while one records.
std::optional<ShortcutRecording> settings_row_recording(const App& app);
// Shows (or, with none, ends) the recording on the window's row and repaints it.
void show_settings_row_recording(App& app, std::optional<ShortcutRecording> recording);
// The window's "Saved, before" line: the given one when it is the window's, else none.
void show_settings_saved_before(App& app, const std::optional<SavedBeforeLine>& line);

// A pointer row (show a click, spotlight, magnifier) cleared in the window:
// its keys gone from the row and from the page's pointer settings, which
// are then stored and applied as any committed change of that page.
Status clear_settings_pointer_row(App& app, HWND app_window, ShortcutRow row);

}  // namespace glimmerly
