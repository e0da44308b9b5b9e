#pragma once
// Monitor layouts as data: monitors given in desktop pixels (origins may be
// negative) with their DPI scale, turned into an editor state over the whole
// virtual screen the way the capture start builds it.

#include "core/editor/editor_state.h"
#include "core/editor/monitor_views.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace glimmerly::testing {

struct DesktopMonitor {
    Box rect;  // desktop pixels
    double scale = 1.0;
};

// A committed selection (in frame pixels) when one is given.
inline EditorState capture_over(const std::vector<DesktopMonitor>& monitors, std::optional<Box> selection = {}) {
    Box screen = monitors.front().rect;
    for (const DesktopMonitor& m : monitors)
        screen = {std::min(screen.left, m.rect.left), std::min(screen.top, m.rect.top),
                  std::max(screen.right, m.rect.right), std::max(screen.bottom, m.rect.bottom)};
    EditorState state;
    state.frame_width = static_cast<std::uint32_t>(screen.right - screen.left);
    state.frame_height = static_cast<std::uint32_t>(screen.bottom - screen.top);
    for (const DesktopMonitor& m : monitors)
        state.monitor_areas.push_back({{m.rect.left - screen.left, m.rect.top - screen.top, m.rect.right - screen.left,
                                        m.rect.bottom - screen.top},
                                       m.scale});
    new_monitor_views(state);
    state.capture_selection = selection;
    state.selecting = !selection;
    return state;
}

}  // namespace glimmerly::testing
