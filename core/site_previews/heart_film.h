#pragma once
// The support-heart film's geometry: the heart the pen draws, and where an
// arrow planned along one axis enters and leaves the enlarged heart. All of
// it is decided before the editor moves, so a heart drawn differently stops the film with
// a message instead of leaving an arrow through nothing.

#include <cstdint>
#include <span>
#include <vector>

#include "core/base/result.h"
#include "core/base/rgb.h"
#include "core/document/geometry.h"

namespace glimmerly {

// The dark canvas the film is drawn on, and the frame size.
inline constexpr std::uint32_t kHeartCanvasWidth = 560;
inline constexpr std::uint32_t kHeartCanvasHeight = 420;
inline constexpr Rgb kHeartCanvasColour{22, 27, 34};
inline constexpr std::uint32_t kHeartFilmFrames = 407;
// Up and to the right on screen, 30 degrees above the horizontal.
inline constexpr Point kHeartArrowDirection{0.8660254037844387, -0.49999999999999994};
inline constexpr Point kHeartAxisCentre{246.0, 176.0};
// Entry and exit closer than this leave no stretch of the axis worth hiding.
inline constexpr double kHeartMinimumHiddenStretch = 96.0;

// 73 points clockwise on screen from the top notch, the last repeating the
// first so that the pen closes the outline.
std::vector<Point> heart_path();

// Where the segment p0-p1 crosses the polyline's edges, as positions along
// the segment (0 at p0, 1 at p1), ascending. An edge includes its first
// point and not its last, so a crossing through a shared vertex counts once.
std::vector<double> segment_crossings(std::span<const Point> points, Point p0, Point p1);

// The polylines joined in order into one list.
std::vector<Point> flatten_polylines(std::span<const Polyline> lists);

// Where the planned arrow enters and leaves the heart.
struct HeartCrossing {
    Point entry;
    Point exit;
};
// Plans the axis through kHeartAxisCentre along kHeartArrowDirection, long
// enough (the bounds' width plus height each way) to pass through the whole
// outline. Fails with the film's message when the axis misses the outline,
// crosses it other than twice or hides less than kHeartMinimumHiddenStretch.
Result<HeartCrossing> plan_heart_arrow(std::span<const Point> outline, const Box& bounds);

}  // namespace glimmerly
