#include "app/presentation/loupe_probe.h"

#include <dwmapi.h>

#include <vector>

#include "app/app/messages.h"
#include "app/presentation/composed_loupe.h"
#include "app/presentation/spotlight.h"
#include "app/win/failure.h"
#include "app/win/system_function.h"

namespace glimmerly {
namespace {

// GDI does not always set an error: a failed call with a last error of 0 is
// still a failure, coded so that a report shows it was not the system's.
Failure call_failure(std::string_view what) { return win::self_check_failure(what); }

Status register_class(const wchar_t* name, WNDPROC procedure) {
    WNDCLASSW window_class{};
    window_class.lpfnWndProc = procedure;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.lpszClassName = name;
    if (RegisterClassW(&window_class)) return ok_status();
    const DWORD error = GetLastError();
    if (error == ERROR_CLASS_ALREADY_EXISTS) return ok_status();
    return win::win32_failure_code(error, "RegisterClassW", name);
}

constexpr DWORD kExcludeFromCapture = 0x11;  // WDA_EXCLUDEFROMCAPTURE, Windows 10 2004 and later

using SetWindowDisplayAffinityCall = BOOL(WINAPI*)(HWND, DWORD);

void put_pixel(std::uint8_t* p, Rgb colour) {
    p[0] = colour.b;
    p[1] = colour.g;
    p[2] = colour.r;
    p[3] = 255;
}

BOOL CALLBACK collect_monitor(HMONITOR monitor, HDC, LPRECT, LPARAM list) noexcept {
    try {
        MONITORINFO info{};
        info.cbSize = sizeof info;
        if (GetMonitorInfoW(monitor, &info)) {
            const RECT& r = info.rcMonitor;
            reinterpret_cast<std::vector<ProbeMonitor>*>(list)->push_back(
                {{r.left, r.top, r.right, r.bottom}, (info.dwFlags & MONITORINFOF_PRIMARY) != 0});
        }
    } catch (...) {
        // A monitor that cannot be listed is left out, as one whose
        // information cannot be read.
    }
    return TRUE;
}

void paint_framed_probe(HWND window) {
    win::PaintDc paint(window);
    if (!paint.get()) return;
    RECT client{};
    if (!GetClientRect(window, &client)) client = {};
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    const std::int32_t width = client.right - client.left;
    const std::int32_t height = client.bottom - client.top;
    if (width <= 0 || height <= 0) return;
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
    for (std::int32_t r = 0; r < height; ++r)
        for (std::int32_t c = 0; c < width; ++c)
            put_pixel(pixels.data() + (static_cast<std::size_t>(r) * width + c) * 4,
                      pattern_colour(origin.x + c, origin.y + r));
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    StretchDIBits(paint.get(), 0, 0, width, height, 0, 0, width, height, pixels.data(), &info, DIB_RGB_COLORS,
                  SRCCOPY);
}

}  // namespace

Result<ProbeWindow> create_probe_window(const PixelRect& rect, DWORD extended_style, const ProbeFill& fill) {
    GLIM_TRY(register_class(LOUPE_PROBE_CLASS, plain_window_proc));
    ProbeWindow probe;
    probe.window.reset(CreateWindowExW(extended_style, LOUPE_PROBE_CLASS, LOUPE_PROBE_TITLE, WS_POPUP, rect.left,
                                       rect.top, rect.width(), rect.height(), nullptr, nullptr,
                                       GetModuleHandleW(nullptr), nullptr));
    if (!probe.window) return win::self_check_failure("CreateWindowExW", LOUPE_PROBE_CLASS);
    auto surface = create_dib_surface(static_cast<std::uint32_t>(rect.width()),
                                      static_cast<std::uint32_t>(rect.height()));
    if (!surface) return std::move(surface).failure();
    probe.surface = std::move(*surface);
    DibSurface& dib = *probe.surface;
    for (std::uint32_t r = 0; r < dib.height; ++r)
        for (std::uint32_t c = 0; c < dib.width; ++c)
            put_pixel(dib.bits + (std::size_t{r} * dib.width + c) * 4,
                      fill(rect.left + std::int32_t(c), rect.top + std::int32_t(r)));
    SetLastError(0);
    if (!GdiFlush()) return call_failure("GdiFlush");
    SIZE size{rect.width(), rect.height()};
    POINT origin{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    SetLastError(0);
    if (!UpdateLayeredWindow(probe.window.get(), dib.screen.get(), nullptr, &size, dib.memory.get(), &origin, 0,
                             &blend, ULW_ALPHA))
        return call_failure("UpdateLayeredWindow");
    ShowWindow(probe.window.get(), SW_SHOWNOACTIVATE);
    return probe;
}

Result<ProbeWindow> create_magenta_probe(const PixelRect& rect) {
    return create_probe_window(rect, kTopmostProbeStyle, [](std::int32_t, std::int32_t) { return kMagentaProbe; });
}

Result<ProbeWindow> create_green_probe(const PixelRect& rect) {
    return create_probe_window(rect, kTopmostProbeStyle, [](std::int32_t, std::int32_t) { return kGreenProbe; });
}

void destroy_probe_window(ProbeWindow probe) {
    probe.window.reset();
    probe.surface.reset();
}

Result<OwnedWindow> create_framed_probe(const PixelRect& rect) {
    GLIM_TRY(register_class(LOUPE_FRAMED_CLASS, framed_probe_proc));
    OwnedWindow window(CreateWindowExW(WS_EX_NOACTIVATE | WS_EX_TOPMOST | WS_EX_TOOLWINDOW, LOUPE_FRAMED_CLASS,
                                       LOUPE_FRAMED_TITLE, WS_OVERLAPPEDWINDOW, rect.left, rect.top, rect.width(),
                                       rect.height(), nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
    if (!window) return win::self_check_failure("CreateWindowExW", LOUPE_FRAMED_CLASS);
    ShowWindow(window.get(), SW_SHOWNOACTIVATE);
    UpdateWindow(window.get());
    return window;
}

LRESULT CALLBACK framed_probe_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    if (message != WM_PAINT) return DefWindowProcW(window, message, wparam, lparam);
    try {
        paint_framed_probe(window);
    } catch (...) {
        // Out of memory for the picture: the window stays unpainted, which
        // the comparison then reports.
    }
    return 0;
}

bool exclude_from_capture(HWND window) {
    const auto call =
        win::system_function_as<SetWindowDisplayAffinityCall>(L"user32.dll", "SetWindowDisplayAffinity");
    return call && call(window, kExcludeFromCapture);
}

void flush_dwm_twice() {
    (void)DwmFlush();
    (void)DwmFlush();
    BOOL composed = FALSE;
    if (SUCCEEDED(DwmIsCompositionEnabled(&composed)) && composed) return;
    // Without a compositor (Wine) DwmFlush returns at once, and a window's
    // new picture reaches the screen only when its thread looks at its queue
    // after the display server has answered: two frames' time, each ended
    // by a look that takes no message.
    for (int frame = 0; frame < 2; ++frame) {
        Sleep(16);
        MSG message{};
        (void)PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
    }
}

void pump_probe_messages(Loupe& loupe) {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_APP_LOUPE_WINDOW_EVENT) clear_loupe_window_event();
        DispatchMessageW(&message);
    }
    loupe.candidates.reset();
}

Result<HWND> find_loupe_window(HWND after) {
    const HWND found = FindWindowExW(nullptr, after, LOUPE_WINDOW_CLASS, nullptr);
    if (!found) return win::self_check_failure("FindWindowExW", LOUPE_WINDOW_CLASS);
    return found;
}

PixelRect choose_probe_monitor() {
    std::vector<ProbeMonitor> monitors;
    EnumDisplayMonitors(nullptr, nullptr, collect_monitor, reinterpret_cast<LPARAM>(&monitors));
    return choose_probe_monitor(monitors, {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
}

// Only the composed drawing captures windows; in round bands there is no
// capture frame source.
bool loupe_has_capture_frames(const Loupe& loupe) { return loupe.composed != nullptr; }
std::uint64_t loupe_capture_window_count(const Loupe& loupe) {
    return loupe.composed ? loupe.composed->captures.size() : 0;
}

}  // namespace glimmerly
