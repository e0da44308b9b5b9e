#include "core/editor/selection_edits.h"

#include "core/document/point_math.h"
#include "core/document/scene.h"

#include <algorithm>
#include <cmath>

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

// A shift with an exact scale of 1: a box moved and measured again could
// give a scale a rounding away from it, and repeated nudges would then creep.
BoxMap shift_by(Point offset) { return {{0.0, offset.x, 1.0}, {0.0, offset.y, 1.0}, 1.0}; }

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

bool keeps_in(std::span<const ObjectId> kept, ObjectId id) {
    return std::find(kept.begin(), kept.end(), id) != kept.end();
}

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

void move_object_by(SceneObject& object, Point offset) { map_object(object, shift_by(offset)); }

void settle_arrow_ends(SceneObject& object, SceneObjects scene, std::span<const ObjectId> kept) {
    settle_ends(object, scene, [&](ObjectId id) { return keeps_in(kept, id); });
}

void settle_arrow_ends(SceneObject& object, SceneObjects scene, const std::unordered_set<ObjectId>& kept) {
    settle_ends(object, scene, [&](ObjectId id) { return kept.contains(id); });
}

}  // namespace glimmerly
