#pragma once
// The picture of the pointer effects (trail, click marks, halo and press
// pulse) as a list of circles, lines and polygons in drawing order, bottom
// to top. The same picture serves the presentation's pointer layer and the
// settings window's preview; the window side replays it on its painter.
// Nothing is kept between frames: each is computed from the recorded
// points and the time.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "core/pointer/pointer_state.h"
#include "core/render/paint_colour.h"

namespace glimmerly {

// The halo's colour while a button is held.
inline constexpr Rgb kPressedHaloColour{237, 79, 92};
// Samples of one trail at most: a pointer that jumps across a wide screen
// would otherwise make thousands, each drawn in sixteen layers.
inline constexpr std::size_t kMaxTrailSamples = 4096;

struct PointerHighlight {
    std::optional<double> pulse;  // progress 0..1 of the press pulse
    bool pressed = false;
    Rgb colour;  // the halo colour, also the line, dots and stars trails'
};

enum class PointerShape : std::uint8_t { FillCircle, StrokeCircle, Line, Polygon };

struct PointerPrimitive {
    PointerShape shape = PointerShape::FillCircle;
    PaintColour colour;
    Point at;  // a circle's centre, a line's start
    Point to;  // a line's end
    double radius = 0.0;
    double width = 0.0;  // outlines and lines
    std::uint32_t first = 0;  // a polygon's points in `PointerPicture::points`
    std::uint32_t count = 0;

    friend bool operator==(const PointerPrimitive&, const PointerPrimitive&) = default;
};

// Kept by the caller from frame to frame so that its buffers are reused.
struct PointerPicture {
    std::vector<PointerPrimitive> primitives;
    std::vector<Point> points;
    // Working buffers of the trail.
    std::vector<TrailPoint> kept, smoothed, samples;
    std::vector<double> weights;
    std::vector<Point> left, right, normals, tangents;

    std::span<const Point> polygon(const PointerPrimitive& primitive) const {
        return std::span<const Point>(points).subspan(primitive.first, primitive.count);
    }
};

// Whether two pictures draw the same pixels: the same primitives, in the
// same order, with the same points (the working buffers do not count).
bool same_pointer_drawing(const PointerPicture& a, const PointerPicture& b);

// The picture of one frame, every position minus `origin`, every length
// times `scale`. `settings` are the effective settings.
void build_pointer_picture(PointerPicture& picture, Point origin, const PointerState& state,
                           const PointerSettings& settings, const PointerHighlight& highlight, double scale,
                           std::uint64_t now);

}  // namespace glimmerly
