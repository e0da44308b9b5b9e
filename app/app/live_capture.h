#pragma once
// Live capture: while it is on, the editor window is layered with per-pixel
// alpha, so that the screen under it shows through where nothing is drawn,
// and every output is made from a fresh grab of the screen. The window is
// kept out of screen grabs, or those grabs would see the editor itself.

#include <windows.h>

#include "app/image/screen_grab.h"
#include "core/base/pixel_rect.h"
#include "core/editor/editor_state.h"

namespace glimmerly {

// The virtual screen now, for an output of a live capture. A screen whose
// size or place changed since the capture opened (at `origin`) cannot match
// the selection and the objects: "error.display_changed".
Result<ScreenGrab> regrab_virtual_screen(const EditorState& state, PixelPoint origin);

// Switches live capture on or off. A window the system will not keep out of
// grabs changes nothing. Switching off freezes a fresh grab as the frame.
// Every failure leaves the state as it was.
Status toggle_live_capture(EditorState& state, PixelPoint origin, HWND window);

// Shows one frame of a live capture: drawn into the live surface and handed
// to the layered window with its alpha. Nothing while live capture is off.
Status present_live_frame(EditorState& state, HWND window, ChromeClock::time_point now);

}  // namespace glimmerly
