#include "app/app/commands.h"

#include "app/app/app.h"
#include "app/app/error_box.h"
#include "app/app/language.h"
#include "app/app/messages.h"
#include "app/app/settings_timers.h"
#include "app/app/editor_process.h"
#include "app/board/bake/restore.h"
#include "app/board/board_processes.h"
#include "app/lib/program_folders.h"
#include "app/lib/settings_store.h"
#include "app/lib/start_with_windows.h"
#include "app/settings/settings_window.h"
#include "app/win/failure.h"
#include "app/win/owners.h"
#include "text/app_error.h"

namespace glimmerly {
namespace {

// The settings changed in memory, and stored when the run keeps a file;
// a failed store is the settings-unsaved error and changes nothing.
Status commit_or_keep(App& app, Settings changed) {
    if (app.keeps_settings)
        if (Status saved = commit_settings_change(changed); !saved) return settings_unsaved_error(saved.failure());
    app.settings = std::move(changed);
    return ok_status();
}

// The sign-in value decides, not the settings: a value the user removed
// elsewhere turns autostart on again here. A value of any type counts, as
// another program may have written it as REG_EXPAND_SZ. A save that fails
// (the file held by another program) puts the value back as it was, so that
// the switch, the value and the file never disagree.
Status toggle_start_with_windows(App& app) {
    auto before = read_sign_in_value();
    if (!before) return std::move(before).failure();
    const bool on = !before->present;
    GLIM_TRY(set_start_with_windows(on));
    Settings changed = app.settings;
    changed.start_with_windows = on;
    Status committed = commit_or_keep(app, std::move(changed));
    if (!committed) GLIM_TRY(restore_sign_in_value(*before));
    return committed;
}

Status toggle_live_capture(App& app) {
    Settings changed = app.settings;
    changed.live_capture = !changed.live_capture;
    return commit_or_keep(app, std::move(changed));
}

// Shown or hidden in the settings first; when the desktop cannot follow,
// the setting is put back.
Status toggle_board(App& app) {
    const bool visible = app.settings.board_visible;
    GLIM_TRY(set_board_visibility(app, !visible));
    Status followed = [&]() -> Status {
        if (!visible) return start_board_bake_process(app.board_program);
        auto folder = ensure_board_dir();
        if (!folder) return std::move(folder).failure();
        return restore_wallpaper(*folder);
    }();
    if (followed) return ok_status();
    GLIM_TRY(set_board_visibility(app, visible));
    return followed;
}

Status set_presentation_value(App& app, AppCommand command) {
    Settings changed = app.settings;
    if (command <= APP_COMMAND_SHAPE_DURATION_FIRST + 2)
        changed.presentation_duration_ms = 1000 + 2000 * (command - APP_COMMAND_SHAPE_DURATION_FIRST);
    else
        changed.input_display_size = 100 + 50 * (command - APP_COMMAND_INPUT_SIZE_FIRST);
    GLIM_TRY(commit_or_keep(app, std::move(changed)));
    auto state = app.presentation->try_borrow();
    if (!state) return ok_status();
    return apply_presentation_settings(*state, app.settings);
}

Status run_presentation_command(App& app, AppCommand command) {
    if (!app.presentation) return ok_status();
    const bool value = (command >= 121 && command <= 123) || (command >= 141 && command <= 143);
    if (value) return set_presentation_value(app, command);
    auto state = app.presentation->try_borrow();
    if (!state) return ok_status();
    Status switched = command < APP_COMMAND_DRAW_ARROW
                          ? toggle_presentation_feature(*state, command)
                          : handle_presentation_hotkey(*state, static_cast<int>(command - 80));
    if (!switched) {
        // Never half on; what failed matters less to the user than that
        // everything is off and how to start again.
        (void)stop_presentation(*state);
        return make_app_error(TextId::error_presentation_stopped);
    }
    const bool armed = temporary_shape_armed(*state);
    state.release();
    if (armed) replace_notice_text(app.notice, win::to_wide(text_of(current_language(), TextId::notice_shape_armed)));
    return ok_status();
}

}  // namespace

Status run_app_command(App& app, HWND window, AppCommand command) {
    if (refused_while_capturing(command) && editor_capture_busy(app)) {
        show_message_box(window, text_of(current_language(), TextId::error_presentation_busy));
        return ok_status();
    }
    if (const auto language = language_of_command(command)) return change_language(app, window, *language);
    switch (command) {
        case APP_COMMAND_TAKE_SCREENSHOT: PostMessageW(window, WM_APP_START_CAPTURE, 0, 0); return ok_status();
        case APP_COMMAND_QUIT: PostQuitMessage(0); return ok_status();
        case APP_COMMAND_START_WITH_WINDOWS: return toggle_start_with_windows(app);
        case APP_COMMAND_LIVE_CAPTURE: return toggle_live_capture(app);
        case APP_COMMAND_INSTANT_SCREENSHOT: return start_instant_screenshot(app, window);
        case APP_COMMAND_EDIT_BOARD: return start_board_editor_process(app.board_program);
        case APP_COMMAND_SHOW_BOARD: return toggle_board(app);
        case APP_COMMAND_CLEAR_BOARD: return start_board_clear_process(app.board_program);
        case APP_COMMAND_SETTINGS: return open_settings_window(app, window);
        default: break;
    }
    const bool presentation = (command >= 101 && command <= 143) ||
                              (command >= APP_COMMAND_DRAW_ARROW && command <= APP_COMMAND_DRAW_ARROW + 2);
    if (presentation) return run_presentation_command(app, command);
    return ok_status();
}

}  // namespace glimmerly
