#pragma once
// Sizes move in steps along a ladder of preferred values rather than by a
// fixed amount: a wheel notch or a size key goes to the next rung. A value
// between two rungs snaps to the neighbouring rung in the direction of
// travel; a value outside the ladder moves only toward it.

namespace glimmerly {

// 8 .. 300 in the text sizes people pick.
double step_text_size(double size, int notches);
// 1 .. 40, also used by the presentation mode's widths.
double step_stroke_width(double width, int notches);
// 4 .. 128, the eraser's diameters.
double step_eraser_size(double size, int notches);

}  // namespace glimmerly
