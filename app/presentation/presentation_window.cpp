#include "app/app/messages.h"
#include "app/presentation/pointer_effects.h"

namespace glimmerly {
namespace {

// The layers draw through UpdateLayeredWindow; a paint request is a request
// for a new picture (the press feedback fading on the small layer).
LRESULT on_paint(PresentationCell& cell, HWND window) {
    ValidateRect(window, nullptr);
    auto state = cell.try_borrow();
    if (!state) return 0;  // drawn by whoever holds the state
    if (!render_presentation_layer(*state, window)) {
        // The application window turns the mode off and tells the user.
        PostMessageW(state->window, WM_APP_PRESENTATION_FAILED, 0, 0);
    }
    return 0;
}

}  // namespace

LRESULT CALLBACK presentation_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams));
    auto* cell = reinterpret_cast<PresentationCell*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!cell || message != WM_PAINT) return DefWindowProcW(window, message, wparam, lparam);
    try {
        return on_paint(*cell, window);
    } catch (...) {
        return DefWindowProcW(window, message, wparam, lparam);
    }
}

}  // namespace glimmerly
