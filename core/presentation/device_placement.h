#pragma once
// Where the keys-and-mouse display sits in a monitor's work area: one of six
// presets (top or bottom row; left, centre or right), or the place the user
// dragged it to, kept as fractions in 1/10000 of the free room so that it
// lands in the same relative place on a monitor of another size.

#include <cstdint>
#include <optional>

#include "core/base/pixel_rect.h"
#include "core/settings/settings.h"

namespace glimmerly {

inline constexpr std::uint16_t kPlacementOne = 10000;
// The display's height in design units; its width depends on what it shows.
inline constexpr double kDeviceDesignHeight = 140.0;

// 520 with keyboard and mouse, 432 the keyboard alone, 77 the mouse alone, 1 neither.
double device_base_width(bool keyboard, bool mouse);

// The layer's size in pixels: the base size times size percent x scale / 100, truncated.
PixelPoint device_layer_size(std::uint32_t size_percent, double scale, bool keyboard, bool mouse);

// The layer's top-left in screen pixels. A stored placement wins over the
// preset; fractions past 10000 count as 10000.
PixelPoint place_device_layer(const PixelRect& work, PixelPoint size, double scale, std::uint8_t preset,
                              const std::optional<InputDisplayOffset>& placement);

struct DragPlacement {
    PixelPoint position;  // screen pixels
    InputDisplayOffset fractions;
};

// One step of a drag: the window's top-left at the press moved by the
// cursor's travel, kept inside the work area (no margin), and the fractions
// that say where.
DragPlacement drag_device_layer_to(const PixelRect& work, PixelPoint size, PixelPoint window_at_press,
                                   PixelPoint cursor_at_press, PixelPoint cursor_now);

struct WheelNotches {
    std::int32_t notches = 0;
    std::int32_t remainder = 0;
};

// Adds a wheel delta to the remainder (reset first when the two disagree in
// sign) and takes out whole notches of 120, towards zero.
WheelNotches take_wheel_notches(std::int32_t remainder, std::int32_t delta);

}  // namespace glimmerly
