#include "core/blur/blur.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <optional>
#include <random>

#include "tests/core/support/objects.h"

namespace glimmerly {
namespace {

using testing::blur;
using testing::rectangle;

BgraImage noise(std::uint32_t width, std::uint32_t height, std::uint32_t seed) {
    BgraImage image{std::vector<std::uint8_t>(std::size_t{width} * height * 4), width, height};
    std::mt19937 rng(seed);
    for (auto& byte : image.pixels) byte = static_cast<std::uint8_t>(rng());
    return image;
}

// The expected result spelt out: each rectangle blurred from the untouched
// image and pasted over the copy in order.
BgraImage paste_each(const BgraImage& image, const std::vector<BlurRect>& rects) {
    BgraImage out = image;
    for (const BlurRect& rect : rects) {
        const auto blurred = blur_image_rects(image.pixels, image.width, rect, {1});
        EXPECT_TRUE(blurred.ok());
        if (!blurred.ok()) continue;
        for (std::uint32_t row = 0; row < rect.height; ++row)
            std::memcpy(&out.pixels[(std::size_t{rect.y + row} * image.width + rect.x) * 4],
                        &(*blurred)[std::size_t{row} * rect.width * 4], std::size_t{rect.width} * 4);
    }
    return out;
}

TEST(CollectBlurRects, RoundsClipsPicksTheScatterRadiusAndSkipsWhatCannotShow) {
    const double huge = std::numeric_limits<double>::max();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Row {
        const char* name;
        Box rect;
        std::optional<BlurRect> expected;  // seed 9
    };
    const Row rows[] = {
        {"26 x 100 gets radius 7", {10, 10, 36, 110}, BlurRect{10, 10, 26, 100, 9, 7}},
        {"4 x 4 gets the smallest radius", {1, 2, 5, 6}, BlurRect{1, 2, 4, 4, 9, 3}},
        {"1000 x 1000 gets the largest radius", {0, 0, 1000, 1000}, BlurRect{0, 0, 1000, 1000, 9, 32}},
        {"radius from the rectangle before clipping", {-500, -500, 100, 100}, BlurRect{0, 0, 100, 100, 9, 32}},
        {"halves round away from zero", {0.5, 1.5, 10.49, 10.5}, BlurRect{1, 2, 9, 9, 9, 3}},
        {"swapped edges", {36, 110, 10, 10}, BlurRect{10, 10, 26, 100, 9, 7}},
        {"cut at the right and bottom edges", {1190, 1190, 1300, 1300}, BlurRect{1190, 1190, 10, 10, 9, 30}},
        {"infinite sides give radius 7", {-huge, -huge, huge, huge}, BlurRect{0, 0, 1200, 1200, 9, 7}},
        {"wholly right of the image", {1300, 10, 1400, 100}, std::nullopt},
        {"wholly above", {10, -90, 100, -1}, std::nullopt},
        {"narrower than half a pixel", {10.2, 10, 10.4, 100}, std::nullopt},
        {"NaN edge", {10, nan, 100, 100}, std::nullopt},
        {"one infinite edge", {10, 10, std::numeric_limits<double>::infinity(), 100}, std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const SceneObject object = blur(9, row.rect);
        const auto rects = collect_blur_rects(std::span(&object, 1), 1200, 1200);
        EXPECT_EQ(rects.empty() ? std::nullopt : std::optional(rects.at(0)), row.expected);
    }
    // Only blur objects, in list order.
    const std::vector<SceneObject> objects = {rectangle(6, {10, 10, 100, 100}), blur(8, {50, 50, 60, 60}),
                                              blur(7, {20, 20, 30, 30})};
    const auto rects = collect_blur_rects(objects, 1200, 800);
    ASSERT_EQ(rects.size(), 2u);
    EXPECT_EQ(rects[0].seed, 8u);
    EXPECT_EQ(rects[1].seed, 7u);
}

TEST(BlurRegions, WithoutBlurObjectsGivesBackTheImageItself) {
    const BgraImage image = noise(40, 30, 1);
    const std::vector<SceneObject> no_blur = {rectangle(1, {0, 0, 20, 20})};
    const BlurredImage result = *blur_regions(image, no_blur);
    EXPECT_FALSE(result.baked());
    EXPECT_EQ(&result.image(), &image);

    BgraImage broken = image;
    broken.pixels.pop_back();
    const std::vector<SceneObject> with_blur = {blur(1, {0, 0, 20, 20})};
    EXPECT_EQ(&blur_regions(broken, with_blur)->image(), &broken);
}

TEST(BlurRegions, EachObjectReadsUnblurredPixelsAndTheLaterCoversTheOverlap) {
    const BgraImage image = noise(120, 90, 2);
    const std::vector<SceneObject> objects = {blur(3, {10, 10, 70, 60}), rectangle(4, {0, 0, 5, 5}),
                                              blur(5, {40, 30, 110, 80})};
    const BlurredImage result = *blur_regions(image, objects);
    ASSERT_TRUE(result.baked());
    const auto rects = collect_blur_rects(objects, image.width, image.height);
    ASSERT_EQ(rects.size(), 2u);
    EXPECT_EQ(result.image().pixels, paste_each(image, rects).pixels);
    EXPECT_EQ(result.image().width, image.width);
    EXPECT_EQ(result.image().height, image.height);

    // Contrast: in the other order the first object wins the overlap.
    const std::vector<SceneObject> swapped = {objects[2], objects[0]};
    EXPECT_NE(blur_regions(image, swapped)->image().pixels, result.image().pixels);
}

TEST(BakeBlurRects, RectangleThatCannotBeBlurredIsCoveredNotLeftShowing) {
    const BgraImage image = noise(64, 48, 4);
    struct Row {
        const char* name;
        BlurRect rect;
        std::uint32_t covered_x, covered_y, covered_w, covered_h;
    };
    const Row rows[] = {
        {"radius out of range", {4, 5, 20, 10, 1, 2}, 4, 5, 20, 10},
        {"reaching past the image", {50, 40, 30, 30, 1, 7}, 50, 40, 14, 8},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const BgraImage out = bake_blur_rects(image, std::span(&row.rect, 1)).value_or({});
        ASSERT_EQ(out.pixels.size(), image.pixels.size());
        for (std::uint32_t y = 0; y < image.height; ++y)
            for (std::uint32_t x = 0; x < image.width; ++x) {
                const std::size_t at = (std::size_t{y} * image.width + x) * 4;
                const bool covered = x >= row.covered_x && x < row.covered_x + row.covered_w &&
                                     y >= row.covered_y && y < row.covered_y + row.covered_h;
                const std::uint8_t black[4] = {0, 0, 0, 255};
                const std::uint8_t* expected = covered ? black : &image.pixels[at];
                ASSERT_TRUE(std::equal(expected, expected + 4, &out.pixels[at])) << x << "," << y;
            }
    }
}

TEST(BlurRectKey, ChangesWithEveryFieldAndOnlyThen) {
    const BlurRect base{10, 20, 300, 200, 7, 12};
    EXPECT_EQ(blur_rect_key(base), blur_rect_key(BlurRect{base}));
    struct Row {
        const char* name;
        BlurRect changed;
    };
    const Row rows[] = {
        {"another object", {10, 20, 300, 200, 8, 12}}, {"moved right", {11, 20, 300, 200, 7, 12}},
        {"moved down", {10, 21, 300, 200, 7, 12}},     {"wider", {10, 20, 301, 200, 7, 12}},
        {"taller", {10, 20, 300, 201, 7, 12}},         {"stronger", {10, 20, 300, 200, 7, 13}},
        {"x and y swapped", {20, 10, 300, 200, 7, 12}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_NE(blur_rect_key(row.changed), blur_rect_key(base));
    }
}

}  // namespace
}  // namespace glimmerly
