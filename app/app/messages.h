#pragma once
// The program's private window messages and timer ids, one list for every
// window, so that no two meanings share a number on one window.

#include <windows.h>

namespace glimmerly {

// Timers (SetTimer with a null callback, answered by the window's procedure).

// A notice window's fade, every 30 ms, on the notice's own window.
inline constexpr UINT_PTR TIMER_NOTICE = 1;

}  // namespace glimmerly
