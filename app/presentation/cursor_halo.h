#pragma once
// The pointer's halo as the pictures of presentation mode show it: a soft
// disc in the halo colour filling a third of its square layer, in the
// pressed colour while a button is down, and swelling with a press pulse.

#include <optional>

#include "app/presentation/layer.h"
#include "core/base/rgb.h"

namespace glimmerly {

// Into a layer whose draw has begun. `pulse` is how far a press pulse has
// run (0..1); the disc grows by up to 40 % with it.
void draw_cursor_halo(PresentationLayer& layer, Rgb colour, bool pressed, std::optional<double> pulse);

}  // namespace glimmerly
