#pragma once
// The display layout as the application window last acted on it. Under Wine
// a change of the screen made outside the program (xrandr, the desktop's own
// settings) reaches no window of it: no WM_DISPLAYCHANGE, no WM_SETTINGCHANGE
// and no WinEvent come, only the metrics change. So the window also compares
// the layout itself, once a second, and takes a change it finds the way it
// takes the message.

#include <windows.h>

#include <vector>

#include "core/base/pixel_rect.h"

namespace glimmerly {

struct DisplayLayout {
    PixelRect virtual_screen;
    // Each monitor's rectangle, in the system's order.
    std::vector<PixelRect> monitors;
    friend bool operator==(const DisplayLayout&, const DisplayLayout&) = default;
};

// The layout as the system reports it now.
DisplayLayout current_display_layout();

// Arms TIMER_DISPLAY_WATCH on the window for as long as it lives.
void start_display_watch(HWND window);

}  // namespace glimmerly
