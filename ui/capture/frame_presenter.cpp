#include "ui/capture/frame_presenter.h"

#include <algorithm>

#include "app/win/failure.h"
#include "core/render/caret.h"
#include "ui/capture/editor_window_part.h"
#include "ui/view/frame_renderer.h"

namespace glimmerly {

Status present_grabbed_frame(EditorState& state, HDC window_dc) {
    const auto& grab = editor_window_part(state).renderer.gdi_surface;
    const int width = static_cast<int>(state.frame_width), height = static_cast<int>(state.frame_height);
    if (grab && !BitBlt(window_dc, 0, 0, width, height, grab->memory.get(), 0, 0, SRCCOPY))
        return win::win32_failure("BitBlt");
    return ok_status();
}

Status present_editor_frame(EditorState& state, HDC window_dc, ChromeClock::time_point now,
                            std::optional<RECT> area) {
    EditorWindowPart& part = editor_window_part(state);
    const RECT frame{0, 0, static_cast<LONG>(state.frame_width), static_cast<LONG>(state.frame_height)};
    if (!part.renderer.resources) return present_grabbed_frame(state, window_dc);
    if (!part.back_buffer) {
        auto made = create_dib_surface(state.frame_width, state.frame_height);
        if (!made) return std::move(made).failure();
        part.back_buffer = std::move(*made);
        // Every frame comes from the renderer from now on, and the window
        // still shows the grab: the first one is drawn whole.
        part.renderer.gdi_surface.reset();
        area.reset();
    }
    RECT shown = frame;
    if (area && !IntersectRect(&shown, &frame, &*area)) return ok_status();
    const HDC back = part.back_buffer->memory.get();
    GLIM_TRY(render_frame(state, back, FrameOptions{.now = now, .area = shown}));
    // Only the drawn part of the back buffer is current.
    if (!BitBlt(window_dc, shown.left, shown.top, shown.right - shown.left, shown.bottom - shown.top, back, shown.left,
                shown.top, SRCCOPY))
        return win::win32_failure("BitBlt");
    return ok_status();
}

std::optional<ChromeClock::duration> editor_caret_redraw_in(const EditorState& state, ChromeClock::time_point now) {
    if (!state.window || !state.window->text_box) return std::nullopt;
    return caret_redraw_in(state.window->caret.blink, state.window->caret.period, now);
}

UINT timer_delay_ms(ChromeClock::duration wait) {
    using std::chrono::milliseconds;
    const auto ms = std::chrono::duration_cast<milliseconds>(std::max(wait, ChromeClock::duration::zero()));
    return static_cast<UINT>(std::min<milliseconds::rep>(ms.count(), USER_TIMER_MAXIMUM - 1) + 1);
}

}  // namespace glimmerly
