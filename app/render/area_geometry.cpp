#include "app/render/area_geometry.h"

#include "core/render/region_geometry.h"
#include "core/render/stroke_cover.h"

namespace glimmerly {

namespace {

using win::ComPtr;

constexpr float kCombineTolerance = 0.25f;
constexpr float kWidenTolerance = 0.1f;

struct OpenPath {
    ComPtr<ID2D1PathGeometry> path;
    ComPtr<ID2D1GeometrySink> sink;
};

Result<OpenPath> open_path(ID2D1Factory* factory) {
    OpenPath open;
    GLIM_TRY(made(factory->CreatePathGeometry(open.path.put()), open.path, "CreatePathGeometry"));
    GLIM_TRY(made(open.path->Open(open.sink.put()), open.sink, "ID2D1PathGeometry::Open"));
    open.sink->SetFillMode(D2D1_FILL_MODE_WINDING);
    return open;
}

void add_figure(ID2D1GeometrySink* sink, std::span<const Point> points, bool filled, bool closed) {
    sink->BeginFigure(d2d_point(points[0]), filled ? D2D1_FIGURE_BEGIN_FILLED : D2D1_FIGURE_BEGIN_HOLLOW);
    for (std::size_t i = 1; i < points.size(); ++i) sink->AddLine(d2d_point(points[i]));
    sink->EndFigure(closed ? D2D1_FIGURE_END_CLOSED : D2D1_FIGURE_END_OPEN);
}

Status close_sink(ID2D1GeometrySink* sink) {
    const HRESULT hr = sink->Close();
    if (FAILED(hr)) return win::hr_failure(hr, "ID2D1GeometrySink::Close");
    return ok_status();
}

Result<ComPtr<ID2D1Geometry>> as_geometry(Result<ComPtr<ID2D1PathGeometry>> path) {
    if (!path) return std::move(path).failure();
    return ComPtr<ID2D1Geometry>::share(path->get());
}

}  // namespace

Result<ComPtr<ID2D1PathGeometry>> polyline_geometry(ID2D1Factory* factory, std::span<const Point> points,
                                                    bool filled, bool closed) {
    auto open = open_path(factory);
    if (!open) return std::move(open).failure();
    if (!points.empty()) add_figure(open->sink.get(), points, filled, closed);
    GLIM_TRY(close_sink(open->sink.get()));
    return std::move(open->path);
}

Result<ComPtr<ID2D1PathGeometry>> closed_polygon_geometry(ID2D1Factory* factory, std::span<const Point> points) {
    return polyline_geometry(factory, points, true, true);
}

Result<ComPtr<ID2D1PathGeometry>> dashes_geometry(ID2D1Factory* factory, std::span<const Dash> dashes) {
    auto open = open_path(factory);
    if (!open) return std::move(open).failure();
    for (const Dash& dash : dashes) {
        open->sink->BeginFigure(d2d_point(dash.from), D2D1_FIGURE_BEGIN_HOLLOW);
        open->sink->AddLine(d2d_point(dash.to));
        open->sink->EndFigure(D2D1_FIGURE_END_OPEN);
    }
    GLIM_TRY(close_sink(open->sink.get()));
    return std::move(open->path);
}

Result<ComPtr<ID2D1PathGeometry>> figures_geometry(ID2D1Factory* factory, std::span<const Polyline> figures) {
    auto open = open_path(factory);
    if (!open) return std::move(open).failure();
    for (const Polyline& figure : figures)
        if (!figure.empty()) add_figure(open->sink.get(), figure, true, true);
    GLIM_TRY(close_sink(open->sink.get()));
    return std::move(open->path);
}

Result<ComPtr<ID2D1Geometry>> exclude_polygons(ID2D1Factory* factory, ID2D1Geometry* base,
                                               std::span<const Point> base_outline,
                                               std::span<const Polyline> holes) {
    ComPtr<ID2D1Geometry> current = ComPtr<ID2D1Geometry>::share(base);
    for (const Polyline& hole : holes) {
        auto polygon = closed_polygon_geometry(factory, hole);
        if (!polygon) return std::move(polygon).failure();
        auto open = open_path(factory);
        if (!open) return std::move(open).failure();
        const HRESULT hr = current->CombineWithGeometry(polygon->get(), D2D1_COMBINE_MODE_EXCLUDE, nullptr,
                                                        kCombineTolerance, open->sink.get());
        if (hr == E_NOTIMPL) return as_geometry(figures_geometry(factory, subtract_polygons(base_outline, holes)));
        if (FAILED(hr)) return win::hr_failure(hr, "CombineWithGeometry");
        GLIM_TRY(close_sink(open->sink.get()));
        current = ComPtr<ID2D1Geometry>::share(open->path.get());
    }
    return current;
}

Result<ComPtr<ID2D1Geometry>> stroke_outline_geometry(ID2D1Factory* factory, ID2D1StrokeStyle* round,
                                                      std::span<const StrokePiece> pieces) {
    auto whole = open_path(factory);
    if (!whole) return std::move(whole).failure();
    for (const StrokePiece& piece : pieces) {
        if (piece.points.empty()) continue;
        auto shaft = polyline_geometry(factory, piece.points, false, false);
        if (!shaft) return std::move(shaft).failure();
        const HRESULT hr = (*shaft)->Widen(static_cast<float>(piece.width), round, nullptr, kWidenTolerance,
                                           whole->sink.get());
        if (hr == E_NOTIMPL) {
            std::vector<Polyline> figures;
            for (const StrokePiece& p : pieces)
                for (Polyline& figure : stroke_capsules(p.points, p.width, kWidenTolerance))
                    figures.push_back(std::move(figure));
            return as_geometry(figures_geometry(factory, merge_polygons(figures)));
        }
        if (FAILED(hr)) return win::hr_failure(hr, "Widen");
    }
    GLIM_TRY(close_sink(whole->sink.get()));
    return ComPtr<ID2D1Geometry>::share(whole->path.get());
}

}  // namespace glimmerly
