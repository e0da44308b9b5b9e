#pragma once
// The area a pen or highlighter stroke covers, built without the platform's
// outline widening: the union of round-capped segments. Direct2D's own
// widening is not available everywhere (Wine answers E_NOTIMPL), and a stroke
// must still draw; filled under the nonzero winding rule, these figures cover
// each pixel once however often the stroke crosses itself, so a translucent
// highlighter keeps one uniform colour.

#include <span>
#include <vector>

#include "core/document/geometry.h"

namespace glimmerly {

// One convex figure per segment (a disc for a single point or a segment of
// no length), every figure wound the same way: clockwise on screen, y down.
// Round ends are polygons whose chords stay within `tolerance` of the circle.
// Empty when the width is not above 0 or a value is not finite.
std::vector<Polyline> stroke_capsules(std::span<const Point> points, double width, double tolerance);

}  // namespace glimmerly
