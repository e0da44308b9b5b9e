#include "core/site_previews/heart_film.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace glimmerly {

std::vector<Point> heart_path() {
    std::vector<Point> points;
    points.reserve(73);
    for (int i = 0; i < 72; ++i) {
        const double t = i * 2.0 * std::numbers::pi / 72.0;
        const double s = std::sin(t);
        points.push_back({230.0 + 5.4 * 16.0 * s * s * s,
                          150.0 - 5.4 * (13.0 * std::cos(t) - 5.0 * std::cos(2 * t) - 2.0 * std::cos(3 * t) -
                                         std::cos(4 * t))});
    }
    points.push_back({230.0, 123.0});
    return points;
}

std::vector<double> segment_crossings(std::span<const Point> points, Point p0, Point p1) {
    std::vector<double> crossings;
    if (points.size() < 2) return crossings;
    const Point d{p1.x - p0.x, p1.y - p0.y};
    for (std::size_t k = 1; k < points.size(); ++k) {
        const Point e{points[k].x - points[k - 1].x, points[k].y - points[k - 1].y};
        const Point w{points[k - 1].x - p0.x, points[k - 1].y - p0.y};
        const double den = d.x * e.y - d.y * e.x;
        if (std::abs(den) < std::numeric_limits<double>::epsilon()) continue;  // parallel
        const double s = (e.y * w.x - e.x * w.y) / den;
        const double u = (w.x * d.y - w.y * d.x) / den;
        if (s >= 0.0 && s <= 1.0 && u >= 0.0 && u < 1.0) crossings.push_back(s);
    }
    std::sort(crossings.begin(), crossings.end());
    return crossings;
}

std::vector<Point> flatten_polylines(std::span<const Polyline> lists) {
    std::size_t total = 0;
    for (const Polyline& list : lists) total += list.size();
    std::vector<Point> points;
    points.reserve(total);
    for (const Polyline& list : lists) points.insert(points.end(), list.begin(), list.end());
    return points;
}

Result<HeartCrossing> plan_heart_arrow(std::span<const Point> outline, const Box& bounds) {
    const double length = (bounds.right - bounds.left) + (bounds.bottom - bounds.top);
    const Point d = kHeartArrowDirection, c = kHeartAxisCentre;
    const Point p0{c.x - length * d.x, c.y - length * d.y};
    const Point p1{c.x + length * d.x, c.y + length * d.y};
    const std::vector<double> crossings = segment_crossings(outline, p0, p1);
    if (crossings.empty()) return plain_failure("the arrow misses the heart");
    if (crossings.size() != 2) return plain_failure("the arrow must enter and leave the heart once");
    const auto at = [&](double s) { return Point{p0.x + s * (p1.x - p0.x), p0.y + s * (p1.y - p0.y)}; };
    const HeartCrossing crossing{at(crossings[0]), at(crossings[1])};
    if (std::hypot(crossing.exit.x - crossing.entry.x, crossing.exit.y - crossing.entry.y) < kHeartMinimumHiddenStretch)
        return plain_failure("the arrow hides no stretch inside the heart");
    return crossing;
}

}  // namespace glimmerly
