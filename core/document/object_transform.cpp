#include "core/document/object_transform.h"

#include <algorithm>
#include <vector>

#include "core/document/point_math.h"

namespace glimmerly {
namespace {

template <class Keeps>
void settle_ends(SceneObject& object, SceneObjects scene, const Keeps& keeps) {
    LinePayload* line = as_line(object);
    if (!line) return;
    const double half = object.width / 2.0;
    const double end_inset = line->head ? 0.0 : half;
    if (const auto elbow = resolve_elbow_ends(object, scene)) {
        line->from = elbow->first.point;
        line->to = elbow->second.point;
    } else {
        if (line->start)
            if (const auto p = attachment_point(*line->start, scene, half)) line->from = *p;
        if (line->end)
            if (const auto p = attachment_point(*line->end, scene, end_inset)) line->to = *p;
    }
    if (line->start && !keeps(line->start->id)) line->start.reset();
    if (line->end && !keeps(line->end->id)) line->end.reset();
}

}  // namespace

void move_object_by(SceneObject& object, Point offset) {
    if (Box* rect = object_rect(object)) {
        const Box moved{rect->left + offset.x, rect->top + offset.y, rect->right + offset.x, rect->bottom + offset.y};
        if (is_finite(moved)) *rect = moved;
    } else if (LinePayload* line = as_line(object)) {
        const Point from = line->from + offset, to = line->to + offset;
        if (!is_finite(from) || !is_finite(to)) return;
        line->from = from;
        line->to = to;
    } else if (StrokePayload* stroke = as_stroke(object)) {
        const bool finite = std::all_of(stroke->points.begin(), stroke->points.end(),
                                        [&](const Point& p) { return is_finite(p + offset); });
        if (!finite) return;
        for (Point& p : stroke->points) p = p + offset;
    } else if (TextPayload* text = as_text(object)) {
        const Point at = text->at + offset;
        if (is_finite(at)) text->at = at;
    }
}

void settle_arrow_ends(SceneObject& object, SceneObjects scene, std::span<const ObjectId> kept) {
    settle_ends(object, scene, [&](ObjectId id) { return std::find(kept.begin(), kept.end(), id) != kept.end(); });
}

void settle_arrow_ends(SceneObject& object, SceneObjects scene, const std::unordered_set<ObjectId>& kept) {
    settle_ends(object, scene, [&](ObjectId id) { return kept.contains(id); });
}

}  // namespace glimmerly
