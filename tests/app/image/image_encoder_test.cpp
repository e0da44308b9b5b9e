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

// Which images are valid is the core's test; here, that none reaches WIC.
TEST(EncodePng, RefusesAnInvalidImageBeforeTouchingIt) {
    win::ComApartment com;
    const auto png = encode_png({std::vector<std::uint8_t>(4 * 3 * 4 - 1), 4, 3});
    ASSERT_FALSE(png.ok());
    EXPECT_EQ(png.failure(), invalid_input("Invalid BGRA image dimensions or buffer length"));
}

}  // namespace
}  // namespace glimmerly
