#pragma once
// Interface pictures as data: the icons, the toolbar pictures, key caps and
// the shortcut field come out of the core as lists of shapes, and the
// painting kit replays them one shape at a time, each shape mapping onto one
// kit call. Deciding what to draw stays here, where it is tested natively;
// the Direct2D side only draws.
//
// A picture is made in the units of its design (an icon's 20 x 20 grid) and
// placed at a corner and a scale by `place_picture`, or made in pixels
// directly when it has no fixed design (key caps).

#include "core/base/rgb.h"
#include "core/document/scene_object.h"

#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace glimmerly {

// Line work with round caps and joins (the kit's `stroke_polyline`).
struct PolylineShape {
    std::vector<Point> points;
    bool closed = false;

    friend bool operator==(const PolylineShape&, const PolylineShape&) = default;
};
// A filled polygon (`fill_polygon`).
struct PolygonShape {
    std::vector<Point> points;

    friend bool operator==(const PolygonShape&, const PolygonShape&) = default;
};
// A straight line with flat ends (DrawLine without a stroke style).
struct LineShape {
    Point from;
    Point to;

    friend bool operator==(const LineShape&, const LineShape&) = default;
};
// An outlined rectangle (DrawRectangle), or a filled one (`paint_path`
// without holes).
struct RectShape {
    Box box;
    bool filled = false;

    friend bool operator==(const RectShape&, const RectShape&) = default;
};
struct RoundedRectShape {
    Box box;
    double radius = 0.0;
    bool filled = false;

    friend bool operator==(const RoundedRectShape&, const RoundedRectShape&) = default;
};
// An ellipse outline, or a disc when filled.
struct EllipseShape {
    Point centre;
    Size radii;
    bool filled = false;

    friend bool operator==(const EllipseShape&, const EllipseShape&) = default;
};
// Turns the shapes after it by `angle` (radians, clockwise on screen) about
// the centre (`set_rotation`); `on` false turns them back to the identity.
struct RotationShape {
    bool on = false;
    double angle = 0.0;
    Point centre;

    friend bool operator==(const RotationShape&, const RotationShape&) = default;
};
// An arrow annotation from one point to the other, drawn as a scene object
// so that it carries the editor's own head (`icon_arrow_object`).
struct ArrowShape {
    Point from;
    Point to;

    friend bool operator==(const ArrowShape&, const ArrowShape&) = default;
};
// The kit's dark rounded card at a scale (`paint_dark_card`).
struct CardShape {
    Box box;
    double scale = 1.0;

    friend bool operator==(const CardShape&, const CardShape&) = default;
};
// One line of interface text centred on a box (`paint_text_centered`), the
// size in pixels.
struct CentredTextShape {
    std::string text;
    Box box;
    double size = 0.0;

    friend bool operator==(const CentredTextShape&, const CentredTextShape&) = default;
};

using ShapeGeometry = std::variant<PolylineShape, PolygonShape, LineShape, RectShape, RoundedRectShape, EllipseShape,
                                   RotationShape, ArrowShape, CardShape, CentredTextShape>;

struct PictureShape {
    ShapeGeometry geometry;
    Rgb colour;
    float opacity = 1.0f;
    double width = 0.0;  // of outlines, lines and arrows; fills and text ignore it

    friend bool operator==(const PictureShape&, const PictureShape&) = default;
};

// Drawn in order; a rotation holds until the next rotation shape.
using Picture = std::vector<PictureShape>;

// Design point (u, v) lands at origin + (u, v) x scale; radii, widths, text
// sizes and card scales are multiplied by the scale, angles kept.
Picture place_picture(Picture picture, Point origin, double scale);

// The points of an arc about a centre from angle a0 to a1 (degrees, 0 to the
// right, 90 downwards) in `segments` equal steps: segments + 1 points.
std::vector<Point> arc_points(Point centre, double radius, double a0, double a1, int segments);

}  // namespace glimmerly
