#include "app/app/capture_start.h"

#include <utility>

#include "app/app/editor_process.h"
#include "app/app/editor_session.h"
#include "app/app/warm_renderer.h"
#include "app/image/screen_grab.h"
#include "app/lib/settings_store.h"
#include "app/render/capture_region.h"
#include "app/win/failure.h"
#include "core/editor/capture_start.h"
#include "ui/capture/editor_window_part.h"

namespace glimmerly {
namespace {

// Live capture shows the screen under the editor, so the editor must keep
// its own window out of every grab. Where the system refuses that (Wine
// always does) the capture still opens, frozen, without live capture.
// Until the live frame's presentation exists every capture opens frozen.
void choose_live_capture(EditorState& state, HWND window, bool live_setting) {
    const bool excluded = live_setting && SetWindowDisplayAffinity(window, WDA_EXCLUDEFROMCAPTURE);
    state.live_capture_not_offered = live_setting && !excluded;
}

// Warm resources are made for one screen size, without premultiplied alpha
// unless live capture was on.
std::unique_ptr<WarmRenderer> take_fitting_warm_renderer(App& app, const PixelRect& screen, bool premultiplied) {
    std::unique_ptr<WarmRenderer> warm = std::move(app.warm_renderer);
    if (warm && warm->surface.width == static_cast<std::uint32_t>(screen.width()) &&
        warm->surface.height == static_cast<std::uint32_t>(screen.height()) &&
        warm->resources->premultiplied == premultiplied)
        return warm;
    return nullptr;
}

// The capture's window over the whole virtual screen, showing the grab as
// it is. Not activated yet: the installed session takes the activation.
Status show_frozen_screen(HWND window, const DibSurface& surface, PixelPoint origin) {
    const int width = static_cast<int>(surface.width), height = static_cast<int>(surface.height);
    SetWindowLongPtrW(window, GWL_STYLE, static_cast<LONG_PTR>(WS_POPUP));
    if (!SetWindowPos(window, HWND_TOPMOST, origin.x, origin.y, width, height,
                      SWP_SHOWWINDOW | SWP_FRAMECHANGED | SWP_NOACTIVATE))
        return win::win32_failure("SetWindowPos");
    const win::WindowDc dc = win::WindowDc::of(window);
    if (!dc || !BitBlt(dc.get(), 0, 0, width, height, surface.memory.get(), 0, 0, SRCCOPY)) {
        Failure failure = win::win32_failure("BitBlt");
        ShowWindow(window, SW_HIDE);
        return failure;
    }
    return ok_status();
}

// A window shown ahead of its session goes again when the session's set-up
// fails: nothing would answer for it.
struct HiddenUnlessInstalled {
    HWND window;
    bool installed = false;
    explicit HiddenUnlessInstalled(HWND shown) : window(shown) {}
    HiddenUnlessInstalled(const HiddenUnlessInstalled&) = delete;
    HiddenUnlessInstalled& operator=(const HiddenUnlessInstalled&) = delete;
    ~HiddenUnlessInstalled() {
        if (!installed) ShowWindow(window, SW_HIDE);
    }
};

Status open_capture_here(App& app, HWND window) {
    // The frame is the screen at the moment of the key: nothing that the
    // grab does not need comes before it.
    const PixelRect screen = virtual_screen_rect();
    if (screen.width() <= 0 || screen.height() <= 0) return plain_failure("The screen has no area to capture");
    // Only live capture draws with premultiplied alpha.
    const bool premultiplied = false;
    std::unique_ptr<WarmRenderer> warm = take_fitting_warm_renderer(app, screen, premultiplied);
    auto surface = warm ? Result<DibSurface>(std::move(warm->surface))
                        : create_dib_surface(static_cast<std::uint32_t>(screen.width()),
                                             static_cast<std::uint32_t>(screen.height()));
    if (!surface) return std::move(surface).failure();
    auto at = blit_virtual_screen_into(*surface);
    if (!at) return std::move(at).failure();
    // What the window shows first is the frozen screen itself, so it maps
    // now; the picture's copy and the session's set-up (some 8 MB moved and
    // a settings read, slow on a busy machine) follow behind it.
    GLIM_TRY(show_frozen_screen(window, *surface, *at));
    HiddenUnlessInstalled shown{window};
    std::vector<std::uint8_t> pixels;
    if (warm) pixels = std::move(warm->frame_pixels);
    auto grab = picture_of_grab(*surface, *at, std::move(pixels));
    if (!grab) return std::move(grab).failure();
    if (!is_valid_bgra_image(grab->image)) return invalid_input("Invalid BGRA image dimensions or buffer length");
    if (app.keeps_settings && !std::exchange(app.settings_fresh, false)) {
        GLIM_TRY(reload_settings(app.settings));
        // Another capture may have stored other sizes since this process read them.
        app.tool_sizes.remembered = ToolSizes{app.settings.capture_stroke_width, app.settings.capture_eraser_size};
    }

    const PixelPoint origin{grab->x, grab->y};
    EditorState state = new_capture_state(std::move(grab->image), enumerate_monitors(origin));
    state.premultiplied = premultiplied;
    choose_live_capture(state, window, app.settings.live_capture);
    // The first frames come straight from the grab's surface.
    editor_window_part(state).renderer.gdi_surface = TemporaryGdiSurface{
        std::move(surface->screen), std::move(surface->memory), std::move(surface->dib), std::move(surface->selection)};
    GLIM_TRY(install_editor_state(app, window, std::move(state), origin));
    shown.installed = true;

    // The window is up. A cold process builds its renderer on its own thread
    // only now: loading Direct2D beside the grab slowed the grab twofold.
    EditorState& installed = open_editor_session(app)->state();
    if (warm) {
        GLIM_TRY(set_background_image(*warm->resources, installed.frozen_frame));
        editor_window_part(installed).renderer.resources = std::move(warm->resources);
    } else {
        GLIM_TRY(spawn_renderer_thread(installed, window));
    }
    return paint_editor_now(app, window);
}

}  // namespace

Status start_capture_session(App& app, HWND window) {
    app.notice.reset();
    if (app.capture_session) {
        SetForegroundWindow(window);
        return ok_status();
    }
    if (app.setup_open) return ok_status();
    if (app.in_process_editor) return open_capture_here(app, window);
    return ask_editor_for_capture(app, window);
}

}  // namespace glimmerly
