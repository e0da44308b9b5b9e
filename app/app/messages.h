#pragma once
// The program's private window messages and timer ids, one list for every
// window, so that no two meanings share a number on one window.

#include <windows.h>

namespace glimmerly {

// The image-search worker has put the page's path (or its failure) into the
// channel. wParam and lParam are 0.
inline constexpr UINT WM_APP_LENS_DONE = WM_APP + 4;
// The instant-screenshot worker has put its result into the channel; the
// application window takes it out. wParam and lParam are 0.
inline constexpr UINT WM_APP_INSTANT_SCREENSHOT_DONE = WM_APP + 6;
// The renderer thread has put its resources (or its failure) into the
// channel; the capture's window takes them out. wParam and lParam are 0.
inline constexpr UINT WM_APP_RENDERER_READY = WM_APP + 7;
// The keyboard hook saw a key: wParam the virtual-key code, lParam the scan
// code (bits 0-15), a release (bit 16) and an extended key (bit 17).
inline constexpr UINT WM_APP_KEY_REPORT = WM_APP + 12;

// Timers (SetTimer with a null callback, answered by the window's procedure).

// A notice window's fade, every 30 ms, on the notice's own window.
inline constexpr UINT_PTR TIMER_NOTICE = 1;
// The capture pulse's rise and fall, every 25 ms, on the pulse's own window.
inline constexpr UINT_PTR TIMER_CAPTURE_PULSE = 1;
// On the application window: an instant-screenshot result that arrived while
// the window was busy is taken 30 ms later.
inline constexpr UINT_PTR TIMER_INSTANT_RETRY = 21331;

}  // namespace glimmerly
