#include "app/presentation/spotlight.h"

#include "app/win/failure.h"

namespace glimmerly {
namespace {

constexpr DWORD kSpotlightStyle = WS_EX_TOPMOST | WS_EX_TRANSPARENT | WS_EX_TOOLWINDOW | WS_EX_LAYERED | WS_EX_NOACTIVATE;

Status register_spotlight_class() {
    WNDCLASSW window_class{};
    window_class.lpfnWndProc = plain_window_proc;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.lpszClassName = SPOTLIGHT_WINDOW_CLASS;
    if (!RegisterClassW(&window_class) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return win::win32_failure("RegisterClassW", SPOTLIGHT_WINDOW_CLASS);
    return ok_status();
}

Status flush_gdi() {
    // GdiFlush answers FALSE also when nothing was batched; only a set last
    // error tells a failure.
    SetLastError(0);
    if (!GdiFlush() && GetLastError() != 0) return win::win32_failure("GdiFlush");
    return ok_status();
}

Status push(SpotlightWindow& spotlight, const SpotlightUpdate& update) {
    if (!update.whole && (update.rect.right <= update.rect.left || update.rect.bottom <= update.rect.top))
        return ok_status();
    GLIM_TRY(flush_gdi());
    DibSurface& surface = *spotlight.surface;
    SIZE size{LONG(surface.width), LONG(surface.height)};
    POINT source{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    if (update.whole) {
        if (!UpdateLayeredWindow(spotlight.window.get(), surface.screen.get(), nullptr, &size, surface.memory.get(),
                                 &source, 0, &blend, ULW_ALPHA))
            return win::win32_failure("UpdateLayeredWindow", SPOTLIGHT_WINDOW_CLASS);
        return ok_status();
    }
    const RECT dirty{update.rect.left, update.rect.top, update.rect.right, update.rect.bottom};
    UPDATELAYEREDWINDOWINFO info{sizeof info, surface.screen.get(), nullptr, &size, surface.memory.get(),
                                 &source, 0, &blend, ULW_ALPHA, &dirty};
    if (!UpdateLayeredWindowIndirect(spotlight.window.get(), &info))
        return win::win32_failure("UpdateLayeredWindowIndirect", SPOTLIGHT_WINDOW_CLASS);
    return ok_status();
}

}  // namespace

LRESULT CALLBACK plain_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    return DefWindowProcW(window, message, wparam, lparam);
}

Result<std::unique_ptr<SpotlightWindow>> create_spotlight_window() {
    const PixelRect screen = virtual_screen_rect();
    GLIM_TRY(register_spotlight_class());
    auto spotlight = std::make_unique<SpotlightWindow>();
    spotlight->window.reset(CreateWindowExW(kSpotlightStyle, SPOTLIGHT_WINDOW_CLASS, SPOTLIGHT_WINDOW_TITLE, WS_POPUP,
                                            screen.left, screen.top, screen.width(), screen.height(), nullptr,
                                            nullptr, GetModuleHandleW(nullptr), nullptr));
    if (!spotlight->window) return win::win32_failure("CreateWindowExW", SPOTLIGHT_WINDOW_CLASS);
    spotlight->rect = screen;
    return spotlight;
}

Status draw_spotlight(SpotlightWindow& spotlight, bool show, std::int32_t cursor_x, std::int32_t cursor_y,
                      const PointerSettings& settings, double scale) {
    if (!show) {
        if (spotlight.shown) ShowWindow(spotlight.window.get(), SW_HIDE);
        spotlight.shown = false;
        return ok_status();
    }
    const bool fresh = !spotlight.surface;
    if (fresh) {
        auto surface = create_dib_surface(std::uint32_t(spotlight.rect.width()), std::uint32_t(spotlight.rect.height()));
        if (!surface) return std::move(surface).failure();
        spotlight.surface = std::move(*surface);
    }
    const SpotlightFrame frame{.cursor_x = cursor_x - spotlight.rect.left,
                               .cursor_y = cursor_y - spotlight.rect.top,
                               .size = settings.spotlight_size,
                               .darkness = settings.spotlight_darkness,
                               .shape = static_cast<std::uint8_t>(settings.spotlight_shape),
                               .scale = scale};
    DibSurface& surface = *spotlight.surface;
    const BgraView picture{surface.bits, std::int32_t(surface.width), std::int32_t(surface.height)};
    GLIM_TRY(push(spotlight, paint_spotlight(spotlight.canvas, picture, fresh, frame)));
    if (!spotlight.shown) {
        if (!SetWindowPos(spotlight.window.get(), HWND_TOPMOST, 0, 0, 0, 0,
                          SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW))
            return win::win32_failure("SetWindowPos", SPOTLIGHT_WINDOW_CLASS);
        spotlight.shown = true;
    }
    return ok_status();
}

}  // namespace glimmerly
