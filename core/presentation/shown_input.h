#pragma once
// The mouse as the keys-and-mouse display shows it: which buttons are down,
// and how long a released button or a turned wheel stays lit.

#include <array>
#include <cstdint>

namespace glimmerly {

// A released mouse part stays lit this long.
inline constexpr std::uint64_t kShownMouseHoldMs = 180;

struct ShownMousePart {
    bool pressed = false;
    std::uint64_t lit_until = 0;
};

struct ShownInput {
    // Left, right, middle, fourth, fifth.
    std::array<ShownMousePart, 5> buttons{};
    std::uint64_t wheel_lit_until = 0;
};

inline bool mouse_part_lit(const ShownMousePart& part, std::uint64_t now) { return part.pressed || now < part.lit_until; }

inline bool any_mouse_part_fading(const ShownInput& input, std::uint64_t now) {
    for (const ShownMousePart& part : input.buttons)
        if (!part.pressed && part.lit_until > now) return true;
    return input.wheel_lit_until > now;
}

// One raw mouse event's button flags (each button's down and up bits in
// pairs from bit 0, left, right, middle, fourth, fifth; the wheel at 0x400
// and 0x800): a press lights a part, a release keeps it lit a moment longer.
inline void record_mouse_flags(ShownInput& input, std::uint32_t flags, std::uint64_t now) {
    for (std::size_t button = 0; button < input.buttons.size(); ++button) {
        ShownMousePart& part = input.buttons[button];
        if (flags & (1u << (2 * button))) part.pressed = true;
        if (flags & (2u << (2 * button))) {
            part.pressed = false;
            part.lit_until = now + kShownMouseHoldMs;
        }
    }
    if (flags & 0xC00u) input.wheel_lit_until = now + kShownMouseHoldMs;
}

}  // namespace glimmerly
