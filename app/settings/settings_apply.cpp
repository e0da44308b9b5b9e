#include "app/settings/settings_apply.h"

#include <algorithm>
#include <utility>

#include "app/app/app.h"
#include "app/app/commands.h"
#include "app/app/editor_process.h"
#include "app/app/row_edit.h"
#include "app/app/tray_menu.h"
#include "app/lib/settings_store.h"
#include "app/presentation/devices.h"
#include "app/presentation/presentation.h"
#include "app/presentation/sound.h"
#include "app/settings/settings_window.h"
#include "text/app_error.h"

namespace glimmerly {
namespace {

// A flag of the settings flipped and written; the App's copy changes only
// once the file has it.
Status flip_and_write(App& app, bool Settings::*flag) {
    Settings changed = app.settings;
    changed.*flag = !(changed.*flag);
    if (app.keeps_settings)
        if (Status saved = commit_settings_change(changed); !saved) return settings_unsaved_error(saved.failure());
    app.settings = std::move(changed);
    return ok_status();
}

Status toggle_obs_mirror(App& app) {
    GLIM_TRY(flip_and_write(app, &Settings::obs_mirror));
    if (!app.presentation) return ok_status();
    auto state = app.presentation->try_borrow();
    if (!state) return ok_status();
    return apply_presentation_settings(*state, app.settings);
}

std::optional<AppCommand> feature_command(std::uint8_t id) {
    switch (id) {
        case 0: return APP_COMMAND_SHOW_BOARD;
        case 1: return CMD_PRESENTATION_POINTER_EFFECTS;
        case 2: return CMD_PRESENTATION_MAGNIFIER;
        case 3: return CMD_PRESENTATION_KEYBOARD;
        case 4: return CMD_PRESENTATION_MOUSE;
        case 5: return CMD_PRESENTATION_TEMPORARY_SHAPES;
        default: return std::nullopt;
    }
}

std::optional<ShortcutRow> row_of(std::optional<std::uint8_t> id) {
    if (!id || *id >= kShortcutRowCount) return std::nullopt;
    return static_cast<ShortcutRow>(*id);
}

// The shortcut row a response of the row editing is about: the row that
// records, or the one that carries "Saved, before".
std::optional<ShortcutRow> editing_row(App& app) {
    SettingsWindow* settings = live_settings_window(app);
    return settings ? row_of(settings->panel.editing_row) : std::nullopt;
}
std::optional<ShortcutRow> saved_row(App& app) {
    SettingsWindow* settings = live_settings_window(app);
    if (!settings || !settings->panel.saved_before) return std::nullopt;
    return row_of(settings->panel.saved_before->row);
}

Status run_resident_step(App& app, HWND app_window, PanelResponse response) {
    switch (response.tag()) {
        case PanelTag::ToggleStartWithWindows: return run_app_command(app, app_window, APP_COMMAND_START_WITH_WINDOWS);
        case PanelTag::ToggleLiveCapture: return run_app_command(app, app_window, APP_COMMAND_LIVE_CAPTURE);
        case PanelTag::ToggleMiniToolbar: return flip_and_write(app, &Settings::mini_toolbar);
        case PanelTag::ToggleObsMirror: return toggle_obs_mirror(app);
        case PanelTag::EditShortcutRow: {
            const auto row = row_of(response.id());
            if (!row) return ok_status();
            return begin_row_recording(app, app_window, MenuSource::SettingsWindow, *row);
        }
        case PanelTag::RowEditFirstButton: {
            const auto row = editing_row(app);
            return row ? restore_row_default(app, app_window, *row) : ok_status();
        }
        case PanelTag::RowEditSecondButton: return choose_menu_row(app, app_window);
        case PanelTag::SavedBeforeButton: {
            const auto row = saved_row(app);
            return row ? restore_previous_row_shortcut(app, app_window, *row) : ok_status();
        }
        case PanelTag::SetInputSize: {
            const std::uint32_t size = response.value();
            if (size != 100 && size != 150 && size != 200) return ok_status();
            return run_app_command(app, app_window, APP_COMMAND_INPUT_SIZE_FIRST + (size - 100) / 50);
        }
        case PanelTag::SetShapeDuration: {
            const std::uint32_t ms = response.value();
            if (ms != 1000 && ms != 3000 && ms != 5000) return ok_status();
            return run_app_command(app, app_window, APP_COMMAND_SHAPE_DURATION_FIRST + (ms - 1000) / 2000);
        }
        case PanelTag::RestorePresentationDefaults:
            GLIM_TRY(run_app_command(app, app_window, APP_COMMAND_INPUT_SIZE_FIRST));
            return run_app_command(app, app_window, APP_COMMAND_SHAPE_DURATION_FIRST + 1);
        case PanelTag::ToggleMoveInput: return run_app_command(app, app_window, CMD_PRESENTATION_MOVE_INPUT);
        case PanelTag::ToggleFeature: {
            const auto command = feature_command(response.id());
            return command ? run_app_command(app, app_window, *command) : ok_status();
        }
        default: return ok_status();
    }
}

Status apply_pointer_change(App& app, PanelResponse response) {
    if (!response.commit()) {
        // A slider being dragged: shown at the next frame, written at the release.
        GLIM_TRY(sync_feature_switches(app));
        if (SettingsWindow* settings = live_settings_window(app)) settings->apply_pending = true;
        return ok_status();
    }
    GLIM_TRY(commit_pointer_page(app, true));
    if (SettingsWindow* settings = live_settings_window(app)) settings->apply_pending = false;
    if (response.click_sound()) play_click_sound(app.settings.pointer.click_sound, app.settings.pointer.click_volume);
    return ok_status();
}

// Moving the keys-and-mouse display ends where it is: the place is stored
// and the display shown again from it, as Esc or Enter would.
void end_input_display_move(App& app) {
    if (!app.presentation) return;
    auto state = app.presentation->try_borrow();
    if (!state || !state->move_armed) return;
    Status ended = end_device_layer_drag(*state);
    state->move_armed = false;
    if (ended.ok() && device_feature(state->features)) ended = show_device_layer(*state);
    if (!ended.ok()) (void)stop_presentation(*state);
}

std::uint32_t clamped(std::uint32_t value, std::uint32_t low, std::uint32_t high) {
    return std::clamp(value, low, high);
}

}  // namespace

Settings settings_with_pointer_page(const Settings& settings, const SettingsPanel& panel) {
    Settings changed = settings;
    PointerSettings pointer = panel.pointer;
    for (std::uint8_t id = 0; id < kPointerItemCount; ++id)
        if (const auto slider = pointer_slider(id))
            pointer.*(slider->field) = clamped(pointer.*(slider->field), slider->min, slider->max);
    changed.pointer = pointer;
    changed.presentation_color_1 = panel.presentation_colour;
    return changed;
}

Status sync_feature_switches(App& app) {
    SettingsWindow* settings = live_settings_window(app);
    if (!settings) return ok_status();
    SettingsPanel& panel = settings->panel;
    PresentationFeatures on{};
    auto state = app.presentation ? app.presentation->try_borrow() : PresentationCell::Borrow();
    if (state) on = state->features;
    if (panel.pointer_effects != on.pointer_effects || panel.magnifier != on.magnifier) {
        if (editor_capture_busy(app)) {
            // A capture holds the presentation off: the switch shows off again.
            panel.pointer_effects = on.pointer_effects;
            panel.magnifier = on.magnifier;
        } else if (state) {
            PresentationFeatures wanted = on;
            wanted.pointer_effects = panel.pointer_effects;
            wanted.magnifier = panel.magnifier;
            GLIM_TRY(apply_presentation_features(*state, wanted));
        }
    }
    state.release();
    return refresh_open_tray_popup(app);
}

Status commit_pointer_page(App& app, bool save) {
    GLIM_TRY(sync_feature_switches(app));
    SettingsWindow* settings = live_settings_window(app);
    if (!settings) return ok_status();
    Settings changed = settings_with_pointer_page(app.settings, settings->panel);
    if (save && app.keeps_settings)
        if (Status saved = commit_settings_change(changed); !saved) return settings_unsaved_error(saved.failure());
    app.settings = std::move(changed);
    if (!app.presentation) return ok_status();
    auto state = app.presentation->try_borrow();
    if (!state) return ok_status();
    return apply_presentation_settings(*state, app.settings);
}

void close_settings_window(App& app, HWND app_window) {
    if (app.saved_before.source == MenuSource::SettingsWindow) app.saved_before.state = 2;
    if (active_menu_source(app).source == MenuSource::SettingsWindow) (void)choose_menu_row(app, app_window);
    end_input_display_move(app);
    std::unique_ptr<SettingsWindow> settings = std::move(app.settings_window);
    if (!settings) return;
    app.last_settings_page = settings->panel.page;
    if (HWND window = settings->window.get()) KillTimer(window, SETTINGS_FRAME_TIMER);
    settings.reset();  // the window goes first, then the panel and the drawing resources
}

Status apply_settings_change(App& app, HWND app_window, PanelResponse response) {
    const PanelTag tag = response.tag();
    if (tag == PanelTag::Close) {
        close_settings_window(app, app_window);
        return ok_status();
    }
    if (tag == PanelTag::PointerChanged) {
        GLIM_TRY(apply_pointer_change(app, response));
    } else if (static_cast<std::uint8_t>(tag) <= static_cast<std::uint8_t>(PanelTag::ToggleFeature)) {
        GLIM_TRY(run_resident_step(app, app_window, response));
        GLIM_TRY(refresh_open_tray_popup(app));
        GLIM_TRY(refresh_settings_window(app));
    }
    if (SettingsWindow* settings = live_settings_window(app)) InvalidateRect(settings->window.get(), nullptr, FALSE);
    return ok_status();
}

}  // namespace glimmerly
