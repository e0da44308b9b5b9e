#pragma once
// The custom-colour popup: a hue ring around a saturation/value square, with
// the colour's code. The dispatcher opens it with the custom colour, the
// pointer handlers press and drag in it, and the renderer draws it from the
// `ColourPicker` record alone.
//
// Design geometry, in units of the 260 x 316 popup (times its scale on
// screen): the ring is centred at (130, 144) between radii 82 and 100; the
// square spans x 75..185 and y 89..199, saturation growing to the right and
// value upwards.

#include "core/editor/editor_state.h"

#include <string>

namespace glimmerly {

inline constexpr double kPickerWidth = 260.0;
inline constexpr double kPickerHeight = 316.0;

// The colour as "#" and six upper-case hexadecimal digits, as the clipboard
// and the picker show it.
std::string colour_code(Rgb colour);

// A popup showing `start` with its corner at the anchor, scaled to the
// interface scale but never beyond the frame, and pushed inside the frame.
ColourPicker open_colour_picker(Rgb start, Point anchor, double frame_width, double frame_height,
                                double interface_scale);

// Whether a press at the point belongs to the popup (edges count). A press on
// the ring or the square starts dragging it and applies the point at once.
bool picker_hit_test(ColourPicker& picker, Point point);
// Applies a pointer position to the part being dragged; the ring follows the
// angle at any distance once its drag has started.
void picker_drag(ColourPicker& picker, Point point);

// The picker's current colour. Components that are not numbers count as 0.
Rgb hsv_to_rgb(const ColourPicker& picker);

}  // namespace glimmerly
