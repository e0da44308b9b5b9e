#include "app/app/input.h"

#include "app/app/error_box.h"

namespace glimmerly {

bool offer_to_capture(AppCell& cell, HWND app_window, const MSG& message) {
    if (message.message != WM_KEYDOWN && message.message != WM_MOUSEWHEEL) return false;
    if (message.hwnd != app_window && !IsChild(app_window, message.hwnd)) return false;
    auto app = cell.try_borrow();
    if (!app || !app->capture_session) return false;
    CaptureSession& session = *app->capture_session;
    if (message.message == WM_KEYDOWN) {
        const bool ctrl_down = GetKeyState(VK_CONTROL) & 0x8000;
        if (!session.take_key(app_window, static_cast<std::uint32_t>(message.wParam), ctrl_down)) return false;
    } else {
        const int delta = GET_WHEEL_DELTA_WPARAM(message.wParam);
        const bool ctrl = GET_KEYSTATE_WPARAM(message.wParam) & MK_CONTROL;
        const bool zoomed = ctrl && session.zoom_by_wheel(app_window, delta);
        if (!zoomed)
            if (Status resized = session.resize_by_wheel(app_window, delta); !resized)
                show_error_box(app_window, resized.failure());
    }
    InvalidateRect(app_window, nullptr, FALSE);
    return true;
}

}  // namespace glimmerly
