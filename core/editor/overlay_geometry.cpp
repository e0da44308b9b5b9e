#include "core/editor/overlay_geometry.h"

#include "core/editor/chrome_math.h"
#include "core/editor/monitor_views.h"

#include <algorithm>

namespace glimmerly {

namespace {

constexpr double kMagnifierWidth = 126.0, kMagnifierHeight = 164.0;  // units
constexpr double kMagnifierOffset = 24.0;

double magnifier_start(double pointer, double frame, double size, double offset) {
    const double at = pointer + offset + size <= frame ? pointer + offset : pointer - offset - size;
    return clamp_into(at, 0.0, std::max(frame - size, 0.0));
}

}  // namespace

BrushPreview brush_preview_width(const EditorState& state) {
    switch (state.tool) {
        case Tool::Highlighter: {
            const double w = kHighlighterFactor * state.stroke_width;
            return {w, w};
        }
        case Tool::Eraser: {
            const auto view = view_at_point(state, state.pointer);
            const double zoom = view ? state.monitor_views[*view].zoom : 1.0;
            return {state.eraser_size * zoom, state.eraser_size};
        }
        default: return {state.stroke_width, state.stroke_width};
    }
}

std::vector<Polyline> object_outline_polylines(const EditorState& state, const SceneObject& object, double unit) {
    auto outline = build_object_geometry(object, state.objects);
    if (!outline.empty()) return outline;
    Polyline frame = object_outline_frame(state, object, unit);
    if (frame.empty()) return {};
    return {std::move(frame)};
}

Box place_magnifier_box(const EditorState& state) {
    const double s = anchor_monitor_scale(state);
    const double w = kMagnifierWidth * s, h = kMagnifierHeight * s, offset = kMagnifierOffset * s;
    const double x = magnifier_start(state.pointer.x, static_cast<double>(state.frame_width), w, offset);
    const double y = magnifier_start(state.pointer.y, static_cast<double>(state.frame_height), h, offset);
    return box_at(x, y, w, h);
}

}  // namespace glimmerly
