#include "app/app/row_edit.h"

#include "app/app/app.h"
#include "app/app/hotkeys.h"
#include "app/app/setup.h"
#include "app/app/tray_menu.h"
#include "app/lib/settings_store.h"
#include "app/lib/ui_language.h"
#include "app/settings/settings_rows.h"
#include "app/settings/settings_window.h"

namespace glimmerly {
namespace {

constexpr std::uint32_t kBackspace = 0x08;
constexpr std::uint32_t kEscape = 0x1B;
constexpr std::uint32_t kPrintScreen = 0x2C;

std::optional<ShortcutRecording> popup_recording(const App& app) {
    if (!app.tray_popup) return std::nullopt;
    auto popup = app.tray_popup->try_borrow();
    return popup ? popup->row_state.recording : std::nullopt;
}

std::optional<AppCommand> popup_command_of(ShortcutRow row) {
    const AppCommand command = command_of(row);
    return command != 0 ? std::optional<AppCommand>(command) : std::nullopt;
}

}  // namespace

ActiveRow active_menu_source(const App& app) {
    if (const auto recording = popup_recording(app)) return {MenuSource::Popup, recording->row};
    if (const auto recording = settings_row_recording(app)) return {MenuSource::SettingsWindow, recording->row};
    return {MenuSource::None, ShortcutRow::Capture};
}

Result<ShortcutBindings> shortcut_bindings_snapshot(const App& app) {
    const auto registered = [](const HotkeyRegistration& registration) -> std::optional<Shortcut> {
        if (!registration.registered) return std::nullopt;
        return Shortcut{registration.modifiers, registration.key};
    };
    const Settings& settings = app.settings;
    HeldShortcuts held{registered(app.capture_registration), registered(app.instant_registration),
                       registered(app.board_registration), {}};
    std::optional<PresentationFeatures> features;
    if (app.presentation)
        if (auto state = app.presentation->try_borrow()) {
            // Index 0 of the presentation's flags is its stop shortcut.
            for (std::size_t i = 0; i < held.shape_failed.size(); ++i)
                held.shape_failed[i] = state->shortcuts.failed[1 + i];
            features = state->features;
        }
    ShortcutBindings bindings;
    bindings.shortcuts = binding_words(settings, held);
    bindings.language = settings.language;
    if (features) {
        const PresentationFeatures& on = *features;
        bindings.flags = {on.pointer_effects, on.magnifier, on.temporary_shapes, on.keyboard, on.mouse, false};
    }
    bindings.flags[static_cast<std::size_t>(BindingFlag::BoardShown)] = settings.board_visible;
    return bindings;
}

Status refresh_open_tray_popup(App& app) {
    if (!app.tray_popup) return ok_status();
    auto bindings = shortcut_bindings_snapshot(app);
    if (!bindings) return std::move(bindings).failure();
    auto popup = app.tray_popup->try_borrow();
    if (!popup) return ok_status();
    return refresh_tray_popup(*popup, *bindings);
}

void invalidate_popup_rows(App& app, MenuSource source, std::optional<ShortcutRecording> recording) {
    if (source == MenuSource::SettingsWindow) return show_settings_row_recording(app, std::move(recording));
    if (source != MenuSource::Popup || !app.tray_popup) return;
    if (auto popup = app.tray_popup->try_borrow()) {
        popup->row_state.recording = std::move(recording);
        InvalidateRect(popup->main_window, nullptr, FALSE);
    }
}

Status handle_row_command(App& app, HWND window, AppCommand command, std::uint32_t action, std::uint32_t key) {
    const auto row = shortcut_row_of(command);
    if (!row || !app.tray_popup || action > kRowPutPrevious) return ok_status();
    switch (action) {
        case kRowStartRecording: return begin_row_recording(app, window, MenuSource::Popup, *row);
        case kRowKeyDown: return edit_shortcut_row(app, window, key);
        case kRowKeyUp: {
            const ActiveRow live = active_menu_source(app);
            if (live.source == MenuSource::None) return ok_status();
            if (key != kPrintScreen) {
                show_held_modifiers(app, read_hotkey_modifiers());
                return ok_status();
            }
            (void)record_combination(app.setup, read_hotkey_modifiers(), kPrintScreen);
            return assign_row_shortcut(app, window);
        }
        case kRowPutDefault: return set_row_shortcut(app, window, MenuSource::Popup, *row, row_default(*row));
        case kRowCancel: return choose_menu_row(app, window);
        case kRowPutPrevious: {
            const SavedBefore saved = app.saved_before;
            if (saved.source != MenuSource::Popup || saved.row != *row || saved.state == 2) return ok_status();
            const std::optional<Shortcut> previous =
                saved.state == 1 ? std::optional<Shortcut>(Shortcut{saved.modifiers, saved.key}) : std::nullopt;
            GLIM_TRY(set_row_shortcut(app, window, MenuSource::Popup, *row, previous));
            app.saved_before.state = 2;
            return set_saved_before(app, std::nullopt);
        }
        default: return ok_status();
    }
}

Status begin_row_recording(App& app, HWND window, MenuSource source, ShortcutRow row) {
    if (app.setup_open) {
        // The first-run dialog holds the setup: a row cannot take it over.
        if (!app.setup.recording_row) return ok_status();
        GLIM_TRY(choose_menu_row(app, window));
    }
    // Another process may have changed a shortcut since: start from the file.
    if (app.keeps_settings) GLIM_TRY(reload_settings(app.settings));
    GLIM_TRY(release_presentation_shortcuts(app));
    app.setup_open = true;
    reset_setup_state(app.setup, kind_of_row(row), row_shortcut_in(app.settings, row), true, current_language(),
                      app.setup.layout);
    app.saved_before.state = 2;
    GLIM_TRY(set_saved_before(app, std::nullopt));
    invalidate_popup_rows(app, source, ShortcutRecording{{}, {}, row});
    return ok_status();
}

Status edit_shortcut_row(App& app, HWND window, std::uint32_t key) {
    const ActiveRow live = active_menu_source(app);
    if (live.source == MenuSource::None || !app.setup_open) return ok_status();
    switch (key) {
        case kBackspace: return set_row_shortcut(app, window, live.source, live.row, row_default(live.row));
        case kPrintScreen: return ok_status();  // recorded on its release
        case kEscape: return choose_menu_row(app, window);
        default: break;
    }
    const std::uint32_t modifiers = read_hotkey_modifiers();
    if (is_modifier_key(key)) {
        show_held_modifiers(app, modifiers);
        return ok_status();
    }
    (void)record_combination(app.setup, modifiers, key);
    return assign_row_shortcut(app, window);
}

void show_held_modifiers(App& app, std::uint32_t modifiers) {
    const ActiveRow live = active_menu_source(app);
    if (live.source == MenuSource::None) return;
    std::optional<ShortcutRecording> shown =
        live.source == MenuSource::Popup ? popup_recording(app) : settings_row_recording(app);
    if (!shown) return;
    shown->caps = modifier_names(modifiers, app.setup.language);
    invalidate_popup_rows(app, live.source, std::move(shown));
}

Status assign_row_shortcut(App& app, HWND window) {
    const ActiveRow live = active_menu_source(app);
    if (live.source == MenuSource::None) return ok_status();
    const std::optional<Shortcut> previous = row_shortcut_in(app.settings, live.row);
    GLIM_TRY(commit_recorded_shortcut(app, window, kSetupFocusSave));
    if (app.setup_open && app.setup.recording_row) {
        app.setup.listening = true;
        invalidate_popup_rows(app, live.source, ShortcutRecording{{}, app.setup.message, live.row});
        return ok_status();
    }
    return mark_shortcut_row_saved(app, live.source, live.row, previous);
}

Status set_row_shortcut(App& app, HWND window, MenuSource source, ShortcutRow row, std::optional<Shortcut> shortcut) {
    const ActiveRow live = active_menu_source(app);
    if (live.source != source || live.row != row || !app.setup_open) {
        GLIM_TRY(begin_row_recording(app, window, source, row));
        // The visible first-run setup holds the state: nothing may write into it.
        const ActiveRow started = active_menu_source(app);
        if (started.source != source || started.row != row || !app.setup.recording_row) return ok_status();
    }
    if (shortcut) {
        app.setup.recorded = shortcut;
        app.setup.listening = false;
        return assign_row_shortcut(app, window);
    }
    // Only the pointer rows are ever cleared, and only the settings window has them.
    const std::optional<Shortcut> previous = row_shortcut_in(app.settings, row);
    GLIM_TRY(choose_menu_row(app, window));
    if (!live_settings_window(app)) return ok_status();
    GLIM_TRY(clear_settings_pointer_row(app, window, row));
    return mark_shortcut_row_saved(app, source, row, previous);
}

Status restore_row_default(App& app, HWND window, ShortcutRow row) {
    return set_row_shortcut(app, window, MenuSource::SettingsWindow, row, row_default(row));
}

Status restore_previous_row_shortcut(App& app, HWND window, ShortcutRow row) {
    const SavedBefore saved = app.saved_before;
    if (saved.source != MenuSource::SettingsWindow || saved.row != row || saved.state == 2) return ok_status();
    const std::optional<Shortcut> previous =
        saved.state == 1 ? std::optional<Shortcut>(Shortcut{saved.modifiers, saved.key}) : std::nullopt;
    GLIM_TRY(set_row_shortcut(app, window, MenuSource::SettingsWindow, row, previous));
    app.saved_before.state = 2;
    return set_saved_before(app, std::nullopt);
}

Status choose_menu_row(App& app, HWND window) {
    invalidate_popup_rows(app, MenuSource::SettingsWindow, std::nullopt);
    invalidate_popup_rows(app, MenuSource::Popup, std::nullopt);
    if (app.setup_open && app.setup.recording_row) return close_app_window(app, window);
    return ok_status();
}

Status mark_shortcut_row_saved(App& app, MenuSource source, ShortcutRow row, std::optional<Shortcut> previous) {
    const std::optional<Shortcut> now = row_shortcut_in(app.settings, row);
    const bool changed = previous != now;
    app.saved_before = SavedBefore{source, row, changed ? (previous ? 1u : 0u) : 2u,
                                   previous ? previous->modifiers : 0u, previous ? previous->key : 0u};
    invalidate_popup_rows(app, source, std::nullopt);
    std::optional<SavedBeforeLine> line;
    if (changed) line = SavedBeforeLine{source, row, optional_shortcut_key_caps(previous, 0, current_language())};
    GLIM_TRY(set_saved_before(app, std::move(line)));
    return refresh_open_tray_popup(app);
}

Status set_saved_before(App& app, std::optional<SavedBeforeLine> line) {
    show_settings_saved_before(app, line);
    if (!app.tray_popup) return ok_status();
    if (auto popup = app.tray_popup->try_borrow()) {
        popup->row_state.saved_row = line && line->source == MenuSource::Popup ? popup_command_of(line->row)
                                                                              : std::nullopt;
        InvalidateRect(popup->main_window, nullptr, FALSE);
    }
    return ok_status();
}

}  // namespace glimmerly
