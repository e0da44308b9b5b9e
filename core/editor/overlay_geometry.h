#pragma once
// Numbers the renderer needs for the capture chrome over the frame: the
// brush circle, the outline drawn around an object, and the eyedropper's
// magnifier box beside the pointer. The dashes of dashed outlines are
// `dash_polyline` (editor_state.h). All drawing is the renderer's.

#include "core/editor/editor_state.h"

#include <vector>

namespace glimmerly {

// The brush circle: its diameter on screen and the width it paints or
// erases in frame pixels. They differ for the eraser on a zoomed view.
struct BrushPreview {
    double screen_diameter = 0.0;
    double frame_width = 0.0;

    friend bool operator==(const BrushPreview&, const BrushPreview&) = default;
};
BrushPreview brush_preview_width(const EditorState& state);

// The outline drawn around an object: its own drawn outline where it has one
// (shapes, lines, strokes), else the frame of `object_outline_frame`.
std::vector<Polyline> object_outline_polylines(const EditorState& state, const SceneObject& object, double unit);

// The eyedropper's magnifier, 126 x 164 units, 24 units beside the pointer on
// the side where it fits, inside the frame.
Box place_magnifier_box(const EditorState& state);

}  // namespace glimmerly
