#include "core/blur/blur.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <random>
#include <utility>

#include "tests/core/support/objects.h"
#include "tests/core/support/png.h"

namespace glimmerly {
namespace {

using testing::noise_image;
using testing::rectangle;

std::vector<std::uint8_t> blurred(const BgraImage& image, const BlurRect& rect, BlurWorkers workers = {}) {
    auto result = blur_image_rects(image.pixels, image.width, rect, workers);
    EXPECT_TRUE(result.ok()) << (result.ok() ? "" : result.failure().message);
    return result.ok() ? std::vector<std::uint8_t>(result->begin(), result->end()) : std::vector<std::uint8_t>{};
}

std::uint64_t splitmix(std::uint64_t z) {
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9u;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebu;
    return z ^ (z >> 31);
}

// The blur written the slow, obvious way: every window summed afresh and
// divided, so that the running sums and the fixed-point reciprocal of the
// real one are checked against something that shares neither. It reads
// nothing outside the rectangle.
std::vector<std::uint8_t> reference_blur(const BgraImage& image, const BlurRect& rect, int k) {
    const std::uint64_t golden = 0x9e3779b97f4a7c15u;
    const std::uint64_t s = splitmix(rect.seed + golden);
    const std::uint64_t n = 2 * rect.radius + 1;
    const int w = static_cast<int>(rect.width), h = static_cast<int>(rect.height);
    const auto at = [w](int x, int y, int c) { return (static_cast<std::size_t>(y) * w + x) * 4 + c; };
    std::vector<std::uint8_t> a(std::size_t{rect.width} * rect.height * 4, 255), b = a;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const std::uint64_t z = splitmix(((std::uint64_t(x) << 32 | std::uint64_t(y)) ^ s) + golden);
            const int sx = std::clamp(x + int(((z & 0xffffffffu) * n) >> 32) - int(rect.radius), 0, w - 1);
            const int sy = std::clamp(y + int(((z >> 32) * n) >> 32) - int(rect.radius), 0, h - 1);
            for (int c = 0; c < 3; ++c)
                a[at(x, y, c)] = image.pixels[((rect.y + sy) * std::size_t{image.width} + rect.x + sx) * 4 + c];
        }
    for (int round = 0; round < 3; ++round) {
        for (int pass = 0; pass < 2; ++pass) {
            const auto& from = pass == 0 ? a : b;
            auto& to = pass == 0 ? b : a;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    for (int c = 0; c < 3; ++c) {
                        int sum = 0;
                        for (int j = -k; j <= k; ++j)
                            sum += pass == 0 ? from[at(std::clamp(x + j, 0, w - 1), y, c)]
                                             : from[at(x, std::clamp(y + j, 0, h - 1), c)];
                        to[at(x, y, c)] = static_cast<std::uint8_t>((sum + k) / (2 * k + 1));
                    }
        }
    }
    return a;
}

TEST(BlurImageRects, MatchesDirectWindowAveragesAtEveryRadiusAndEdge) {
    const BgraImage image = noise_image(2100, 48, 7);  // random alpha too: the result must be opaque
    struct Row {
        const char* name;
        BlurRect rect;
        int box;  // half window: 3 -> 1, 5 -> 2, 7 -> 3, 12 -> 5, 32 -> 13
    };
    const Row rows[] = {
        {"smallest radius inside the image", {5, 4, 40, 30, 1, 3}, 1},
        {"radius 7 at the top-left corner", {0, 0, 33, 21, 2, 7}, 3},
        {"largest radius at the bottom-right corner", {2060, 18, 40, 30, 3, 32}, 13},
        {"window wider than the rectangle", {10, 10, 5, 4, 4, 32}, 13},
        {"single pixel at the last one of the image", {2099, 47, 1, 1, 5, 3}, 1},
        {"single row", {0, 20, 2100, 1, 6, 12}, 5},
        {"single column", {30, 0, 1, 48, 7, 5}, 2},
        {"wide enough to be split into column tiles", {3, 5, 150, 12, 8, 7}, 3},
        {"wider than one column strip", {0, 40, 2100, 8, 9, 3}, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(blurred(image, row.rect), reference_blur(image, row.rect, row.box));
    }
}

// Random places and sizes at every radius, over noise, over pixels that are
// only 0 or 255, and over white, whose window sums are the largest there are.
TEST(BlurImageRects, RandomRegionsAtEveryRadiusMatchDirectWindowAverages) {
    BgraImage extremes = noise_image(260, 180, 12);
    for (auto& byte : extremes.pixels) byte = byte < 128 ? 0 : 255;
    BgraImage white = extremes;
    std::fill(white.pixels.begin(), white.pixels.end(), std::uint8_t{255});
    const BgraImage* images[] = {&extremes, &white};
    const BgraImage noise = noise_image(260, 180, 13);
    std::mt19937 random(14);
    for (std::uint32_t radius = kMinBlurRadius; radius <= kMaxBlurRadius; ++radius) {
        const BgraImage& image = radius % 3 == 0 ? noise : *images[radius % 2];
        const std::uint32_t w = 1 + random() % 120, h = 1 + random() % 100;
        const BlurRect rect{static_cast<std::uint32_t>(random() % (image.width - w + 1)),
                            static_cast<std::uint32_t>(random() % (image.height - h + 1)), w, h, random(), radius};
        const double sigma = 0.43 * radius;
        const int box = std::max(static_cast<int>(std::round((std::sqrt(4 * sigma * sigma + 1) - 1) / 2)), 1);
        SCOPED_TRACE(radius);
        EXPECT_EQ(blurred(image, rect, {3}), reference_blur(image, rect, box));
    }
}

// Whatever the bands, the result is that of the calling thread alone.
TEST(BlurImageRects, StartsWorkersOnlyForLargeRectanglesWithTheSameResult) {
    // The pixels, and how many threads were started for them.
    const auto run = [](const BgraImage& image, std::uint32_t processors) {
        int starts = 0;
        const auto counting = [&starts](std::function<void()> work) {
            ++starts;  // called on the blurring thread only
            return start_worker_thread(std::move(work));
        };
        auto pixels = blurred(image, {0, 0, image.width, image.height, 1, 3}, {processors, counting});
        return std::pair(std::move(pixels), starts);
    };
    struct Row { const char* name; std::uint32_t width, height, processors; bool workers; };
    const Row rows[] = {
        {"512 x 512 on 3 processors", 512, 512, 3, true},
        {"one pixel short of the threshold", 512, 511, 16, false},
        {"one processor", 512, 512, 1, false},
        {"a single row cannot be split", 262144, 1, 8, false},
        {"nine rows: fewer bands than workers", 29128, 9, 8, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const BgraImage image = noise_image(row.width, row.height, 4);
        const auto [pixels, starts] = run(image, row.processors);
        EXPECT_EQ(pixels, run(image, 1).first);
        EXPECT_EQ(starts > 0, row.workers);
    }
    const BgraImage large = noise_image(512, 512, 4);
    EXPECT_EQ(run(large, 16).second, run(large, kMaxBlurWorkers).second) << "no more than kMaxBlurWorkers";
}

TEST(BlurImageRects, BandsWhoseThreadIsRefusedStillGetBlurred) {
    const BgraImage image = noise_image(512, 512, 8);
    const BlurRect rect{0, 0, 512, 512, 5, 20};
    const auto alone = blurred(image, rect, {1});
    for (const int refuse_every : {1, 2}) {  // the n-th start, and every n-th after it, is refused
        SCOPED_TRACE(refuse_every);
        int attempts = 0;
        const auto flaky = [&](std::function<void()> work) {
            return ++attempts % refuse_every == 0 ? std::jthread{} : start_worker_thread(std::move(work));
        };
        EXPECT_EQ(blurred(image, rect, {8, flaky}), alone);
        EXPECT_GT(attempts, 0);
    }
    EXPECT_EQ(blurred(image, rect, {8, nullptr}), alone);
}

TEST(BlurImageRects, RefusesRectanglesOutsideTheImageAndRadiiOutOfRange) {
    const BgraImage image = noise_image(64, 48, 9);
    struct Row { const char* name; BlurRect rect; std::uint32_t image_width; const char* message; };
    const char* outside = "Blur rectangle outside the image";
    const Row rows[] = {
        {"no width", {0, 0, 0, 4, 1, 7}, 64, outside},
        {"no height", {0, 0, 4, 0, 1, 7}, 64, outside},
        {"past the right edge", {60, 0, 5, 4, 1, 7}, 64, outside},
        {"past the bottom edge", {0, 45, 4, 4, 1, 7}, 64, outside},
        {"x + width wraps in 32 bits", {0xFFFFFFF0u, 0, 0x20, 1, 1, 7}, 64, outside},
        {"rows longer than the buffer holds", {0, 47, 1, 1, 1, 7}, 65, outside},
        {"no image width", {0, 0, 1, 1, 1, 7}, 0, outside},
        {"radius below 3", {0, 0, 4, 4, 1, 2}, 64, "Blur radius outside 3..32"},
        {"radius above 32", {0, 0, 4, 4, 1, 33}, 64, "Blur radius outside 3..32"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto result = blur_image_rects(image.pixels, row.image_width, row.rect);
        ASSERT_FALSE(result.ok());
        EXPECT_EQ(result.failure(), invalid_input(row.message));
    }
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
        const SceneObject object = testing::blur(9, row.rect);
        const auto rects = collect_blur_rects(std::span(&object, 1), 1200, 1200);
        EXPECT_EQ(rects.empty() ? std::nullopt : std::optional(rects.at(0)), row.expected);
    }
}

// Each object is blurred from the unblurred image and pasted in list order,
// so the later one covers the overlap; without blur objects, or without
// valid pixels, the image itself comes back.
TEST(BlurRegions, BakesEachObjectFromUnblurredPixelsInListOrder) {
    const BgraImage image = noise_image(120, 90, 2);
    const std::vector<SceneObject> objects = {testing::blur(8, {10, 10, 70, 60}), rectangle(4, {0, 0, 5, 5}),
                                              testing::blur(5, {40, 30, 110, 80})};
    const auto rects = collect_blur_rects(objects, image.width, image.height);
    ASSERT_EQ(rects.size(), 2u);
    EXPECT_EQ(rects[0].seed, 8u);
    BgraImage expected = image;
    for (const BlurRect& rect : rects) {
        const auto pixels = blurred(image, rect, {1});
        for (std::uint32_t row = 0; row < rect.height; ++row)
            std::memcpy(&expected.pixels[(std::size_t{rect.y + row} * image.width + rect.x) * 4],
                        &pixels[std::size_t{row} * rect.width * 4], std::size_t{rect.width} * 4);
    }
    const BlurredImage result = *blur_regions(image, objects);
    ASSERT_TRUE(result.baked());
    EXPECT_EQ(result.image().pixels, expected.pixels);
    EXPECT_EQ(result.image().width, image.width);

    const std::vector<SceneObject> no_blur = {objects[1]};
    EXPECT_EQ(&blur_regions(image, no_blur)->image(), &image);
    BgraImage broken = image;
    broken.pixels.pop_back();
    EXPECT_EQ(&blur_regions(broken, objects)->image(), &broken);
}

TEST(BakeBlurRects, RectangleThatCannotBeBlurredIsCoveredNotLeftShowing) {
    const BgraImage image = noise_image(64, 48, 4);
    struct Row { const char* name; BlurRect rect; std::uint32_t covered_x, covered_y, covered_w, covered_h; };
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
    struct Row { const char* name; BlurRect changed; };
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
