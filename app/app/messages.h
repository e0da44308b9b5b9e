#pragma once
// The program's private window messages and timer ids, one list for every
// window, so that no two meanings share a number on one window.

#include <windows.h>

namespace glimmerly {

// The renderer thread has put its resources (or its failure) into the
// channel; the capture's window takes them out. wParam and lParam are 0.
inline constexpr UINT WM_APP_RENDERER_READY = WM_APP + 7;

// Timers (SetTimer with a null callback, answered by the window's procedure).

// A notice window's fade, every 30 ms, on the notice's own window.
inline constexpr UINT_PTR TIMER_NOTICE = 1;

}  // namespace glimmerly
