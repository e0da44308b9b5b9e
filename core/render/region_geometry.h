#pragma once
// The areas of fill regions. A fill region is its base shape (an object's
// outline, or the whole picture for the background) minus the rectangles and
// ellipses it names that lie above it. Direct2D cuts these with its own
// geometry combination; where the platform cannot (Wine answers E_NOTIMPL),
// the cut is made here instead, as plain polygons.

#include <array>
#include <cstddef>
#include <span>
#include <vector>

#include "core/document/geometry.h"

namespace glimmerly {

// The outlines of the rectangles and ellipses at or after `from` whose ids the
// region names, in list order, resolved against the whole list.
std::vector<Polyline> collect_region_boundaries(const FillRegion& region, std::span<const SceneObject> objects,
                                                std::size_t from);

// The rectangle shrunk by 3 units on every side, as five points with the
// first repeated: the editor view adds it as a boundary of fill regions.
std::array<Point, 5> inset_rect_outline(const Box& rect, double unit);

// The area inside `subject` and outside every hole, as four-cornered figures
// (trapezoids between horizontal lines) that do not overlap, each wound
// clockwise on screen. Polygons are closed implicitly; inside means a nonzero
// winding number, so either orientation works. A polygon with a value that is
// not finite is left out: as the subject it leaves nothing, as a hole it cuts
// nothing.
std::vector<Polyline> subtract_polygons(std::span<const Point> subject, std::span<const Polyline> holes);

// The area that figures wound one way cover together, as such trapezoids.
std::vector<Polyline> merge_polygons(std::span<const Polyline> figures);

}  // namespace glimmerly
