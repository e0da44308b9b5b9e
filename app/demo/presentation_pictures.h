#pragma once
// The presentation pictures of "--render-demo": the real presentation layers
// drawn hidden and composited over a page, and the keys-and-mouse display
// on its layouts. Written to "target/" of the current directory.

#include "app/render/renderer_resources.h"
#include "core/base/result.h"

namespace glimmerly {

// "glimmerly-presentation.png" (960 x 540), "glimmerly-keyboard-ansi.png"
// (520 x 140), then the layouts picture; a picture already written stays
// when a later one fails. Everything is drawn through the factories of
// `sharing`.
Status render_interface_with_tools(const RendererResources& sharing);

// "glimmerly-keyboard-layouts.png" (640 x 570): the keyboard alone, the
// mouse alone, and both on the US and on the other layout.
Status render_keyboard_layouts(const RendererResources& sharing);

}  // namespace glimmerly
