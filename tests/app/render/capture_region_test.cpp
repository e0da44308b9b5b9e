// The finished picture of a capture region.

#include "app/render/capture_region.h"

#include <gtest/gtest.h>

#include "tests/app/render/render_support.h"
#include "tests/core/support/objects.h"

namespace glimmerly {
namespace {

using testing::pixel;
using testing::RenderTest;

// Every pixel its own colour, so that a pixel tells where it came from.
BgraImage numbered_picture(std::uint32_t width, std::uint32_t height, std::uint8_t alpha = 255) {
    BgraImage image{std::vector<std::uint8_t>(std::size_t{width} * height * 4), width, height};
    for (std::uint32_t y = 0; y < height; ++y)
        for (std::uint32_t x = 0; x < width; ++x) {
            std::uint8_t* p = &image.pixels[(std::size_t{y} * width + x) * 4];
            p[0] = static_cast<std::uint8_t>(x);
            p[1] = static_cast<std::uint8_t>(y);
            p[2] = static_cast<std::uint8_t>(x * 7 + y * 3);
            p[3] = alpha;
        }
    return image;
}

class CaptureRegion : public RenderTest {};

TEST_F(CaptureRegion, GrowsOutwardToWholePixelsAndIsCutToThePicture) {
    const BgraImage picture = numbered_picture(100, 80);
    struct Row {
        const char* name;
        Box region;
        std::uint32_t left, top, width, height;
    };
    const Row rows[] = {
        {"fractional corners", {10.5, 20.2, 30.1, 40.9}, 10, 20, 21, 21},
        {"past the picture", {-4.5, 70.5, 120, 95}, 0, 70, 100, 10},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto image = render_capture_region(*resources_, picture, {}, {}, row.region);
        ASSERT_TRUE(image) << image.failure().message;
        ASSERT_EQ(image->width, row.width);
        ASSERT_EQ(image->height, row.height);
        EXPECT_EQ(pixel(*image, 0, 0), pixel(picture, row.left, row.top));
        EXPECT_EQ(pixel(*image, row.width - 1, row.height - 1),
                  pixel(picture, row.left + row.width - 1, row.top + row.height - 1));
    }
    auto outside = render_capture_region(*resources_, picture, {}, {}, {120, 10, 140, 20});
    ASSERT_FALSE(outside);
    EXPECT_EQ(outside.failure(), invalid_input("Empty capture region"));
}

TEST_F(CaptureRegion, BlurChangesTheOutputButNotTheCallersPicture) {
    const BgraImage picture = numbered_picture(100, 80);
    const BgraImage before = picture;
    const std::vector<SceneObject> objects{testing::blur(1, {20, 20, 60, 60})};
    auto image = render_capture_region(*resources_, picture, {}, objects, {0, 0, 100, 80});
    ASSERT_TRUE(image) << image.failure().message;
    EXPECT_EQ(picture.pixels, before.pixels);
    EXPECT_NE(pixel(*image, 40, 40), pixel(picture, 40, 40));
    EXPECT_EQ(pixel(*image, 80, 70), pixel(picture, 80, 70));
}

TEST_F(CaptureRegion, OutputIsOpaqueWhateverThePicturesAlpha) {
    auto image = render_capture_region(*resources_, numbered_picture(40, 30, 0), {}, {}, {0, 0, 40, 30});
    ASSERT_TRUE(image) << image.failure().message;
    for (std::size_t i = 3; i < image->pixels.size(); i += 4) ASSERT_EQ(image->pixels[i], 255);
}

TEST_F(CaptureRegion, ABackgroundFillCoveringEverythingNeverReadsThePicture) {
    BgraImage unread{{}, 60, 40};  // sizes without pixels
    const std::vector<FillRegion> background{{{}, {40, 160, 60}}};
    auto image = render_capture_region(*resources_, unread, background, {}, {0, 0, 60, 40});
    ASSERT_TRUE(image) << image.failure().message;
    EXPECT_EQ(pixel(*image, 30, 20), (Rgb{40, 160, 60}));
}

}  // namespace
}  // namespace glimmerly
