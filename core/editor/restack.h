#pragma once
// Page Up and Page Down: the selected objects move forward (towards the end
// of the list, drawn on top) or back, one step past the nearest object that
// overlaps them, or with Shift all the way to the front or back. The selected
// objects keep their own order and move as one block; a change of order is
// one undo step.

namespace glimmerly {

struct EditorState;

// Abandons a running gesture first. Changes nothing when nothing is selected
// or, one step at a time, when no other object overlaps the selection on the
// way.
void restack_selection(EditorState& state, bool forward, bool all_the_way);

}  // namespace glimmerly
