#pragma once
// Presentation mode's input: raw mouse input registered on the application
// window (it sees the pointer without taking the focus from anyone), and
// what one raw mouse event does to the pointer effects.

#include <windows.h>

#include "app/presentation/presentation.h"

namespace glimmerly {

// Raw mouse input on while a cursor feature or the mouse display is on,
// removed otherwise.
Status set_presentation_input(PresentationState& state, PresentationFeatures features);

// The record GetRawInputData wrote (`read` bytes): refused unless it holds
// the header and the whole body of its type.
Result<const RAWINPUT*> checked_raw_input(const RAWINPUT& buffer, UINT read);

// One raw-input record (keyboard or mouse).
Status handle_raw_input(PresentationState& state, const RAWINPUT& input);
// One raw mouse event with its button flags (usButtonFlags).
Status handle_raw_mouse(PresentationState& state, std::uint32_t button_flags);

}  // namespace glimmerly
