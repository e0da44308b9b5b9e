#pragma once
// The fill tool: a click colours what lies under the pointer (an object's
// outline, the inside of a rectangle or an ellipse, or the background), each
// area cut back by the shapes drawn over it; a clear click removes the fill
// found there. A fill is stored as the ids of the shapes that bound it and is
// recomputed from them whenever it is drawn or tested, so it follows the
// shapes when they move.

#include "core/document/scene_object.h"

#include <cstddef>
#include <optional>
#include <variant>
#include <vector>

namespace glimmerly {

struct EditorState;

// A new region of the background, bounded by the shapes it names.
struct NewBackgroundRegion {
    std::vector<ObjectId> ids;
    Rgb color;
    friend bool operator==(const NewBackgroundRegion&, const NewBackgroundRegion&) = default;
};

// A new region inside the object at `index`, cut by the shapes it names.
struct NewObjectRegion {
    std::size_t index = 0;
    std::vector<ObjectId> ids;
    Rgb color;
    friend bool operator==(const NewObjectRegion&, const NewObjectRegion&) = default;
};

// The object at `index` takes the colour itself.
struct Outline {
    std::size_t index = 0;
    Rgb color;
    friend bool operator==(const Outline&, const Outline&) = default;
};

// A region already there, to be removed: in the fill list of the object at
// `owner`, or of the background when there is no owner.
struct ExistingRegion {
    std::optional<std::size_t> owner;
    std::size_t region = 0;
    friend bool operator==(const ExistingRegion&, const ExistingRegion&) = default;
};

using FillTarget = std::variant<NewBackgroundRegion, NewObjectRegion, Outline, ExistingRegion>;

// What a fill click (or with `clear`, a clearing click) at the point would
// change; none when it would change nothing. Also drives the hover preview.
std::optional<FillTarget> fill_target_at(const EditorState& state, Point point, bool clear);

// Performs the click as one undo step. A point that is not finite changes
// nothing and leaves a running gesture running; otherwise the gesture is
// abandoned first.
void apply_fill_at(EditorState& state, Point point, bool clear);

}  // namespace glimmerly
