#pragma once
// What lies under the pointer: outlines within a tolerance, the insides of
// rectangles and ellipses, the parts of them a fill region colours, what a
// marquee takes, which label offers its handles, and where the selected
// line's bend handle sits. Everything here reads the objects and the editor
// state and changes nothing; the geometry comes from core/document/geometry.h
// so that what is hit is exactly what is drawn.

#include "core/document/geometry.h"
#include "core/document/scene_object.h"

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

namespace glimmerly {

struct EditorState;

// Distance from p to the segment a-b; a segment shorter than the f64 epsilon
// (squared length below it) is its start point.
double distance_to_segment(Point p, Point a, Point b);

// Whether the point touches the object's drawn outline within `tolerance`.
// Lines, strokes and ellipses add half their own width; a rectangle does not
// (the fill tool adds it itself); texts are hit anywhere inside their box and
// blur objects inside their rectangle grown by the tolerance.
bool hit_object_outline(const SceneObject& object, Point point, double tolerance, SceneObjects objects);

// Whether the point lies inside a rectangle or an ellipse, up to the outer
// edge of its outline; false for every other kind and for a shape thinner
// than 0.001.
bool hit_object_interior(const SceneObject& object, Point point);

// Which region of an owner's fill list holds the point: the latest region
// whose area (the owner's inside minus the insides of the rectangles and
// ellipses it names among `objects[first..]`) contains it. With no cutting
// candidates at all the latest region wins; none when there are no regions
// or every region is cut away at the point. `first` is the owner's index + 1,
// or 0 for the background's list.
std::optional<std::size_t> fill_region_at(std::span<const FillRegion> regions, Point point,
                                          std::span<const SceneObject> objects, std::size_t first);

// The objects a finished marquee takes, in drawing order: those whose on-screen
// bounds lie wholly inside it (edges may touch) and that are not selected yet.
std::vector<ObjectId> ids_in_rect(const EditorState& state, const Box& marquee);

// The label whose width handle area holds the point: the single selected
// label wherever the point is; otherwise, with the select or arrow tool, the
// topmost label whose bounds grown by 22 x the interface scale hold it. None
// while a gesture runs.
std::optional<ObjectId> hit_text_width_handle(const EditorState& state, Point point);

struct SelectedArrow {
    std::size_t index = 0;  // in the object list
    Point bend_handle;      // where the curve passes at its middle

    friend bool operator==(const SelectedArrow&, const SelectedArrow&) = default;
};

// The line whose bend handle is offered: the single selected line with the
// select tool, or the line drawn last with the line and arrow tools while no
// gesture runs. None for elbow lines, which are routed rather than bent.
std::optional<SelectedArrow> selected_arrow_ends(const EditorState& state);

}  // namespace glimmerly
