#include "core/editor/erase.h"

#include "core/document/geometry.h"
#include "core/document/point_math.h"
#include "core/document/scene.h"
#include "core/editor/editor_state.h"
#include "core/editor/hit_test.h"
#include "core/editor/id_set.h"
#include "core/editor/object_ids.h"
#include "core/editor/scene_limits.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace glimmerly {

namespace {

// A pointer move is sampled at most this often for objects taken whole. The
// samples stand one radius apart, so only an absurdly small eraser dragged a
// long way reaches the cap (and then the samples spread out); strokes are cut
// along the exact path whatever the count.
constexpr double kMaxSamples = 4096.0;
constexpr int kClosestIterations = 60;
constexpr int kEdgeIterations = 50;
// Remnants shorter than this are specks no one wants to keep.
constexpr double kMinPieceLength = 1.0;

struct Span {
    Point lo, hi;
};

Span span_of(Point a, Point b, double grow) {
    return {{std::min(a.x, b.x) - grow, std::min(a.y, b.y) - grow},
            {std::max(a.x, b.x) + grow, std::max(a.y, b.y) + grow}};
}

bool overlaps(const Span& s, const Box& b) {
    return s.lo.x <= b.right && b.left <= s.hi.x && s.lo.y <= b.bottom && b.top <= s.hi.y;
}

// Whether a sample of the eraser's path takes the object whole.
bool touches(const SceneObject& object, std::size_t index, Point sample, double radius,
             std::span<const SceneObject> objects) {
    if (object.kind() == ObjectKind::Blur) {
        // Only the border: wiping inside a blur must leave it, or it could
        // never be erased around.
        const auto c = rotated_rect_corners(*object_rect(object), 0.0);
        for (std::size_t i = 0; i < 4; ++i)
            if (distance_to_segment(sample, c[i], c[(i + 1) % 4]) <= radius) return true;
        return false;
    }
    if (!object.fill.empty() && hit_object_interior(object, sample) &&
        fill_region_at(object.fill, sample, objects, index + 1))
        return true;
    return hit_object_outline(object, sample, radius, objects);
}

// Whether anything of the object can lie within the radius of the path: its
// on-screen box grown by the radius and the most any outline reaches past its
// box (an arrow head, 4.2 widths from its tip).
bool may_touch(const SceneObject& object, const Span& path, std::span<const SceneObject> objects, double radius) {
    if (!(object.width >= 0.0) || !std::isfinite(object.width)) return true;
    return overlaps(path, grow_box(object_bounds_in_scene(object, objects), radius + 5.0 * object.width + 1.0));
}

struct Touch {
    std::size_t sample;
    std::size_t index;
};

// The objects the samples of the path touch first, skipping strokes and the
// ids already listed, ordered as the path met them: by sample, then by
// drawing order.
std::vector<Touch> first_touches(std::span<const SceneObject> objects, const IdSet& listed, Point a, Point b,
                                 double radius, std::size_t samples) {
    std::vector<Touch> touched;
    const Span path = span_of(a, b, 0.0);
    for (std::size_t i = 0; i < objects.size(); ++i) {
        const SceneObject& object = objects[i];
        if (object.kind() == ObjectKind::Stroke || listed.contains(object.id)) continue;
        if (!may_touch(object, path, objects, radius)) continue;
        for (std::size_t s = 0; s <= samples; ++s) {
            const Point sample = a + (b - a) * (static_cast<double>(s) / static_cast<double>(samples));
            if (touches(object, i, sample, radius, objects)) {
                touched.push_back({s, i});
                break;
            }
        }
    }
    std::sort(touched.begin(), touched.end(), [](const Touch& x, const Touch& y) {
        return x.sample != y.sample ? x.sample < y.sample : x.index < y.index;
    });
    return touched;
}

void take_whole_objects(EditorState& state, Point a, Point b, double radius, std::size_t samples) {
    auto* gesture = std::get_if<EraseGesture>(&state.gesture.payload);
    if (!state.saved_objects || !gesture) return;
    const auto touched = first_touches(state.objects, IdSet(gesture->erased), a, b, radius, samples);
    const std::size_t before = gesture->erased.size();
    for (const Touch& t : touched) {
        // Two objects may share an id; the list names it once.
        const ObjectId id = state.objects[t.index].id;
        const auto added = gesture->erased.begin() + static_cast<std::ptrdiff_t>(before);
        if (std::find(added, gesture->erased.end(), id) == gesture->erased.end()) gesture->erased.push_back(id);
    }
}

struct Piece {
    std::vector<Point> points;
    std::vector<double> widths;  // one per point but the first
};

double polyline_length(const std::vector<Point>& points) {
    double total = 0.0;
    for (std::size_t i = 1; i < points.size(); ++i) total += distance(points[i - 1], points[i]);
    return total;
}

// Cuts one stroke along the eraser's path a-b. None when the path does not
// reach it; otherwise the surviving pieces in order along the stroke
// (possibly none).
class StrokeCut {
public:
    StrokeCut(const SceneObject& object, const StrokePayload& stroke, Point a, Point b, double radius)
        : object_(object), points_(stroke.points), widths_(stroke.widths),
          factor_(stroke.highlight ? kHighlighterFactor : 1.0), a_(a), b_(b), radius_(radius),
          path_(span_of(a, b, 0.0)) {}

    std::optional<std::vector<Piece>> run() {
        const std::size_t first = first_touched_segment();
        if (first == points_.size()) return std::nullopt;

        // Everything before the first cut survives as it was drawn.
        if (first > 0) {
            open_ = true;
            pieces_.push_back({{points_.begin(), points_.begin() + static_cast<std::ptrdiff_t>(first) + 1}, {}});
            for (std::size_t j = 0; j < first; ++j) pieces_.back().widths.push_back(width_at(j));
        }
        for (std::size_t i = first; i + 1 < points_.size(); ++i) walk_segment(i);

        std::vector<Piece> kept;
        for (Piece& piece : pieces_)
            if (piece.points.size() >= 2 && polyline_length(piece.points) >= kMinPieceLength)
                kept.push_back(std::move(piece));
        return kept;
    }

private:
    double width_at(std::size_t i) const { return i < widths_.size() ? widths_[i] : object_.width; }
    double reach_of(std::size_t i) const { return radius_ + width_at(i) * factor_ * 0.5; }

    // Distance from the point at t along segment i to the eraser's path.
    double gap(Point p0, Point p1, double t) const { return distance_to_segment(p0 + (p1 - p0) * t, a_, b_); }

    // The distance from the path is convex along a segment, so a ternary
    // search finds its least value.
    double closest_parameter(Point p0, Point p1) const {
        double lo = 0.0, hi = 1.0;
        for (int k = 0; k < kClosestIterations; ++k) {
            const double m1 = lo + (hi - lo) / 3.0, m2 = hi - (hi - lo) / 3.0;
            if (gap(p0, p1, m1) < gap(p0, p1, m2)) hi = m2;
            else lo = m1;
        }
        return (lo + hi) / 2.0;
    }

    // Segments whose boxes lie farther apart than the reach cannot be cut;
    // that spares the search on all but the few the path crosses.
    bool may_reach(std::size_t i, double reach) const {
        const Point p0 = points_[i], p1 = points_[i + 1];
        return std::min(p0.x, p1.x) - reach <= path_.hi.x && path_.lo.x <= std::max(p0.x, p1.x) + reach &&
               std::min(p0.y, p1.y) - reach <= path_.hi.y && path_.lo.y <= std::max(p0.y, p1.y) + reach;
    }

    // How the path meets segment i: where the segment comes closest to it,
    // and which of its ends lie outside the reach.
    struct Touch {
        double closest = 0.0;
        bool start_outside = false;
        bool end_outside = false;
    };

    std::optional<Touch> touched_at(std::size_t i) const {
        const double reach = reach_of(i);
        if (!may_reach(i, reach)) return std::nullopt;
        const Point p0 = points_[i], p1 = points_[i + 1];
        Touch touch{0.0, !(gap(p0, p1, 0.0) <= reach), !(gap(p0, p1, 1.0) <= reach)};
        // With both ends inside, so is all between (the distance is convex):
        // the segment goes whole and no edge needs finding. That is most of
        // the segments under the eraser.
        if (!touch.start_outside && !touch.end_outside) return touch;
        touch.closest = closest_parameter(p0, p1);
        if (!(gap(p0, p1, touch.closest) <= reach)) return std::nullopt;
        return touch;
    }

    std::size_t first_touched_segment() const {
        for (std::size_t i = 0; i + 1 < points_.size(); ++i)
            if (touched_at(i)) return i;
        return points_.size();
    }

    void join(std::size_t i, Point p) {
        if (!open_) {
            pieces_.push_back({{points_[i]}, {}});
            open_ = true;
        }
        pieces_.back().points.push_back(p);
        pieces_.back().widths.push_back(width_at(i));
    }

    void walk_segment(std::size_t i) {
        const Point p0 = points_[i], p1 = points_[i + 1];
        const auto touch = touched_at(i);
        if (!touch) {
            join(i, p1);
            return;
        }
        const double reach = reach_of(i);
        if (touch->start_outside) {
            double lo = 0.0, hi = touch->closest;  // lo outside, hi inside
            for (int k = 0; k < kEdgeIterations; ++k) {
                const double mid = (lo + hi) / 2.0;
                (gap(p0, p1, mid) <= reach ? hi : lo) = mid;
            }
            join(i, p0 + (p1 - p0) * ((lo + hi) / 2.0));
        }
        open_ = false;
        if (touch->end_outside) {
            double lo = touch->closest, hi = 1.0;  // lo inside, hi outside
            for (int k = 0; k < kEdgeIterations; ++k) {
                const double mid = (lo + hi) / 2.0;
                (gap(p0, p1, mid) <= reach ? lo : hi) = mid;
            }
            pieces_.push_back({{p0 + (p1 - p0) * ((lo + hi) / 2.0)}, {}});
            open_ = true;
            pieces_.back().points.push_back(p1);
            pieces_.back().widths.push_back(width_at(i));
        }
    }

    const SceneObject& object_;
    const std::vector<Point>& points_;
    const std::vector<double>& widths_;
    double factor_;
    Point a_, b_;
    double radius_;
    Span path_;
    std::vector<Piece> pieces_;
    bool open_ = false;
};

double widest(const SceneObject& object, const StrokePayload& stroke) {
    double m = std::isnan(object.width) ? 0.0 : object.width;
    for (double w : stroke.widths)
        if (!std::isnan(w)) m = std::max(m, w);
    return m;
}

void cut_strokes(EditorState& state, Point a, Point b, double radius) {
    // Cutting adds objects and points; a scene must stay within what it can
    // be saved with, so a cut that would break the limits is not made. The
    // totals are only counted once a cut needs them.
    std::optional<std::size_t> values;
    auto& objects = state.objects;
    std::size_t i = 0;
    while (i < objects.size()) {
        const std::size_t at = i++;
        const auto* stroke = as_stroke(objects[at]);
        if (!stroke || stroke->points.size() < 2) continue;
        const double factor = stroke->highlight ? kHighlighterFactor : 1.0;
        if (!overlaps(span_of(a, b, widest(objects[at], *stroke) * factor + radius), object_bounds(objects[at])))
            continue;
        auto pieces = StrokeCut(objects[at], *stroke, a, b, radius).run();
        if (!pieces) continue;

        const std::size_t old_values = stroke->points.size() + stroke->widths.size();
        std::size_t new_values = 0;
        for (const Piece& piece : *pieces) new_values += piece.points.size() + piece.widths.size();
        if (!values) values = stroke_value_count(objects);
        if (new_values > old_values && *values - old_values + new_values > kMaxStrokeValues) continue;
        if (pieces->size() > 1 && objects.size() + pieces->size() - 1 > kMaxSceneObjects) continue;
        // A further piece needs an id of its own. Running out renumbers every
        // id the editor holds (positions stay), and should even that leave
        // none, the stroke stays whole rather than share one.
        std::optional<ObjectId> next;
        if (pieces->size() > 1 && !(next = take_ids_for_new_objects(state, pieces->size() - 1))) continue;

        // The pieces replace the stroke in place; each is the stroke (colour,
        // width, highlighter flag) with its own points, which are moved in
        // rather than copied with the whole stroke first.
        SceneObject original = std::move(objects[at]);
        auto& cut = std::get<StrokePayload>(original.payload);
        cut.points.clear();
        cut.widths.clear();
        std::vector<SceneObject> replacements;
        replacements.reserve(pieces->size());
        for (std::size_t k = 0; k < pieces->size(); ++k) {
            SceneObject copy = original;
            auto& payload = std::get<StrokePayload>(copy.payload);
            payload.points = std::move((*pieces)[k].points);
            payload.widths = std::move((*pieces)[k].widths);
            if (k > 0) copy.id = *next + (k - 1);
            replacements.push_back(std::move(copy));
        }
        objects.edit().erase(objects.edit().begin() + static_cast<std::ptrdiff_t>(at));
        objects.edit().insert(objects.edit().begin() + static_cast<std::ptrdiff_t>(at),
                       std::make_move_iterator(replacements.begin()), std::make_move_iterator(replacements.end()));
        *values = *values - old_values + new_values;
        // The pieces are already cut: go on after them.
        i = at + replacements.size();
    }
}

}  // namespace

void erase_segment(EditorState& state, Point a, Point b) {
    const double radius = state.eraser_size * 0.5;
    if (!is_finite(a) || !is_finite(b) || !std::isfinite(radius) || !(radius > 0.0)) return;
    const double length = distance(a, b);
    if (!std::isfinite(length)) return;
    // Computed in floating point and capped before it becomes a count.
    const double steps = std::ceil(length / radius);
    const auto samples = static_cast<std::size_t>(std::clamp(steps, 1.0, kMaxSamples));

    take_whole_objects(state, a, b, radius, samples);
    cut_strokes(state, a, b, radius);
}

}  // namespace glimmerly
