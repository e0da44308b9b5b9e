#pragma once
// Carrying out what the settings panel answers: the resident's commands for
// the switches it owns, the settings file for the rest, the presentation
// state for the pointer effects, and the tray popup and the window kept in
// step. A change to be saved reaches the App's copy only once it is written.

#include <windows.h>

#include "core/base/result.h"
#include "core/settings/settings.h"
#include "ui/settings_panel/settings_panel.h"

namespace glimmerly {

struct App;

Status apply_settings_change(App& app, HWND app_window, PanelResponse response);

// The panel's pointer-effects and magnifier switches to the presentation
// state; during a capture they are put back in the panel instead.
Status sync_feature_switches(App& app);

// The panel's pointer page into the settings (clamped), written when
// `save`, and into the presentation state.
Status commit_pointer_page(App& app, bool save);

// The settings with the panel's pointer values, each clamped to its range.
Settings settings_with_pointer_page(const Settings& settings, const SettingsPanel& panel);

// Closes the window, keeping its page for the next opening.
void close_settings_window(App& app, HWND app_window);

}  // namespace glimmerly
