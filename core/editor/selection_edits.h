#pragma once
// Edits of the selected objects outside a pointer gesture (arrow keys,
// Delete, colour, copy and paste), and mapping an object from one box into
// another for the gestures. Moving an object and settling a line's ends live
// with the scene (object_transform.h), for the board and the formats too.
//
// Every edit of the editor state abandons a running gesture first, changes a
// copy-backed list in place and ends with `commit_objects`, so that it is one
// undo step, or none when nothing changed.

#include "core/document/geometry.h"
#include "core/document/object_transform.h"
#include "core/document/scene_object.h"

#include <span>
#include <unordered_set>
#include <vector>

namespace glimmerly {

struct EditorState;

// How far each paste in a row moves its copies beyond the previous one.
inline constexpr double kPasteShift = 16.0;

// Maps the object from the box `from` into the box `to` (both min and max
// corners), axis by axis; an axis of `from` thinner than 0.001 is shifted
// rather than stretched. Texts scale their letter size with the height
// (within 8..300) and wrapped labels change their wrap width instead. The
// rotation, width, colour, fills and id never change, and a mapping that
// would give a coordinate that is not finite leaves the object as it was.
void map_object_to_bounds(SceneObject& object, const Box& from, const Box& to);

// Moves the selected objects by the offset; nothing for an offset that is not
// finite.
void nudge_selection(EditorState& state, Point offset);

// Removes the objects with these ids and their ids from the selection; lines
// fastened to them keep their drawn ends and come loose. Records no step: the
// caller commits.
void delete_objects_by_ids(EditorState& state, std::span<const ObjectId> ids);
void delete_selection(EditorState& state);

// Gives the selected objects (blur objects aside) the current colour; during
// the drawing of a new object, that object instead, as part of its own step.
void apply_color_to_selection(EditorState& state);

// Copies of the selected objects in drawing order, with lines fastened to
// objects outside the selection set loose where they are drawn.
std::vector<SceneObject> selected_objects_for_copy(const EditorState& state);

// Adds copies of the objects on top, moved by the offset, under fresh ids, with
// their attachments and fills among themselves kept; they become the
// selection. False, with nothing changed, for an empty list, an offset that is
// not finite, or copies that would take the scene past what a stored scene
// may hold.
bool paste_objects(EditorState& state, std::span<const SceneObject> objects, Point offset);

}  // namespace glimmerly
