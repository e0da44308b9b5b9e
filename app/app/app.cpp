#include "app/app/app.h"

#include "app/app/warm_renderer.h"
#include "app/settings/settings_window.h"
#include "text/text_table.h"

namespace glimmerly {

App::App(AppOptions options)
    : notification_owner(options.notification_owner),
      settings(std::move(options.settings)),
      setup_open(options.setup_open),
      in_process_editor(options.in_process_editor),
      keeps_settings(options.keeps_settings),
      settings_fresh(options.settings_fresh),
      board_program(std::move(options.board_program)) {
    editor_starter = std::move(options.editor_starter);
    tool_sizes.remembered = ToolSizes{settings.capture_stroke_width, settings.capture_eraser_size};
}

App::~App() {
    settings_window.reset();
    tray_popup.reset();
    capture_session.reset();
    unregister_hotkey(capture_registration);
    close_instant_capture(*this);
    unregister_hotkey(board_registration);
    // Closing the job ends a child that still runs.
    editor.reset();
    warm_renderer.reset();
    notice.reset();
    destroy_presentation_state(std::move(presentation));
}

void attach_app_window(App& app, HWND window, HICON small_icon) {
    app.capture_registration = HotkeyRegistration{false, 0, window, HOTKEY_ID_CAPTURE_BASE};
    app.instant_registration = HotkeyRegistration{false, 0, window, HOTKEY_ID_INSTANT_BASE};
    app.board_registration = HotkeyRegistration{false, 0, window, HOTKEY_ID_BOARD_BASE};
    app.icon_data = make_icon_data(window, small_icon, text_of(current_language(), TextId::tray_tooltip));
}

void close_instant_capture(App& app) { unregister_hotkey(app.instant_registration); }

}  // namespace glimmerly
