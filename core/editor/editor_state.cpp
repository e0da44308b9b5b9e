#include "core/editor/editor_state.h"

#include "core/document/point_math.h"

#include <algorithm>
#include <cmath>

namespace glimmerly {

namespace {

constexpr double kMinInterfaceScale = 1.0;
constexpr double kMaxInterfaceScale = 5.0;
// A dashed outline never takes more steps than this, whatever its length and
// unit: a tiny unit on a long path would otherwise hang the paint.
constexpr std::size_t kMaxDashSteps = std::size_t{1} << 20;

bool contains_half_open(const Box& r, Point p) {
    return r.left <= p.x && p.x < r.right && r.top <= p.y && p.y < r.bottom;
}

double distance_to_box(const Box& r, Point p) {
    const double cx = std::max(r.left, std::min(p.x, r.right));
    const double cy = std::max(r.top, std::min(p.y, r.bottom));
    return std::hypot(cx - p.x, cy - p.y);
}

}  // namespace

std::optional<Tool> tool_from_code(std::uint32_t code) {
    if (code >= kToolCount) return std::nullopt;
    return static_cast<Tool>(code);
}

std::optional<EditorActionCode> editor_action_code(EditorAction action) {
    const std::uint32_t code = action & 0xFFu;
    if (code >= kEditorActionCodeCount) return std::nullopt;
    return static_cast<EditorActionCode>(code);
}

std::optional<Tool> editor_action_tool(EditorAction action) {
    if (editor_action_code(action) != EditorActionCode::ChooseTool) return std::nullopt;
    return tool_from_code(editor_action_argument(action));
}

std::optional<Rgb> editor_action_colour(EditorAction action) {
    if (editor_action_code(action) != EditorActionCode::Colour) return std::nullopt;
    return unpack_rgb(editor_action_argument(action));
}

bool cancel_gesture(EditorState& state) {
    if (!state.saved_objects) return false;
    state.objects = std::move(*state.saved_objects);
    state.saved_objects.reset();
    state.gesture = Gesture{};  // releases an eraser's list
    return true;
}

std::optional<ObjectId> take_new_object_ids(EditorState& state, std::uint64_t count) {
    return take_object_ids(state.last_id, count);
}

std::optional<MonitorArea> monitor_at_point(const EditorState& state, Point point) {
    std::optional<MonitorArea> best;
    bool best_contains = false;
    double best_distance = 0.0;
    for (const MonitorArea& area : state.monitor_areas) {
        // Only the part of a monitor that the frame shows counts.
        const Box clipped{std::max(area.rect.left, 0.0), std::max(area.rect.top, 0.0),
                          std::min(area.rect.right, static_cast<double>(state.frame_width)),
                          std::min(area.rect.bottom, static_cast<double>(state.frame_height))};
        if (!(clipped.left < clipped.right && clipped.top < clipped.bottom)) continue;
        const bool contains = contains_half_open(clipped, point);
        const double d = distance_to_box(clipped, point);
        // A monitor that holds the point beats one that does not; otherwise
        // the nearer wins and ties keep the earlier monitor.
        if (!best || (contains && !best_contains) || (contains == best_contains && d < best_distance)) {
            best = MonitorArea{clipped, area.scale};
            best_contains = contains;
            best_distance = d;
        }
    }
    return best;
}

double anchor_monitor_scale(const EditorState& state) {
    Point anchor = state.pointer;
    if (const auto& s = state.capture_selection)
        anchor = {(s->left + s->right) * 0.5, (s->top + s->bottom) * 0.5};
    const auto monitor = monitor_at_point(state, anchor);
    if (!monitor || !std::isfinite(monitor->scale)) return 1.0;
    return std::clamp(monitor->scale, kMinInterfaceScale, kMaxInterfaceScale);
}

Box region_or_image_rect(const EditorState& state, Point point) {
    if (const auto monitor = monitor_at_point(state, point)) return monitor->rect;
    return {0.0, 0.0, static_cast<double>(state.frame_width), static_cast<double>(state.frame_height)};
}

std::vector<Dash> dash_polyline(std::span<const Point> points, double unit) {
    std::vector<Dash> dashes;
    if (points.size() < 2 || !std::isfinite(unit) || !(unit > 0.0)) return dashes;
    const double period = 7.0 * unit, on = 4.0 * unit;
    const double snap = unit * 1e-9;
    double phase = 0.0;  // where in the pattern the walk stands
    std::size_t steps = 0;

    for (std::size_t i = 1; i < points.size(); ++i) {
        const Point a = points[i - 1], b = points[i];
        const double len = distance(a, b);
        if (!std::isfinite(len) || !(len > 0.0)) continue;
        const Point along = (b - a) * (1.0 / len);
        double t = 0.0;
        while (t < len) {
            if (++steps > kMaxDashSteps) return dashes;
            const bool drawn = phase < on;
            const double room = (drawn ? on : period) - phase;
            const double end = std::min(t + room, len);
            if (drawn) {
                dashes.push_back({a + along * t, a + along * end});
            }
            if (t + room < len) {
                phase = drawn ? on : 0.0;
            } else {
                phase += len - t;
                // A segment that ends on a pattern boundary leaves no sliver
                // of rounding error for the next one to draw.
                if (drawn && on - phase <= snap) phase = on;
                if (!drawn && period - phase <= snap) phase = 0.0;
            }
            t = end;
        }
    }
    return dashes;
}

Polyline object_outline_frame(const EditorState& state, const SceneObject& object, double unit) {
    if (!std::isfinite(unit) || !std::isfinite(object.rotation)) return {};
    // A rotated object is framed along its own turned box; a line is framed
    // where its attachments put it (its stored ends may lie elsewhere).
    const bool turned = std::abs(object.rotation) > 1e-9 && object.kind() != ObjectKind::Arrow;
    const Box box = turned ? object_bounds(object) : object_bounds_in_scene(object, state.objects);
    const auto corners = rotated_rect_corners_offset(box, turned ? object.rotation : 0.0, 3.0 * unit);
    return {corners[0], corners[1], corners[2], corners[3], corners[0]};
}

}  // namespace glimmerly
