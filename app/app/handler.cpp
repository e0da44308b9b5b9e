// The App's answers to the application window's messages: the resident's
// shortcuts, its icon and menu, display changes, the timers and the private
// messages. The capture session's messages join here with the editor.

#include "app/app/capture_start.h"
#include "app/app/commands.h"
#include "app/app/editor_messages.h"
#include "app/app/editor_process.h"
#include "app/app/editor_session.h"
#include "app/app/editor_typing.h"
#include "app/app/events.h"
#include "app/app/presentation_store.h"
#include "app/app/row_edit.h"
#include "app/app/messages.h"
#include "app/app/session_output.h"
#include "app/app/settings_timers.h"
#include "app/app/setup.h"
#include "app/app/tray_menu.h"
#include "app/app/warm_renderer.h"
#include "app/board/bake/restore.h"
#include "app/presentation/screen_fit.h"
#include "app/board/board_leave.h"
#include "app/board/board_processes.h"
#include "app/lib/settings_store.h"

namespace glimmerly {
namespace {

AppAnswer on_close(App& app, HWND window) {
    if (app.capture_session) {
        save_and_bake_board(app, window, std::nullopt);
        return handled();
    }
    PostQuitMessage(0);
    return handled();
}

AppAnswer on_display_change(App& app, HWND window) {
    // Made for the old layout.
    app.warm_renderer.reset();
    app.display_layout = current_display_layout();
    if (app.presentation) {
        if (auto state = app.presentation->try_borrow())
            GLIM_TRY(rebuild_presentation_windows(*state));
        else
            app.display_layout.reset();  // busy under a box of its own: the watch's next look takes the change
    }
    if (app.capture_session) {
        EditorSession* session = open_editor_session(app);
        save_and_bake_board(app, window, session && session->board() ? TextId::error_display_changed_board
                                                                      : TextId::error_display_changed);
    }
    if (!app.in_process_editor) {
        app.display_changed = true;
        SetTimer(window, TIMER_BOARD_CHECK, kBoardCheckDelayMs, nullptr);
    }
    return handled();
}

// Wine sends no WM_DISPLAYCHANGE for a change of the screen made outside
// it: a layout that differs from the last one taken is taken as the message
// would be. A change that came and went while this thread was busy leaves
// no trace in the layout, only in presentation windows made meanwhile for
// the screen of that moment: those are made again.
AppAnswer on_display_watch(App& app, HWND window) {
    if (app.display_layout != current_display_layout()) return on_display_change(app, window);
    if (app.presentation)
        if (auto state = app.presentation->try_borrow(); state && !presentation_fits_screen(*state))
            return answer(rebuild_presentation_windows(*state));
    return handled();
}

// The capture, instant-screenshot and board shortcuts pressed.
AppAnswer on_hotkey(App& app, HWND window, WPARAM id) {
    const auto is = [&](const HotkeyRegistration& registration) {
        return registration.registered && static_cast<WPARAM>(registration.id) == id;
    };
    if (is(app.board_registration)) return answer(start_board_editor_process(app.board_program));
    if (is(app.instant_registration)) return answer(start_instant_screenshot(app, window));
    if (is(app.capture_registration)) return answer(start_capture_session(app, window));
    return not_handled();
}

// A display change asks for a bake: the monitors the pictures were made for are gone.
AppAnswer on_board_check(App& app, HWND window) {
    KillTimer(window, TIMER_BOARD_CHECK);
    const bool bake_requested = std::exchange(app.display_changed, false);
    if (app.keeps_settings) GLIM_TRY(reload_settings(app.settings));
    auto needed = board_needs_bake(app.settings.board_visible, bake_requested);
    if (!needed) return std::move(needed).failure();
    if (*needed) (void)start_board_bake_process(app.board_program);
    return handled();
}

AppAnswer on_timer(App& app, HWND window, WPARAM id) {
    switch (id) {
        case TIMER_BOARD_CHECK: return on_board_check(app, window);
        case TIMER_DISPLAY_WATCH: return on_display_watch(app, window);
        case TIMER_SESSION_FRAME:
        case TIMER_TOOLBAR_ANIMATION:
            KillTimer(window, id);
            if (app.capture_session) InvalidateRect(window, nullptr, FALSE);
            return handled();
        case TIMER_DEFERRED_REPLAY: return answer(replay_deferred_messages(app, window));
        case TIMER_SETTINGS_SAVE: return answer(run_settings_save_timer(app, window));
        case TIMER_INSTANT_RETRY: KillTimer(window, id); return answer(finish_instant_screenshot(app, window));
        case TIMER_PREPARE_EDITOR: retry_prepare_editor_process(app, window); return handled();
        case BOARD_CLOSE_TIMER:
            KillTimer(window, id);
            PostQuitMessage(0);
            return handled();
        default: return not_handled();
    }
}

// A command row closed the popup before it posted (lParam 0); a toggle
// or a choice leaves it open, showing what the command changed.
Status on_menu_command(App& app, HWND window, AppCommand command, LPARAM popup_open) {
    if (popup_open == 0) close_tray_popup(app, window);
    Status done = run_app_command(app, window, command);
    if (!app.tray_popup) return done;
    auto popup = app.tray_popup->try_borrow();
    // A message box of the command took the foreground: the popup hid itself then.
    if (!popup || !IsWindowVisible(popup->main_window)) {
        popup.release();
        close_tray_popup(app, window);
        return done;
    }
    auto bindings = shortcut_bindings_snapshot(app);
    if (!bindings) return done ? std::move(bindings).failure() : std::move(done);
    Status refreshed = refresh_tray_popup(*popup, *bindings);
    return done ? std::move(refreshed) : std::move(done);
}

Status on_menu_closed(App& app, HWND window, WPARAM pressed_on_icon, LPARAM main_window) {
    if (!app.tray_popup) return ok_status();
    {
        auto popup = app.tray_popup->try_borrow();
        if (!popup || popup->main_window != reinterpret_cast<HWND>(main_window)) return ok_status();
    }
    close_tray_popup(app, window);
    if (pressed_on_icon) app.popup_closed_at = GetTickCount64();
    return ok_status();
}

// The capture's messages when no capture is open: nothing to act on.
AppAnswer without_capture(HWND window, UINT message) {
    if (message == WM_PAINT) {
        PAINTSTRUCT paint{};
        BeginPaint(window, &paint);
        EndPaint(window, &paint);
    }
    if (message == WM_MOUSELEAVE) KillTimer(window, TIMER_TOOLBAR_ANIMATION);
    return handled();
}

AppAnswer on_private_message(App& app, HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_APP_TRAY:
            if (lparam == WM_LBUTTONUP || lparam == WM_RBUTTONUP) return answer(open_tray_popup(app, window));
            return handled();
        case WM_APP_START_CAPTURE:
            store_warm_start(app.frame_diagnostic, wparam);
            acknowledge_capture_request(app);
            return answer(start_capture_session(app, window));
        case WM_APP_CAPTURE_TAKEN: return answer(handle_capture_taken(app, wparam));
        case WM_APP_INSTANT_SCREENSHOT_DONE: return answer(finish_instant_screenshot(app, window));
        case WM_APP_EDITOR_READY: return answer(handle_editor_ready(app, window, wparam, lparam));
        case WM_APP_EDITOR_EXITED: return answer(handle_editor_exited(app, window, wparam, lparam));
        case WM_APP_MENU_COMMAND: return answer(on_menu_command(app, window, static_cast<AppCommand>(wparam), lparam));
        case WM_APP_MENU_CLOSED: return answer(on_menu_closed(app, window, wparam, lparam));
        case WM_APP_MENU_UPDATE: {
            const auto word = decode_row_command(static_cast<std::uint64_t>(lparam));
            if (!word) return handled();
            return answer(handle_row_command(app, window, static_cast<AppCommand>(wparam), word->action, word->key));
        }
        case WM_APP_RENDERER_READY: return answer(receive_editor_renderer(app, window));
        case WM_APP_LENS_DONE: return answer(finish_session_search(app, window));
        case WM_APP_NOTICE: show_requested_notice(app, wparam, lparam); return handled();
        case WM_APP_TYPING_REFUSED: return answer(show_typing_refusal(app));
        // Without an editor child, a capture session or the tray popup
        // these find nothing to act on.
        case WM_APP_BOARD_CLOSED: return handled();
        case WM_APP_SAVE_SETTINGS: return answer(store_presentation_changes(app));
        default: return not_handled();
    }
}

AppAnswer dispatch(App& app, HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (app.setup_open) {
        AppAnswer setup = handle_setup_message(app, window, message, wparam, lparam);
        if (!setup || *setup) return setup;
    }
    switch (message) {
        case WM_DESTROY:
            (void)take_deferred_messages(window);
            PostQuitMessage(0);
            return handled();
        case WM_CLOSE: return on_close(app, window);
        case WM_QUERYENDSESSION: return handled(TRUE);
        case WM_ERASEBKGND: return handled(1);
        case WM_SETTINGCHANGE:
            if (wparam != SPI_SETDESKWALLPAPER || app.in_process_editor) return not_handled();
            SetTimer(window, TIMER_BOARD_CHECK, kBoardCheckDelayMs, nullptr);
            return handled();
        case WM_SETCURSOR:
            if (open_editor_session(app)) return route_editor_message(app, window, message, wparam, lparam);
            return not_handled();
        case WM_DISPLAYCHANGE: return on_display_change(app, window);
        case WM_HOTKEY: return on_hotkey(app, window, wparam);
        case WM_TIMER: return on_timer(app, window, wparam);
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
        case WM_KEYUP:
        case WM_SYSKEYUP:
        case WM_PAINT:
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
        case WM_MOUSEWHEEL:
        case WM_MOUSELEAVE:
        case WM_ACTIVATE:
        case WM_CAPTURECHANGED:
            if (open_editor_session(app)) return route_editor_message(app, window, message, wparam, lparam);
            return without_capture(window, message);
        default: break;
    }
    if (message == taskbar_created_message() && message != 0) {
        // Explorer restarted and its new taskbar knows no icons.
        if (app.icon_added) (void)add_tray_icon(app.icon_data);
        return handled();
    }
    if (message >= WM_APP && message <= 0xBFFF) return on_private_message(app, window, message, wparam, lparam);
    return not_handled();
}

}  // namespace

AppAnswer handle_app_message(App& app, HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    AppAnswer result = dispatch(app, window, message, wparam, lparam);
    if (result && *result && app.capture_session) {
        if (Status saved = schedule_tool_size_save(app, window, app.capture_session->tool_sizes()); !saved)
            return std::move(saved).failure();
        if (EditorSession* session = open_editor_session(app))
            if (Status stored = store_custom_colour(app, session->state()); !stored) return std::move(stored).failure();
    }
    // The end of every handled message: the toolbar animation is armed
    // again by the capture session only while something still moves.
    if (result && *result && **result == 0) rearm_toolbar_timer(app, window);
    return result;
}

}  // namespace glimmerly
