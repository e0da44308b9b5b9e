#include "app/image/image_encoder.h"

#include <gtest/gtest.h>

#include <random>

#include "app/image/image_decoder.h"
#include "app/win/com.h"
#include "tests/app/support/pictures.h"

namespace glimmerly {
namespace {

using testing_support::noise_picture;

TEST(EncodePng, DecodesBackToTheSamePixelsAlphaIncluded) {
    win::ComApartment com;
    ASSERT_TRUE(com.initialized());
    struct Row { const char* name; BgraImage image; };
    const Row rows[] = {
        {"odd size, any alpha", noise_picture(37, 23, 2)},
        {"one row", noise_picture(301, 1, 4)},
        {"one column", noise_picture(1, 203, 5)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto png = encode_png(row.image);
        ASSERT_TRUE(png.ok()) << png.failure().message;
        const auto back = decode_png_bytes(*png, row.image.width, row.image.height);
        ASSERT_TRUE(back.ok()) << back.failure().message;
        EXPECT_TRUE(back->pixels == row.image.pixels);
    }
}

BgraImage with_alpha(BgraImage picture, std::uint8_t alpha, std::size_t last_alpha) {
    for (std::size_t i = 3; i < picture.pixels.size(); i += 4) picture.pixels[i] = alpha;
    picture.pixels.back() = static_cast<std::uint8_t>(last_alpha);
    return picture;
}

// IHDR's colour type: 2 for RGB, 6 for RGBA.
int png_colour_type(const std::vector<std::uint8_t>& png) { return png.size() > 25 ? png[25] : -1; }

// An opaque picture loses its alpha channel in the file, never a pixel: it
// decodes to alpha 255 everywhere, and one translucent pixel keeps the
// channel for the whole picture.
TEST(EncodePng, WritesOpaquePicturesWithoutAlphaAndTheSamePixels) {
    win::ComApartment com;
    ASSERT_TRUE(com.initialized());
    struct Row { const char* name; BgraImage image; int colour_type; };
    const Row rows[] = {
        {"opaque noise", with_alpha(noise_picture(37, 23, 2), 255, 255), 2},
        {"opaque, more rows than one band", with_alpha(noise_picture(2000, 1500, 3), 255, 255), 2},
        {"opaque but the last pixel", with_alpha(noise_picture(64, 9, 4), 255, 254), 6},
        {"fully transparent", with_alpha(noise_picture(5, 5, 6), 0, 0), 6},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto png = encode_png(row.image);
        ASSERT_TRUE(png.ok()) << png.failure().message;
        EXPECT_EQ(png_colour_type(*png), row.colour_type);
        const auto back = decode_png_bytes(*png, row.image.width, row.image.height);
        ASSERT_TRUE(back.ok()) << back.failure().message;
        EXPECT_TRUE(back->pixels == row.image.pixels);
    }
}

// Which images are valid is the core's test; here, that none reaches WIC.
TEST(EncodePng, RefusesAnInvalidImageBeforeTouchingIt) {
    win::ComApartment com;
    const auto png = encode_png({std::vector<std::uint8_t>(4 * 3 * 4 - 1), 4, 3});
    ASSERT_FALSE(png.ok());
    EXPECT_EQ(png.failure(), invalid_input("Invalid BGRA image dimensions or buffer length"));
}

}  // namespace
}  // namespace glimmerly
