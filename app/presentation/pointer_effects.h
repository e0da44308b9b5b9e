#pragma once
// The pointer layer: a small square that follows the cursor while only an
// instant halo shows, or a window over the cursor's monitor redrawn frame by
// frame (only where the effects were or are) while a trail, click marks or
// an easing halo animate; and the frame timer that drives them.

#include <windows.h>

#include "app/presentation/presentation.h"
#include "app/render/painting_kit.h"

namespace glimmerly {

// The effective dpi of the monitor nearest the point; 96 when it cannot be read.
std::uint32_t monitor_dpi_at(POINT at);

// The settings the pointer layer draws with now.
PointerSettings effective_settings(const PresentationState& state);

// Replays the picture on the painter; the first failing polygon ends it.
Status draw_pointer_effects(Painter& painter, const PointerPicture& picture);

// The halo disc of the sample pictures, centred in the layer with a radius of
// a third of its width, into a layer whose draw has begun; the whole layer is
// marked dirty. `colour` is R | G << 8 | B << 16. A pressed halo is red. The
// pulse adds a ring growing to 1.4 times the radius and fading as
// `progress` runs from 0 to 1.
void draw_cursor_halo(PresentationLayer& layer, std::uint32_t colour, bool pressed, bool pulse, float progress);

// The small square at the cursor, when the effects need no frames.
Status place_pointer_layer(PresentationState& state);
// One frame of the monitor-wide layer.
Status update_pointer_effects(PresentationState& state);
// Redraws and pushes the layer that owns `window`; nothing for any other.
Status render_presentation_layer(PresentationState& state, HWND window);
// Timer 90 at 16 ms, 33 ms or off, as the animations need.
Status schedule_presentation_timer(PresentationState& state);
// An effects frame costs tens of milliseconds on a busy machine, and once
// begun nothing else runs until it ends: a tick's frame waits while a
// shortcut, a key or a button waits for the thread, and while a shape is
// armed (its press and drag come first). A frame that waits is drawn by a
// later tick, with whatever has moved by then: late frames are dropped,
// never queued.
bool pointer_frame_waits(const PresentationState& state);
// Whether a raw mouse event may draw a frame now: at most one per 12 ms,
// none that waits (above), and for a move alone none while more input
// waits (the last of a burst of moves draws it).
bool input_frame_due(const PresentationState& state, std::uint64_t now, bool move_only);
// One tick of timer 90.
Status tick_presentation(PresentationState& state);

}  // namespace glimmerly
