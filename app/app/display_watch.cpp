#include "app/app/display_watch.h"

#include "app/app/messages.h"
#include "app/image/screen_grab.h"

namespace glimmerly {
namespace {

BOOL CALLBACK add_monitor(HMONITOR monitor, HDC, LPRECT, LPARAM found) noexcept {
    MONITORINFO info{sizeof info};
    if (!GetMonitorInfoW(monitor, &info)) return TRUE;
    try {
        reinterpret_cast<std::vector<PixelRect>*>(found)->push_back(
            {info.rcMonitor.left, info.rcMonitor.top, info.rcMonitor.right, info.rcMonitor.bottom});
    } catch (...) {
        return FALSE;  // out of memory: a short list costs at most one rebuild too many
    }
    return TRUE;
}

}  // namespace

DisplayLayout current_display_layout() {
    DisplayLayout layout{virtual_screen_rect(), {}};
    EnumDisplayMonitors(nullptr, nullptr, add_monitor, reinterpret_cast<LPARAM>(&layout.monitors));
    return layout;
}

void start_display_watch(HWND window) {
    // A refused timer leaves the window to WM_DISPLAYCHANGE alone, as on Windows.
    SetTimer(window, TIMER_DISPLAY_WATCH, kDisplayWatchMs, nullptr);
}

}  // namespace glimmerly
