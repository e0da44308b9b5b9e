#pragma once
// Presentation mode's input: raw mouse and keyboard input registered on the
// application window (it sees the pointer and the keys without taking the
// focus from anyone), the keyboard hook's key reports, and what one event
// does to the pointer effects and the keys display.

#include <windows.h>

#include "app/presentation/presentation.h"
#include "app/presentation/presentation_shortcuts.h"
#include "core/presentation/keystrokes.h"

namespace glimmerly {

// The record GetRawInputData wrote (`read` bytes): refused unless it holds
// the header and the whole body of its type.
Result<const RAWINPUT*> checked_raw_input(const RAWINPUT& buffer, UINT read);

// One raw-input record (keyboard or mouse).
Status handle_raw_input(PresentationState& state, const RAWINPUT& input);
// One raw mouse event with its button flags (usButtonFlags).
Status handle_raw_mouse(PresentationState& state, std::uint32_t button_flags);

// One key event into the keys display, then the timer rescheduled.
Status record_raw_keystroke(PresentationState& state, const RawKeyEvent& event);
// The system's side of recording a key: its keyboard state and layouts.
KeystrokeHost& system_keystroke_host();

}  // namespace glimmerly
