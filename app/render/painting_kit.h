#pragma once
// The small set of drawing operations every hand-painted surface is made of:
// the setup and settings pages, the tray popup, previews, the shortcut field
// and the editor's overlay and chrome. All geometry is in device pixels (the
// targets are 96 dpi); operations with a `scale` draw a design given in units
// of `scale` pixels.

#include <d2d1.h>

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "app/render/renderer_resources.h"
#include "app/render/text_formats.h"
#include "core/editor/editor_state.h"
#include "core/render/interface_colours.h"
#include "core/render/paint_colour.h"

namespace glimmerly {

// What one `paint_path` call filled.
struct FillRecord {
    Box rect;
    PaintColour colour;
    std::vector<Polyline> holes;
};

// One paint pass. The brush is made once and re-coloured by every operation,
// so after a call it has that call's colour. The fill record lists the
// `paint_path` calls until any other drawing operation runs; from then on it
// stays absent for the rest of the pass.
struct Painter {
    std::optional<std::vector<FillRecord>> fill_record;
    RendererResources& resources;
    ID2D1RenderTarget* target;
    win::ComPtr<ID2D1SolidColorBrush> brush;
};

Result<Painter> make_painter(RendererResources& resources, ID2D1RenderTarget* target);

// The rectangle with the hole polygons cut out; without holes, the plain
// rectangle. Cut shapes are kept (eight at most) and reused for an exactly
// equal rectangle and holes.
Status paint_path(Painter& painter, const Box& rect, std::span<const Polyline> holes, PaintColour colour);

void fill_rounded_rect(Painter& painter, const Box& rect, double radius, PaintColour colour);
void stroke_rounded_rect(Painter& painter, const Box& rect, double radius, PaintColour colour, double width);
void fill_ellipse(Painter& painter, Point centre, double radius_x, double radius_y, PaintColour colour);
void stroke_ellipse(Painter& painter, Point centre, double radius_x, double radius_y, PaintColour colour,
                    double width);
// Round caps and joins. No points: nothing drawn.
Status stroke_polyline(Painter& painter, std::span<const Point> points, bool closed, PaintColour colour,
                       double width);
Status fill_polygon(Painter& painter, std::span<const Point> points, PaintColour colour);
// Flat ends.
void stroke_line(Painter& painter, Point from, Point to, PaintColour colour, double width);
void stroke_accent_line(Painter& painter, Point from, Point to, double width);
void stroke_neutral_rect(Painter& painter, const Box& rect, double width);
// A dark rounded card with a lighter rim.
void paint_dark_card(Painter& painter, const Box& rect, double scale);
// The dashes as flat-ended lines, drawn in one call. None: nothing drawn.
Status stroke_dashes(Painter& painter, std::span<const Dash> dashes, PaintColour colour, double width);
// The four corners as a closed ring of dashes, the width as the dash unit.
Status paint_dashed_polygon(Painter& painter, const std::array<Point, 4>& corners, PaintColour colour,
                            double width);

// A turn (radians, clockwise on screen) about a centre for what follows;
// none puts the identity back.
struct PaintRotation {
    double angle = 0.0;
    Point centre;
};
void set_rotation(Painter& painter, std::optional<PaintRotation> rotation);

// One figure through the points (WINDING); none for no points.
Result<std::optional<win::ComPtr<ID2D1PathGeometry>>> path_geometry_from_points(RendererResources& resources,
                                                                                std::span<const Point> points,
                                                                                bool closed);

// Text in the current interface language; sizes in pixels.
Status paint_text(Painter& painter, std::string_view text, const Box& rect, double size, PaintColour colour,
                  UiTextStyle style);
// Centred on the box on one line (body style), reaching past the box when wider.
Status paint_text_centered(Painter& painter, std::string_view text, const Box& box, double size, Rgb colour);
// The same with the plain "Segoe UI" format.
Status paint_plain_text_centered(Painter& painter, std::string_view text, const Box& box, double size,
                                 Rgb colour);
// One line standing on `bottom`: strong at a design size of exactly 12, body
// otherwise; the line is as high as the letter "X" in that format.
Status paint_text_on_baseline(Painter& painter, double scale, std::string_view text, double left, double right,
                              double bottom, double size, Rgb colour);
// Clipped to the rectangle, in the plain interface format of the size.
Status draw_ui_text(Painter& painter, std::string_view text, const Box& rect, double size, PaintColour colour);

Result<Size> measure_ui_text(Painter& painter, std::string_view text, double size);
Result<Size> measure_annotation_text(RendererResources& resources, std::string_view text, double size, bool wrap,
                                     double wrap_width);

}  // namespace glimmerly
