#pragma once
#include <cstdint>

namespace glimmerly {

// A colour as three bytes, red first.
struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;

    friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kWhite{255, 255, 255};

// Only where one 32-bit number must carry a colour (an editor action word):
// red in bits 0-7, green 8-15, blue 16-23.
constexpr std::uint32_t pack_rgb(Rgb c) {
    return std::uint32_t{c.r} | (std::uint32_t{c.g} << 8) | (std::uint32_t{c.b} << 16);
}
constexpr Rgb unpack_rgb(std::uint32_t packed) {
    return Rgb{static_cast<std::uint8_t>(packed), static_cast<std::uint8_t>(packed >> 8),
               static_cast<std::uint8_t>(packed >> 16)};
}

}  // namespace glimmerly
