#pragma once
// One scene pass of the editor frame: everything that lives in the frozen
// picture's coordinates, drawn under the pass's transform (identity, or a
// monitor's zoom and pan). In order: the blurred regions, the shade outside
// the selection, the background fills, the objects, the live text, and the
// editing overlay (selection border and handles, fill preview, erase and
// hover outlines, the selected objects' frame and handles, label connector
// points, the marquee).

#include "app/render/painting_kit.h"
#include "core/editor/editor_state.h"

namespace glimmerly {

// `unit` turns interface units into drawing units for this pass (the
// monitor's scale over its zoom), so handles keep their size on screen;
// `zoomed` smooths the cached object layer. The first failure ends the
// drawing and is returned; blurred pieces already made stay cached.
Status draw_scene(EditorState& state, Painter& painter, double unit, bool zoomed, ChromeClock::time_point now);

}  // namespace glimmerly
