#pragma once
// The picture's view of the keys and mouse buttons in play: for each key
// cap its label and how lit it is, for the mouse which parts are lit. The
// keyboard and mouse records fill it; the drawing reads only this.

#include <array>
#include <cstdint>
#include <string_view>

namespace glimmerly {

// A released key fades over this long; a released mouse part stays lit this long.
inline constexpr std::uint64_t kShownKeyFadeMs = 600;
inline constexpr std::uint64_t kShownMouseHoldMs = 180;

struct ShownKey {
    std::array<char16_t, 4> label{};
    std::uint8_t label_length = 0;
    std::uint64_t fade_deadline = 0;
    bool pressed = false;
};

struct ShownMousePart {
    bool pressed = false;
    std::uint64_t lit_until = 0;
};

struct ShownInput {
    // Slot = extended << 7 | scan code, for scan codes below 128.
    std::array<ShownKey, 256> keys{};
    // Left, right, middle, fourth, fifth.
    std::array<ShownMousePart, 5> buttons{};
    std::uint64_t wheel_lit_until = 0;
};

struct KeyLook {
    std::u16string_view label;
    double fade = 0.0;  // 1 while down, falling to 0 over the fade
    bool pressed = false;
};

inline const ShownKey* shown_key(const ShownInput& input, std::uint16_t scan, bool extended) {
    return scan < 128 ? &input.keys[(extended ? 0x80u : 0u) | scan] : nullptr;
}

inline KeyLook look_of_key(const ShownInput& input, std::uint16_t scan, bool extended, std::uint64_t now) {
    const ShownKey* key = shown_key(input, scan, extended);
    if (!key) return {};
    KeyLook look{{key->label.data(), key->label_length}, 1.0, key->pressed};
    if (!key->pressed) {
        const std::uint64_t left = key->fade_deadline > now ? key->fade_deadline - now : 0;
        look.fade = double(left < kShownKeyFadeMs ? left : kShownKeyFadeMs) / kShownKeyFadeMs;
    }
    return look;
}

inline bool mouse_part_lit(const ShownMousePart& part, std::uint64_t now) { return part.pressed || now < part.lit_until; }

inline bool any_shown_input_fading(const ShownInput& input, std::uint64_t now) {
    for (const ShownKey& key : input.keys)
        if (!key.pressed && key.fade_deadline > now) return true;
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
