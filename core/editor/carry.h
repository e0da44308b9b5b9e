#pragma once
// Taking the annotations of one part of a capture along when that part is
// written out on its own (the editable document keeps only the frame area
// around the selection): the objects that can show there are copied, lines
// fastened to objects left behind are set loose where they are drawn, and
// the copies are moved into the part's own coordinates.

#include "core/document/geometry.h"
#include "core/document/scene_object.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <unordered_set>
#include <vector>

namespace glimmerly {

// A part of the frame in whole pixels.
struct PixelArea {
    std::uint32_t left = 0;
    std::uint32_t top = 0;
    std::uint32_t width = 0;
    std::uint32_t height = 0;

    Box box() const;
    Point top_left() const;

    friend bool operator==(const PixelArea&, const PixelArea&) = default;
};

// The whole pixels that an area of the frame touches, within the frame: its
// edges rounded outward and clamped to the frame's size. None when an edge is
// NaN or nothing of it lies in the frame.
//
// A part written out on its own must move its pixels, its objects, its
// selected region and its screen origin by this one top-left. Moving the
// objects by a fractional corner while the pixels are copied from a whole one
// would shift every annotation against the picture by the fraction.
std::optional<PixelArea> whole_pixel_area(const Box& area, std::uint32_t frame_width, std::uint32_t frame_height);

// The carried copies of the objects that can show in `rect`, in drawing
// order, handed out one at a time. An object goes along when its on-screen
// bounds grown by 4 x its width meet the rectangle (touching counts). A line
// fastened to an object outside `ids` keeps its drawn ends and comes loose.
// With an offset, each copy is moved by it.
class ClippedObjects {
public:
    ClippedObjects(std::span<const SceneObject> objects, const Box& rect, std::span<const ObjectId> ids,
                   std::optional<Point> offset);

    // The next carried copy; none at the end of the list.
    std::optional<SceneObject> next();

private:
    std::span<const SceneObject> objects_;
    Box rect_;
    std::unordered_set<ObjectId> ids_;
    std::optional<Point> offset_;
    ObjectIndex index_;
    std::size_t next_ = 0;
};

// `objects` must outlive the sequence; the offset is used only when `move`
// is set.
ClippedObjects clip_objects_to_rect(std::span<const SceneObject> objects, const Box& rect,
                                    std::span<const ObjectId> ids, bool move, Point offset);

// A copy of the list in order, without its blur objects when asked.
std::vector<SceneObject> objects_without_blur(std::span<const SceneObject> objects, bool leave_out_blur);

}  // namespace glimmerly
