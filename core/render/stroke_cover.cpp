#include "core/render/stroke_cover.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "core/document/point_math.h"

namespace glimmerly {

namespace {

constexpr int kMinCircleSteps = 8;
constexpr int kMaxCircleSteps = 256;

// Steps of a whole circle for chords within the tolerance; even, so that a
// half circle has whole steps.
int circle_steps(double radius, double tolerance) {
    if (!(radius > tolerance)) return kMinCircleSteps;
    const double wanted = std::ceil(std::numbers::pi / std::acos(1.0 - tolerance / radius));
    const double clamped = std::clamp(std::isfinite(wanted) ? wanted : double{kMaxCircleSteps},
                                      double{kMinCircleSteps}, double{kMaxCircleSteps});
    return (static_cast<int>(clamped) + 1) / 2 * 2;
}

// Points of an arc about `centre` from angle `from`, `steps` steps of
// `step` radians each, ends included. Growing angles run clockwise on screen.
void add_arc(Polyline& out, Point centre, double radius, double from, int steps, double step) {
    for (int i = 0; i <= steps; ++i) {
        const double a = from + step * i;
        out.push_back({centre.x + radius * std::cos(a), centre.y + radius * std::sin(a)});
    }
}

}  // namespace

std::vector<Polyline> stroke_capsules(std::span<const Point> points, double width, double tolerance) {
    if (points.empty() || !(width > 0.0) || !std::isfinite(width) || !(tolerance > 0.0)) return {};
    for (const Point& p : points)
        if (!is_finite(p)) return {};
    const double radius = width / 2.0;
    const int steps = circle_steps(radius, tolerance);
    const double step = 2.0 * std::numbers::pi / steps;

    std::vector<Polyline> figures;
    const auto disc = [&](Point centre) {
        Polyline circle;
        circle.reserve(static_cast<std::size_t>(steps) + 1);
        add_arc(circle, centre, radius, 0.0, steps - 1, step);
        figures.push_back(std::move(circle));
    };
    figures.reserve(points.size() - 1);
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        const Point a = points[i], b = points[i + 1];
        // Joins are covered by the neighbours' round ends.
        if (distance(a, b) < kMinLineLength) continue;
        const double heading = std::atan2(b.y - a.y, b.x - a.x);
        const double quarter = std::numbers::pi / 2.0;
        Polyline capsule;
        capsule.reserve(static_cast<std::size_t>(steps) + 2);
        // The end at b from one side round to the other, then the end at a.
        add_arc(capsule, b, radius, heading - quarter, steps / 2, step);
        add_arc(capsule, a, radius, heading + quarter, steps / 2, step);
        figures.push_back(std::move(capsule));
    }
    // A stroke that never moved is a dot.
    if (figures.empty()) disc(points[0]);
    return figures;
}

}  // namespace glimmerly
