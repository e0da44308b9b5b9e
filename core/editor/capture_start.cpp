#include "core/editor/capture_start.h"

#include <new>

#include "core/document/object_transform.h"
#include "core/editor/monitor_views.h"
#include "core/image/bgra_image.h"

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

namespace {

EditorState document_state(Scene scene, BgraImage frame, FrameSize window, PixelPoint at,
                           std::vector<MonitorArea> monitors) {
    const Point shift{static_cast<double>(at.x), static_cast<double>(at.y)};
    std::optional<Box> own;
    if (window.width != frame.width || window.height != frame.height || at.x != 0 || at.y != 0) {
        own = Box{shift.x, shift.y, shift.x + frame.width, shift.y + frame.height};
        BgraImage grown{std::vector<std::uint8_t>(std::size_t{window.width} * window.height * 4), window.width,
                        window.height};
        for (std::size_t i = 3; i < grown.pixels.size(); i += 4) grown.pixels[i] = 0xFF;
        paste_bgra_image(grown, frame, at.x, at.y);
        frame = std::move(grown);
        for (SceneObject& object : scene.objects) move_object_by(object, shift);
        scene.region = {scene.region.left + shift.x, scene.region.top + shift.y, scene.region.right + shift.x,
                        scene.region.bottom + shift.y};
    }
    EditorState state = new_capture_state(std::move(frame), std::move(monitors));
    state.document_area = own;
    state.objects = std::move(scene.objects);
    state.background = std::move(scene.background);
    // The region was chosen when the document was saved: the tools draw at once.
    state.capture_selection = scene.region;
    state.selecting = false;
    state.last_id = scene.last;
    refresh_ui_scale(state);
    return state;
}

}  // namespace

Result<EditorState> new_document_state(Scene scene, BgraImage frame, FrameSize window, PixelPoint at,
                                       std::vector<MonitorArea> monitors) {
    try {
        return document_state(std::move(scene), std::move(frame), window, at, std::move(monitors));
    } catch (const std::bad_alloc&) {
        return out_of_memory("Opening an editable document");
    }
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
