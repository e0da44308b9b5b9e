#pragma once
// Pictures for the imaging and output tests.

#include <cstdint>
#include <random>

#include "core/image/bgra_image.h"

namespace glimmerly::testing_support {

// Random bytes, alpha included, from a fixed seed.
inline BgraImage noise_picture(std::uint32_t width, std::uint32_t height, std::uint32_t seed) {
    BgraImage picture{std::vector<std::uint8_t>(std::size_t{width} * height * 4), width, height};
    std::mt19937 rng(seed);
    for (auto& byte : picture.pixels) byte = static_cast<std::uint8_t>(rng());
    return picture;
}

// Every pixel the same.
inline BgraImage solid_picture(std::uint32_t width, std::uint32_t height, std::uint8_t b, std::uint8_t g,
                               std::uint8_t r, std::uint8_t a) {
    BgraImage picture{{}, width, height};
    for (std::size_t i = 0; i < std::size_t{width} * height; ++i) picture.pixels.insert(picture.pixels.end(), {b, g, r, a});
    return picture;
}

}  // namespace glimmerly::testing_support
