#include "core/editor/board_start.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/editor/capture_start.h"
#include "core/editor/monitor_views.h"

namespace glimmerly {
namespace {

std::int64_t screen_edge(double value, std::int32_t origin) {
    const double rounded = std::isnan(value) ? 0.0 : std::round(value);
    const auto edge = static_cast<std::int64_t>(std::clamp(rounded, double(std::numeric_limits<std::int32_t>::min()),
                                                           double(std::numeric_limits<std::int32_t>::max())));
    return std::clamp<std::int64_t>(edge + origin, std::numeric_limits<std::int32_t>::min(),
                                    std::numeric_limits<std::int32_t>::max());
}

}  // namespace

EditorState new_editor_state_for_scene(BgraImage desktop, Scene scene, std::vector<MonitorArea> monitors) {
    const double width = desktop.width, height = desktop.height;
    EditorState state = new_capture_state(std::move(desktop), std::move(monitors));
    state.board_mode = true;
    state.tool = Tool::Arrow;
    state.objects = std::move(scene.objects);
    state.background = std::move(scene.background);
    state.last_id = scene.last;
    state.capture_selection = Box{0.0, 0.0, width, height};
    state.selecting = false;
    refresh_ui_scale(state);
    return state;
}

std::uint64_t pack_closed_rectangle(const std::optional<Box>& selection, PixelPoint origin) {
    if (!selection) return 0;
    const std::int64_t left = screen_edge(selection->left, origin.x), top = screen_edge(selection->top, origin.y);
    const std::int64_t right = screen_edge(selection->right, origin.x), bottom = screen_edge(selection->bottom, origin.y);
    if (right <= left || bottom <= top) return 0;
    for (const std::int64_t edge : {left, top, right, bottom})
        if (edge < -32768 || edge > 32767) return 0;
    const auto word = [](std::int64_t v) { return static_cast<std::uint64_t>(v) & 0xFFFFu; };
    return word(bottom) << 48 | word(right) << 32 | word(top) << 16 | word(left);
}

}  // namespace glimmerly
