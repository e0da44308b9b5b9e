#include "app/render/painting_kit.h"

#include <numbers>

#include "app/render/area_geometry.h"
#include "core/editor/editor_state.h"

namespace glimmerly {

namespace {

using win::ComPtr;

constexpr std::uint8_t kNeutralGrey = 112;
constexpr std::uint8_t kCardGrey = 55;
constexpr std::uint8_t kCardRimGrey = 72;
constexpr double kCardRadius = 5.0;
constexpr double kStrongDesignSize = 12.0;

// Sets the brush for a drawing operation; any drawing other than
// `paint_path` ends the pass's fill record.
ID2D1SolidColorBrush* brush_for(Painter& painter, PaintColour colour) {
    painter.fill_record.reset();
    painter.brush->SetColor(d2d_colour(colour.rgb(), colour.opacity));
    return painter.brush.get();
}

bool same_holes(std::span<const Polyline> a, std::span<const Polyline> b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end());
}

Result<ComPtr<ID2D1Geometry>> cut_rectangle(RendererResources& resources, const Box& rect,
                                            std::span<const Polyline> holes) {
    auto cache = resources.fill_geometries.borrow();
    if (!cache) return busy_failure("The fill-geometry cache");
    // Exact comparison: a NaN never matches, so such a shape is rebuilt.
    for (const FillGeometryEntry& entry : *cache)
        if (entry.rect == rect && same_holes(entry.holes, holes)) return entry.geometry;
    const std::array<Point, 4> corners{Point{rect.left, rect.top}, Point{rect.right, rect.top},
                                       Point{rect.right, rect.bottom}, Point{rect.left, rect.bottom}};
    ID2D1Factory* factory = resources.d2d_factory.get();
    auto base = closed_polygon_geometry(factory, corners);
    if (!base) return std::move(base).failure();
    auto cut = exclude_polygons(factory, base->get(), corners, holes);
    if (!cut) return std::move(cut).failure();
    cache->insert(cache->begin(), FillGeometryEntry{rect, {holes.begin(), holes.end()}, *cut});
    if (cache->size() > kFillGeometryCacheSize) cache->resize(kFillGeometryCacheSize);
    return cut;
}

Status paint_centered(Painter& painter, std::string_view text, const Box& box, double size, Rgb colour,
                      Result<ComPtr<IDWriteTextFormat>> format) {
    if (!format) return std::move(format).failure();
    auto measured = measure_text(painter.resources, text, format->get(), false, 0.0f);
    if (!measured) return std::move(measured).failure();
    const Point centre = box_centre(box);
    const double left = centre.x - measured->w / 2.0, top = centre.y - measured->h / 2.0;
    painter.fill_record.reset();
    draw_text_in_rect(painter.target, painter.brush.get(), text,
                      {left, top, left + measured->w + size, top + measured->h}, format->get(), {colour, 1.0f});
    return ok_status();
}

}  // namespace

Result<Painter> make_painter(RendererResources& resources, ID2D1RenderTarget* target) {
    auto brush = solid_brush(resources, target, D2D1::ColorF(0, 0, 0));
    if (!brush) return std::move(brush).failure();
    return Painter{std::vector<FillRecord>{}, resources, target, std::move(*brush)};
}

Status paint_path(Painter& painter, const Box& rect, std::span<const Polyline> holes, PaintColour colour) {
    if (painter.fill_record) painter.fill_record->push_back({rect, colour, {holes.begin(), holes.end()}});
    painter.brush->SetColor(d2d_colour(colour.rgb(), colour.opacity));
    if (holes.empty()) {
        painter.target->FillRectangle(d2d_rect(rect), painter.brush.get());
        return ok_status();
    }
    auto geometry = cut_rectangle(painter.resources, rect, holes);
    if (!geometry) return std::move(geometry).failure();
    painter.target->FillGeometry(geometry->get(), painter.brush.get());
    return ok_status();
}

void fill_rounded_rect(Painter& painter, const Box& rect, double radius, PaintColour colour) {
    const auto r = static_cast<float>(radius);
    painter.target->FillRoundedRectangle(D2D1::RoundedRect(d2d_rect(rect), r, r), brush_for(painter, colour));
}

void stroke_rounded_rect(Painter& painter, const Box& rect, double radius, PaintColour colour, double width) {
    const auto r = static_cast<float>(radius);
    painter.target->DrawRoundedRectangle(D2D1::RoundedRect(d2d_rect(rect), r, r), brush_for(painter, colour),
                                         static_cast<float>(width));
}

void fill_ellipse(Painter& painter, Point centre, double radius_x, double radius_y, PaintColour colour) {
    painter.target->FillEllipse(
        D2D1::Ellipse(d2d_point(centre), static_cast<float>(radius_x), static_cast<float>(radius_y)),
        brush_for(painter, colour));
}

void stroke_ellipse(Painter& painter, Point centre, double radius_x, double radius_y, PaintColour colour,
                    double width) {
    painter.target->DrawEllipse(
        D2D1::Ellipse(d2d_point(centre), static_cast<float>(radius_x), static_cast<float>(radius_y)),
        brush_for(painter, colour), static_cast<float>(width));
}

Status stroke_polyline(Painter& painter, std::span<const Point> points, bool closed, PaintColour colour,
                       double width) {
    auto path = path_geometry_from_points(painter.resources, points, closed);
    if (!path) return std::move(path).failure();
    if (!*path) return ok_status();
    painter.target->DrawGeometry((*path)->get(), brush_for(painter, colour), static_cast<float>(width),
                                 painter.resources.round_stroke.get());
    return ok_status();
}

Status fill_polygon(Painter& painter, std::span<const Point> points, PaintColour colour) {
    auto path = path_geometry_from_points(painter.resources, points, true);
    if (!path) return std::move(path).failure();
    if (!*path) return ok_status();
    painter.target->FillGeometry((*path)->get(), brush_for(painter, colour));
    return ok_status();
}

void stroke_line(Painter& painter, Point from, Point to, PaintColour colour, double width) {
    painter.target->DrawLine(d2d_point(from), d2d_point(to), brush_for(painter, colour), static_cast<float>(width));
}

void stroke_accent_line(Painter& painter, Point from, Point to, double width) {
    stroke_line(painter, from, to, PaintColour::opaque(kAccent), width);
}

void stroke_neutral_rect(Painter& painter, const Box& rect, double width) {
    painter.target->DrawRectangle(d2d_rect(rect), brush_for(painter, PaintColour::grey(kNeutralGrey)),
                                  static_cast<float>(width));
}

void paint_dark_card(Painter& painter, const Box& rect, double scale) {
    const double radius = kCardRadius * scale;
    fill_rounded_rect(painter, rect, radius, PaintColour::grey(kCardGrey));
    const double inset = 0.5 * scale;
    stroke_rounded_rect(painter, {rect.left + inset, rect.top + inset, rect.right - inset, rect.bottom - inset},
                        radius, PaintColour::grey(kCardRimGrey), scale);
}

Status stroke_dashes(Painter& painter, std::span<const Dash> dashes, PaintColour colour, double width) {
    if (dashes.empty()) return ok_status();
    auto path = dashes_geometry(painter.resources.d2d_factory.get(), dashes);
    if (!path) return std::move(path).failure();
    painter.target->DrawGeometry(path->get(), brush_for(painter, colour), static_cast<float>(width));
    return ok_status();
}

Status paint_dashed_polygon(Painter& painter, const std::array<Point, 4>& corners, PaintColour colour,
                            double width) {
    const std::array<Point, 5> ring{corners[0], corners[1], corners[2], corners[3], corners[0]};
    return stroke_dashes(painter, dash_polyline(ring, width), colour, width);
}

void set_rotation(Painter& painter, std::optional<PaintRotation> rotation) {
    if (!rotation) {
        painter.target->SetTransform(D2D1::Matrix3x2F::Identity());
        return;
    }
    painter.target->SetTransform(rotation_matrix(
        painter.resources, static_cast<float>(rotation->angle * (180.0 / std::numbers::pi)),
        d2d_point(rotation->centre)));
}

Result<std::optional<ComPtr<ID2D1PathGeometry>>> path_geometry_from_points(RendererResources& resources,
                                                                           std::span<const Point> points,
                                                                           bool closed) {
    if (points.empty()) return std::optional<ComPtr<ID2D1PathGeometry>>{};
    auto path = polyline_geometry(resources.d2d_factory.get(), points, true, closed);
    if (!path) return std::move(path).failure();
    return std::optional<ComPtr<ID2D1PathGeometry>>(std::move(*path));
}

Status paint_text(Painter& painter, std::string_view text, const Box& rect, double size, PaintColour colour,
                  UiTextStyle style) {
    auto format = styled_text_format(painter.resources, static_cast<float>(size), style, current_language());
    if (!format) return std::move(format).failure();
    painter.fill_record.reset();
    draw_text_in_rect(painter.target, painter.brush.get(), text, rect, format->get(),
                      {colour.rgb(), colour.opacity});
    return ok_status();
}

Status paint_text_centered(Painter& painter, std::string_view text, const Box& box, double size, Rgb colour) {
    return paint_centered(
        painter, text, box, size, colour,
        styled_text_format(painter.resources, static_cast<float>(size), UiTextStyle::Body, current_language()));
}

Status paint_plain_text_centered(Painter& painter, std::string_view text, const Box& box, double size,
                                 Rgb colour) {
    return paint_centered(painter, text, box, size, colour,
                          ui_text_format(painter.resources, static_cast<float>(size), current_language()));
}

Status paint_text_on_baseline(Painter& painter, double scale, std::string_view text, double left, double right,
                              double bottom, double size, Rgb colour) {
    const UiTextStyle style = size == kStrongDesignSize ? UiTextStyle::Strong : UiTextStyle::Body;
    auto format =
        styled_text_format(painter.resources, static_cast<float>(size * scale), style, current_language());
    if (!format) return std::move(format).failure();
    auto line = measure_text(painter.resources, "X", format->get(), false, 0.0f);
    if (!line) return std::move(line).failure();
    painter.fill_record.reset();
    draw_text_in_rect(painter.target, painter.brush.get(), text, {left, bottom - line->h, right, bottom},
                      format->get(), {colour, 1.0f});
    return ok_status();
}

Status draw_ui_text(Painter& painter, std::string_view text, const Box& rect, double size, PaintColour colour) {
    auto format = ui_text_format(painter.resources, static_cast<float>(size), current_language());
    if (!format) return std::move(format).failure();
    painter.fill_record.reset();
    draw_text_in_rect(painter.target, painter.brush.get(), text, rect, format->get(),
                      {colour.rgb(), colour.opacity});
    return ok_status();
}

Result<Size> measure_ui_text(Painter& painter, std::string_view text, double size) {
    auto format =
        styled_text_format(painter.resources, static_cast<float>(size), UiTextStyle::Body, current_language());
    if (!format) return std::move(format).failure();
    return measure_text(painter.resources, text, format->get(), false, 0.0f);
}

Result<Size> measure_annotation_text(RendererResources& resources, std::string_view text, double size, bool wrap,
                                     double wrap_width) {
    auto format = annotation_text_format(resources.dwrite_factory.get(), static_cast<float>(size));
    if (!format) return std::move(format).failure();
    return measure_text(resources, text, format->get(), wrap, static_cast<float>(wrap_width));
}

}  // namespace glimmerly
