#include "app/presentation/screen_fit.h"

#include "app/image/screen_grab.h"
#include "app/presentation/devices.h"

namespace glimmerly {
namespace {

bool still_a_monitor(const PixelRect& area) {
    const RECT rect{area.left, area.top, area.right, area.bottom};
    const HMONITOR monitor = MonitorFromRect(&rect, MONITOR_DEFAULTTONULL);
    MONITORINFO info{sizeof info};
    if (!monitor || !GetMonitorInfoW(monitor, &info)) return false;
    return PixelRect{info.rcMonitor.left, info.rcMonitor.top, info.rcMonitor.right, info.rcMonitor.bottom} == area;
}

}  // namespace

bool presentation_fits_screen(const PresentationState& state) {
    const PixelRect screen = virtual_screen_rect();
    if (state.spotlight && !(state.spotlight->rect == screen)) return false;
    if (state.shapes_layer) {
        const PresentationLayer& layer = *state.shapes_layer;
        const PixelPoint at = state.shapes_origin;
        if (!(PixelRect{at.x, at.y, at.x + layer.width, at.y + layer.height} == screen)) return false;
    }
    if (state.pointer_monitor && !still_a_monitor(*state.pointer_monitor)) return false;
    return device_layer_fits_screen(state);
}

}  // namespace glimmerly
