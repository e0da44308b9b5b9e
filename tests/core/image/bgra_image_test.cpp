#include "core/image/bgra_image.h"

#include <gtest/gtest.h>

namespace glimmerly {
namespace {

TEST(BgraImage, ValidOnlyWithPositiveSizeAndExactlyFourBytesAPixel) {
    struct Row { const char* name; std::uint32_t width, height; std::size_t bytes; bool valid; };
    const Row rows[] = {
        {"one pixel", 1, 1, 4, true},
        {"wide and short", 300, 2, 2400, true},
        {"no width", 0, 5, 0, false},
        {"no height", 5, 0, 0, false},
        {"one byte short", 3, 2, 23, false},
        {"one byte over", 3, 2, 25, false},
        // The byte count of these wraps to 0 in 32 bits; it must not pass for an empty buffer.
        {"2^28 x 4", 0x10000000u, 4, 0, false},
        {"height negative as a signed value", 2, 0x80000000u, 0, false},
        {"width of 2^29", 0x20000000u, 2, 0, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const BgraImage image{std::vector<std::uint8_t>(row.bytes), row.width, row.height};
        EXPECT_EQ(is_valid_bgra_image(image), row.valid);
    }
}

}  // namespace
}  // namespace glimmerly
