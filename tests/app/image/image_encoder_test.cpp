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
    struct Row {
        const char* name;
        BgraImage image;
    };
    BgraImage opaque = noise_picture(64, 40, 1);
    for (std::size_t i = 3; i < opaque.pixels.size(); i += 4) opaque.pixels[i] = 255;
    const Row rows[] = {
        {"opaque screen content", opaque},
        {"odd size, any alpha", noise_picture(37, 23, 2)},
        {"one pixel", noise_picture(1, 1, 3)},
        {"one row", noise_picture(301, 1, 4)},
        {"one column", noise_picture(1, 203, 5)},
    };
    const std::uint8_t signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto png = encode_png(row.image);
        ASSERT_TRUE(png.ok()) << png.failure().message;
        ASSERT_GT(png->size(), sizeof signature);
        EXPECT_TRUE(std::equal(std::begin(signature), std::end(signature), png->begin()));
        const auto back = decode_png_bytes(*png, row.image.width, row.image.height);
        ASSERT_TRUE(back.ok()) << back.failure().message;
        EXPECT_TRUE(back->pixels == row.image.pixels);
    }
}

TEST(EncodePng, RefusesInvalidImagesBeforeTouchingThem) {
    win::ComApartment com;
    struct Row {
        const char* name;
        BgraImage image;
    };
    const Row rows[] = {
        {"empty", {}},
        {"no height", {std::vector<std::uint8_t>(0), 4, 0}},
        {"buffer one byte short", {std::vector<std::uint8_t>(4 * 3 * 4 - 1), 4, 3}},
        {"byte count that wraps in 32 bits", {{}, 0x10000000u, 4}},
        {"height negative as a signed value", {std::vector<std::uint8_t>(8), 1, 0x80000002u}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto png = encode_png(row.image);
        ASSERT_FALSE(png.ok());
        EXPECT_EQ(png.failure(), invalid_input("Invalid BGRA image dimensions or buffer length"));
    }
}

}  // namespace
}  // namespace glimmerly
