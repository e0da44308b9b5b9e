#pragma once
// Plane arithmetic on `Point`, shared by the geometry sources.

#include "core/document/scene_object.h"

#include <cmath>

namespace glimmerly {

constexpr Point operator+(Point a, Point b) { return {a.x + b.x, a.y + b.y}; }
constexpr Point operator-(Point a, Point b) { return {a.x - b.x, a.y - b.y}; }
constexpr Point operator-(Point a) { return {-a.x, -a.y}; }
constexpr Point operator*(Point a, double k) { return {a.x * k, a.y * k}; }
constexpr Point operator*(double k, Point a) { return {a.x * k, a.y * k}; }
constexpr double dot(Point a, Point b) { return a.x * b.x + a.y * b.y; }
constexpr double cross(Point a, Point b) { return a.x * b.y - a.y * b.x; }
// The vector turned a quarter: (-y, x).
constexpr Point perpendicular(Point a) { return {-a.y, a.x}; }
inline double length(Point a) { return std::hypot(a.x, a.y); }
inline double distance(Point a, Point b) { return length(a - b); }
inline bool is_finite(Point p) { return std::isfinite(p.x) && std::isfinite(p.y); }
inline bool is_finite(const Box& b) {
    return std::isfinite(b.left) && std::isfinite(b.top) && std::isfinite(b.right) && std::isfinite(b.bottom);
}
// A turn by an angle (clockwise on screen for a positive one), with its
// cosine and sine taken once for the many points of an outline.
struct Turn {
    double c = 1.0;
    double s = 0.0;

    explicit Turn(double angle) : c(std::cos(angle)), s(std::sin(angle)) {}
    Point operator()(Point v) const { return {c * v.x - s * v.y, s * v.x + c * v.y}; }
    Point about(Point p, Point centre) const { return centre + (*this)(p - centre); }
};
inline Point rotate_vector(Point v, double angle) { return Turn(angle)(v); }
// Quadratic Bezier from a through control c to b.
constexpr Point quadratic_point(Point a, Point c, Point b, double t) {
    const double u = 1.0 - t;
    return a * (u * u) + c * (2.0 * t * u) + b * (t * t);
}

}  // namespace glimmerly
