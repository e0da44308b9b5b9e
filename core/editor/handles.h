#pragma once
// Where the selection's handles are and which one is under the pointer: the
// corner handles of the selection frame, the rotation handle above it, the
// end and bend handles of a single selected line, and the four connector
// points around a label from which a callout is drawn. A press asks here what
// gesture it starts; the overlay draws the handles at the same places and the
// editor picks its pointer shape from them. Nothing here changes the state.

#include "core/document/geometry.h"
#include "core/document/scene_object.h"
#include "core/editor/editor_state.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace glimmerly {

// In interface units (multiplied by the interface scale).
inline constexpr double kHandleRadius = 9.0;
inline constexpr double kRotationHandleLift = 28.0;
inline constexpr double kConnectorOffset = 12.0;
inline constexpr double kPickTolerance = 7.0;

// The selection's frame and its turn (radians) about the frame's centre.
struct SelectionFrame {
    Box box;
    double rotation = 0.0;

    friend bool operator==(const SelectionFrame&, const SelectionFrame&) = default;
};

inline constexpr std::uint8_t kNoHandle = 255;

// The handle under the pointer, as the gesture a press on it starts
// (Rotate, Resize, ArrowEnd or ArrowBend with its payload); absent for none.
struct HandleHit {
    std::optional<GesturePayload> gesture;

    // The gesture kind's value, or kNoHandle.
    std::uint8_t kind() const { return gesture ? static_cast<std::uint8_t>(gesture->index()) : kNoHandle; }
};

// The union of the on-screen bounds of every selected object; none when no
// selected id names an object.
std::optional<Box> selected_objects_bounds(const EditorState& state);

// A single turned object keeps its own turned frame; a line, or several
// objects, get their axis-aligned bounds.
std::optional<SelectionFrame> selection_frame(const EditorState& state);
// The frame a single object with that id would have when selected.
std::optional<SelectionFrame> object_frame_by_id(std::span<const SceneObject> objects, ObjectId id);

// Above the frame's top edge, turned with the frame; none when nothing but
// blur objects is selected (they cannot turn).
std::optional<Point> rotation_handle_position(const EditorState& state);

// The first that applies: the rotation handle, an end or the bend handle of
// a single selected line, a corner of the frame.
HandleHit hit_selection_handles(const EditorState& state, Point point);

// The connector points of an object: the middles of the top, right, bottom
// and left sides of its bounds grown by 12 units, turned with the object.
std::optional<std::array<Point, 4>> object_handle_frame(const EditorState& state, ObjectId id);

// The label whose connector point is under the pointer, from which a press
// draws a callout; none when a selection handle is there first.
std::optional<ObjectId> hover_target_at(const EditorState& state, Point point);

// The topmost object under the point: on its outline within 7 units, or in
// a fill region of its inside.
std::optional<ObjectId> object_at_point(const EditorState& state, Point point);

// The running marquee's rectangle; none unless a marquee gesture runs.
std::optional<Box> marquee_rect(const EditorState& state);

}  // namespace glimmerly
