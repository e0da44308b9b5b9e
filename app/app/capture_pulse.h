#pragma once
// The capture pulse: a thin light-blue frame round the monitor an instant
// screenshot took, which fades in and out once (400 ms) and then hides. It
// never takes the focus, lets clicks through and is kept out of captures.
// Its GWLP_USERDATA counts the timer's ticks, not a pointer.

#include <windows.h>

#include "app/app/messages.h"
#include "app/win/owners.h"
#include "core/base/pixel_rect.h"

namespace glimmerly {

inline constexpr wchar_t CAPTURE_PULSE_CLASS[] = L"Glimmerly.CapturePulse";

using PulseWindow = win::TimedWindow<TIMER_CAPTURE_PULSE>;

// The pulse over `monitor`, started invisible and shown when `show` is set
// (a probe run keeps it hidden). None when the monitor has no area or any
// step fails: the pulse is decoration, and its failures are silent.
PulseWindow create_capture_pulse(const PixelRect& monitor, bool show);

LRESULT CALLBACK capture_pulse_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept;

}  // namespace glimmerly
