#pragma once
// Whether the presentation's windows still fit the screen: each was sized
// or placed for the screen of the moment it was made, and a change of the
// screen that came while the interface thread was busy making them is seen
// by no look at the layout before or after it.

#include "app/presentation/presentation.h"

namespace glimmerly {

// The spotlight and the shapes layer cover the virtual screen, the pointer
// layer's monitor is still a monitor, the keys display sits in its monitor's
// present work area; true also when none of them exists.
bool presentation_fits_screen(const PresentationState& state);

}  // namespace glimmerly
