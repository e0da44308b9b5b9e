#include "app/image/png_decoder.h"

#include <gtest/gtest.h>

#include <random>

#include "app/image/png_encoder.h"
#include "app/win/com.h"
#include "core/vexil/png.h"

namespace glimmerly {
namespace {

// Reading back what the encoder wrote is EncodePng's test.
TEST(DecodePng, RefusesAnyOtherSizeThanExpectedAndBrokenData) {
    win::ComApartment com;
    ASSERT_TRUE(com.initialized());
    BgraImage image{std::vector<std::uint8_t>(std::size_t{37} * 23 * 4), 37, 23};
    std::mt19937 rng(5);
    for (auto& byte : image.pixels) byte = static_cast<std::uint8_t>(rng());
    const auto png = encode_png(image);
    ASSERT_TRUE(png.ok());
    ASSERT_TRUE(decode_png(*png, 37, 23).ok());

    // A header claiming 30000 x 30000 would ask for 3.6 GB: refused from the
    // header (Wine's decoder may refuse it first), never by a failed allocation.
    std::vector<std::uint8_t> claiming = *png;
    for (const std::size_t at : {16u, 20u}) {
        claiming[at] = claiming[at + 1] = 0;
        claiming[at + 2] = 0x75;
        claiming[at + 3] = 0x30;
    }
    const std::uint32_t crc = png_crc32(std::span(claiming).subspan(12, 17));
    for (int i = 0; i < 4; ++i) claiming[29 + i] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
    const std::vector<std::uint8_t> cut(png->begin(), png->begin() + png->size() / 2);
    struct Row { const char* name; std::span<const std::uint8_t> png; std::uint32_t width, height; };
    const Row rows[] = {
        {"one pixel narrower than expected", *png, 36, 23},
        {"header claiming 30000 x 30000", claiming, 37, 23},
        {"cut in half", cut, 37, 23},
        {"no bytes", {}, 37, 23},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto decoded = decode_png(row.png, row.width, row.height);
        ASSERT_FALSE(decoded.ok());
        EXPECT_NE(decoded.failure().code, E_OUTOFMEMORY_CODE);
    }
    EXPECT_EQ(decode_png(*png, 36, 23).failure().code, E_INVALIDARG_CODE);  // the size check's own refusal
}

}  // namespace
}  // namespace glimmerly
