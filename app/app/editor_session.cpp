#include "app/app/editor_session.h"

#include <shellscalingapi.h>

#include "app/app/editor_typing.h"
#include "app/app/error_box.h"
#include "app/app/live_capture.h"
#include "app/app/messages.h"
#include "app/render/capture_region.h"
#include "app/win/failure.h"
#include "core/editor/capture_start.h"
#include "ui/capture/editor_window_part.h"

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

// The frame painter draws the scene and the chrome here; until it does, the
// frozen frame alone: through Direct2D once the renderer has its resources,
// else straight from the grab's surface.
Status paint_editor_frame(EditorState& state, HDC dc) {
    if (state.live_capture) return present_live_frame(state, WindowFromDC(dc));
    RendererSlot& slot = editor_window_part(state).renderer;
    if (slot.resources && slot.resources->background) {
        GLIM_TRY(begin_dc_frame(*slot.resources, dc, state.frame_width, state.frame_height));
        const HRESULT ended = slot.resources->dc_target->EndDraw();
        if (FAILED(ended)) return win::hr_failure(ended, "EndDraw");
        return ok_status();
    }
    if (slot.gdi_surface && !BitBlt(dc, 0, 0, static_cast<int>(state.frame_width), static_cast<int>(state.frame_height),
                                    slot.gdi_surface->memory.get(), 0, 0, SRCCOPY))
        return win::win32_failure("BitBlt");
    return ok_status();
}

}  // namespace

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

void end_capture_session(App& app, HWND window, std::optional<TextId> text) {
    ShowWindow(window, SW_HIDE);
    KillTimer(window, TIMER_TOOLBAR_ANIMATION);
    KillTimer(window, TIMER_SETTINGS_SAVE);
    app.capture_session.reset();
    if (text) show_message_box(window, text_of(current_language(), *text));
    if (app.in_process_editor) PostQuitMessage(0);
}

Status paint_editor_window(App& app, HWND window) {
    win::PaintDc paint(window);
    EditorSession* session = open_editor_session(app);
    if (!session || !paint.get()) return ok_status();
    return paint_editor_frame(session->state(), paint.get());
}

Status paint_editor_now(App& app, HWND window) {
    EditorSession* session = open_editor_session(app);
    win::WindowDc dc = win::WindowDc::of(window);
    if (!session || !dc) return ok_status();
    GLIM_TRY(paint_editor_frame(session->state(), dc.get()));
    ValidateRect(window, nullptr);
    return ok_status();
}

Status handle_editor_key(App& app, HWND window, WPARAM key) {
    if (key == VK_ESCAPE) end_capture_session(app, window, std::nullopt);
    return ok_status();
}

Status receive_editor_renderer(App& app, HWND window) {
    EditorSession* session = open_editor_session(app);
    if (!session) return ok_status();
    GLIM_TRY(receive_renderer_resources(session->state()));
    InvalidateRect(window, nullptr, FALSE);
    return ok_status();
}

}  // namespace glimmerly
