#pragma once
// Where an object is: its boxes, its turned corners, the points of its drawn
// outline and, for lines, the ends after attachments and elbow routing.
// Drawing, hit testing, the fill tool, selection frames and the document
// writer all ask here, so they agree on every pixel.
//
// Everything is a pure function of the object and, where attachments matter,
// of the scene's object list in stored order (targets are found by id, first
// match). Nothing here fails: a degenerate or non-finite object gives an empty
// or zero result, which callers treat as nothing found. Boxes are always
// finite; one that would not be is the zero box.

#include "core/document/scene_object.h"

#include <array>
#include <concepts>
#include <cstddef>
#include <optional>
#include <ranges>
#include <span>
#include <unordered_map>
#include <utility>
#include <vector>

namespace glimmerly {

using Polyline = std::vector<Point>;

// One run of a stroke drawn with one width (the highlighter factor applied).
struct StrokePiece {
    std::vector<Point> points;
    double width = 0.0;

    friend bool operator==(const StrokePiece&, const StrokePiece&) = default;
};

// One end of an elbow line. The direction, present only for an attached end,
// is the outward unit normal of the target's side it leaves from, turned with
// the target.
struct ElbowEnd {
    Point point;
    std::optional<Point> direction;

    friend bool operator==(const ElbowEnd&, const ElbowEnd&) = default;
};

struct LineEnds {
    Point from;
    Point to;

    friend bool operator==(const LineEnds&, const LineEnds&) = default;
};

// Line ends closer than this are one point: the line has no direction.
inline constexpr double kMinLineLength = 0.001;
// The head of an arrow is this many times its width long.
inline constexpr double kArrowHeadFactor = 3.84;
// Highlighter strokes are drawn this many times wider than the pen.
inline constexpr double kHighlighterFactor = 5.0;

Point rotate_point(Point p, Point centre, double angle);
Point box_centre(const Box& box);
Box grow_box(const Box& box, double by);

// The first object of the list with the id, or null.
const SceneObject* find_object(std::span<const SceneObject> objects, ObjectId id);

// Where each id first occurs in a list of objects: built once per paint, it
// spares every attached line a search of the whole scene.
class ObjectIndex {
public:
    explicit ObjectIndex(std::span<const SceneObject> objects);
    std::optional<std::size_t> position(ObjectId id) const;

private:
    std::unordered_map<ObjectId, std::size_t> first_;
};

// The scene objects that attachments are resolved against. Built from a list
// alone it searches from the front; with an index over the same list it looks
// the id up (and searches after all should the index not fit the list).
class SceneObjects {
public:
    SceneObjects() = default;
    // Any contiguous list: a vector, a span, the editor's own list.
    template <class List>
        requires std::ranges::contiguous_range<const List> &&
                 std::same_as<std::ranges::range_value_t<const List>, SceneObject>
    SceneObjects(const List& objects) : objects_(std::ranges::data(objects), std::ranges::size(objects)) {}
    SceneObjects(std::span<const SceneObject> objects, const ObjectIndex& index)
        : objects_(objects), index_(&index) {}

    std::span<const SceneObject> list() const { return objects_; }
    const SceneObject* find(ObjectId id) const;

private:
    std::span<const SceneObject> objects_;
    const ObjectIndex* index_ = nullptr;
};

// The object's own box before rotation; attachments are not resolved.
Box object_bounds(const SceneObject& object);
// The point turned back into the object's own frame, as an offset from the
// centre of its box.
Point offset_in_object(const SceneObject& object, Point point);
// The box of the quadratic curve a bent line is drawn as; none when an end is
// not finite.
std::optional<Box> bend_curve_bounds(Point from, Point to, Point bend);
// The bend curve's control point: the curve passes through the bend point at
// its middle.
Point bend_control_point(Point from, Point to, Point bend);
Box rotated_object_bounds(const SceneObject& object);
// Where the object really is on screen: lines with their attachments and
// elbow routes resolved.
Box object_bounds_in_scene(const SceneObject& object, SceneObjects objects);

// A line's ends after attachments; none for other kinds.
std::optional<LineEnds> resolve_arrow_ends(const SceneObject& object, SceneObjects objects);
// The point on the target's outline (pushed out by half its width plus the
// inset) in the attachment's direction; none when the target is missing.
std::optional<Point> attachment_point(const ObjectAttachment& attachment, SceneObjects objects, double inset);

// Both ends of an elbow line; none unless the object is an elbow line.
std::optional<std::pair<ElbowEnd, ElbowEnd>> resolve_elbow_ends(const SceneObject& object,
                                                                SceneObjects objects);
ElbowEnd elbow_end_on_side(const SceneObject& target, Point toward, double inset);
// Slides an attached end along its side into line with the other end, so
// that a nearly straight connector becomes straight. True when it moved.
bool align_elbow_end(ElbowEnd& end, const SceneObject& target, Point other, double tolerance);
// The orthogonal route from the start to the end; `stub` is how far the route
// leaves an attached end before its first turn.
std::vector<Point> route_elbow(const ElbowEnd& start, const ElbowEnd& end, double stub);
// The route with its inner corners rounded; none unless the object is an
// elbow line.
std::optional<Polyline> elbow_polyline(const SceneObject& object, SceneObjects objects);

// A stroke cut into runs of equal width, pen corners rounded; empty for
// anything but a stroke of at least two finite points.
std::vector<StrokePiece> flatten_path(const SceneObject& object);

// The drawn outline. Rectangles and ellipses give one closed polyline, strokes
// one per piece, texts and blur objects none. A line gives its shaft as
// polyline 0 and, with a head, the closed head triangle as polyline 1; the
// shaft stays in place (empty) when the arrow is too short for one, so the
// head is always polyline 1.
std::vector<Polyline> build_object_geometry(const SceneObject& object, SceneObjects objects);

// Top-left, top-right, bottom-right, bottom-left, turned about the centre.
std::array<Point, 4> rotated_rect_corners(const Box& box, double angle);
// The same for the box grown by `margin`, turned about the unchanged centre.
std::array<Point, 4> rotated_rect_corners_offset(const Box& box, double angle, double margin);

}  // namespace glimmerly
