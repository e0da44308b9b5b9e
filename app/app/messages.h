#pragma once
// The program's private window messages (WM_APP + n), one list so that no
// two senders ever share a number.

#include <windows.h>

namespace glimmerly {

// The renderer thread has put its resources (or its failure) into the
// channel; the capture's window takes them out. wParam and lParam are 0.
inline constexpr UINT WM_APP_RENDERER_READY = WM_APP + 7;

}  // namespace glimmerly
