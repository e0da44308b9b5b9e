#include "core/editor/handles.h"

#include "core/document/point_math.h"
#include "core/editor/hit_bounds.h"
#include "core/editor/hit_test.h"
#include "core/editor/id_set.h"

#include <algorithm>
#include <cmath>

namespace glimmerly {

namespace {

// Turns below this count as none: a frame or a resize then stays axis-aligned.
constexpr double kMinTurn = 1e-9;

// Strict: a point exactly at the radius is not on the handle.
bool within(Point a, Point b, double radius) { return std::hypot(a.x - b.x, a.y - b.y) < radius; }

std::optional<std::size_t> position_of(std::span<const SceneObject> objects, ObjectId id) {
    for (std::size_t i = 0; i < objects.size(); ++i)
        if (objects[i].id == id) return i;
    return std::nullopt;
}

SelectionFrame single_frame(const SceneObject& object, SceneObjects objects) {
    if (std::abs(object.rotation) > kMinTurn && !resolve_arrow_ends(object, objects))
        return {object_bounds(object), object.rotation};
    return {object_bounds_in_scene(object, objects), 0.0};
}

// The end and bend handles of the single selected line.
std::optional<GesturePayload> line_handle_at(const EditorState& state, Point p, double radius) {
    if (state.selection.size() != 1) return std::nullopt;
    const auto index = position_of(state.objects, state.selection.front());
    if (!index) return std::nullopt;
    const SceneObject& object = state.objects[*index];
    const auto* line = as_line(object);
    const auto ends = resolve_arrow_ends(object, state.objects);
    if (!line || !ends) return std::nullopt;
    if (within(p, ends->from, radius)) return ArrowEndGesture{true, *index};
    if (within(p, ends->to, radius)) return ArrowEndGesture{false, *index};
    if (line->elbow) return std::nullopt;
    const Point d = ends->to - ends->from;
    const Point bend = (ends->from + ends->to) * 0.5 + d * line->bend.x + perpendicular(d) * line->bend.y;
    if (within(p, bend, radius)) return ArrowBendGesture{*index};
    return std::nullopt;
}

}  // namespace

std::optional<Box> selected_objects_bounds(const EditorState& state) {
    const IdSet selected(state.selection);
    std::optional<Box> bounds;
    for (const SceneObject& object : state.objects) {
        if (!selected.contains(object.id)) continue;
        const Box b = object_bounds_in_scene(object, state.objects);
        if (!bounds) {
            bounds = b;
            continue;
        }
        // fmin and fmax keep the other operand when one is NaN.
        bounds = Box{std::fmin(bounds->left, b.left), std::fmin(bounds->top, b.top),
                     std::fmax(bounds->right, b.right), std::fmax(bounds->bottom, b.bottom)};
    }
    return bounds;
}

std::optional<SelectionFrame> selection_frame(const EditorState& state) {
    if (state.selection.size() != 1) {
        const auto bounds = selected_objects_bounds(state);
        if (!bounds) return std::nullopt;
        return SelectionFrame{*bounds, 0.0};
    }
    return object_frame_by_id(state.objects, state.selection.front());
}

std::optional<SelectionFrame> object_frame_by_id(std::span<const SceneObject> objects, ObjectId id) {
    const SceneObject* object = find_object(objects, id);
    if (!object) return std::nullopt;
    return single_frame(*object, objects);
}

std::optional<Point> rotation_handle_position(const EditorState& state) {
    const IdSet selected(state.selection);
    const bool turnable = std::any_of(state.objects.begin(), state.objects.end(), [&](const SceneObject& o) {
        return o.kind() != ObjectKind::Blur && selected.contains(o.id);
    });
    if (!turnable) return std::nullopt;
    const auto frame = selection_frame(state);
    if (!frame) return std::nullopt;
    const Point c = box_centre(frame->box);
    return rotate_point({c.x, frame->box.top - kRotationHandleLift * state.interface_scale}, c, frame->rotation);
}

HandleHit hit_selection_handles(const EditorState& state, Point p) {
    if (!is_finite(p)) return {};
    const double radius = kHandleRadius * state.interface_scale;
    const auto frame = selection_frame(state);

    if (const auto handle = rotation_handle_position(state); handle && frame && within(p, *handle, radius))
        return {RotateGesture{box_centre(frame->box)}};
    if (auto line = line_handle_at(state, p, radius)) return {std::move(line)};

    const auto bounds = selected_objects_bounds(state);
    if (!frame || !bounds) return {};
    const auto corners = rotated_rect_corners(frame->box, frame->rotation);
    for (std::size_t i = 0; i < corners.size(); ++i)
        if (within(p, corners[i], radius)) return {ResizeGesture{corners[(i + 2) % 4], corners[i], *bounds}};
    return {};
}

std::optional<std::array<Point, 4>> object_handle_frame(const EditorState& state, ObjectId id) {
    const SceneObject* object = find_object(state.objects, id);
    if (!object) return std::nullopt;
    const Box b = object_bounds(*object);
    const Box grown = grow_box(b, kConnectorOffset * state.interface_scale);
    const Point c = box_centre(b);
    const Turn turn(object->rotation);
    return std::array<Point, 4>{turn.about({c.x, grown.top}, c), turn.about({grown.right, c.y}, c),
                                turn.about({c.x, grown.bottom}, c), turn.about({grown.left, c.y}, c)};
}

std::optional<ObjectId> hover_target_at(const EditorState& state, Point p) {
    const auto label = hit_text_width_handle(state, p);
    if (!label) return std::nullopt;
    if (state.tool == Tool::Select && hit_selection_handles(state, p).gesture) return std::nullopt;
    const auto points = object_handle_frame(state, *label);
    if (!points) return std::nullopt;
    const double radius = kHandleRadius * state.interface_scale;
    for (const Point& q : *points)
        if (within(p, q, radius)) return label;
    return std::nullopt;
}

std::optional<ObjectId> object_at_point(const EditorState& state, Point p) {
    if (!is_finite(p)) return std::nullopt;
    const double tolerance = kPickTolerance * state.interface_scale;
    // Boxes first: only the few objects whose box holds the point build their
    // outline. A tolerance that is negative or not a number widens nothing.
    const double reach = tolerance > 0.0 ? tolerance : 0.0;
    const HitBounds& bounds = state.objects.hit_bounds();
    const std::vector<SceneObject>& objects = state.objects.list();
    const SceneObjects scene = bounds.scene(objects);
    for (std::size_t i = objects.size(); i-- > 0;) {
        if (!bounds.may_hit(i, p, reach)) continue;
        const SceneObject& o = objects[i];
        if (!o.fill.empty() && hit_object_interior(o, p) && fill_region_at(o.fill, p, objects, i + 1)) return o.id;
        if (hit_object_outline(o, p, tolerance, scene)) return o.id;
    }
    return std::nullopt;
}

std::optional<Box> marquee_rect(const EditorState& state) {
    if (!state.saved_objects || state.gesture.kind() != GestureKind::Marquee) return std::nullopt;
    const Point a = state.gesture.start, b = state.gesture.current;
    if (!is_finite(a) || !is_finite(b)) return std::nullopt;
    return Box{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

}  // namespace glimmerly
