#include "app/image/png_decoder.h"

#include <gtest/gtest.h>

#include <random>

#include "app/image/png_encoder.h"
#include "app/win/com.h"

namespace glimmerly {
namespace {

TEST(DecodePng, ReadsBackWhatTheEncoderWroteAndRefusesOversizedOrBrokenData) {
    win::ComApartment com;
    ASSERT_TRUE(com.initialized());
    BgraImage image{std::vector<std::uint8_t>(std::size_t{37} * 23 * 4), 37, 23};
    std::mt19937 rng(5);
    for (auto& byte : image.pixels) byte = static_cast<std::uint8_t>(rng());
    const auto png = encode_png(image);
    ASSERT_TRUE(png.ok());

    const auto back = decode_png(*png, 37);
    ASSERT_TRUE(back.ok()) << back.failure().message;
    EXPECT_EQ(back->width, 37u);
    EXPECT_EQ(back->height, 23u);
    EXPECT_EQ(back->pixels, image.pixels);

    EXPECT_FALSE(decode_png(*png, 36).ok());  // wider than allowed
    std::vector<std::uint8_t> cut(png->begin(), png->begin() + png->size() / 2);
    EXPECT_FALSE(decode_png(cut, 37).ok());
    EXPECT_FALSE(decode_png({}, 37).ok());
}

}  // namespace
}  // namespace glimmerly
