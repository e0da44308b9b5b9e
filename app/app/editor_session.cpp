#include "app/app/editor_session.h"

#include <shellscalingapi.h>

#include "app/app/editor_typing.h"
#include "app/app/error_box.h"
#include "app/app/live_capture.h"
#include "app/app/messages.h"
#include "app/win/failure.h"
#include "core/editor/board_start.h"
#include "core/editor/capture_start.h"
#include "ui/capture/editor_window_part.h"
#include "ui/capture/frame_presenter.h"

namespace glimmerly {
namespace {

BOOL CALLBACK add_monitor(HMONITOR monitor, HDC, LPRECT rect, LPARAM data) noexcept {
    auto& [areas, origin] = *reinterpret_cast<std::pair<std::vector<MonitorArea>, PixelPoint>*>(data);
    UINT dpi_x = 96, dpi_y = 96;
    if (FAILED(GetDpiForMonitor(monitor, MDT_EFFECTIVE_DPI, &dpi_x, &dpi_y))) dpi_x = 96;
    try {
        areas.push_back({{static_cast<double>(rect->left) - origin.x, static_cast<double>(rect->top) - origin.y,
                          static_cast<double>(rect->right) - origin.x, static_cast<double>(rect->bottom) - origin.y},
                         dpi_x / 96.0});
    } catch (...) {
        return FALSE;  // nothing crosses the system's callback
    }
    return TRUE;
}

// The caret blinks without input; nothing else in a frame moves by itself
// apart from the toolbar, whose timer the end of every message arms.
void arm_frame_timer(HWND window, const EditorState& state, ChromeClock::time_point now) {
    if (const auto wait = editor_caret_redraw_in(state, now))
        SetTimer(window, TIMER_SESSION_FRAME, timer_delay_ms(*wait), nullptr);
    else
        KillTimer(window, TIMER_SESSION_FRAME);
}

// Whether a paint's area holds the whole frame, so that every pixel the
// window shows comes from it (an exposed part repainted alone leaves the
// rest as an earlier frame drew it).
bool paints_whole_frame(const EditorState& state, const RECT& area) {
    return area.left <= 0 && area.top <= 0 && area.right >= static_cast<LONG>(state.frame_width) &&
           area.bottom >= static_cast<LONG>(state.frame_height);
}

}  // namespace

Status EditorSession::first_paint_failure(Status painted) {
    if (painted || paint_failure_told_) return ok_status();
    paint_failure_told_ = true;
    return painted;
}

EditorSession* open_editor_session(App& app) { return dynamic_cast<EditorSession*>(app.capture_session.get()); }

std::vector<MonitorArea> enumerate_monitors(PixelPoint origin) {
    std::pair<std::vector<MonitorArea>, PixelPoint> found{{}, origin};
    EnumDisplayMonitors(nullptr, nullptr, add_monitor, reinterpret_cast<LPARAM>(&found));
    return std::move(found.first);
}

Status install_editor_state(App& app, HWND window, EditorState state, PixelPoint origin) {
    apply_capture_settings(state, app.settings);
    POINT cursor{};
    if (GetCursorPos(&cursor))
        state.pointer = {static_cast<double>(cursor.x) - origin.x, static_cast<double>(cursor.y) - origin.y};
    const std::int32_t width = static_cast<std::int32_t>(state.frame_width);
    const std::int32_t height = static_cast<std::int32_t>(state.frame_height);
    auto session = std::make_unique<EditorSession>(std::move(state), origin);
    session->set_typing(std::make_unique<EditorTyping>(window, session->state()));
    app.capture_session = std::move(session);
    SetWindowLongPtrW(window, GWL_STYLE, static_cast<LONG_PTR>(WS_POPUP));
    if (!SetWindowPos(window, HWND_TOPMOST, origin.x, origin.y, width, height, SWP_SHOWWINDOW | SWP_FRAMECHANGED)) {
        Failure failure = win::win32_failure("SetWindowPos");
        app.capture_session.reset();
        return failure;
    }
    SetForegroundWindow(window);
    SetFocus(window);
    InvalidateRect(window, nullptr, FALSE);
    return ok_status();
}

void leave_editor_session(App& app, HWND window, std::optional<TextId> text) {
    ShowWindow(window, SW_HIDE);
    if (GetCapture() == window) ReleaseCapture();
    KillTimer(window, TIMER_SESSION_FRAME);
    KillTimer(window, TIMER_TOOLBAR_ANIMATION);
    Status saved = save_tool_sizes_now(app, window, app.capture_session ? app.capture_session->tool_sizes() : std::nullopt);
    if (EditorSession* session = open_editor_session(app)) {
        if (Status stored = store_custom_colour(app, session->state()); saved && !stored) saved = std::move(stored);
        if (Status stored = store_editor_choices(app, session->state()); saved && !stored) saved = std::move(stored);
        // The region a capture ended with, for the owner's next capture.
        if (app.notification_owner && !session->board() && !session->document_path())
            PostMessageW(app.notification_owner, WM_APP_EDITOR_CLOSED, GetCurrentProcessId(),
                         static_cast<LPARAM>(pack_closed_rectangle(session->state().capture_selection, session->origin())));
    }
    app.capture_session.reset();
    if (!saved) show_error_box(window, saved.failure());
    if (text) show_message_box(window, text_of(current_language(), *text));
    if (!app.in_process_editor) return;
    // The notice would go with the process: it fades first.
    if (app.notice && IsWindowVisible(app.notice.get()) && SetTimer(window, BOARD_CLOSE_TIMER, kBoardCloseDelayMs, nullptr))
        return;
    PostQuitMessage(0);
}

Status paint_editor_window(App& app, HWND window) {
    EditorSession* session = open_editor_session(app);
    const auto now = ChromeClock::now();
    Status painted = ok_status();
    bool whole = false;
    {
        win::PaintDc paint(window);
        if (!session || !paint.get()) return ok_status();
        // A layered window shows what UpdateLayeredWindow gave it, not its paint.
        whole = session->state().live_capture || paints_whole_frame(session->state(), paint.paint().rcPaint);
        painted = session->state().live_capture ? present_live_frame(session->state(), window, now)
                                                : present_editor_frame(session->state(), paint.get(), now,
                                                                       paint.paint().rcPaint);
    }
    // The toolbar's next frame is timed from this one, not from the end of
    // its paint.
    if (painted && whole) session->state().toolbar.drawn_at = now;
    arm_frame_timer(window, session->state(), now);
    return session->first_paint_failure(std::move(painted));
}

Status paint_editor_now(App& app, HWND window) {
    EditorSession* session = open_editor_session(app);
    win::WindowDc dc = win::WindowDc::of(window);
    if (!session || !dc) return ok_status();
    return session->first_paint_failure(present_grabbed_frame(session->state(), dc.get()));
}

Status receive_editor_renderer(App& app, HWND window) {
    EditorSession* session = open_editor_session(app);
    if (!session) return ok_status();
    GLIM_TRY(receive_renderer_resources(session->state()));
    InvalidateRect(window, nullptr, FALSE);
    return ok_status();
}

}  // namespace glimmerly
