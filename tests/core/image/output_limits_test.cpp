#include <gtest/gtest.h>

#include "core/image/dib.h"
#include "core/image/image_limits.h"

namespace glimmerly {
namespace {

TEST(ImagingBufferSize, RefusesInvalidPicturesAndAnyLengthPast32Bits) {
    struct Row {
        const char* name;
        std::uint32_t width, height;
        std::optional<std::uint32_t> bytes;
    };
    const Row rows[] = {
        {"one pixel", 1, 1, 4u},
        {"4 GiB less one row", 32768, 32767, 0xFFFE0000u},
        {"exactly 4 GiB", 32768, 32768, std::nullopt},
        {"30000 x 30000 x 4 past 2^32", 60000, 30000, std::nullopt},
        {"no width", 0, 10, std::nullopt},
        {"no height", 10, 0, std::nullopt},
        {"width of 2^29", 0x20000000u, 1, std::nullopt},
        {"height negative as a signed value", 1, 0x80000000u, std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(imaging_buffer_size(row.width, row.height), row.bytes);
    }
    EXPECT_TRUE(is_supported_scaled_size(16384, 8192));
    EXPECT_FALSE(is_supported_scaled_size(11586, 11586));
    EXPECT_FALSE(is_supported_scaled_size(0, 8));
}

TEST(Dib, HeaderThenRowsBottomUp) {
    BgraImage picture{std::vector<std::uint8_t>(3 * 2 * 4), 3, 2};
    for (std::size_t i = 0; i < picture.pixels.size(); ++i) picture.pixels[i] = static_cast<std::uint8_t>(i);
    ASSERT_EQ(dib_size(picture), 40u + 24u);
    std::vector<std::uint8_t> dib(*dib_size(picture));
    write_dib(picture, dib);
    const std::uint8_t header[40] = {40, 0, 0, 0, 3, 0, 0, 0, 2, 0, 0, 0, 1, 0, 32};
    EXPECT_TRUE(std::equal(std::begin(header), std::end(header), dib.begin()));
    EXPECT_TRUE(std::equal(picture.pixels.begin() + 12, picture.pixels.end(), dib.begin() + 40));
    EXPECT_TRUE(std::equal(picture.pixels.begin(), picture.pixels.begin() + 12, dib.begin() + 52));

    EXPECT_EQ(dib_size(BgraImage{std::vector<std::uint8_t>(4), 1, 1}), 44u);
    EXPECT_EQ(dib_size(BgraImage{std::vector<std::uint8_t>(3), 1, 1}), std::nullopt);
}

}  // namespace
}  // namespace glimmerly
