#include "core/editor/selection_edits.h"

#include "core/document/point_math.h"
#include "core/document/scene.h"
#include "core/editor/editor_state.h"
#include "core/editor/history.h"
#include "core/editor/object_ids.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <unordered_map>

namespace glimmerly {

namespace {

// Below this an axis of the old box has no extent to scale from.
constexpr double kFlatAxis = 0.001;
constexpr double kLabelMarginX = 0.4;  // of the letter size, each side
constexpr double kLabelMarginY = 0.25;

// One axis of a box-to-box mapping: p' = to_min + (p - from_min) * scale.
struct AxisMap {
    double from_min = 0.0;
    double to_min = 0.0;
    double scale = 1.0;

    static AxisMap between(double from_lo, double from_hi, double to_lo, double to_hi) {
        const double span = from_hi - from_lo;
        return {from_lo, to_lo, std::abs(span) < kFlatAxis ? 1.0 : (to_hi - to_lo) / span};
    }
    double operator()(double v) const { return to_min + (v - from_min) * scale; }
};

// A box-to-box mapping, with the factor by which texts scale their letters.
struct BoxMap {
    AxisMap x;
    AxisMap y;
    double text_factor = 1.0;

    Point operator()(Point p) const { return {x(p.x), y(p.y)}; }
};

BoxMap map_between(const Box& from, const Box& to) {
    const double from_height = from.bottom - from.top;
    return {AxisMap::between(from.left, from.right, to.left, to.right),
            AxisMap::between(from.top, from.bottom, to.top, to.bottom),
            from_height > kFlatAxis ? (to.bottom - to.top) / from_height : 1.0};
}

Box normalised(Point a, Point b) {
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

void map_text(TextPayload& text, const Box& bounds, const BoxMap& map) {
    if (text.label.kind == LabelKind::Wrap) {
        // A wrapped label keeps its letters and re-wraps into the new width.
        const double x0 = map.x(bounds.left), x1 = map.x(bounds.right);
        const double y0 = map.y(bounds.top), y1 = map.y(bounds.bottom);
        const Point at{std::min(x0, x1) + kLabelMarginX * text.size, std::min(y0, y1) + kLabelMarginY * text.size};
        const double wrap = std::max(std::abs(x1 - x0) - 2.0 * kLabelMarginX * text.size, text.size);
        if (!is_finite(at) || !std::isfinite(wrap)) return;
        text.at = at;
        text.label.wrap_width = wrap;
        return;
    }
    // Other texts scale their letters with the height of the box.
    const double size = std::clamp(map.text_factor * text.size, kMinTextSize, kMaxTextSize);
    const double ratio = size / text.size;
    const Size extent{text.extent.w * ratio, text.extent.h * ratio};
    Point at = map({bounds.left, bounds.top});
    if (text.label.kind == LabelKind::Fit) at = at + Point{kLabelMarginX * size, kLabelMarginY * size};
    if (!std::isfinite(size) || !std::isfinite(extent.w) || !std::isfinite(extent.h) || !is_finite(at)) return;
    text.size = size;
    text.extent = extent;
    text.at = at;
}

std::unordered_set<ObjectId> id_set(std::span<const ObjectId> ids) { return {ids.begin(), ids.end()}; }

bool has_attached_line(std::span<const SceneObject> objects) {
    return std::any_of(objects.begin(), objects.end(), [](const SceneObject& o) {
        const LinePayload* line = as_line(o);
        return line && (line->start || line->end);
    });
}

// What a stored scene may hold in strokes: points plus per-point widths.
std::size_t stroke_values(std::span<const SceneObject> objects) {
    std::size_t values = 0;
    for (const SceneObject& object : objects)
        if (const StrokePayload* stroke = as_stroke(object)) values += stroke->points.size() + stroke->widths.size();
    return values;
}

void map_object(SceneObject& object, const BoxMap& map) {
    if (Box* rect = object_rect(object)) {
        const Box mapped = normalised(map({rect->left, rect->top}), map({rect->right, rect->bottom}));
        if (is_finite(mapped)) *rect = mapped;
    } else if (LinePayload* line = as_line(object)) {
        const Point a = map(line->from), b = map(line->to);
        if (!is_finite(a) || !is_finite(b)) return;
        line->from = a;
        line->to = b;
    } else if (StrokePayload* stroke = as_stroke(object)) {
        std::vector<Point> points;
        points.reserve(stroke->points.size());
        for (const Point& p : stroke->points) {
            const Point q = map(p);
            if (!is_finite(q)) return;
            points.push_back(q);
        }
        stroke->points = std::move(points);
    } else if (TextPayload* text = as_text(object)) {
        map_text(*text, object_bounds(object), map);
    }
}

}  // namespace

void map_object_to_bounds(SceneObject& object, const Box& from, const Box& to) {
    map_object(object, map_between(from, to));
}

void nudge_selection(EditorState& state, Point offset) {
    if (!is_finite(offset)) return;
    cancel_gesture(state);
    std::vector<SceneObject> earlier = state.objects;
    const auto selected = id_set(state.selection);
    const ObjectIndex index(earlier);
    const SceneObjects scene(earlier, index);
    for (SceneObject& object : state.objects.edit()) {
        if (!selected.contains(object.id)) continue;
        settle_arrow_ends(object, scene, selected);
        move_object_by(object, offset);
    }
    commit_objects(state, std::move(earlier));
}

void delete_objects_by_ids(EditorState& state, std::span<const ObjectId> ids) {
    const auto doomed = id_set(ids);
    if (has_attached_line(state.objects)) {
        const std::vector<SceneObject> before = state.objects;
        const ObjectIndex index(before);
        const SceneObjects scene(before, index);
        for (SceneObject& object : state.objects.edit()) {
            LinePayload* line = as_line(object);
            if (!line || doomed.contains(object.id)) continue;
            const bool loose_start = line->start && doomed.contains(line->start->id);
            const bool loose_end = line->end && doomed.contains(line->end->id);
            if (!loose_start && !loose_end) continue;
            // The end stays where it is drawn now, only unfastened.
            const double half = object.width / 2.0;
            const auto elbow = resolve_elbow_ends(object, scene);
            if (loose_start) {
                if (elbow)
                    line->from = elbow->first.point;
                else if (const auto p = attachment_point(*line->start, scene, half))
                    line->from = *p;
                line->start.reset();
            }
            if (loose_end) {
                if (elbow)
                    line->to = elbow->second.point;
                else if (const auto p = attachment_point(*line->end, scene, line->head ? 0.0 : half))
                    line->to = *p;
                line->end.reset();
            }
        }
    }
    std::erase_if(state.objects.edit(), [&](const SceneObject& o) { return doomed.contains(o.id); });
    std::erase_if(state.selection, [&](ObjectId id) { return doomed.contains(id); });
}

void delete_selection(EditorState& state) {
    cancel_gesture(state);
    const std::vector<ObjectId> taken = std::move(state.selection);
    state.selection.clear();
    std::vector<SceneObject> earlier = state.objects;
    delete_objects_by_ids(state, taken);
    commit_objects(state, std::move(earlier));
}

void apply_color_to_selection(EditorState& state) {
    if (state.saved_objects && state.gesture.kind() == GestureKind::DrawNew) {
        // The object being drawn; its gesture records it when released.
        if (!state.objects.empty() && state.objects.back().kind() != ObjectKind::Blur)
            state.objects.edit().back().color = state.color;
        return;
    }
    // Nothing to recolour must not cost the user a drag in progress.
    if (state.selection.empty()) return;
    cancel_gesture(state);
    std::vector<SceneObject> earlier = state.objects;
    const auto selected = id_set(state.selection);
    for (SceneObject& object : state.objects.edit())
        if (selected.contains(object.id) && object.kind() != ObjectKind::Blur) object.color = state.color;
    commit_objects(state, std::move(earlier));
}

std::vector<SceneObject> selected_objects_for_copy(const EditorState& state) {
    std::vector<SceneObject> copies;
    if (state.selection.empty()) return copies;
    const auto selected = id_set(state.selection);
    const ObjectIndex index(state.objects);
    const SceneObjects scene(state.objects, index);
    for (const SceneObject& object : state.objects) {
        if (!selected.contains(object.id)) continue;
        copies.push_back(object);
        settle_arrow_ends(copies.back(), scene, selected);
    }
    return copies;
}

bool paste_objects(EditorState& state, std::span<const SceneObject> objects, Point offset) {
    if (objects.empty() || !is_finite(offset)) return false;
    // Copies that a stored scene could not hold would make the capture fail
    // only when it is saved, long after the paste.
    const std::vector<SceneObject>& held = state.saved_objects ? *state.saved_objects : state.objects.list();
    if (held.size() > kMaxSceneObjects || objects.size() > kMaxSceneObjects - held.size()) return false;
    const std::size_t pasted_values = stroke_values(objects);
    const std::size_t held_values = stroke_values(held);
    if (pasted_values > kMaxStrokeValues || held_values > kMaxStrokeValues - pasted_values) return false;

    cancel_gesture(state);
    // Before the copy: running out of ids renumbers the objects.
    const auto first_id = take_ids_for_new_objects(state, objects.size());
    if (!first_id) return false;
    std::vector<SceneObject> earlier = state.objects;

    // Old id -> new id; with a repeated id the first pasted object wins.
    std::unordered_map<ObjectId, ObjectId> renumbered;
    std::vector<ObjectId> pasted_ids;
    pasted_ids.reserve(objects.size());
    for (std::size_t i = 0; i < objects.size(); ++i) {
        renumbered.emplace(objects[i].id, *first_id + i);
        pasted_ids.push_back(objects[i].id);
    }
    const auto pasted = id_set(pasted_ids);
    const auto new_id_of = [&](ObjectId old) -> std::optional<ObjectId> {
        const auto it = renumbered.find(old);
        return it == renumbered.end() ? std::nullopt : std::optional<ObjectId>(it->second);
    };
    const auto refasten = [&](std::optional<ObjectAttachment>& attachment) {
        if (!attachment) return;
        if (const auto id = new_id_of(attachment->id))
            attachment->id = *id;
        else
            attachment.reset();
    };

    const ObjectIndex index(objects);
    const SceneObjects scene(objects, index);
    state.selection.clear();
    state.objects.edit().reserve(state.objects.size() + objects.size());
    for (std::size_t i = 0; i < objects.size(); ++i) {
        SceneObject copy = objects[i];
        settle_arrow_ends(copy, scene, pasted);
        copy.id = *first_id + i;
        for (FillRegion& region : copy.fill) {
            std::erase_if(region.ids, [&](ObjectId id) { return !renumbered.contains(id); });
            for (ObjectId& id : region.ids) id = renumbered.at(id);
        }
        if (LinePayload* line = as_line(copy)) {
            refasten(line->start);
            refasten(line->end);
        }
        move_object_by(copy, offset);
        state.selection.push_back(copy.id);
        state.objects.push_back(std::move(copy));
    }
    commit_objects(state, std::move(earlier));
    return true;
}

}  // namespace glimmerly
