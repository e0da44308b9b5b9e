#pragma once
// Temporary shapes on the desktop: a shortcut arms an arrow, rectangle or
// ellipse, the shapes layer over the whole virtual screen then takes the
// mouse until one is dragged out, and the finished shape fades after the
// shape duration.

#include <windows.h>

#include "app/presentation/presentation.h"

namespace glimmerly {

struct ModifierKeys {
    bool ctrl = false, alt = false, shift = false, win = false;
};
ModifierKeys modifier_keys_down();

// The effective dpi / 96 of the monitor nearest the screen point.
double dpi_scale_at(POINT at);

// Arms `kind` while the temporary-shapes feature is on; nothing otherwise.
// A failure turns presentation mode off before it is returned.
Status arm_temporary_shape(PresentationState& state, TemporaryShapeKind kind);
// Ends the armed drawing: the layer clicks through again, the foreground
// goes back, and with no shape left the layer goes.
Status disarm_temporary_shape(PresentationState& state);

// Draws one shape into a layer whose draw has begun.
void draw_temporary_shape(PresentationLayer& layer, const SceneObject& object, float opacity, double head_size);
// The whole shapes-layer pass: cleared, every shape with its fade, the pending one on top.
Status render_shapes_layer(PresentationState& state, std::uint64_t now);

// The shapes layer's messages; none when the procedure's default answers.
std::optional<LRESULT> on_shapes_message(PresentationState& state, HWND window, UINT message, WPARAM wparam,
                                         LPARAM lparam, Status& failure);

// One tick's share: expired shapes removed, fading ones redrawn, the layer
// dropped once nothing is left.
void tick_temporary_shapes(PresentationState& state, std::uint64_t now);

}  // namespace glimmerly
