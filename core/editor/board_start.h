#pragma once
// The editing state a board page opens with, and the rectangle an editor
// process hands its owner as it closes.

#include <cstdint>
#include <optional>
#include <vector>

#include "core/base/pixel_rect.h"
#include "core/document/scene.h"
#include "core/editor/editor_state.h"
#include "core/image/bgra_image.h"

namespace glimmerly {

// The capture's start state over the desktop picture, in board mode: the
// scene's objects (in picture coordinates) ready to edit, the arrow tool,
// the whole picture as the region and no region left to choose.
EditorState new_editor_state_for_scene(BgraImage desktop, Scene scene, std::vector<MonitorArea> monitors);

// The selection on the virtual screen as the lParam of the closing message:
// left, top, right and bottom in 16 bits each from the low bits up, the
// corners rounded half away from zero and moved by the origin. 0 without a
// selection, for an empty one, and for one with a corner beyond the 16 bits.
std::uint64_t pack_closed_rectangle(const std::optional<Box>& selection, PixelPoint origin);

}  // namespace glimmerly
