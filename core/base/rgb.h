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

}  // namespace glimmerly
