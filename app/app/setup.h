#pragma once
// The shortcut setup in the application window. At a first start (or when
// the capture shortcut could not be taken) the hidden window becomes a small
// captioned dialog that proposes Print Screen and records the capture
// shortcut; a shortcut row of the popup or the settings window records
// through the same state with the window left hidden. While setup mode is on
// the window's keys, hotkeys, clicks, cursor and paint come here.

#include <windows.h>

#include <cstdint>

#include "app/app/events.h"
#include "core/base/result.h"
#include "core/shortcuts/shortcut_setup.h"

namespace glimmerly {

struct App;

// Start-up's setup of the capture shortcut: the presentation shortcuts
// released, bare Print Screen proposed (taken over and registered when the
// settings have no capture shortcut), the dialog sized for its texts and
// shown centred on its monitor in the foreground.
Status activate_resident(App& app, HWND window);

// Ends setup mode: hidden again, the presentation shortcuts back, an open
// settings window showing the shortcuts now in force. Only the visible
// first-run setup that leaves no global shortcut ends the program.
Status close_app_window(App& app, HWND window);

// While a shortcut is chosen the program holds none of presentation mode's
// shortcuts, so that pressing one (Alt+A by default) is recorded instead of
// arming a shape; `close_app_window` takes them back.
Status release_presentation_shortcuts(App& app);

// Setup mode's share of the window's messages; not handled for the others.
AppAnswer handle_setup_message(App& app, HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// One paint pass of the dialog into the window's DC.
Status paint_setup_window(SetupState& state, HDC dc, const RECT& client);

// A key pressed in the dialog (Print Screen arrives as its release).
Status handle_shortcut_capture_key(App& app, HWND window, std::uint32_t key);

// A registered hotkey's combination pressed while the dialog is shown.
void record_setup_key(SetupState& state, std::uint32_t modifiers, std::uint32_t key);

// A registered hotkey's combination pressed while a row records: recorded
// and committed to the row; a modifier shows on the row.
Status record_row_key(App& app, HWND window, std::uint32_t modifiers, std::uint32_t key);

// The modifiers held now, as RegisterHotKey flags.
std::uint32_t read_hotkey_modifiers();

// Presses a control: 0 the keys area (listen again), 1 Cancel, 2 Save.
Status commit_recorded_shortcut(App& app, HWND window, std::uint64_t control);

}  // namespace glimmerly
