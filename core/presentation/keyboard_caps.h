#pragma once
// Where each key cap of the on-screen keyboard sits, in design units of the
// device layer (the keyboard is 432 wide and 140 high at scale 1): a full
// keyboard with Esc and function row, main block, navigation block and
// numeric pad, in the ANSI (US) or the ISO arrangement.

#include <cstdint>
#include <span>

namespace glimmerly {

// The key pitch; caps are 3 units apart.
inline constexpr double kKeyPitch = 18.0;
inline constexpr double kKeyGap = 3.0;

struct KeyCapPlace {
    std::uint16_t scan = 0;
    bool extended = false;
    double x = 0.0;  // the cap's top-left, design units
    double y = 0.0;
    double width = 1.0;  // key units
    double height = 1.0;
    // The ISO Enter: drawn as the layer's L-shaped outline, its label in this box.
    bool iso_enter = false;
};

// Every cap in drawing order.
std::span<const KeyCapPlace> keyboard_caps(bool us_layout);

// The cap's right and bottom edges: pitch x size less the gap.
constexpr double cap_right(const KeyCapPlace& cap) { return cap.x + kKeyPitch * cap.width - kKeyGap; }
constexpr double cap_bottom(const KeyCapPlace& cap) { return cap.y + kKeyPitch * cap.height - kKeyGap; }

}  // namespace glimmerly
