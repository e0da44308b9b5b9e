#pragma once
// The open capture's share of the application window's messages: in an
// editor process the application window is the capture's window, covering
// the virtual screen, so its client points are window pixels of the
// capture. Pointer, wheel, key, focus, cursor and paint messages go to the
// editor's decisions, and what those ask of the window is carried out.

#include <windows.h>

#include "app/app/app.h"
#include "app/app/events.h"

namespace glimmerly {

// The answer to one of the messages above while an editor session is open.
AppAnswer route_editor_message(App& app, HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// The end of every handled message: TIMER_TOOLBAR_ANIMATION is armed again
// while a toolbar hover settles or a highlight runs, and stays off otherwise.
void rearm_toolbar_timer(App& app, HWND window);

}  // namespace glimmerly
