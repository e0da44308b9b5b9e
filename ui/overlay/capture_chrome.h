#pragma once
// The capture chrome: what floats over the capture in window pixels, drawn
// once per frame after the scene passes with no zoom. The toolbar with its
// buttons and tooltips, the size panel with the selection's size, the prompt
// before a region is chosen, the brush circle with its width label and the
// wheel hint, the eyedropper's magnifier and the custom-colour popup. The
// layout is the editor's (core/editor) and the looks are decided in
// core/render/chrome_paint.h; this draws them.

#include <string_view>

#include "app/render/painting_kit.h"
#include "core/editor/editor_state.h"

namespace glimmerly {

// Also starts the toolbar's highlights for what changed since the last
// frame. The first failure ends the pass and is returned; what was drawn
// stays.
Status draw_capture_chrome(EditorState& state, Painter& painter, ChromeClock::time_point now);

// A dark box of one line beside the pointer, shifted right by `shift`
// pixels and kept inside the frame.
Status draw_pointer_hint(const EditorState& state, Painter& painter, std::string_view text, double shift);

}  // namespace glimmerly
