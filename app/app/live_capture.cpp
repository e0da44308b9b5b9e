#include "app/app/live_capture.h"

#include <dwmapi.h>

#include "app/render/capture_region.h"
#include "app/win/failure.h"
#include "text/app_error.h"
#include "ui/capture/editor_window_part.h"
#include "ui/view/frame_renderer.h"

namespace glimmerly {
namespace {

constexpr DWORD kExcludeFromCapture = 0x11;  // WDA_EXCLUDEFROMCAPTURE; older headers lack it

}  // namespace

Result<ScreenGrab> regrab_virtual_screen(const EditorState& state, PixelPoint origin) {
    auto grab = capture_virtual_screen();
    if (!grab) return std::move(grab).failure();
    if (grab->image.width != state.frame_width || grab->image.height != state.frame_height || grab->x != origin.x ||
        grab->y != origin.y)
        return make_app_error(TextId::error_display_changed);
    return grab;
}

Status toggle_live_capture(EditorState& state, PixelPoint origin, HWND window) {
    // Asked again at every switch: it is what makes the grabs below see the
    // screen rather than the editor, and the window stays excluded after.
    if (!SetWindowDisplayAffinity(window, kExcludeFromCapture)) return win::win32_failure("SetWindowDisplayAffinity");
    const HRESULT flushed = DwmFlush();
    if (FAILED(flushed)) return win::hr_failure(flushed, "DwmFlush");
    const bool live = !state.live_capture;
    auto resources = create_renderer_resources(state.software, live);
    if (!resources) return std::move(resources).failure();

    LONG_PTR style = GetWindowLongPtrW(window, GWL_EXSTYLE);
    std::optional<DibSurface> live_surface;
    if (live) {
        auto surface = create_dib_surface(state.frame_width, state.frame_height);
        if (!surface) return std::move(surface).failure();
        live_surface.emplace(std::move(*surface));
        style |= WS_EX_LAYERED;
    } else {
        auto grab = regrab_virtual_screen(state, origin);
        if (!grab) return std::move(grab).failure();
        GLIM_TRY(set_background_image(**resources, grab->image));
        state.frozen_frame = std::move(grab->image);
        style &= ~static_cast<LONG_PTR>(WS_EX_LAYERED);
    }
    SetWindowLongPtrW(window, GWL_EXSTYLE, style);
    EditorWindowPart& part = editor_window_part(state);
    part.renderer.resources = std::move(*resources);
    part.live_surface = std::move(live_surface);
    state.live_capture = live;
    state.premultiplied = live;
    InvalidateRect(window, nullptr, FALSE);
    return ok_status();
}

Status present_live_frame(EditorState& state, HWND window, ChromeClock::time_point now) {
    EditorWindowPart& part = editor_window_part(state);
    if (!state.live_capture || !part.live_surface || !part.renderer.resources) return ok_status();
    DibSurface& surface = *part.live_surface;
    GLIM_TRY(render_frame(state, surface.memory.get(), FrameOptions{.now = now}));
    RECT placed{};
    if (!GetWindowRect(window, &placed)) return win::win32_failure("GetWindowRect");
    POINT at{placed.left, placed.top}, from{0, 0};
    SIZE size{static_cast<LONG>(surface.width), static_cast<LONG>(surface.height)};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    if (!UpdateLayeredWindow(window, surface.screen.get(), &at, &size, surface.memory.get(), &from, 0, &blend,
                             ULW_ALPHA))
        return win::win32_failure("UpdateLayeredWindow");
    return ok_status();
}

}  // namespace glimmerly
