#pragma once
// The painting kit's colour, kept apart from the kit so that platform-free
// painters (the pointer effects) can hand their pictures to it.

#include <cstdint>

#include "core/base/rgb.h"

namespace glimmerly {

// An opacity in 0..1 and the red, green and blue bytes.
struct PaintColour {
    float opacity = 1.0f;
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;

    static constexpr PaintColour opaque(Rgb c) { return {1.0f, c.r, c.g, c.b}; }
    static constexpr PaintColour grey(std::uint8_t level) { return {1.0f, level, level, level}; }
    constexpr Rgb rgb() const { return {r, g, b}; }

    friend bool operator==(const PaintColour&, const PaintColour&) = default;
};

}  // namespace glimmerly
