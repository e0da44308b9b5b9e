#include "app/image/image_scaler.h"

#include <gtest/gtest.h>

#include "app/win/com.h"
#include "tests/app/support/pictures.h"

namespace glimmerly {
namespace {

using testing_support::solid_picture;

TEST(ScaleBgraImage, KeepsAFlatColourFlatAtAnySize) {
    win::ComApartment com;
    const BgraImage picture = solid_picture(40, 30, 10, 120, 230, 255);
    struct Row {
        const char* name;
        std::uint32_t width, height;
    };
    const Row rows[] = {{"smaller", 13, 7}, {"larger", 97, 61}, {"the same size", 40, 30}, {"one pixel", 1, 1}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto scaled = scale_bgra_image(picture, row.width, row.height);
        ASSERT_TRUE(scaled.ok()) << scaled.failure().message;
        EXPECT_TRUE(scaled->pixels == solid_picture(row.width, row.height, 10, 120, 230, 255).pixels);
    }
}

TEST(ScaleBgraImage, RefusesInvalidPicturesAndUnsupportedSizes) {
    win::ComApartment com;
    const BgraImage picture = solid_picture(4, 4, 0, 0, 0, 255);
    struct Row {
        const char* name;
        BgraImage picture;
        std::uint32_t width, height;
        const char* message;
    };
    const Row rows[] = {
        {"picture one byte short", {std::vector<std::uint8_t>(63), 4, 4}, 2, 2,
         "Invalid BGRA image dimensions or buffer length"},
        {"no width wanted", picture, 0, 4, "Unsupported scaled image size"},
        {"11586 x 11586: past 2^27 pixels", picture, 11586, 11586, "Unsupported scaled image size"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto scaled = scale_bgra_image(row.picture, row.width, row.height);
        ASSERT_FALSE(scaled.ok());
        EXPECT_EQ(scaled.failure(), invalid_input(row.message));
    }
}

}  // namespace
}  // namespace glimmerly
