#include "app/app/menu_shortcuts.h"

#include "app/app/app.h"
#include "app/app/hotkeys.h"
#include "app/app/tray_menu.h"
#include "app/lib/settings_store.h"
#include "text/app_error.h"
#include "text/shortcut_text.h"

namespace glimmerly {
namespace {

constexpr Shortcut kReserved{MOD_CONTROL | MOD_ALT, VK_ESCAPE};

std::optional<std::uint32_t> modifier_flag(std::uint32_t key) {
    switch (key) {
        case VK_SHIFT:
        case VK_LSHIFT:
        case VK_RSHIFT: return kShortcutShift;
        case VK_CONTROL:
        case VK_LCONTROL:
        case VK_RCONTROL: return kShortcutCtrl;
        case VK_MENU:
        case VK_LMENU:
        case VK_RMENU: return kShortcutAlt;
        case VK_LWIN:
        case VK_RWIN: return kShortcutWin;
        default: return std::nullopt;
    }
}

Shortcut& shortcut_in(Settings& settings, ShortcutRow row) {
    switch (row) {
        case ShortcutRow::Capture: return settings.capture_shortcut;
        case ShortcutRow::Instant: return settings.instant_capture_shortcut;
        case ShortcutRow::Board: return settings.board_shortcut;
        case ShortcutRow::Arrow: return settings.shape_shortcuts[kShapeArrow];
        case ShortcutRow::Rectangle: return settings.shape_shortcuts[kShapeRectangle];
        case ShortcutRow::Ellipse: break;
    }
    return settings.shape_shortcuts[kShapeEllipse];
}

// The capture shortcut has no stored default (the first run asks for it):
// Print Screen is what the first run proposes.
Shortcut default_shortcut(ShortcutRow row) {
    if (row == ShortcutRow::Capture) return {0, VK_SNAPSHOT};
    Settings defaults;
    return shortcut_in(defaults, row);
}

bool is_shape(ShortcutRow row) { return row >= ShortcutRow::Arrow; }

TextId used_by(ShortcutRow row) {
    switch (row) {
        case ShortcutRow::Capture: return TextId::setup_used_for_capture;
        case ShortcutRow::Instant: return TextId::setup_used_for_instant;
        case ShortcutRow::Board: return TextId::setup_used_by_board;
        default: return TextId::setup_used_by_presentation;
    }
}

// Why the combination cannot serve the row; none when it can.
std::optional<TextId> refusal(const App& app, ShortcutRow row, Shortcut combination) {
    if (combination == kReserved) return TextId::setup_reserved;
    if ((row == ShortcutRow::Board || is_shape(row)) && !combination.ctrl() && !combination.alt())
        return row == ShortcutRow::Board ? TextId::setup_board_needs_modifier : TextId::setup_shape_needs_modifier;
    for (std::uint8_t other = 0; other < 6; ++other) {
        const auto holder = static_cast<ShortcutRow>(other);
        if (holder != row && row_shortcut(app, holder) == combination) return used_by(holder);
    }
    return std::nullopt;
}

std::string registration_text(std::int32_t code, Shortcut combination) {
    const Language language = current_language();
    if (auto held = print_screen_held_text(combination.modifiers, combination.key, code, language)) return *held;
    return shortcut_register_failed_text(code, language);
}

// A global shortcut moved to the combination and stored; on a failed store
// the old combination is taken back.
Result<std::optional<std::string>> apply_global(App& app, HotkeyRegistration& registration, Settings changed,
                                                Shortcut combination) {
    const HotkeyRegistration before = registration;
    if (Status taken = register_hotkey(registration, combination.modifiers, combination.key); !taken)
        return std::optional<std::string>(registration_text(taken.failure().code, combination));
    if (app.keeps_settings) {
        if (Status saved = commit_settings_change(changed); !saved) {
            if (before.registered) {
                (void)register_hotkey(registration, before.modifiers, before.key);
            } else {
                unregister_hotkey(registration);
                registration = before;
            }
            return settings_unsaved_error(saved.failure());
        }
    }
    app.settings = std::move(changed);
    return std::optional<std::string>();
}

// Puts the combination in force for the row. A combination the program or
// the system refuses comes back as the text to show on the row; a failure
// to store it is a failure.
Result<std::optional<std::string>> apply(App& app, ShortcutRow row, Shortcut combination) {
    if (const auto reason = refusal(app, row, combination))
        return std::optional<std::string>(text_of(current_language(), *reason));
    Settings changed = app.settings;
    shortcut_in(changed, row) = combination;
    switch (row) {
        case ShortcutRow::Capture: {
            Status done = change_capture_shortcut(app, combination.modifiers, combination.key);
            if (done) return std::optional<std::string>();
            if (done.failure().code == APP_ERROR_CODE) return std::move(done).failure();
            return std::optional<std::string>(registration_text(done.failure().code, combination));
        }
        case ShortcutRow::Instant: return apply_global(app, app.instant_registration, std::move(changed), combination);
        case ShortcutRow::Board: return apply_global(app, app.board_registration, std::move(changed), combination);
        default: break;
    }
    // The temporary-shape shortcuts are presentation mode's to register.
    if (app.keeps_settings)
        if (Status saved = commit_settings_change(changed); !saved) return settings_unsaved_error(saved.failure());
    app.settings = std::move(changed);
    if (app.presentation)
        if (auto state = app.presentation->try_borrow()) GLIM_TRY(apply_presentation_settings(*state, app.settings));
    return std::optional<std::string>();
}

std::optional<ShortcutRecording> popup_recording(App& app) {
    if (!app.tray_popup) return std::nullopt;
    auto popup = app.tray_popup->try_borrow();
    return popup ? popup->row_state.recording : std::nullopt;
}

Status commit_row(App& app, ShortcutRow row, Shortcut combination, bool offer_previous) {
    const Shortcut previous = row_shortcut(app, row);
    if (combination == previous) {
        invalidate_popup_rows(app, RecordingSource::Popup, std::nullopt);
        return ok_status();
    }
    auto applied = apply(app, row, combination);
    if (!applied) {
        invalidate_popup_rows(app, RecordingSource::Popup, std::nullopt);
        return std::move(applied).failure();
    }
    if (*applied) {
        ShortcutRecording shown{shortcut_key_caps(combination.modifiers, combination.key, current_language()),
                                std::move(**applied), row, 0};
        if (const auto recording = popup_recording(app)) shown.modifiers = recording->modifiers;
        invalidate_popup_rows(app, RecordingSource::Popup, std::move(shown));
        return ok_status();
    }
    app.menu_saved_shortcut =
        offer_previous ? std::optional<SavedShortcut>(SavedShortcut{row, previous}) : std::nullopt;
    invalidate_popup_rows(app, RecordingSource::Popup, std::nullopt);
    auto bindings = shortcut_bindings_snapshot(app);
    if (!bindings) return std::move(bindings).failure();
    if (app.tray_popup)
        if (auto popup = app.tray_popup->try_borrow()) {
            popup->row_state.saved_row =
                offer_previous ? std::optional<AppCommand>(command_of(row)) : std::nullopt;
            return refresh_tray_popup(*popup, *bindings);
        }
    return ok_status();
}

}  // namespace

Shortcut row_shortcut(const App& app, ShortcutRow row) {
    Settings copy = app.settings;
    return shortcut_in(copy, row);
}

Result<ShortcutBindings> shortcut_bindings_snapshot(const App& app) {
    const auto word = [](Shortcut shortcut, const HotkeyRegistration* registration) -> std::uint32_t {
        if (shortcut.key == 0) return 0;
        const bool held = !registration || (registration->registered && registration->modifiers == shortcut.modifiers &&
                                            registration->key == shortcut.key);
        return pack_shortcut(shortcut, !held);
    };
    const Settings& settings = app.settings;
    ShortcutBindings bindings;
    bindings.shortcuts = {word(settings.capture_shortcut, &app.capture_registration),
                          word(settings.instant_capture_shortcut, &app.instant_registration),
                          word(settings.shape_shortcuts[kShapeArrow], nullptr),
                          word(settings.shape_shortcuts[kShapeRectangle], nullptr),
                          word(settings.shape_shortcuts[kShapeEllipse], nullptr),
                          word(settings.board_shortcut, &app.board_registration)};
    bindings.language = settings.language;
    if (app.presentation)
        if (auto state = app.presentation->try_borrow()) {
            const PresentationFeatures& on = state->features;
            bindings.flags = {on.pointer_effects, on.magnifier, on.temporary_shapes, on.keyboard, on.mouse, false};
        }
    bindings.flags[static_cast<std::size_t>(BindingFlag::BoardShown)] = settings.board_visible;
    return bindings;
}

void invalidate_popup_rows(App& app, RecordingSource source, std::optional<ShortcutRecording> recording) {
    // The first-run setup, which records for the application window, is not built: it shows nothing.
    if (source != RecordingSource::Popup || !app.tray_popup) return;
    if (auto popup = app.tray_popup->try_borrow()) {
        popup->row_state.recording = std::move(recording);
        InvalidateRect(popup->main_window, nullptr, FALSE);
    }
}

Status handle_row_command(App& app, HWND, AppCommand command, std::uint32_t action, std::uint32_t key) {
    const auto row = shortcut_row_of(command);
    if (!row || !app.tray_popup) return ok_status();
    auto recording = popup_recording(app);
    switch (action) {
        case kRowPutDefault: return commit_row(app, *row, default_shortcut(*row), true);
        case kRowCancel: invalidate_popup_rows(app, RecordingSource::Popup, std::nullopt); return ok_status();
        case kRowPutPrevious:
            if (!app.menu_saved_shortcut || app.menu_saved_shortcut->row != *row) return ok_status();
            return commit_row(app, *row, app.menu_saved_shortcut->previous, false);
        default: break;
    }
    if (action == kRowStartRecording) {
        invalidate_popup_rows(app, RecordingSource::Popup, ShortcutRecording{{}, {}, *row, 0});
        return ok_status();
    }
    if ((action != kRowKeyDown && action != kRowKeyUp) || !recording || recording->row != *row) return ok_status();
    if (const auto flag = modifier_flag(key)) {
        recording->modifiers = action == kRowKeyDown ? recording->modifiers | *flag : recording->modifiers & ~*flag;
        recording->caps = shortcut_key_caps(recording->modifiers, 0, current_language());
        recording->message.clear();
        invalidate_popup_rows(app, RecordingSource::Popup, std::move(recording));
        return ok_status();
    }
    if (action != kRowKeyDown) return ok_status();
    return commit_row(app, *row, Shortcut{recording->modifiers, key}, true);
}

}  // namespace glimmerly
