#pragma once
// Direct2D path geometries from the scene's polylines, and the two shapes
// built with geometry operations that some platforms lack: a stroke's outline
// (Widen) and an area with holes cut out (CombineWithGeometry). The real call
// is always made first; only when the platform answers E_NOTIMPL (Wine does)
// is the same area built from polygons computed in the core.

#include <d2d1.h>

#include <span>

#include "app/render/renderer_resources.h"
#include "core/editor/editor_state.h"

namespace glimmerly {

// One figure through the points (narrowed to f32). A closed figure ends
// CLOSED; a filled one begins FILLED, else HOLLOW. WINDING fill mode.
Result<win::ComPtr<ID2D1PathGeometry>> polyline_geometry(ID2D1Factory* factory, std::span<const Point> points,
                                                         bool filled, bool closed);

// A filled, closed figure through the points; an empty path for no points.
Result<win::ComPtr<ID2D1PathGeometry>> closed_polygon_geometry(ID2D1Factory* factory,
                                                               std::span<const Point> points);

// Every dash as an open, hollow figure of its own: stroked, the same lines as
// one DrawLine per dash, in one call.
Result<win::ComPtr<ID2D1PathGeometry>> dashes_geometry(ID2D1Factory* factory, std::span<const Dash> dashes);

// Filled, closed figures under the WINDING rule: where figures overlap the
// area is covered once.
Result<win::ComPtr<ID2D1PathGeometry>> figures_geometry(ID2D1Factory* factory, std::span<const Polyline> figures);

// `base` (whose outline is `base_outline`) with each hole removed in turn
// (EXCLUDE, flattening tolerance 0.25); `base` itself without holes.
Result<win::ComPtr<ID2D1Geometry>> exclude_polygons(ID2D1Factory* factory, ID2D1Geometry* base,
                                                    std::span<const Point> base_outline,
                                                    std::span<const Polyline> holes);

// The whole outline of a stroke: every piece widened with its own width and
// round caps and joins (flattening tolerance 0.1) into one geometry.
Result<win::ComPtr<ID2D1Geometry>> stroke_outline_geometry(ID2D1Factory* factory, ID2D1StrokeStyle* round,
                                                           std::span<const StrokePiece> pieces);

}  // namespace glimmerly
