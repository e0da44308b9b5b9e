// Elbow connectors: lines drawn as right-angled routes between the sides of
// the objects they are fastened to, with rounded corners.

#include "core/document/geometry.h"

#include "core/document/point_math.h"

#include <algorithm>
#include <cmath>

namespace glimmerly {

namespace {

// Corner radius and alignment reach grow with the line's width, within bounds
// that keep thin lines readable and thick ones from looping.
double corner_size(double width) { return std::min(std::max(4.0 * width, 8.0), 24.0); }

// Room for an arrow head, a rounded corner and 4 pixels before the first turn.
double stub_length(double width) { return kArrowHeadFactor * width + corner_size(width) + 4.0; }

bool is_text(const SceneObject& object) { return object.kind() == ObjectKind::Text; }

// The attachment's target, unless it is missing or the line itself.
const SceneObject* elbow_target(const SceneObject& line, const std::optional<ObjectAttachment>& attachment,
                                SceneObjects objects) {
    if (!attachment || attachment->id == line.id) return nullptr;
    return objects.find(attachment->id);
}

// The axis vector of a direction's larger component, with its sign.
Point axis_of(Point v) {
    if (std::abs(v.x) >= std::abs(v.y)) return {v.x < 0.0 ? -1.0 : 1.0, 0.0};
    return {0.0, v.y < 0.0 ? -1.0 : 1.0};
}

bool horizontal(Point axis) { return axis.x != 0.0; }

// Builds a route, dropping points that repeat the previous one and merging
// points that run on in the same direction.
class RouteBuilder {
public:
    void add(Point p) {
        if (!points_.empty() && distance(p, points_.back()) < 0.01) return;
        if (points_.size() >= 2) {
            const Point last = points_.back() - points_[points_.size() - 2];
            const Point next = p - points_.back();
            if (dot(last, next) >= 0.0 && std::abs(cross(last, next)) < 0.01) {
                points_.back() = p;
                return;
            }
        }
        points_.push_back(p);
    }
    std::vector<Point> take() { return std::move(points_); }

private:
    std::vector<Point> points_;
};

// Corners from p, leaving along the axis u, towards t.
void one_sided_corners(RouteBuilder& route, Point p, Point u, Point t, double threshold) {
    const Point v = t - p;
    const bool ahead = dot(v, u) > 0.0;
    const double sideways = horizontal(u) ? std::abs(v.y) : std::abs(v.x);
    if (ahead && sideways >= threshold) {
        route.add(horizontal(u) ? Point{t.x, p.y} : Point{p.x, t.y});
    } else if (ahead) {
        if (horizontal(u)) {
            const double mx = (p.x + t.x) / 2.0;
            route.add({mx, p.y});
            route.add({mx, t.y});
        } else {
            const double my = (p.y + t.y) / 2.0;
            route.add({p.x, my});
            route.add({t.x, my});
        }
    } else {
        route.add(horizontal(u) ? Point{p.x, t.y} : Point{t.x, p.y});
    }
}

}  // namespace

ElbowEnd elbow_end_on_side(const SceneObject& target, Point toward, double inset) {
    const Box b = object_bounds(target);
    const Point c = box_centre(b);
    const Point h{(b.right - b.left) / 2.0, (b.bottom - b.top) / 2.0};
    const Point q = rotate_point(toward, c, -target.rotation) - c;
    const double rx = h.x < 1e-9 ? 0.0 : std::abs(q.x / h.x);
    const double ry = h.y < 1e-9 ? 0.0 : std::abs(q.y / h.y);
    Point side;
    if (rx > ry)
        side = {q.x < 0.0 ? -1.0 : 1.0, 0.0};
    else
        side = {0.0, q.y < 0.0 ? -1.0 : 1.0};
    const Point reach{side.x * (h.x + inset), side.y * (h.y + inset)};
    return ElbowEnd{c + rotate_vector(reach, target.rotation), rotate_vector(side, target.rotation)};
}

bool align_elbow_end(ElbowEnd& end, const SceneObject& target, Point other, double tolerance) {
    if (!end.direction) return false;
    const Point d = *end.direction;
    const bool along_x = std::abs(std::abs(d.x) - 1.0) <= 1e-9 && std::abs(d.y) <= 1e-9;
    const bool along_y = std::abs(std::abs(d.y) - 1.0) <= 1e-9 && std::abs(d.x) <= 1e-9;
    if (!along_x && !along_y) return false;
    const Point v = other - end.point;
    if (!(dot(v, d) > 0.0)) return false;
    const double offset = along_x ? v.y : v.x;
    if (!(std::abs(offset) <= tolerance)) return false;
    // The end slides along its side only as far as the side reaches.
    const Box box = rotated_object_bounds(target);
    if (along_x) {
        const double y = end.point.y + offset;
        if (!(y >= box.top && y <= box.bottom)) return false;
        end.point.y = y;
    } else {
        const double x = end.point.x + offset;
        if (!(x >= box.left && x <= box.right)) return false;
        end.point.x = x;
    }
    return true;
}

std::optional<std::pair<ElbowEnd, ElbowEnd>> resolve_elbow_ends(const SceneObject& object,
                                                                SceneObjects objects) {
    const auto* line = as_line(object);
    if (!line || !line->elbow) return std::nullopt;
    const double w = object.width, half = w / 2.0;
    const SceneObject* start_target = elbow_target(object, line->start, objects);
    const SceneObject* end_target = elbow_target(object, line->end, objects);

    ElbowEnd start{line->from, std::nullopt};
    ElbowEnd end{line->to, std::nullopt};
    if (start_target) {
        const Point toward = end_target ? box_centre(object_bounds(*end_target)) : line->to;
        const double inset = is_text(*start_target) ? -half : half + start_target->width / 2.0;
        start = elbow_end_on_side(*start_target, toward, inset);
    }
    if (end_target) {
        const Point toward = start_target ? box_centre(object_bounds(*start_target)) : line->from;
        const double inset = (line->head ? 0.0 : half) +
                             (is_text(*end_target) ? -1.0 : std::max(end_target->width / 2.0 - 1.0, 0.0));
        end = elbow_end_on_side(*end_target, toward, inset);
    }
    const double reach = 2.0 * corner_size(w);
    const bool start_moved = start_target && align_elbow_end(start, *start_target, end.point, reach);
    if (!start_moved && end_target) align_elbow_end(end, *end_target, start.point, reach);
    return std::pair{start, end};
}

std::vector<Point> route_elbow(const ElbowEnd& start, const ElbowEnd& end, double stub) {
    const Point s = start.point, e = end.point;
    RouteBuilder route;
    route.add(s);

    std::optional<Point> start_axis =
        start.direction ? std::optional{axis_of(*start.direction)} : std::nullopt;
    const std::optional<Point> end_axis =
        end.direction ? std::optional{axis_of(*end.direction)} : std::nullopt;
    if (!start_axis && end_axis) start_axis = axis_of(e - s);

    if (start_axis && end_axis) {
        const Point u = *start_axis, w = *end_axis;
        double start_stub = stub, end_stub = stub;
        if (u.x == -w.x && u.y == -w.y) {
            // Facing ends closer than two stubs meet half-way instead of
            // overshooting each other.
            const double gap = dot(e - s, u);
            if (gap > 0.0 && gap < 2.0 * stub) start_stub = end_stub = gap / 2.0;
        }
        const Point a = s + u * start_stub, b = e + w * end_stub;
        route.add(a);
        if (horizontal(u) && !horizontal(w)) {
            route.add({b.x, a.y});
        } else if (!horizontal(u) && horizontal(w)) {
            route.add({a.x, b.y});
        } else if (horizontal(u)) {
            const double mx = (a.x + b.x) / 2.0;
            route.add({mx, a.y});
            route.add({mx, b.y});
        } else {
            const double my = (a.y + b.y) / 2.0;
            route.add({a.x, my});
            route.add({b.x, my});
        }
        route.add(b);
    } else if (start_axis) {
        const Point a = s + *start_axis * stub;
        route.add(a);
        one_sided_corners(route, a, *start_axis, e, stub);
    } else {
        const Point v = e - s;
        const Point u = std::abs(v.x) <= 1e-9 && std::abs(v.y) <= 1e-9 ? Point{1.0, 0.0} : axis_of(v);
        one_sided_corners(route, s, u, e, stub);
    }
    route.add(e);
    return route.take();
}

std::optional<Polyline> elbow_polyline(const SceneObject& object, SceneObjects objects) {
    const auto ends = resolve_elbow_ends(object, objects);
    if (!ends) return std::nullopt;
    const double radius_limit = corner_size(object.width);
    const std::vector<Point> route = route_elbow(ends->first, ends->second, stub_length(object.width));
    if (route.size() < 3) return route;

    Polyline rounded;
    rounded.reserve(route.size() * 9);
    rounded.push_back(route.front());
    for (std::size_t i = 1; i + 1 < route.size(); ++i) {
        const Point before = route[i - 1], corner = route[i], after = route[i + 1];
        const double in = distance(before, corner), out = distance(corner, after);
        const double radius = std::min({radius_limit, in / 2.0, out / 2.0});
        if (!(radius >= 0.5)) {
            rounded.push_back(corner);
            continue;
        }
        const Point a = corner + (before - corner) * (radius / in);
        const Point b = corner + (after - corner) * (radius / out);
        for (int k = 0; k <= 8; ++k) rounded.push_back(quadratic_point(a, corner, b, k / 8.0));
    }
    rounded.push_back(route.back());
    return rounded;
}

}  // namespace glimmerly
