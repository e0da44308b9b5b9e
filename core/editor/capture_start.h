#pragma once
// The editing state a new capture starts with: the frozen frame, the
// monitors it spans with one unzoomed view each, and what the user's
// settings bring to it.

#include <vector>

#include "core/editor/editor_state.h"
#include "core/image/bgra_image.h"
#include "core/settings/settings.h"

namespace glimmerly {

// Every field at its start value, the frame moved in. `monitors` are in
// frame pixels (the virtual screen's top-left corner at 0,0).
EditorState new_capture_state(BgraImage frame, std::vector<MonitorArea> monitors);

// The remembered tool sizes and the toolbar's form. A toolbar that starts
// collapsed offers only the pen, so the pen is the tool then (never on a
// board page).
void apply_capture_settings(EditorState& state, const Settings& settings);

}  // namespace glimmerly
