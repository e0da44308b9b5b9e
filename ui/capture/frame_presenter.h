#pragma once
// Puts the capture editor's frames on its window: each drawn whole by the
// frame painter into a back buffer of the frame's size, then shown with one
// blit, so that the window never shows a frame half drawn. Until the
// renderer's resources arrive, the frozen frame alone, straight from the
// grab's surface.

#include <windows.h>

#include <optional>

#include "core/base/result.h"
#include "core/editor/editor_state.h"

namespace glimmerly {

// With an area (a WM_PAINT's invalid rectangle), only that part is drawn
// and shown: the rest of the window keeps what the last frames put there.
Status present_editor_frame(EditorState& state, HDC window_dc, ChromeClock::time_point now,
                            std::optional<RECT> area = std::nullopt);

// The frozen frame alone from the grab's surface, while the capture still
// has it: one blit, far cheaper than a drawn frame. Nothing without it.
Status present_grabbed_frame(EditorState& state, HDC window_dc);

// How long until the open text box's caret blinks; none without one.
std::optional<ChromeClock::duration> editor_caret_redraw_in(const EditorState& state, ChromeClock::time_point now);

// SetTimer's delay for a wait: its whole milliseconds plus one, so that the
// tick never comes before the moment waited for.
UINT timer_delay_ms(ChromeClock::duration wait);

}  // namespace glimmerly
