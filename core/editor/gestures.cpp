#include "core/editor/gestures.h"

#include "core/document/geometry.h"
#include "core/document/point_math.h"
#include "core/document/scene.h"
#include "core/editor/erase.h"
#include "core/editor/handles.h"
#include "core/editor/hit_test.h"
#include "core/editor/history.h"
#include "core/editor/id_set.h"
#include "core/editor/object_ids.h"
#include "core/editor/scene_limits.h"
#include "core/editor/selection_edits.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>
#include <vector>

namespace glimmerly {

namespace {

constexpr double kSnapStep = std::numbers::pi / 4.0;
// In interface units: a bend dragged this close to the straight line snaps
// straight; an elbow connector's end snaps to outlines this close.
constexpr double kStraightenDistance = 8.0;
constexpr double kElbowSnap = 10.0;
// A new object smaller than this across is a click, not a drawing.
constexpr double kMinDrawnDiagonal = 1.0;
// Pen points closer than this to the last one add nothing but weight.
constexpr double kMinPenStep = 1.0;
constexpr double kNewBlurStrength = 7.0;
// A turned selection is never resized below this fraction of its size.
constexpr double kMinResizeScale = 0.01;
constexpr double kNoTurn = 1e-9;

Point snap_to_45(Point from, Point p) {
    const Point d = p - from;
    const double angle = std::round(std::atan2(d.y, d.x) / kSnapStep) * kSnapStep;
    return from + Point{std::cos(angle), std::sin(angle)} * length(d);
}

Box box_between(Point a, Point b) {
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

bool is_attach_target(const SceneObject& object) {
    return object.kind() == ObjectKind::Rectangle || object.kind() == ObjectKind::Ellipse || is_label(object);
}

ObjectAttachment attachment_to(const SceneObject& target, Point local_offset) {
    // A zero offset has no direction to leave the target in.
    if (length(local_offset) < 0.001) local_offset = {1.0, 0.0};
    return {target.id, local_offset};
}

bool box_holds_offset(const Box& b, Point offset, double grow) {
    const double hx = (b.right - b.left) / 2.0 + grow, hy = (b.bottom - b.top) / 2.0 + grow;
    return std::abs(offset.x) <= hx && std::abs(offset.y) <= hy;
}

std::optional<std::size_t> position_of(std::span<const SceneObject> objects, ObjectId id) {
    for (std::size_t i = 0; i < objects.size(); ++i)
        if (objects[i].id == id) return i;
    return std::nullopt;
}

// A new object in the current colour and width; its id is given when it is
// added.
SceneObject base_object(ObjectPayload payload, const EditorState& state) {
    return SceneObject{0, std::move(payload), state.color, state.stroke_width, 0.0, {}};
}

// The object a drawing tool starts at the press.
std::optional<SceneObject> new_drawing(Tool tool, Point p, const EditorState& state) {
    const Box dot{p.x, p.y, p.x, p.y};
    LinePayload line;
    line.from = line.to = p;
    switch (tool) {
    case Tool::Rectangle: return base_object(RectanglePayload{dot}, state);
    case Tool::Ellipse: return base_object(EllipsePayload{dot}, state);
    case Tool::Line: return base_object(line, state);
    case Tool::Arrow: line.head = true; return base_object(line, state);
    case Tool::Pen: return base_object(StrokePayload{{p}, {}, false}, state);
    case Tool::Highlighter: return base_object(StrokePayload{{p}, {}, true}, state);
    case Tool::Blur: {
        SceneObject blur = base_object(BlurPayload{dot}, state);
        blur.width = kNewBlurStrength;
        return blur;
    }
    default: return std::nullopt;
    }
}

// Room for one more object of `values` stroke values in a scene that must
// stay storable.
bool scene_has_room(std::span<const SceneObject> objects, std::size_t values) {
    if (objects.size() >= kMaxSceneObjects) return false;
    return values == 0 || stroke_value_count(objects) + values <= kMaxStrokeValues;
}

void store_gesture(EditorState& state, std::vector<SceneObject> saved, GesturePayload payload, Point p,
                   PointerModifiers modifiers) {
    state.saved_objects = std::move(saved);
    state.gesture = Gesture{std::move(payload), p, p};
    set_gesture_modifiers(state, modifiers);
}

// Appends a new object on top and starts drawing it. Nothing starts when the
// scene is full or no id can be had.
void start_drawing(EditorState& state, SceneObject object, Point p, PointerModifiers modifiers) {
    const auto* stroke = as_stroke(object);
    if (!scene_has_room(state.objects, stroke ? stroke->points.size() : 0)) return;
    // Before the copy: running out of ids renumbers every object.
    const auto id = take_ids_for_new_objects(state, 1);
    if (!id) return;
    object.id = *id;
    std::vector<SceneObject> saved = state.objects;
    state.objects.push_back(std::move(object));
    state.selection.clear();
    store_gesture(state, std::move(saved), DrawNewGesture{}, p, modifiers);
}

void start_callout(EditorState& state, std::size_t label, Point p, PointerModifiers modifiers) {
    LinePayload line;
    line.from = line.to = p;
    line.head = true;
    line.elbow = true;
    SceneObject arrow = base_object(line, state);
    arrow.color = state.objects[label].color;
    if (!scene_has_room(state.objects, 0)) return;
    const auto id = take_ids_for_new_objects(state, 1);
    if (!id) return;
    // The label's id is read only now: taking the id may have renumbered it,
    // though never moved it.
    arrow.id = *id;
    std::get<LinePayload>(arrow.payload).start = ObjectAttachment{state.objects[label].id, {1.0, 0.0}};
    std::vector<SceneObject> saved = state.objects;
    state.objects.push_back(std::move(arrow));
    state.selection.clear();
    store_gesture(state, std::move(saved), DrawNewGesture{}, p, modifiers);
}

void start_select(EditorState& state, Point p, PointerModifiers modifiers) {
    GesturePayload payload = MoveGesture{};
    if (auto handle = hit_selection_handles(state, p); handle.gesture) {
        payload = std::move(*handle.gesture);
    } else if (const auto id = object_at_point(state, p)) {
        auto& selection = state.selection;
        const bool selected = std::find(selection.begin(), selection.end(), *id) != selection.end();
        if (modifiers.shift || modifiers.ctrl) {
            if (selected) std::erase(selection, *id);
            else selection.push_back(*id);
        } else if (!selected) {
            // A press on a selected object keeps the selection, so the drag
            // moves all of it.
            selection = {*id};
        }
    } else {
        payload = MarqueeGesture{};
        if (!modifiers.shift && !modifiers.ctrl) state.selection.clear();
    }
    store_gesture(state, state.objects, std::move(payload), p, modifiers);
}

// ---- Moves ---------------------------------------------------------------

void continue_drawing(EditorState& state, Point s, Point p) {
    if (state.objects.empty()) return;
    SceneObject& object = state.objects.edit().back();
    const PointerModifiers keys = state.gesture.modifiers;

    if (auto* line = as_line(object); line && line->elbow) {
        // The callout's free end follows the pointer and snaps to outlines.
        line->to = p;
        line->end.reset();
        if (!keys.alt) {
            const std::optional<ObjectId> source = line->start ? std::optional(line->start->id) : std::nullopt;
            line->end = find_elbow_attachment(p, state.objects, state.objects.size() - 1, source,
                                              kElbowSnap * state.interface_scale);
        }
        return;
    }
    if (keys.shift && (object.kind() == ObjectKind::Arrow || object.kind() == ObjectKind::Stroke))
        p = snap_to_45(s, p);
    Point d = p - s;

    switch (object.kind()) {
    case ObjectKind::Rectangle:
    case ObjectKind::Blur: {
        if (keys.shift) {
            const double side = std::max(std::abs(d.x), std::abs(d.y));
            d = {std::copysign(side, d.x), std::copysign(side, d.y)};
        }
        const Box rect = box_between(keys.alt ? s - d : s, s + d);
        if (is_finite(rect)) *object_rect(object) = rect;
        return;
    }
    case ObjectKind::Ellipse: {
        const double r = length(d);
        const Box rect = keys.alt ? Box{s.x - std::abs(d.x), s.y - std::abs(d.y), s.x + std::abs(d.x), s.y + std::abs(d.y)}
                                  : Box{s.x - r, s.y - r, s.x + r, s.y + r};
        if (is_finite(rect)) *object_rect(object) = rect;
        return;
    }
    case ObjectKind::Arrow: {
        auto& line = std::get<LinePayload>(object.payload);
        line.to = p;
        line.start.reset();
        line.end.reset();
        if ((keys.ctrl || keys.alt) && !keys.shift) {
            const std::size_t others = state.objects.size() - 1;
            line.start = find_attachment_at(s, state.objects, others);
            line.end = find_attachment_at(p, state.objects, others);
        }
        return;
    }
    case ObjectKind::Stroke: {
        auto& stroke = std::get<StrokePayload>(object.payload);
        const std::size_t held_values = stroke.points.size() + stroke.widths.size();
        if (keys.shift) {
            // A straight stroke from the press; it never holds more than it did.
            if (held_values < 2 && stroke_value_count(state.objects) + 2 - held_values > kMaxStrokeValues) return;
            stroke.points = {s, p};
            stroke.widths.clear();
            object.width = state.stroke_width;
            return;
        }
        if (stroke.points.empty() || !(distance(p, stroke.points.back()) >= kMinPenStep)) return;
        // A point and its width: past the scene's limit the stroke just stops
        // growing, rather than the capture failing when it is saved.
        if (stroke_value_count(state.objects) + 2 > kMaxStrokeValues) return;
        stroke.widths.push_back(state.stroke_width);
        stroke.points.push_back(p);
        return;
    }
    case ObjectKind::Text: return;
    }
}

// Puts the selected objects back as they were at the press, sets their lines'
// ends where they are drawn (loosening those fastened outside the
// selection), then applies the change to each. Only the selected objects are
// copied back, so a drag over a large scene copies little on each move.
template <class Change>
void redo_selected(EditorState& state, Change change) {
    const auto& saved = *state.saved_objects;
    if (saved.size() != state.objects.size()) state.objects = saved;
    const IdSet selected(state.selection);
    std::optional<ObjectIndex> index;
    if (state.selection.size() > 8) index.emplace(saved);
    const SceneObjects scene = index ? SceneObjects(saved, *index) : SceneObjects(saved);
    for (std::size_t i = 0; i < saved.size(); ++i) {
        if (!selected.contains(saved[i].id)) continue;
        SceneObject& object = state.objects.edit()[i];
        object = saved[i];
        settle_arrow_ends(object, scene, std::span<const ObjectId>(state.selection));
        change(object);
    }
}

void continue_rotate(EditorState& state, const RotateGesture& rotate, Point p) {
    const Point c = rotate.centre, s = state.gesture.start;
    const double angle = std::atan2(p.y - c.y, p.x - c.x) - std::atan2(s.y - c.y, s.x - c.x);
    if (!std::isfinite(angle)) return;
    redo_selected(state, [&](SceneObject& object) { rotate_object(object, c, angle); });
}

void continue_resize(EditorState& state, const ResizeGesture& resize, Point p) {
    const IdSet selected(state.selection);
    const bool turned = std::any_of(state.saved_objects->begin(), state.saved_objects->end(), [&](const SceneObject& o) {
        return selected.contains(o.id) && std::abs(o.rotation) > kNoTurn;
    });
    Box frame;
    if (!turned) {
        frame = box_between(resize.anchor, p);
    } else {
        // A turned object cannot be stretched along the frame's axes without
        // shearing it: it scales evenly about the anchor instead.
        const Point v = resize.handle - resize.anchor;
        const double squared = dot(v, v);
        const double t = squared > 1e-9 ? std::max(kMinResizeScale, dot(p - resize.anchor, v) / squared) : 1.0;
        const Point lo{resize.frame.left, resize.frame.top}, hi{resize.frame.right, resize.frame.bottom};
        frame = box_between(resize.anchor + (lo - resize.anchor) * t, resize.anchor + (hi - resize.anchor) * t);
    }
    if (!is_finite(frame)) return;
    redo_selected(state, [&](SceneObject& object) { map_object_to_bounds(object, resize.frame, frame); });
}

void continue_arrow_end(EditorState& state, const ArrowEndGesture& drag, Point p) {
    if (drag.index >= state.objects.size()) return;
    SceneObject& arrow = state.objects.edit()[drag.index];
    auto* line = as_line(arrow);
    if (!line) return;
    const PointerModifiers keys = state.gesture.modifiers;
    const bool dragging_from = drag.from;
    if (keys.shift)
        if (const auto ends = resolve_arrow_ends(arrow, state.objects))
            p = snap_to_45(dragging_from ? ends->to : ends->from, p);

    std::optional<ObjectAttachment> attachment;
    if (line->elbow) {
        const auto& other = dragging_from ? line->end : line->start;
        if (!keys.alt)
            attachment = find_elbow_attachment(p, state.objects, state.objects.size(),
                                               other ? std::optional(other->id) : std::nullopt,
                                               kElbowSnap * state.interface_scale);
    } else if ((keys.ctrl || keys.alt) && !keys.shift) {
        attachment = find_attachment_at(p, state.objects, state.objects.size());
    }
    (dragging_from ? line->from : line->to) = p;
    (dragging_from ? line->start : line->end) = attachment;
}

void continue_arrow_bend(EditorState& state, const ArrowBendGesture& drag, Point p) {
    if (drag.index >= state.objects.size()) return;
    SceneObject& arrow = state.objects.edit()[drag.index];
    auto* line = as_line(arrow);
    if (!line || line->elbow) return;
    const auto ends = resolve_arrow_ends(arrow, state.objects);
    if (!ends) return;
    const Point d = ends->to - ends->from;
    const double l = length(d);
    if (l < kMinLineLength || std::abs(cross(p - ends->from, d)) / l < kStraightenDistance * state.interface_scale) {
        line->bend = {0.0, 0.0};
        return;
    }
    line->bend = bend_from_point(ends->from, ends->to, p);
}

}  // namespace

void set_gesture_modifiers(EditorState& state, PointerModifiers modifiers) {
    state.gesture.modifiers = modifiers;
}

void begin_gesture(EditorState& state, Point p, PointerModifiers modifiers) {
    if (!is_finite(p)) return;
    cancel_gesture(state);

    const double radius = kHandleRadius * state.interface_scale;
    std::optional<SelectedArrow> bend;
    if (state.tool != Tool::Select)
        if (const auto arrow = selected_arrow_ends(state); arrow && distance(p, arrow->bend_handle) < radius)
            bend = arrow;
    const auto connector = hover_target_at(state, p);
    state.last_drawn_arrow.reset();

    if (bend) {
        state.last_drawn_arrow = state.objects[bend->index].id;
        store_gesture(state, state.objects, ArrowBendGesture{bend->index}, p, modifiers);
        return;
    }
    if (connector) {
        if (const auto label = position_of(state.objects, *connector)) start_callout(state, *label, p, modifiers);
        return;
    }
    switch (state.tool) {
    case Tool::Eraser:
        state.selection.clear();
        store_gesture(state, state.objects, EraseGesture{}, p, modifiers);
        // So that a click erases.
        erase_segment(state, p, p);
        return;
    case Tool::Text:
    case Tool::Label: return;  // the editor's text box places texts
    case Tool::Select: start_select(state, p, modifiers); return;
    default:
        if (auto object = new_drawing(state.tool, p, state)) start_drawing(state, std::move(*object), p, modifiers);
        return;
    }
}

void continue_gesture(EditorState& state, Point p) {
    if (!is_finite(p) || !state.saved_objects) return;
    const Point previous = state.gesture.current;
    state.gesture.current = p;
    switch (state.gesture.kind()) {
    case GestureKind::DrawNew: continue_drawing(state, state.gesture.start, p); return;
    case GestureKind::Rotate: continue_rotate(state, std::get<RotateGesture>(state.gesture.payload), p); return;
    case GestureKind::Move: {
        const Point offset = p - state.gesture.start;
        redo_selected(state, [&](SceneObject& object) { move_object_by(object, offset); });
        return;
    }
    case GestureKind::Marquee: return;
    case GestureKind::Resize: continue_resize(state, std::get<ResizeGesture>(state.gesture.payload), p); return;
    case GestureKind::ArrowEnd:
        continue_arrow_end(state, std::get<ArrowEndGesture>(state.gesture.payload), p);
        return;
    case GestureKind::ArrowBend:
        continue_arrow_bend(state, std::get<ArrowBendGesture>(state.gesture.payload), p);
        return;
    case GestureKind::Erase: erase_segment(state, previous, p); return;
    }
}

void finish_gesture(EditorState& state) {
    if (!state.saved_objects) return;
    std::vector<SceneObject> saved = std::move(*state.saved_objects);
    state.saved_objects.reset();
    Gesture gesture = std::exchange(state.gesture, Gesture{});

    switch (gesture.kind()) {
    case GestureKind::DrawNew: {
        if (state.objects.empty()) {
            state.objects = std::move(saved);
            return;
        }
        const SceneObject& drawn = state.objects.back();
        const Box b = rotated_object_bounds(drawn);
        if (!(std::hypot(b.right - b.left, b.bottom - b.top) >= kMinDrawnDiagonal)) {
            // A click draws nothing and records nothing.
            state.objects = std::move(saved);
            return;
        }
        if (drawn.kind() == ObjectKind::Arrow) state.last_drawn_arrow = drawn.id;
        commit_objects(state, std::move(saved));
        return;
    }
    case GestureKind::Erase:
        delete_objects_by_ids(state, std::get<EraseGesture>(gesture.payload).erased);
        commit_objects(state, std::move(saved));
        return;
    case GestureKind::Marquee: {
        if (!is_finite(gesture.start) || !is_finite(gesture.current)) return;
        const auto taken = ids_in_rect(state, box_between(gesture.start, gesture.current));
        state.selection.insert(state.selection.end(), taken.begin(), taken.end());
        return;
    }
    case GestureKind::Rotate:
    case GestureKind::Move:
    case GestureKind::Resize:
    case GestureKind::ArrowEnd:
    case GestureKind::ArrowBend: commit_objects(state, std::move(saved)); return;
    }
}

void begin_rotate_selection(EditorState& state, Point p) {
    if (!is_finite(p)) return;
    cancel_gesture(state);
    const auto frame = selection_frame(state);
    if (!frame) return;
    store_gesture(state, state.objects, RotateGesture{box_centre(frame->box)}, p, PointerModifiers{});
}

std::optional<ObjectAttachment> find_attachment_at(Point point, std::span<const SceneObject> objects,
                                                   std::size_t count) {
    for (std::size_t i = std::min(count, objects.size()); i-- > 0;) {
        const SceneObject& o = objects[i];
        if (!is_attach_target(o)) continue;
        const Point offset = offset_in_object(o, point);
        if (box_holds_offset(object_bounds(o), offset, is_label(o) ? 0.0 : o.width / 2.0))
            return attachment_to(o, offset);
    }
    return std::nullopt;
}

std::optional<ObjectAttachment> find_elbow_attachment(Point point, std::span<const SceneObject> objects,
                                                      std::size_t count, std::optional<ObjectId> excluded,
                                                      double tolerance) {
    for (std::size_t i = std::min(count, objects.size()); i-- > 0;) {
        const SceneObject& o = objects[i];
        if (!is_attach_target(o) || o.id == excluded) continue;
        const Point offset = offset_in_object(o, point);
        const bool hit =
            is_label(o) ? box_holds_offset(object_bounds(o), offset, tolerance)
                        : hit_object_outline(o, point, tolerance, objects) ||
                              (!o.fill.empty() && hit_object_interior(o, point) &&
                               fill_region_at(o.fill, point, objects, i + 1));
        if (hit) return attachment_to(o, offset);
    }
    return std::nullopt;
}

Point bend_from_point(Point from, Point to, Point p) {
    const Point d = to - from;
    const double squared = dot(d, d);
    if (squared < 1e-9) return {0.0, 0.0};
    const Point w = p - (from + to) * 0.5;
    return {dot(w, d) / squared, cross(d, w) / squared};
}

void rotate_object(SceneObject& object, Point centre, double angle) {
    const Turn turn(angle);
    if (auto* line = as_line(object)) {
        line->from = turn.about(line->from, centre);
        line->to = turn.about(line->to, centre);
        return;
    }
    if (auto* stroke = as_stroke(object)) {
        for (Point& p : stroke->points) p = turn.about(p, centre);
        return;
    }
    const Point c = box_centre(object_bounds(object));
    move_object_by(object, turn.about(c, centre) - c);
    if (object.kind() == ObjectKind::Blur) return;
    constexpr double kFullTurn = 2.0 * std::numbers::pi;
    double turned = std::fmod(object.rotation + angle, kFullTurn);
    if (turned < 0.0) turned += kFullTurn;
    object.rotation = turned;
}

}  // namespace glimmerly
