#include "app/app/capture_pulse.h"

#include <algorithm>

#include "core/instant/instant_screenshot.h"

namespace glimmerly {
namespace {

constexpr DWORD kPulseStyleEx = WS_EX_NOACTIVATE | WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT | WS_EX_TOPMOST;
constexpr DWORD kExcludeFromCapture = 0x11;  // WDA_EXCLUDEFROMCAPTURE; older headers lack it

void on_paint(HWND window) {
    const win::PaintDc paint(window);
    if (!paint.get()) return;
    RECT client{};
    GetClientRect(window, &client);
    const win::UniqueBrush brush(CreateSolidBrush(CAPTURE_PULSE_COLORREF));
    if (brush) FillRect(paint.get(), &client, brush.get());
}

void on_tick(HWND window) {
    const auto tick = static_cast<std::uint32_t>(GetWindowLongPtrW(window, GWLP_USERDATA)) + 1;
    SetWindowLongPtrW(window, GWLP_USERDATA, std::min(tick, CAPTURE_PULSE_LAST_TICK));
    if (const auto alpha = capture_pulse_alpha(tick)) {
        SetLayeredWindowAttributes(window, 0, *alpha, LWA_ALPHA);
        return;
    }
    // It stays, hidden, until the next screenshot or the owner drops it.
    KillTimer(window, TIMER_CAPTURE_PULSE);
    ShowWindow(window, SW_HIDE);
}

LRESULT on_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_PAINT: on_paint(window); return 0;
        case WM_ERASEBKGND: return 1;
        case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
        case WM_NCHITTEST: return HTTRANSPARENT;
        case WM_TIMER:
            if (wparam != TIMER_CAPTURE_PULSE) break;
            on_tick(window);
            return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

bool register_pulse_class() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = capture_pulse_proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = CAPTURE_PULSE_CLASS;
    return RegisterClassW(&wc) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

// Only the frame is the window's: the inside is cut away, so the monitor's
// content is untouched even by the translucent colour.
bool cut_to_frame(HWND window, std::int32_t width, std::int32_t height) {
    const std::int32_t t = capture_pulse_thickness(GetDpiForWindow(window));
    win::UniqueRegion outer(CreateRectRgn(0, 0, width, height));
    const win::UniqueRegion inner(CreateRectRgn(t, t, width - t, height - t));
    if (!outer || !inner || CombineRgn(outer.get(), outer.get(), inner.get(), RGN_DIFF) == ERROR) return false;
    if (!SetWindowRgn(window, outer.get(), FALSE)) return false;
    (void)outer.release();  // the window's now
    return true;
}

}  // namespace

PulseWindow create_capture_pulse(const PixelRect& monitor, bool show) {
    const std::int32_t width = monitor.width(), height = monitor.height();
    if (width < 1 || height < 1 || !register_pulse_class()) return PulseWindow();
    PulseWindow window(CreateWindowExW(kPulseStyleEx, CAPTURE_PULSE_CLASS, L"", WS_POPUP, monitor.left, monitor.top,
                                       width, height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
    if (!window || !cut_to_frame(window.get(), width, height)) return PulseWindow();
    // Never in a capture; some systems (Wine) refuse, which costs nothing here.
    SetWindowDisplayAffinity(window.get(), kExcludeFromCapture);
    if (!SetLayeredWindowAttributes(window.get(), 0, 0, LWA_ALPHA) ||
        !SetTimer(window.get(), TIMER_CAPTURE_PULSE, CAPTURE_PULSE_TICK_MS, nullptr))
        return PulseWindow();
    if (show) ShowWindow(window.get(), SW_SHOWNOACTIVATE);
    return window;
}

LRESULT CALLBACK capture_pulse_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    try {
        return on_message(window, message, wparam, lparam);
    } catch (...) {
        return DefWindowProcW(window, message, wparam, lparam);
    }
}

}  // namespace glimmerly
