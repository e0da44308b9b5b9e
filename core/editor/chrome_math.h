#pragma once
// Small box arithmetic shared by the capture chrome's placement code.

#include "core/document/scene_object.h"

#include <algorithm>

namespace glimmerly {

// Clamps into [lo, hi], and to lo when the range is empty: a panel larger
// than its monitor keeps its left or top edge in view. (std::clamp is
// undefined for an empty range.)
constexpr double clamp_into(double v, double lo, double hi) { return std::max(lo, std::min(v, hi)); }

// Edges count as inside.
constexpr bool box_contains(const Box& b, Point p) {
    return b.left <= p.x && p.x <= b.right && b.top <= p.y && p.y <= b.bottom;
}
constexpr bool box_contains(const Box& outer, const Box& inner) {
    return outer.left <= inner.left && inner.right <= outer.right && outer.top <= inner.top &&
           inner.bottom <= outer.bottom;
}
// Touching edges do not overlap.
constexpr bool boxes_overlap(const Box& a, const Box& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}
constexpr Box box_union(const Box& a, const Box& b) {
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}
constexpr Box scale_box(const Box& b, double k) { return {b.left * k, b.top * k, b.right * k, b.bottom * k}; }
constexpr Box box_at(double x, double y, double w, double h) { return {x, y, x + w, y + h}; }

}  // namespace glimmerly
