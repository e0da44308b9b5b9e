#include "core/editor/hit_bounds.h"

#include "core/document/point_math.h"
#include "core/editor/editor_objects.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace glimmerly {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr Box kEverywhere{-kInfinity, -kInfinity, kInfinity, kInfinity};

// Builds a box from points; a point that is not finite makes it the whole
// plane, so that the object is always tested rather than wrongly passed over.
class Reach {
public:
    void add(Point p) {
        left_ = std::min(left_, p.x);
        right_ = std::max(right_, p.x);
        top_ = std::min(top_, p.y);
        bottom_ = std::max(bottom_, p.y);
        finite_ = finite_ && is_finite(p);
    }
    void add(const Box& b) {
        add(Point{b.left, b.top});
        add(Point{b.right, b.bottom});
    }
    template <class Points>
    void add_all(const Points& points, double grow = 0.0) {
        for (const Point& p : points) {
            add(Point{p.x - grow, p.y - grow});
            add(Point{p.x + grow, p.y + grow});
        }
    }

    // The box with room for the rounding of the exact tests: a pixel and a
    // billionth of the coordinate, far beyond any difference in the last
    // digits between this box and the tests' own arithmetic.
    Box box() const {
        if (!finite_ || left_ > right_) return kEverywhere;
        const auto out = [](double v) { return 1.0 + std::abs(v) * 1e-9; };
        return {left_ - out(left_), top_ - out(top_), right_ + out(right_), bottom_ + out(bottom_)};
    }

private:
    double left_ = kInfinity, top_ = kInfinity, right_ = -kInfinity, bottom_ = -kInfinity;
    bool finite_ = true;
};

// A head triangle squashed towards a line, as a line of width 0 has: the
// inside test, which counts edges as inside, then holds every point on the
// line through it however far away, so such a line is always tested. A head
// of any drawn width has one shape, far from this.
bool squashed(Point a, Point b, Point c) {
    const Point u = b - a, v = c - a;
    return !(std::abs(cross(u, v)) > 0.01 * (dot(u, u) + dot(v, v)));
}

// Half the drawn width where it widens the reach; a width that is negative
// or not a number widens nothing.
double half_width(double width) { return width > 0.0 ? width / 2.0 : 0.0; }

// The inside of a rectangle or an ellipse reaches the outer edge of its
// outline, turned with the object about the centre of its box.
void add_inside(Reach& reach, const SceneObject& object) {
    reach.add_all(rotated_rect_corners(grow_box(object_bounds(object), half_width(object.width)), object.rotation));
}

Box reach_of(const SceneObject& object, SceneObjects scene) {
    Reach reach;
    switch (object.kind()) {
    case ObjectKind::Rectangle:
        reach.add_all(rotated_rect_corners(*object_rect(object), object.rotation));
        add_inside(reach, object);
        break;
    case ObjectKind::Ellipse:
        // The outline test's own quick reject, less its tolerance.
        reach.add(grow_box(rotated_object_bounds(object), object.width / 2.0 + 0.5));
        add_inside(reach, object);
        break;
    case ObjectKind::Arrow: {
        const auto outline = build_object_geometry(object, scene);
        if (as_line(object)->head && outline.size() > 1 && outline[1].size() >= 3 &&
            squashed(outline[1][0], outline[1][1], outline[1][2]))
            return kEverywhere;
        // The head's filled triangle is among the outline's points.
        for (const Polyline& part : outline) reach.add_all(part, half_width(object.width));
        break;
    }
    case ObjectKind::Stroke: {
        const StrokePayload& stroke = *as_stroke(object);
        double widest = std::isnan(object.width) ? 0.0 : object.width;
        for (double w : stroke.widths)
            if (!std::isnan(w)) widest = std::max(widest, w);
        const double factor = stroke.highlight ? kHighlighterFactor : 1.0;
        reach.add(grow_box(object_bounds(object), factor * widest / 2.0 + 0.5));
        break;
    }
    case ObjectKind::Text: reach.add_all(rotated_rect_corners(object_bounds(object), object.rotation)); break;
    case ObjectKind::Blur: reach.add(*object_rect(object)); break;
    }
    return reach.box();
}

}  // namespace

HitBounds::HitBounds(std::span<const SceneObject> objects) {
    const bool attached = std::any_of(objects.begin(), objects.end(), [](const SceneObject& o) {
        const auto* line = as_line(o);
        return line && (line->start || line->end);
    });
    if (attached) index_.emplace(objects);
    const SceneObjects resolved = scene(objects);
    boxes_.reserve(objects.size());
    for (const SceneObject& object : objects) boxes_.push_back(reach_of(object, resolved));
}

const HitBounds& EditorObjects::hit_bounds() const {
    if (!hit_bounds_) hit_bounds_ = std::make_shared<const HitBounds>(objects_);
    return *hit_bounds_;
}

}  // namespace glimmerly
