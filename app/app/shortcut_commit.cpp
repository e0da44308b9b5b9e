#include "app/app/shortcut_commit.h"

#include "app/app/app.h"
#include "app/app/hotkeys.h"
#include "app/app/notice.h"
#include "app/app/setup.h"
#include "app/lib/settings_store.h"
#include "app/win/failure.h"
#include "core/notice/notice_layout.h"
#include "core/shortcuts/shortcut_rules.h"
#include "text/app_error.h"
#include "text/shortcut_text.h"

namespace glimmerly {
namespace {

bool holds(const HotkeyRegistration& registration, Shortcut c) {
    return registration.registered && registration.modifiers == c.modifiers && registration.key == c.key;
}

std::string error_text(const Failure& failure, Language language) {
    return error_to_text(failure, language, &win::code_text);
}

Status refuse(App& app, std::string text) {
    app.setup.message = std::move(text);
    return ok_status();
}

Status finish(App& app, HWND window, bool notice) {
    GLIM_TRY(close_app_window(app, window));
    if (notice) show_notice(app, NOTICE_PREFERENCES);
    return ok_status();
}

Status apply_to_presentation(App& app, const Settings& settings) {
    if (!app.presentation) return ok_status();
    auto state = app.presentation->try_borrow();
    if (!state) return plain_failure("Presentation mode is busy");
    return apply_presentation_settings(*state, settings);
}

// Why a global shortcut could not be put in force: Print Screen still held,
// the settings that could not be written, or the system's code.
std::string global_failure_text(Shortcut c, const Failure& failure, Language language, bool register_wording) {
    if (failure.code == APP_ERROR_CODE) return error_text(failure, language);
    if (auto held = print_screen_held_text(c.modifiers, c.key, failure.code, language)) return *held;
    return register_wording ? shortcut_register_failed_text(failure.code, language)
                            : shortcut_failure_text(failure.code, language);
}

Status save_capture(App& app, HWND window, Shortcut c) {
    if (holds(app.capture_registration, c) && app.settings.capture_shortcut == c) return finish(app, window, true);
    if (Status done = change_capture_shortcut(app, c.modifiers, c.key); !done)
        return refuse(app, global_failure_text(c, done.failure(), app.setup.language, true));
    return finish(app, window, true);
}

Status save_global(App& app, HWND window, HotkeyRegistration& registration, ShortcutRow row, Shortcut c,
                   bool print_screen_text) {
    if (holds(registration, c) && row_shortcut_in(app.settings, row) == c) return finish(app, window, true);
    Settings changed = app.settings;
    set_row_shortcut_in(changed, row, c);
    if (Status done = change_global_shortcut(app, registration, std::move(changed), c.modifiers, c.key); !done) {
        const Failure& failure = done.failure();
        if (!print_screen_text && failure.code != APP_ERROR_CODE)
            return refuse(app, shortcut_failure_text(failure.code, app.setup.language));
        return refuse(app, global_failure_text(c, failure, app.setup.language, false));
    }
    return finish(app, window, true);
}

// The shapes' hotkeys belong to presentation mode: the system is asked under
// a probe id whether it would take the combination, presentation mode
// registers it anew, and the file is written last.
Status save_shape(App& app, HWND window, ShortcutRow row, Shortcut c) {
    const Language language = app.setup.language;
    const auto wrapped = [&](std::string detail) {
        return refuse(app, localized_text(language, TextId::setup_invalid, {{"detail", std::move(detail)}}));
    };
    SetLastError(0);
    if (RegisterHotKey(window, HOTKEY_ID_PROBE, c.modifiers | MOD_NOREPEAT, c.key)) {
        UnregisterHotKey(window, HOTKEY_ID_PROBE);
    } else if (Failure tried = win::win32_failure("RegisterHotKey"); tried.code != HOTKEY_IN_USE_CODE) {
        // Held by another program is no refusal: it may be this program's own shape hotkey.
        return wrapped(error_text(tried, language));
    }
    Settings changed = app.settings;
    set_row_shortcut_in(changed, row, c);
    if (Status applied = apply_to_presentation(app, changed); !applied) return wrapped(error_text(applied.failure(), language));
    if (app.keeps_settings) {
        if (Status saved = commit_settings_change(changed); !saved) {
            (void)apply_to_presentation(app, app.settings);
            return wrapped(error_text(settings_unsaved_error(saved.failure()), language));
        }
    }
    app.settings = std::move(changed);
    return finish(app, window, true);
}

Status save_pointer(App& app, HWND window, ShortcutRow row, Shortcut c) {
    Settings changed = app.settings;
    set_row_shortcut_in(changed, row, c);
    if (app.keeps_settings)
        if (Status saved = commit_settings_change(changed); !saved) return settings_unsaved_error(saved.failure());
    app.settings = std::move(changed);
    GLIM_TRY(apply_to_presentation(app, app.settings));
    return finish(app, window, false);
}

}  // namespace

Status apply_setup_instant_shortcut(App& app, HWND window, std::uint32_t modifiers, std::uint32_t key) {
    return save_global(app, window, app.instant_registration, ShortcutRow::Instant, {modifiers, key}, true);
}

Status apply_setup_board_shortcut(App& app, HWND window, std::uint32_t modifiers, std::uint32_t key) {
    return save_global(app, window, app.board_registration, ShortcutRow::Board, {modifiers, key}, false);
}

Status save_recorded_shortcut(App& app, HWND window) {
    if (!app.setup.recorded) return ok_status();
    const Shortcut c = *app.setup.recorded;
    const ShortcutKind kind = app.setup.kind;
    if (const auto refusal = judge_shortcut(kind, c, app.settings))
        return refuse(app, refusal_text(*refusal, app.setup.language));
    const ShortcutRow row = row_of_kind(kind);
    switch (kind) {
        case ShortcutKind::Capture: return save_capture(app, window, c);
        case ShortcutKind::Instant: return apply_setup_instant_shortcut(app, window, c.modifiers, c.key);
        case ShortcutKind::Board: return apply_setup_board_shortcut(app, window, c.modifiers, c.key);
        case ShortcutKind::Arrow:
        case ShortcutKind::Rectangle:
        case ShortcutKind::Ellipse: return save_shape(app, window, row, c);
        default: return save_pointer(app, window, row, c);
    }
}

}  // namespace glimmerly
