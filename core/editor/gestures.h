#pragma once
// Pointer gestures: everything that happens to the objects between a press
// of the left button on the capture and its release. Drawing a new object,
// moving, resizing or turning the selection, dragging a line's end or bending
// it, spanning a marquee and erasing all edit the live object list on every
// move, so that each frame shows the result, while the list as it was at the
// press waits in `saved_objects`; the release records the difference as one
// undo step. `cancel_gesture` (editor_state.h) puts the saved list back.
//
// Nothing else may change the object list while a gesture runs: the line
// gestures hold the line's position in the list.

#include "core/document/scene_object.h"
#include "core/editor/editor_state.h"

#include <cstddef>
#include <optional>
#include <span>

namespace glimmerly {

// On press, with the modifiers held then. A press while a gesture runs (a
// release that never arrived) abandons that one first. Positions that are
// not finite are ignored, here and in the other calls.
void begin_gesture(EditorState& state, Point point, PointerModifiers modifiers);
// On every move while the button is down, and again with the same point when
// a modifier key changes, so that Shift, Alt and Ctrl act during the drag.
void continue_gesture(EditorState& state, Point point);
// On release: one undo step when the objects changed, none otherwise.
void finish_gesture(EditorState& state);
// Starts turning the selection about its frame's centre (a press on the
// rotation handle).
void begin_rotate_selection(EditorState& state, Point point);

// Stores the modifier keys held now in the running gesture; the editor calls
// it before `continue_gesture` on pointer moves and key changes.
void set_gesture_modifiers(EditorState& state, PointerModifiers modifiers);

// What a line end dropped at the point fastens to: the topmost rectangle,
// ellipse (their boxes grown by half their width) or label among the first
// `count` objects whose turned box holds it. The offset is taken from the
// target's centre in its own unturned frame.
std::optional<ObjectAttachment> find_attachment_at(Point point, std::span<const SceneObject> objects,
                                                   std::size_t count);
// The same for an elbow connector's end, which snaps to outlines within the
// tolerance (and to filled insides) rather than to whole boxes, and never to
// the object its other end leaves from.
std::optional<ObjectAttachment> find_elbow_attachment(Point point, std::span<const SceneObject> objects,
                                                      std::size_t count, std::optional<ObjectId> excluded,
                                                      double tolerance);

// The bend that makes a line from `from` to `to` pass through p at its
// middle: along the line and across it, in units of its length.
Point bend_from_point(Point from, Point to, Point p);

// Turns an object by the angle about a centre: the points of lines and
// strokes, the centre of any other object's box (which then keeps its
// rotation in 0..2 pi, except blur objects, which cannot turn).
void rotate_object(SceneObject& object, Point centre, double angle);

}  // namespace glimmerly
