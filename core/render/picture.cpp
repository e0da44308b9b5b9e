#include "core/render/picture.h"

#include "core/document/point_math.h"

#include <numbers>
#include <type_traits>

namespace glimmerly {

namespace {

struct Placement {
    Point origin;
    double scale = 1.0;

    Point operator()(Point p) const { return origin + p * scale; }
    Box operator()(const Box& b) const {
        return {origin.x + b.left * scale, origin.y + b.top * scale, origin.x + b.right * scale,
                origin.y + b.bottom * scale};
    }
    void points(std::vector<Point>& ps) const {
        for (Point& p : ps) p = (*this)(p);
    }
};

}  // namespace

Picture place_picture(Picture picture, Point origin, double scale) {
    const Placement at{origin, scale};
    for (PictureShape& shape : picture) {
        shape.width *= scale;
        std::visit(
            [&](auto& g) {
                using T = std::decay_t<decltype(g)>;
                if constexpr (std::is_same_v<T, PolylineShape> || std::is_same_v<T, PolygonShape>) {
                    at.points(g.points);
                } else if constexpr (std::is_same_v<T, LineShape> || std::is_same_v<T, ArrowShape>) {
                    g.from = at(g.from);
                    g.to = at(g.to);
                } else if constexpr (std::is_same_v<T, RectShape>) {
                    g.box = at(g.box);
                } else if constexpr (std::is_same_v<T, RoundedRectShape>) {
                    g.box = at(g.box);
                    g.radius *= scale;
                } else if constexpr (std::is_same_v<T, EllipseShape>) {
                    g.centre = at(g.centre);
                    g.radii = {g.radii.w * scale, g.radii.h * scale};
                } else if constexpr (std::is_same_v<T, RotationShape>) {
                    g.centre = at(g.centre);
                } else if constexpr (std::is_same_v<T, CardShape>) {
                    g.box = at(g.box);
                    g.scale *= scale;
                } else {
                    static_assert(std::is_same_v<T, CentredTextShape>);
                    g.box = at(g.box);
                    g.size *= scale;
                }
            },
            shape.geometry);
    }
    return picture;
}

std::vector<Point> arc_points(Point centre, double radius, double a0, double a1, int segments) {
    std::vector<Point> points;
    if (segments < 1) return points;
    points.reserve(static_cast<std::size_t>(segments) + 1);
    for (int i = 0; i <= segments; ++i) {
        const double a = (a0 + i * (a1 - a0) / segments) * std::numbers::pi / 180.0;
        points.push_back({centre.x + radius * std::cos(a), centre.y + radius * std::sin(a)});
    }
    return points;
}

}  // namespace glimmerly
