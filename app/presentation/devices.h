#pragma once
// The keys-and-mouse display: a picture of a full keyboard and a mouse in
// the device layer, where only the keys and buttons in play are drawn (the
// whole of both, as a ghost, while the display is being placed), and its
// placement on a monitor's work area, by preset or by dragging.

#include <windows.h>

#include "app/presentation/presentation.h"

namespace glimmerly {

// Creates, sizes, places, draws and shows the device layer.
Status show_device_layer(PresentationState& state);
// Whether the display still sits in the work area it was placed in (a
// running drag places it anew with every step).
bool device_layer_fits_screen(const PresentationState& state);
// Ends the drag: placed again from the stored fractions, and the
// application asked to store them.
Status end_device_layer_drag(PresentationState& state);
// Asks the application window to store the presentation's own changes.
Status post_save_settings(HWND app_window);

// The keyboard and the mouse into the layer's target, whose draw has begun;
// marks the whole layer dirty. `placement` draws every part as a ghost.
void draw_input_devices(PresentationLayer& layer, const KeyDisplay& keys, const ShownInput& mouse, bool us_layout,
                        std::uint64_t now, bool placement);
// One key's label into its cap (x, y in design units, width and height in key units).
void draw_key_label(PresentationLayer& layer, const KeyDisplay& keys, std::uint64_t now, std::uint16_t scan,
                    bool extended, double x, double y, double width, double height);
// Whether a released key or mouse part is still fading.
bool device_display_fading(const PresentationState& state, std::uint64_t now);
// The whole device-layer pass.
Status render_device_layer(PresentationState& state, std::uint64_t now);

// The device layer's messages; none when they go on to the default answer.
std::optional<LRESULT> on_device_message(PresentationState& state, HWND window, UINT message, LPARAM lparam,
                                         Status& failure);

}  // namespace glimmerly
