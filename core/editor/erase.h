#pragma once
// The eraser wipes along the pointer's path. Pen and highlighter strokes are
// cut, so only the part under the eraser goes and the rest survives as one or
// more strokes; every other object is taken whole as soon as the eraser
// touches it. The eraser gesture runs this once at the press (on the press
// point alone) and then for every pointer move, and the whole drag becomes
// one undo step at the release.

#include "core/document/scene_object.h"

namespace glimmerly {

struct EditorState;

// Wipes the eraser (its diameter is the state's eraser size) along a-b.
// Strokes are cut in the live object list at once. Objects taken whole are
// only listed in the running eraser gesture, each once in the order first
// touched, for its release to remove; without such a gesture they are left
// alone. Does nothing for a non-finite end or an eraser size that is not a
// finite number above 0.
void erase_segment(EditorState& state, Point a, Point b);

}  // namespace glimmerly
