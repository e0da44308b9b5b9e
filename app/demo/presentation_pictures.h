#pragma once
// The presentation pictures of "--render-demo": the real presentation layers
// drawn hidden and composited over a page, and the keys-and-mouse display
// on its layouts. Written to "target/" of the current directory.

#include "core/base/result.h"

namespace glimmerly {

// "glimmerly-presentation.png" (960 x 540), "glimmerly-keyboard-ansi.png"
// (520 x 140), then the layouts picture; a picture already written stays
// when a later one fails.
Status render_interface_with_tools();

// "glimmerly-keyboard-layouts.png" (640 x 570): the keyboard alone, the
// mouse alone, and both on the US and on the other layout.
Status render_keyboard_layouts();

}  // namespace glimmerly
