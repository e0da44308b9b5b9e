#include "core/document/geometry.h"

#include "core/document/point_math.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace glimmerly {

namespace {

// Bend curves are sampled finely enough to keep the chord error at 0.1 px.
constexpr double kBendSampleDivisor = 0.8;
constexpr int kMaxBendSamples = 512;
// Ellipse chords stay within 0.2 px of the curve.
constexpr double kEllipseChordError = 0.2;
constexpr int kMinEllipsePoints = 16;
constexpr int kMaxEllipsePoints = 4096;
// Pen corners are cut back by this many pixels (or half the segment).
constexpr double kPenCornerCut = 2.0;

struct BoxBuilder {
    double left = std::numeric_limits<double>::infinity();
    double top = std::numeric_limits<double>::infinity();
    double right = -std::numeric_limits<double>::infinity();
    double bottom = -std::numeric_limits<double>::infinity();

    void add(Point p) {
        left = std::min(left, p.x);
        right = std::max(right, p.x);
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    // Nothing added, or a coordinate that is not finite: the zero box.
    Box box() const {
        const Box b{left, top, right, bottom};
        return is_finite(b) ? b : Box{};
    }
};

// A box that is not finite is the zero box, so that callers never measure NaN.
Box finite_or_zero(const Box& b) { return is_finite(b) ? b : Box{}; }

bool all_finite(std::span<const Point> points) {
    return std::all_of(points.begin(), points.end(), [](Point p) { return is_finite(p); });
}

Box stroke_bounds(const StrokePayload& stroke) {
    // NaN coordinates are skipped one axis at a time; an axis with none left
    // collapses to 0 like a stroke without points.
    double left = std::numeric_limits<double>::infinity(), right = -left;
    double top = left, bottom = right;
    for (const Point& p : stroke.points) {
        if (!std::isnan(p.x)) left = std::min(left, p.x), right = std::max(right, p.x);
        if (!std::isnan(p.y)) top = std::min(top, p.y), bottom = std::max(bottom, p.y);
    }
    if (left > right) left = right = 0.0;
    if (top > bottom) top = bottom = 0.0;
    return finite_or_zero({left, top, right, bottom});
}

Box text_bounds(const TextPayload& text) {
    const double w = text.label.kind == LabelKind::Wrap ? text.label.wrap_width : text.extent.w;
    Box box{text.at.x, text.at.y, text.at.x + w, text.at.y + text.extent.h};
    if (text.label.is_label()) {
        box.left -= 0.4 * text.size;
        box.right += 0.4 * text.size;
        box.top -= 0.25 * text.size;
        box.bottom += 0.25 * text.size;
    }
    return finite_or_zero(box);
}

Point unit_or_tiny(Point v) { return v * (1.0 / std::max(length(v), 1e-9)); }

int ellipse_point_count(double hx, double hy) {
    const double radius = std::max(std::max(hx, hy), kEllipseChordError);
    const double wanted = std::ceil(std::numbers::pi / std::acos(1.0 - kEllipseChordError / radius));
    // An enormous radius makes acos 0 and the quotient infinite: the clamp
    // runs in floating point before any conversion.
    const double clamped = std::clamp(std::isnan(wanted) ? double{kMaxEllipsePoints} : wanted,
                                      double{kMinEllipsePoints}, double{kMaxEllipsePoints});
    const int n = static_cast<int>(clamped);
    return (n + 3) / 4 * 4;
}

Polyline rectangle_outline(const Box& r, double rotation) {
    const auto corners = rotated_rect_corners(r, rotation);
    return {corners[0], corners[1], corners[2], corners[3], corners[0]};
}

Polyline ellipse_outline(const Box& r, double rotation) {
    const Point c = box_centre(r);
    const double hx = std::abs(r.right - r.left) / 2.0, hy = std::abs(r.bottom - r.top) / 2.0;
    const int n = ellipse_point_count(hx, hy);
    const Turn turn(rotation);
    Polyline points;
    points.reserve(static_cast<std::size_t>(n) + 1);
    for (int i = 0; i < n; ++i) {
        const double theta = 2.0 * std::numbers::pi * i / n;
        points.push_back(c + turn({std::cos(theta) * hx, std::sin(theta) * hy}));
    }
    points.push_back(points.front());
    return points;
}

Polyline sample_bend_curve(Point from, Point control, Point to) {
    const double reach = length(from - control * 2.0 + to);
    const double wanted = std::ceil(std::sqrt(reach / kBendSampleDivisor));
    const int n = static_cast<int>(std::clamp(wanted, 1.0, double{kMaxBendSamples}));
    Polyline points;
    points.reserve(static_cast<std::size_t>(n) + 1);
    for (int i = 0; i <= n; ++i) points.push_back(quadratic_point(from, control, to, double(i) / n));
    return points;
}

// Cuts a sampled shaft back so that it ends `cut` before its last point (the
// tip), where the head's base takes over.
void cut_shaft_before_tip(Polyline& shaft, double cut) {
    const Point tip = shaft.back();
    std::size_t far = shaft.size() - 1;
    while (far > 0 && distance(shaft[far - 1], tip) <= cut) --far;
    if (far == 0) {
        shaft.clear();
        return;
    }
    --far;  // shaft[far] is the last point farther than `cut` from the tip
    const Point a = shaft[far], b = shaft[far + 1];
    double lo = 0.0, hi = 1.0;
    for (int i = 0; i < 40; ++i) {
        const double mid = (lo + hi) / 2.0;
        (distance(a + (b - a) * mid, tip) > cut ? lo : hi) = mid;
    }
    shaft.resize(far + 1);
    shaft.push_back(a + (b - a) * ((lo + hi) / 2.0));
}

std::vector<Polyline> line_outline(const SceneObject& object, const LinePayload& line, SceneObjects objects) {
    const auto ends = resolve_arrow_ends(object, objects);
    if (!ends || !std::isfinite(object.width) || distance(ends->from, ends->to) < kMinLineLength) return {};

    const bool straight = !line.elbow && line.bend.x == 0.0 && line.bend.y == 0.0;
    Polyline shaft;
    Point direction;
    if (line.elbow) {
        auto route = elbow_polyline(object, objects);
        if (!route || route->size() < 2 || !all_finite(*route)) return {};
        shaft = std::move(*route);
        direction = shaft[shaft.size() - 1] - shaft[shaft.size() - 2];
    } else if (straight) {
        shaft = {ends->from, ends->to};
        direction = ends->to - ends->from;
    } else {
        const Point control = bend_control_point(ends->from, ends->to, line.bend);
        if (!is_finite(control)) return {};
        shaft = sample_bend_curve(ends->from, control, ends->to);
        direction = ends->to - control;
        if (length(direction) < 1e-9) direction = ends->to - ends->from;
    }
    if (!line.head) return {std::move(shaft)};

    const double head_length = kArrowHeadFactor * object.width;
    const double overlap = std::min(std::max(head_length - object.width / 0.9, 0.0), 2.0);
    const Point tip = shaft.back();
    const Point u = unit_or_tiny(direction);
    if (distance(shaft.front(), tip) <= object.width / 2.0 + head_length) {
        shaft.clear();
    } else if (straight) {
        shaft.back() = tip - u * (head_length - overlap);
    } else {
        cut_shaft_before_tip(shaft, head_length - overlap);
    }
    const Point base = tip - u * head_length;
    const Point side = perpendicular(u) * (0.45 * head_length);
    Polyline head{base + side, tip, base - side, base + side};
    return {std::move(shaft), std::move(head)};
}

// A pen corner becomes a short curve that starts and ends a little before and
// after it, so that thick strokes do not show spikes at sharp turns.
void round_pen_corners(std::vector<Point>& points) {
    if (points.size() < 3) return;
    std::vector<Point> rounded;
    rounded.reserve(points.size() * 5);
    rounded.push_back(points.front());
    for (std::size_t i = 1; i + 1 < points.size(); ++i) {
        const Point p0 = points[i - 1], p1 = points[i], p2 = points[i + 1];
        const Point a = p1 + (p0 - p1) * std::min(kPenCornerCut / std::max(distance(p0, p1), 1e-9), 0.5);
        const Point b = p1 + (p2 - p1) * std::min(kPenCornerCut / std::max(distance(p2, p1), 1e-9), 0.5);
        for (int k = 0; k <= 4; ++k) rounded.push_back(quadratic_point(a, p1, b, k / 4.0));
    }
    rounded.push_back(points.back());
    points = std::move(rounded);
}

}  // namespace

Point rotate_point(Point p, Point centre, double angle) { return Turn(angle).about(p, centre); }

Point box_centre(const Box& box) { return {(box.left + box.right) / 2.0, (box.top + box.bottom) / 2.0}; }

Box grow_box(const Box& box, double by) {
    return {box.left - by, box.top - by, box.right + by, box.bottom + by};
}

const SceneObject* find_object(std::span<const SceneObject> objects, ObjectId id) {
    for (const SceneObject& object : objects)
        if (object.id == id) return &object;
    return nullptr;
}

ObjectIndex::ObjectIndex(std::span<const SceneObject> objects) {
    first_.reserve(objects.size());
    for (std::size_t i = 0; i < objects.size(); ++i) first_.emplace(objects[i].id, i);
}

std::optional<std::size_t> ObjectIndex::position(ObjectId id) const {
    const auto it = first_.find(id);
    if (it == first_.end()) return std::nullopt;
    return it->second;
}

const SceneObject* SceneObjects::find(ObjectId id) const {
    if (index_) {
        const auto position = index_->position(id);
        if (!position) return nullptr;
        if (*position < objects_.size() && objects_[*position].id == id) return &objects_[*position];
    }
    return find_object(objects_, id);
}

Box object_bounds(const SceneObject& object) {
    if (const Box* rect = object_rect(object)) return finite_or_zero(*rect);
    if (const auto* text = as_text(object)) return text_bounds(*text);
    if (const auto* stroke = as_stroke(object)) return stroke_bounds(*stroke);
    if (const auto* line = as_line(object)) {
        const Point bend = line->elbow ? Point{} : line->bend;
        return bend_curve_bounds(line->from, line->to, bend).value_or(Box{});
    }
    return {};
}

Point offset_in_object(const SceneObject& object, Point point) {
    return rotate_vector(point - box_centre(object_bounds(object)), -object.rotation);
}

Point bend_control_point(Point from, Point to, Point bend) {
    const Point d = to - from;
    const Point middle = (from + to) * 0.5;
    const Point through = middle + d * bend.x + perpendicular(d) * bend.y;
    return through * 2.0 - middle;
}

std::optional<Box> bend_curve_bounds(Point from, Point to, Point bend) {
    if (!is_finite(from) || !is_finite(to)) return std::nullopt;
    BoxBuilder box;
    box.add(from);
    box.add(to);
    const Point c = bend_control_point(from, to, bend);
    // The curve's extreme on an axis lies where its derivative on that axis
    // vanishes.
    const double denominators[2] = {from.x - 2.0 * c.x + to.x, from.y - 2.0 * c.y + to.y};
    const double numerators[2] = {from.x - c.x, from.y - c.y};
    for (int axis = 0; axis < 2; ++axis) {
        const double d = denominators[axis];
        if (!(std::abs(d) > 1e-12)) continue;
        const double t = numerators[axis] / d;
        if (!(t > 0.0 && t < 1.0)) continue;
        const Point extreme = quadratic_point(from, c, to, t);
        if (!is_finite(extreme)) return std::nullopt;
        box.add(extreme);
    }
    return box.box();
}

Box rotated_object_bounds(const SceneObject& object) {
    const Box bounds = object_bounds(object);
    const double r = object.rotation;
    if (r == 0.0) return bounds;
    if (!std::isfinite(r)) return {};
    const Point c = box_centre(bounds);
    if (object.kind() == ObjectKind::Ellipse) {
        const double hx = (bounds.right - bounds.left) / 2.0, hy = (bounds.bottom - bounds.top) / 2.0;
        const double ex = std::hypot(std::cos(r) * hx, std::sin(r) * hy);
        const double ey = std::hypot(std::sin(r) * hx, std::cos(r) * hy);
        return finite_or_zero({c.x - ex, c.y - ey, c.x + ex, c.y + ey});
    }
    BoxBuilder box;
    for (const Point& corner : rotated_rect_corners(bounds, r)) box.add(corner);
    return box.box();
}

Box object_bounds_in_scene(const SceneObject& object, SceneObjects objects) {
    const auto* line = as_line(object);
    if (line && line->elbow) {
        if (const auto route = elbow_polyline(object, objects);
            route && !route->empty() && all_finite(*route)) {
            BoxBuilder box;
            for (const Point& p : *route) box.add(p);
            return box.box();
        }
    }
    if (line) {
        if (const auto ends = resolve_arrow_ends(object, objects)) {
            const Point bend = line->elbow ? Point{} : line->bend;
            if (const auto box = bend_curve_bounds(ends->from, ends->to, bend)) return *box;
        }
    }
    return rotated_object_bounds(object);
}

std::optional<Point> attachment_point(const ObjectAttachment& attachment, SceneObjects objects,
                                      double inset) {
    const SceneObject* target = objects.find(attachment.id);
    if (!target) return std::nullopt;
    const Box b = object_bounds(*target);
    const Point c = box_centre(b);
    const Point h{(b.right - b.left) / 2.0, (b.bottom - b.top) / 2.0};
    if (!is_finite(c) || !is_finite(h) || !is_finite(attachment.point)) return std::nullopt;
    if (h.x < 0.001 || h.y < 0.001) return c;

    const Point a = attachment.point;
    const double margin = target->width / 2.0 + inset;
    Point local;
    if (target->kind() == ObjectKind::Ellipse) {
        const double k = std::hypot(a.x / h.x, a.y / h.y);
        if (k < 0.001) return c;
        const Point on = a * (1.0 / k);
        const Point normal = unit_or_tiny({on.x / (h.x * h.x), on.y / (h.y * h.y)});
        local = on + normal * margin;
    } else {
        const double k = std::max(std::abs(a.x) / (h.x + margin), std::abs(a.y) / (h.y + margin));
        if (!(k >= 0.001)) return c;
        local = a * (1.0 / k);
    }
    const Point result = c + rotate_vector(local, target->rotation);
    if (!is_finite(result)) return std::nullopt;
    return result;
}

std::optional<LineEnds> resolve_arrow_ends(const SceneObject& object, SceneObjects objects) {
    const auto* line = as_line(object);
    if (!line) return std::nullopt;
    if (line->elbow) {
        if (const auto ends = resolve_elbow_ends(object, objects)) {
            if (!is_finite(ends->first.point) || !is_finite(ends->second.point)) return std::nullopt;
            return LineEnds{ends->first.point, ends->second.point};
        }
    }
    const double half = object.width / 2.0;
    const double end_inset = line->head ? 0.0 : half;
    LineEnds ends{line->from, line->to};
    if (line->start)
        if (const auto p = attachment_point(*line->start, objects, half)) ends.from = *p;
    if (line->end)
        if (const auto p = attachment_point(*line->end, objects, end_inset)) ends.to = *p;
    // Two ends pulled onto each other (the targets overlap) would leave no
    // line at all; the stored ends at least show where the user drew it.
    if (distance(ends.from, ends.to) < half + end_inset + 0.001 && distance(line->from, line->to) >= 0.001)
        ends = LineEnds{line->from, line->to};
    if (!is_finite(ends.from) || !is_finite(ends.to)) return std::nullopt;
    return ends;
}

std::vector<StrokePiece> flatten_path(const SceneObject& object) {
    const auto* stroke = as_stroke(object);
    if (!stroke || stroke->points.size() < 2 || !all_finite(stroke->points)) return {};
    const double factor = stroke->highlight ? kHighlighterFactor : 1.0;
    const auto width_at = [&](std::size_t i) {
        return (i < stroke->widths.size() ? stroke->widths[i] : object.width) * factor;
    };

    std::vector<StrokePiece> pieces;
    const auto& points = stroke->points;
    std::size_t first = 0;
    for (std::size_t i = 0; i < points.size(); ++i)
        if (!std::isfinite(width_at(i))) return {};
    while (first < points.size()) {
        const double width = width_at(first);
        std::size_t last = first + 1;
        while (last < points.size() && width_at(last) == width) ++last;
        // The piece runs up to and including the point where the next width
        // begins, so neighbouring pieces join without a gap.
        const std::size_t stop = std::min(last, points.size() - 1);
        StrokePiece piece{{points.begin() + static_cast<std::ptrdiff_t>(first),
                           points.begin() + static_cast<std::ptrdiff_t>(stop) + 1},
                          width};
        if (!stroke->highlight) round_pen_corners(piece.points);
        pieces.push_back(std::move(piece));
        if (last >= points.size()) break;
        first = last;
    }
    return pieces;
}

std::vector<Polyline> build_object_geometry(const SceneObject& object, SceneObjects objects) {
    switch (object.kind()) {
    case ObjectKind::Rectangle:
    case ObjectKind::Ellipse: {
        const Box& rect = *object_rect(object);
        if (!is_finite(rect) || !std::isfinite(object.rotation)) return {};
        if (object.kind() == ObjectKind::Rectangle) return {rectangle_outline(rect, object.rotation)};
        return {ellipse_outline(rect, object.rotation)};
    }
    case ObjectKind::Arrow: return line_outline(object, std::get<LinePayload>(object.payload), objects);
    case ObjectKind::Stroke: {
        std::vector<Polyline> lines;
        for (StrokePiece& piece : flatten_path(object)) lines.push_back(std::move(piece.points));
        return lines;
    }
    case ObjectKind::Text:
    case ObjectKind::Blur: return {};
    }
    return {};
}

std::array<Point, 4> rotated_rect_corners(const Box& box, double angle) {
    const Point c = box_centre(box);
    const Turn turn(angle);
    return {turn.about({box.left, box.top}, c), turn.about({box.right, box.top}, c),
            turn.about({box.right, box.bottom}, c), turn.about({box.left, box.bottom}, c)};
}

std::array<Point, 4> rotated_rect_corners_offset(const Box& box, double angle, double margin) {
    return rotated_rect_corners(grow_box(box, margin), angle);
}

}  // namespace glimmerly
