#include "core/editor/capture_start.h"

#include "core/editor/monitor_views.h"

namespace glimmerly {

EditorState new_capture_state(BgraImage frame, std::vector<MonitorArea> monitors) {
    EditorState state;
    state.frame_width = frame.width;
    state.frame_height = frame.height;
    state.frozen_frame = std::move(frame);
    state.monitor_areas = std::move(monitors);
    new_monitor_views(state);
    return state;
}

void apply_capture_settings(EditorState& state, const Settings& settings) {
    state.custom_colour = settings.custom_color;
    state.stroke_width = static_cast<double>(settings.capture_stroke_width);
    state.eraser_size = static_cast<double>(settings.capture_eraser_size);
    state.wheel_hint_shown = !settings.wheel_hint;
    state.more_tools_setting = settings.mini_toolbar;
    state.more_tools_expanded = !settings.mini_toolbar_folded;
    if (state.more_tools_setting && !state.more_tools_expanded && !state.board_mode) state.tool = Tool::Pen;
}

}  // namespace glimmerly
