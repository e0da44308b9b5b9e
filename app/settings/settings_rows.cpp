#include "app/settings/settings_rows.h"

#include "app/app/app.h"
#include "app/settings/settings_apply.h"
#include "app/settings/settings_window.h"

namespace glimmerly {

std::optional<ShortcutRecording> settings_row_recording(const App& app) {
    if (!app.settings_window) return std::nullopt;
    return app.settings_window->recording;
}

void show_settings_row_recording(App& app, std::optional<ShortcutRecording> recording) {
    SettingsWindow* settings = live_settings_window(app);
    if (!settings) return;
    settings->panel.editing_row = recording ? std::optional<std::uint8_t>(static_cast<std::uint8_t>(recording->row))
                                            : std::nullopt;
    settings->recording = std::move(recording);
    InvalidateRect(settings->window.get(), nullptr, FALSE);
}

void show_settings_saved_before(App& app, const std::optional<SavedBeforeLine>& line) {
    SettingsWindow* settings = live_settings_window(app);
    if (!settings) return;
    if (line && line->source == MenuSource::SettingsWindow)
        settings->panel.saved_before = PanelSavedBefore{line->previous, static_cast<std::uint8_t>(line->row)};
    else
        settings->panel.saved_before.reset();
    InvalidateRect(settings->window.get(), nullptr, FALSE);
}

Status clear_settings_pointer_row(App& app, HWND app_window, ShortcutRow row) {
    SettingsWindow* settings = live_settings_window(app);
    if (!settings || !is_pointer_kind(kind_of_row(row))) return ok_status();
    SettingsPanel& panel = settings->panel;
    panel.view.rows[static_cast<std::size_t>(row)] = KeyCaps{};
    Settings cleared;
    cleared.pointer = panel.pointer;
    set_row_shortcut_in(cleared, row, std::nullopt);
    panel.pointer = cleared.pointer;
    if (Status applied = apply_settings_change(app, app_window, PanelResponse::pointer_changed()); !applied) {
        // Not stored: the row shows again the keys that are still in force.
        (void)refresh_settings_window(app);
        return applied;
    }
    if (SettingsWindow* still = live_settings_window(app)) InvalidateRect(still->window.get(), nullptr, FALSE);
    return ok_status();
}

}  // namespace glimmerly
