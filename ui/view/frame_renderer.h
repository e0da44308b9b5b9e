#pragma once
// One whole frame of the capture editor onto a device context: the frozen
// picture, the scene with its overlay, and the chrome. Without zoomed
// monitors the frame is one pass over the whole window; with any zoomed
// monitor each monitor's view is its own pass, clipped to the view and drawn
// through its zoom and pan. A lost Direct2D device is rebuilt once.

#include <windows.h>

#include <functional>
#include <optional>

#include "core/base/result.h"
#include "core/editor/editor_state.h"

namespace glimmerly {

struct FrameOptions {
    ChromeClock::time_point now;  // for the caret's blink and the toolbar's highlights
    // Sees each EndDraw's result and may stand in another: tests play a lost
    // device through it. None in the program.
    std::function<HRESULT(HRESULT)> end_draw;
    // The part of the frame to draw (a window's invalid rectangle); the whole
    // frame without one. Its pixels come out as in a whole frame, and the
    // DC's pixels outside it are left as they are.
    std::optional<RECT> area;
};

// Draws the frame through the DC render target of the state's renderer
// resources, into `dc` (a memory surface the caller then presents), or only
// the options' area of it, clipped to the frame (an empty one draws nothing).
// When
// drawing reports D2DERR_RECREATE_TARGET the resources are built again (with
// the same background and overlay image), put in the state in place of the
// old ones, and the frame is drawn once more; a second loss is returned.
// Fails without drawing when the state has no renderer resources yet.
Status render_frame(EditorState& state, HDC dc, const FrameOptions& options);

// Measures the size panel's label for the layout (none without a selection).
Status layout_dimension_fields(EditorState& state);

}  // namespace glimmerly
