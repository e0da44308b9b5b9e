#include "app/app/messages.h"
#include "app/presentation/devices.h"
#include "app/presentation/pointer_effects.h"
#include "app/presentation/shapes.h"

namespace glimmerly {
namespace {

// The mode goes off whole and the application window tells the user. Nothing
// of the state is touched after this: every window may be gone.
void fail(PresentationState& state) {
    (void)stop_presentation(state);
    PostMessageW(state.window, WM_APP_PRESENTATION_FAILED, 0, 0);
}

// The window is being destroyed by someone other than its layer record: the
// record lets go of the handle instead of destroying it a second time.
void forget_window(PresentationState& state, HWND window) {
    for (LayerPointer* layer : {&state.pointer_layer, &state.shapes_layer, &state.device_layer})
        if (*layer && (*layer)->window.get() == window) (void)(*layer)->window.release();
}

std::optional<LRESULT> on_message(PresentationState& state, HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_ERASEBKGND: return 1;
        case WM_NCDESTROY: forget_window(state, window); return std::nullopt;
        case WM_PAINT: {
            PAINTSTRUCT paint{};
            BeginPaint(window, &paint);
            const Status drawn = render_presentation_layer(state, window);
            EndPaint(window, &paint);
            if (!drawn) fail(state);
            return 0;
        }
        default: break;
    }
    Status failure;
    std::optional<LRESULT> answer = on_device_message(state, window, message, lparam, failure);
    if (!answer) answer = on_shapes_message(state, window, message, wparam, lparam, failure);
    if (!failure) fail(state);
    return answer;
}

}  // namespace

LRESULT CALLBACK presentation_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams));
    auto* cell = reinterpret_cast<PresentationCell*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!cell) return DefWindowProcW(window, message, wparam, lparam);
    try {
        auto state = cell->try_borrow();
        if (!state) {
            // Whoever holds the state owns this window's record: the window
            // must not be destroyed under it.
            if (message == WM_CLOSE) return 0;
            if (message == WM_PAINT) {
                ValidateRect(window, nullptr);  // drawn by whoever holds the state
                return 0;
            }
            return DefWindowProcW(window, message, wparam, lparam);
        }
        if (std::optional<LRESULT> answer = on_message(*state, window, message, wparam, lparam)) return *answer;
        state.release();
        return DefWindowProcW(window, message, wparam, lparam);
    } catch (...) {
        return DefWindowProcW(window, message, wparam, lparam);
    }
}

}  // namespace glimmerly
