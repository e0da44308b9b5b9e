#include "app/lib/run_app.h"

#include <shellapi.h>

#include "app/app/document_editor.h"
#include "app/app/editor_process.h"
#include "app/app/error_box.h"
#include "app/app/events.h"
#include "app/app/input.h"
#include "app/app/keyboard_hook.h"
#include "app/app/messages.h"
#include "app/app/notice.h"
#include "app/app/print_screen.h"
#include "app/app/setup.h"
#include "app/app/warm_renderer.h"
#include "app/board/board_commands.h"
#include "app/board/board_editor.h"
#include "app/board/board_processes.h"
#include "app/diagnostics/board_diagnostic.h"
#include "app/demo/render_demo.h"
#include "app/diagnostics/document_diagnostic.h"
#include "app/diagnostics/editor_diagnostic.h"
#include "app/diagnostics/loupe_diagnostic.h"
#include "app/diagnostics/presentation_diagnostic.h"
#include "app/diagnostics/shortcut_checks.h"
#include "app/diagnostics/startup_diagnostics.h"
#include "app/diagnostics/warm_diagnostic.h"
#include "app/image/screen_grab.h"
#include "app/lib/delayed_wake.h"
#include "app/lib/installer_language.h"
#include "app/lib/migration.h"
#include "app/lib/mutex_names.h"
#include "app/lib/program_folders.h"
#include "app/lib/settings_store.h"
#include "app/lib/start_with_windows.h"
#include "app/lib/ui_language.h"
#include "app/session/lens.h"
#include "app/site_previews/site_previews.h"
#include "app/win/com.h"
#include "app/win/failure.h"
#include "app/win/key_names.h"
#include "app/win/paths.h"
#include "core/base/utf.h"
#include "core/diagnostics/diagnostic_report.h"
#include "core/site_previews/site_preview_script.h"
#include "text/app_error.h"
#include "text/shortcut_text.h"

namespace glimmerly {
namespace {

const wchar_t* role_mutex_name(Role role) {
    switch (role) {
        case Role::Diagnostics: return DIAGNOSTICS_MUTEX;
        case Role::FirstFrameDiagnostic: return FIRST_FRAME_DIAGNOSTIC_MUTEX;
        case Role::Board: return BOARD_MUTEX;
        case Role::DocumentEditor: return DOCUMENT_MUTEX;
        case Role::Editor: return EDITOR_MUTEX;
        case Role::Resident: return RESIDENT_MUTEX;
    }
    return RESIDENT_MUTEX;
}

// The settings file and its language, for the few words a process shows
// before its role starts; an unreadable file leaves the language as it is.
void load_settings_and_language() {
    if (auto settings = load_settings()) apply_ui_language(settings->language);
}

Status run_one_off(const OneOff& one_off, const Arguments& args) {
    switch (one_off.mode) {
        case OneOffMode::BoardBake: load_settings_and_language(); return run_board_bake_command();
        case OneOffMode::RestoreWallpaper: return run_restore_wallpaper_command();
        case OneOffMode::BoardClear: load_settings_and_language(); return clear_board();
        case OneOffMode::BoardDiagnostic: return run_board_diagnostic();
        case OneOffMode::BoardDiagnosticSet: return run_board_diagnostic_set();
        case OneOffMode::GoogleDiagnostic: return run_google_diagnostic(platform_lens_openers());
        case OneOffMode::EditorDiagnostic: return run_editor_diagnostic();
        case OneOffMode::WarmDiagnostic: return run_warm_diagnostic();
        case OneOffMode::HotkeyDiagnostic: return run_hotkey_diagnostic();
        case OneOffMode::PresentationDiagnostic: return run_presentation_diagnostic();
        case OneOffMode::LoupeDiagnostic: return run_loupe_diagnostic();
        case OneOffMode::RenderDemo: return run_render_demo();
        case OneOffMode::RenderSitePreviews: {
            auto folders = site_preview_folders(args);
            if (!folders) return std::move(folders).failure();
            return render_site_previews(win::from_u16(folders->in), win::from_u16(folders->out));
        }
    }
    return invalid_input("Unknown option " + utf16_to_utf8(std::u16string(one_off.option)));
}

// The resident's shortcuts, its board and presentation mode. Failures to
// take a shortcut are told and start-up goes on.
Status start_resident_features(App& app, HWND window, const Arguments& args, bool resident) {
    const Shortcut capture = app.settings.capture_shortcut;
    const Language language = current_language();
    if (capture.key != 0) {
        Status registered = register_shortcut_with_takeover(app.capture_registration, app.keeps_settings,
                                                            capture.modifiers, capture.key);
        if (!registered) {
            app.setup_open = true;
            const std::int32_t code = registered.failure().code;
            const auto held = print_screen_held_text(capture.modifiers, capture.key, code, language);
            show_message_box(window, held ? *held : text_of(language, TextId::error_capture_shortcut_in_use));
        }
    }
    if (resident) {
        for (const TextId notice : register_resident_shortcuts(app))
            replace_notice_text(app.notice, win::to_wide(text_of(language, notice)));
        // The registrations alone still answer when the hook is refused.
        (void)hold_lock_key_shortcuts(app);
        reconcile_board_at_start(app.settings.board_visible, app.board_program);
        auto presentation = attach_presentation_state(window, app.settings);
        if (!presentation) return std::move(presentation).failure();
        destroy_presentation_state(std::move(app.presentation));
        app.presentation = std::move(presentation).value();
        auto state = app.presentation->try_borrow();
        state->features.temporary_shapes = true;
        auto unavailable = apply_startup_presentation(*state);
        state.release();
        if (!unavailable) {
            show_error_box(window, unavailable.failure());
        } else if (!unavailable->empty()) {
            const std::string names = shortcut_names_text(*unavailable, language);
            replace_notice_text(app.notice, win::to_wide(localized_text(language, TextId::notice_shortcuts_unavailable, {{"names", names}})));
        }
    }
    if (app.setup_open) return activate_resident(app, window);
    if (has_option(args, u"--ready") && !app.notice)
        replace_notice_text(app.notice, win::to_wide(ready_notice_text(capture.modifiers, capture.key, language)));
    return ok_status();
}

Status post_app_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (!PostMessageW(window, message, wparam, lparam)) return win::win32_failure("PostMessageW");
    return ok_status();
}

// Everything from the role's mutex to the end of the loop.
Status run_role(const Arguments& args, const StartupFlags& flags) {
    const Role role = choose_role(flags);
    win::UniqueHandle mutex(CreateMutexW(nullptr, FALSE, role_mutex_name(role)));
    if (!mutex) return win::win32_failure("CreateMutexW", role_mutex_name(role));
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        switch (second_instance(role, flags)) {
            case SecondInstance::AlreadyRunningBox:
                load_settings_and_language();
                show_message_box(nullptr, text_of(current_language(), TextId::error_already_running));
                return ok_status();
            case SecondInstance::Silent: return ok_status();
            case SecondInstance::EditorExists: return plain_failure("An editor already exists");
            case SecondInstance::Allowed: break;
        }
    }
    const bool resident = role == Role::Resident;
    // The diagnostics measure a resident without the first-run setup and
    // without a prepared editor of its own beside the ones it times.
    const bool diagnostics = role == Role::Diagnostics;
    // The settings file may still lie in the earlier name's folder.
    if (resident) migrate_from_earlier_name();
    // The timed roles run on the built-in settings, whatever the user chose.
    Settings settings;
    if (diagnostics || role == Role::FirstFrameDiagnostic) {
        settings.live_capture = role == Role::FirstFrameDiagnostic && has_live_diagnostic_switch(args);
    } else {
        auto loaded = load_settings_at_start();
        if (!loaded) return std::move(loaded).failure();
        settings = std::move(loaded).value();
    }
    apply_ui_language(settings.language);
    if (resident) {
        auto path = settings_file_path();
        if (!path) return std::move(path).failure();
        // A language the installer chose that could not be stored is said
        // once; the file stays for the next start.
        if (Status chosen = apply_installer_language(settings, win::folder_of(*path)); !chosen)
            show_error_box(nullptr, chosen.failure());
        GLIM_TRY(set_start_with_windows(settings.start_with_windows));
    }

    const HINSTANCE instance = GetModuleHandleW(nullptr);
    GLIM_TRY(register_app_window_class(instance));
    auto small_icon = load_small_app_icon(instance);
    if (!small_icon) return std::move(small_icon).failure();

    AppOptions options;
    options.in_process_editor = flags.in_process_editor;
    options.keeps_settings = keeps_settings_file(args);
    options.setup_open = !flags.in_process_editor && !diagnostics && settings.capture_shortcut.key == 0;
    options.settings_fresh = role == Role::Editor && has_option(args, u"--cold-editor");
    win::UniqueHandle owner_process;
    if (flags.in_process_editor) {
        const auto owner = parse_notification_owner(args);
        // Told here, with no window made and no renderer loaded, like an
        // owner that is no window: after the renderer's warm-up the same
        // refusal took half a second and a quarter of a gigabyte.
        if (!owner && waits_for_editor_owner(flags, role)) return invalid_input("Missing editor owner");
        if (owner) {
            options.notification_owner = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(*owner));
            auto opened = open_editor_owner(options.notification_owner);
            if (!opened) return std::move(opened).failure();
            owner_process = std::move(*opened);
        }
    }
    options.settings = std::move(settings);
    // The window is declared after the cell: it goes first, while the
    // state its procedure reads still exists.
    auto cell = std::make_unique<AppCell>(std::move(options));
    auto created = create_app_window(cell.get(), resident || diagnostics ? WS_EX_TOOLWINDOW : WS_EX_APPWINDOW);
    if (!created) return std::move(created).failure();
    OwnedWindow window(*created);

    {
        auto app = cell->try_borrow();
        attach_app_window(*app, window.get(), *small_icon);
        app->display_layout = current_display_layout();
        start_display_watch(window.get());
        app->owner_process = std::move(owner_process);
        if (flags.first_frame) app->frame_diagnostic.state = FrameDiagnosticState::Armed;
        if (!flags.in_process_editor) {
            GLIM_TRY(add_tray_icon(app->icon_data));
            app->icon_added = true;
            GLIM_TRY(start_resident_features(*app, window.get(), args, resident || diagnostics));
            if (resident) prepare_editor_process(*app, window.get());
        } else if (flags.document_path && role == Role::DocumentEditor) {
            GLIM_TRY(open_document_editor(*app, window.get(), win::from_u16(*flags.document_path)));
        } else if (role == Role::Board) {
            GLIM_TRY(run_board_editor(*app, window.get()));
        } else if (flags.prepared_editor) {
            // Paid now, while no capture waits. A cold child has a capture
            // waiting: it builds its renderer on a thread once that shows.
            if (!has_option(args, u"--cold-editor")) {
                const PixelRect screen = virtual_screen_rect();
                auto warm = warm_renderer(static_cast<std::uint32_t>(screen.width()),
                                          static_cast<std::uint32_t>(screen.height()), app->settings.live_capture);
                if (!warm) return std::move(warm).failure();
                app->warm_renderer = std::move(*warm);
            }
            GLIM_TRY(post_app_message(app->notification_owner, WM_APP_EDITOR_READY, GetCurrentProcessId(),
                                      reinterpret_cast<LPARAM>(window.get())));
        }
    }
    // An in-process editor nobody prepared ("--editor", or a first-frame
    // check on its own) captures at once; the prepared child waits for the
    // resident instead.
    const bool own_capture = flags.in_process_editor ? !flags.prepared_editor && role != Role::DocumentEditor &&
                                                           role != Role::Board
                                                     : has_option(args, u"--capture");
    if (own_capture) GLIM_TRY(post_app_message(window.get(), WM_APP_START_CAPTURE, 0, 0));

    std::optional<DiagnosticBaseline> baseline;
    if (diagnostics) {
        auto started = start_delayed_wake();
        if (!started) return std::move(started).failure();
        baseline = *started;
    }
    GLIM_TRY(run_message_loop(*cell, window.get(), baseline.has_value()));
    Status diagnosed = baseline ? run_diagnostics(*baseline) : ok_status();

    {
        auto app = cell->try_borrow();
        if (app->editor) stop_editor_process(*std::exchange(app->editor, std::nullopt));
        destroy_presentation_state(std::move(app->presentation));
        unregister_hotkey(app->capture_registration);
        app->capture_registration = HotkeyRegistration{false, 0, nullptr, HOTKEY_ID_CAPTURE_BASE};
    }
    window.reset();
    cell.reset();
    (void)wait_for_stray_listeners();
    return diagnosed;
}

}  // namespace

Result<Arguments> command_line_arguments() {
    int count = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!argv) return win::win32_failure("CommandLineToArgvW");
    Arguments args;
    for (int i = 0; i < count; ++i) args.push_back(win::to_u16(argv[i]));
    LocalFree(argv);
    return args;
}

namespace {

// The resident's linked editor child and an editor child's owner: the
// processes waited on beside the messages, read between messages. No
// handler runs then, so the state is free unless a nested loop of one of
// them is the caller.
struct WatchedExits {
    HANDLE child = nullptr;
    HANDLE owner = nullptr;
};

WatchedExits exits_to_watch(AppCell& cell) {
    const auto app = cell.try_borrow();
    if (!app) return {};
    return {editor_exit_to_watch(*app), owner_exit_to_watch(*app)};
}

}  // namespace

Status run_message_loop(AppCell& cell, HWND app_window, bool wake_ends_loop) {
    MSG message{};
    for (;;) {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT)
                return message.wParam == 0 ? ok_status() : make_app_error(TextId::error_stopped);
            if (wake_ends_loop && message.message == WM_APP_DELAYED_WAKE && !message.hwnd) return ok_status();
            if (offer_to_capture(cell, app_window, message)) continue;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        // The editor child's exit is waited for here, beside the messages,
        // and told to the window as a message like any other; so is the
        // end of an editor child's owner.
        const WatchedExits exits = exits_to_watch(cell);
        HANDLE watched[2] = {};
        DWORD count = 0;
        for (const HANDLE process : {exits.child, exits.owner})
            if (process) watched[count++] = process;
        const DWORD woke =
            MsgWaitForMultipleObjectsEx(count, count ? watched : nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (woke == WAIT_FAILED) return win::win32_failure("MsgWaitForMultipleObjectsEx");
        if (woke >= WAIT_OBJECT_0 + count) continue;
        auto app = cell.try_borrow();
        if (!app) continue;
        if (watched[woke - WAIT_OBJECT_0] == exits.child)
            post_editor_exit(*app, app_window);
        else
            follow_owner_exit(*app);
    }
}

Status run_app() {
    set_layout_key_name_source(&win::layout_key_name);
    auto args = command_line_arguments();
    if (!args) return std::move(args).failure();
    // Started by the image search beside the browser it opened: the page
    // with the capture must not outlive the upload by long.
    if (const auto at = find_option(*args, u"--forget-lens-page"))
        return run_forget_lens_page(*at + 1 < args->size() ? win::from_u16((*args)[*at + 1]) : std::wstring());
    if (has_option(*args, u"--restore-print-screen")) {
        migrate_from_earlier_name();
        return restore_print_screen_key();
    }
    if (has_option(*args, u"--document-diagnostic")) return run_document_diagnostic();

    const StartupFlags flags = startup_flags(*args);
    // Held for the rest of the process, so that worker threads always find a
    // multithreaded apartment to join.
    win::keep_multithreaded_apartment();
    win::ComApartment apartment(COINIT_APARTMENTTHREADED);
    GLIM_TRY(apartment.status());
    // Refused where the manifest already made the process aware, and under Wine.
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);

    if (const auto one_off = find_one_off(*args)) return run_one_off(*one_off, *args);
    return run_role(*args, flags);
}

std::string format_error_text(const Failure& error) {
    return error_to_text(error, current_language(), &win::code_text);
}

std::string startup_error_text(const Failure& error) {
    return localize_error(error, current_language(), format_error_text(error));
}

}  // namespace glimmerly
