#include "core/editor/monitor_views.h"

#include "core/base/wheel_notches.h"
#include "core/editor/chrome_math.h"

#include <algorithm>
#include <cmath>

namespace glimmerly {

namespace {

constexpr double kMinStrokeWidth = 1.0, kMaxStrokeWidth = 40.0;
constexpr double kMinEraserSize = 4.0, kMaxEraserSize = 128.0;
constexpr double kMinTextSize = 8.0, kMaxTextSize = 300.0;

Box frame_box(const EditorState& state) {
    return {0.0, 0.0, static_cast<double>(state.frame_width), static_cast<double>(state.frame_height)};
}

Box view_rect(const MonitorView& v) { return {v.rect.left, v.rect.top, v.rect.right, v.rect.bottom}; }

Box clip_to_frame(const EditorState& state, const Box& b) {
    const Box f = frame_box(state);
    return {std::max(b.left, f.left), std::max(b.top, f.top), std::min(b.right, f.right),
            std::min(b.bottom, f.bottom)};
}

// Views are only ever given zooms in 1..8; anything else (a record built by
// hand) maps as zoom 1 rather than dividing by zero.
double usable_zoom(const MonitorView& v) {
    return std::isfinite(v.zoom) && v.zoom >= kMinViewZoom ? v.zoom : kMinViewZoom;
}

double zoom_under_pointer(const EditorState& state) {
    const auto index = view_at_point(state, state.pointer);
    return index ? usable_zoom(state.monitor_views[*index]) : 1.0;
}

}  // namespace

Point interface_anchor(const EditorState& state) {
    if (const auto& s = state.capture_selection) return {(s->left + s->right) * 0.5, (s->top + s->bottom) * 0.5};
    return state.pointer;
}

double ui_scale_over_zoom(const EditorState& state) {
    return anchor_monitor_scale(state) / zoom_under_pointer(state);
}

void refresh_ui_scale(EditorState& state) {
    const double s = anchor_monitor_scale(state);
    state.interface_scale = s / zoom_under_pointer(state);
    const double applied = state.applied_interface_scale;
    if (s == applied) return;
    // A broken applied scale cannot say how far to scale: adopt the new one
    // without touching the sizes.
    if (std::isfinite(applied) && applied > 0.0) {
        const double r = s / applied;
        state.stroke_width = std::clamp(std::round(state.stroke_width * r), kMinStrokeWidth, kMaxStrokeWidth);
        state.eraser_size = std::clamp(std::round(state.eraser_size * r), kMinEraserSize, kMaxEraserSize);
        state.text_size = static_cast<float>(
            std::clamp(std::round(static_cast<double>(state.text_size) * r), kMinTextSize, kMaxTextSize));
    }
    state.applied_interface_scale = s;
}

void new_monitor_views(EditorState& state) {
    state.monitor_views.clear();
    for (const MonitorArea& area : state.monitor_areas) {
        const Box& r = area.rect;
        state.monitor_views.push_back({r, {r.left, r.top}, 1.0});
    }
    if (state.monitor_views.empty()) {
        const Box f = frame_box(state);
        state.monitor_views.push_back({f, {0.0, 0.0}, 1.0});
    }
}

std::optional<std::size_t> view_at_point(const EditorState& state, Point point) {
    if (state.monitor_views.empty()) return std::nullopt;
    const auto monitor = monitor_at_point(state, point);
    const Box key = monitor ? monitor->rect : frame_box(state);
    // The monitor's rectangle comes back clipped to the frame, so the views
    // are compared clipped too: a monitor that the frame shows only in part
    // still finds its own view.
    for (std::size_t i = 0; i < state.monitor_views.size(); ++i)
        if (clip_to_frame(state, view_rect(state.monitor_views[i])) == key) return i;
    return 0;
}

Point map_through_view(const MonitorView& view, Point point) {
    const double zoom = usable_zoom(view);
    return {view.origin.x + (point.x - view.rect.left) / zoom, view.origin.y + (point.y - view.rect.top) / zoom};
}

Point map_point_to_monitor(const EditorState& state, Point point) {
    const auto index = view_at_point(state, point);
    return index ? map_through_view(state.monitor_views[*index], point) : point;
}

Point map_pointer_to_monitor(const EditorState& state) { return map_point_to_monitor(state, state.pointer); }

Point map_anchor_to_monitor(const EditorState& state, Point point) {
    const auto index = view_at_point(state, interface_anchor(state));
    return index ? map_through_view(state.monitor_views[*index], point) : point;
}

Point map_point_for_press(const EditorState& state, Point point) {
    if (state.press_view && *state.press_view < state.monitor_views.size()) {
        const MonitorView& v = state.monitor_views[*state.press_view];
        if (v.zoom != 1.0) {
            const double zoom = usable_zoom(v);
            const Point p = map_through_view(v, point);
            return {clamp_into(p.x, v.origin.x, v.origin.x + (v.rect.right - v.rect.left) / zoom),
                    clamp_into(p.y, v.origin.y, v.origin.y + (v.rect.bottom - v.rect.top) / zoom)};
        }
    }
    return map_point_to_monitor(state, point);
}

int take_wheel_notches(EditorState& state, std::int16_t delta) {
    return take_wheel_notches(state.wheel_remainder, delta);
}

bool zoom_view_by_steps(EditorState& state, std::int16_t delta) {
    const auto index = view_at_point(state, state.pointer);
    if (!index) return false;
    const int notches = take_wheel_notches(state, delta);
    if (notches == 0) return true;
    MonitorView& v = state.monitor_views[*index];
    const double old_zoom = usable_zoom(v);
    double zoom = std::clamp(old_zoom * std::pow(kZoomStep, notches), kMinViewZoom, kMaxViewZoom);
    // Zooming out by as many notches as in lands a hair above 1; a view at
    // zoom 1 must be exactly one-to-one.
    if (zoom < 1.000000001) zoom = 1.0;
    // The frame point under the pointer stays under it.
    const double dx = state.pointer.x - v.rect.left, dy = state.pointer.y - v.rect.top;
    v.origin.x += dx / old_zoom - dx / zoom;
    v.origin.y += dy / old_zoom - dy / zoom;
    v.zoom = zoom;
    clamp_view_origin(v);
    return true;
}

bool reset_view_zoom(EditorState& state) {
    const auto index = view_at_point(state, state.pointer);
    if (!index) return false;
    MonitorView& v = state.monitor_views[*index];
    v.origin.x = v.rect.left;
    v.origin.y = v.rect.top;
    v.zoom = 1.0;
    return true;
}

bool pan_view_to(EditorState& state, Point pointer) {
    if (!state.pan || state.pan->view >= state.monitor_views.size()) return false;
    const Box f = frame_box(state);
    const Point p{clamp_into(pointer.x, f.left, f.right), clamp_into(pointer.y, f.top, f.bottom)};
    MonitorView& v = state.monitor_views[state.pan->view];
    const double zoom = usable_zoom(v);
    v.origin.x -= (p.x - state.pan->last.x) / zoom;
    v.origin.y -= (p.y - state.pan->last.y) / zoom;
    clamp_view_origin(v);
    state.pan->last = p;
    return true;
}

void clamp_view_origin(MonitorView& view) {
    const double zoom = usable_zoom(view);
    view.origin.x = clamp_into(view.origin.x, view.rect.left, view.rect.right - (view.rect.right - view.rect.left) / zoom);
    view.origin.y = clamp_into(view.origin.y, view.rect.top, view.rect.bottom - (view.rect.bottom - view.rect.top) / zoom);
}

}  // namespace glimmerly
