#include <gtest/gtest.h>

#include "core/image/image_limits.h"

namespace glimmerly {
namespace {

TEST(ImagingBufferSize, RefusesInvalidPicturesAndAnyLengthPast32Bits) {
    struct Row { const char* name; std::uint32_t width, height; std::optional<std::uint32_t> bytes; };
    const Row rows[] = {
        {"one pixel", 1, 1, 4u},
        {"4 GiB less one row", 32768, 32767, 0xFFFE0000u},
        {"no width", 0, 10, std::nullopt},
        {"no height", 10, 0, std::nullopt},
        {"height negative as a signed value", 1, 0x80000000u, std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(imaging_buffer_size(row.width, row.height), row.bytes);
    }
    EXPECT_TRUE(is_supported_scaled_size(16384, 8192));  // exactly 2^27 pixels
}

}  // namespace
}  // namespace glimmerly
