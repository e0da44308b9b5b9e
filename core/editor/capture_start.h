#pragma once
// The editing state a new capture starts with: the frozen frame, the
// monitors it spans with one unzoomed view each, and what the user's
// settings bring to it.

#include <vector>

#include "core/base/pixel_rect.h"
#include "core/base/result.h"
#include "core/document/scene.h"
#include "core/editor/editor_state.h"
#include "core/image/bgra_image.h"
#include "core/settings/settings.h"

namespace glimmerly {

// Every field at its start value, the frame moved in. `monitors` are in
// frame pixels (the virtual screen's top-left corner at 0,0).
EditorState new_capture_state(BgraImage frame, std::vector<MonitorArea> monitors);

// An opened document's state, in a window of `window` size that shows the
// frame with its top-left corner at `at`, the region chosen and the tools
// ready. A window larger than the frame gets a frame of its own size: the
// document's pixels at `at` over a black margin that the dimming shades like
// any unselected part, the objects and the region moved with them, and the
// document's area remembered so that a save leaves the margin out.
// `monitors` are in window pixels. E_OUTOFMEMORY when the grown frame cannot
// be had.
Result<EditorState> new_document_state(Scene scene, BgraImage frame, FrameSize window, PixelPoint at,
                                       std::vector<MonitorArea> monitors);

// The remembered tool sizes and the toolbar's form. A toolbar that starts
// collapsed offers only the pen, so the pen is the tool then (never on a
// board page).
void apply_capture_settings(EditorState& state, const Settings& settings);

}  // namespace glimmerly
