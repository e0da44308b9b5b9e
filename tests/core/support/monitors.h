#pragma once
// Monitor layouts as data: monitors in desktop pixels (origins may be
// negative) with their DPI scale, turned into an editor state over the whole
// virtual screen the way the capture start builds it.

#include "core/editor/chrome_math.h"
#include "core/editor/editor_state.h"
#include "core/editor/monitor_views.h"

#include <optional>
#include <vector>

namespace glimmerly::testing {

struct DesktopMonitor {
    Box rect;  // desktop pixels
    double scale = 1.0;
};

// With a selection (frame pixels) it is committed.
inline EditorState capture_over(const std::vector<DesktopMonitor>& monitors, std::optional<Box> selection = {}) {
    Box screen = monitors.front().rect;
    for (const DesktopMonitor& m : monitors) screen = box_union(screen, m.rect);
    EditorState state;
    state.frame_width = static_cast<std::uint32_t>(screen.right - screen.left);
    state.frame_height = static_cast<std::uint32_t>(screen.bottom - screen.top);
    for (const DesktopMonitor& m : monitors) {
        const Box& r = m.rect;
        state.monitor_areas.push_back(
            {{r.left - screen.left, r.top - screen.top, r.right - screen.left, r.bottom - screen.top}, m.scale});
    }
    new_monitor_views(state);
    state.capture_selection = selection;
    state.selecting = !selection;
    return state;
}

}  // namespace glimmerly::testing
