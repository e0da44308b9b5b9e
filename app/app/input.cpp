#include "app/app/input.h"

namespace glimmerly {

bool offer_to_capture(AppCell& cell, HWND app_window, const MSG& message) {
    if (message.message != WM_KEYDOWN && message.message != WM_MOUSEWHEEL) return false;
    if (message.hwnd != app_window && !IsChild(app_window, message.hwnd)) return false;
    auto app = cell.try_borrow();
    if (!app || !app->capture_session) return false;
    if (message.message == WM_MOUSEWHEEL) {
        // The wheel goes to the window with the focus, which may be a typing
        // control of the capture: an EDIT would drop the turn. The capture's
        // window answers every turn itself, in one place, so the turn goes
        // there (one over the window itself is dispatched to it as it is).
        if (message.hwnd == app_window) return false;
        app.release();
        SendMessageW(app_window, WM_MOUSEWHEEL, message.wParam, message.lParam);
        return true;
    }
    const bool ctrl_down = GetKeyState(VK_CONTROL) & 0x8000;
    if (!app->capture_session->take_key(app_window, static_cast<std::uint32_t>(message.wParam), ctrl_down))
        return false;
    InvalidateRect(app_window, nullptr, FALSE);
    return true;
}

}  // namespace glimmerly
