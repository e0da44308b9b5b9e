#include "app/image/image_scaler.h"

#include <gtest/gtest.h>

#include "app/win/com.h"
#include "tests/app/support/pictures.h"

namespace glimmerly {
namespace {

using testing_support::solid_picture;

TEST(ScaleBgraImage, KeepsAFlatColourFlatAtAnySupportedSizeAndRefusesOthers) {
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

    const Failure bad_size = invalid_input("Unsupported scaled image size");
    EXPECT_EQ(scale_bgra_image(solid_picture(4, 4, 0, 0, 0, 255), 0, 4).failure(), bad_size);
    EXPECT_EQ(scale_bgra_image(solid_picture(4, 4, 0, 0, 0, 255), 11586, 11586).failure(), bad_size);
}

}  // namespace
}  // namespace glimmerly
