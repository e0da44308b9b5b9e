#include "core/blur/blur.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace glimmerly {
namespace {

struct Picture {
    std::vector<std::uint8_t> pixels;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

Picture noise(std::uint32_t width, std::uint32_t height, std::uint32_t seed) {
    Picture picture{std::vector<std::uint8_t>(std::size_t{width} * height * 4), width, height};
    std::mt19937 rng(seed);
    for (auto& byte : picture.pixels) byte = static_cast<std::uint8_t>(rng());
    return picture;
}

std::vector<std::uint8_t> blur(const Picture& picture, const BlurRect& rect, BlurWorkers workers = {}) {
    auto result = blur_image_rects(picture.pixels, picture.width, rect, workers);
    EXPECT_TRUE(result.ok()) << (result.ok() ? "" : result.failure().message);
    return result.ok() ? std::move(result).value() : std::vector<std::uint8_t>{};
}

std::uint64_t splitmix(std::uint64_t z) {
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9u;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebu;
    return z ^ (z >> 31);
}

// The blur written the slow, obvious way: every window summed afresh and
// divided, so that the running sums and the fixed-point reciprocal of the
// real one are checked against something that shares neither.
std::vector<std::uint8_t> reference_blur(const Picture& picture, const BlurRect& rect, int k) {
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
                a[at(x, y, c)] = picture.pixels[((rect.y + sy) * std::size_t{picture.width} + rect.x + sx) * 4 + c];
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
    const Picture picture = noise(2100, 48, 7);  // random alpha too: the result must be opaque
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
        EXPECT_EQ(blur(picture, row.rect), reference_blur(picture, row.rect, row.box));
    }
}

TEST(BlurImageRects, ReadsNothingOutsideItsRectangle) {
    Picture picture = noise(80, 60, 3);
    const BlurRect rect{10, 12, 50, 30, 9, 32};
    const auto before = blur(picture, rect);
    for (std::uint32_t y = 0; y < picture.height; ++y)
        for (std::uint32_t x = 0; x < picture.width; ++x)
            if (x < rect.x || x >= rect.x + rect.width || y < rect.y || y >= rect.y + rect.height)
                for (int c = 0; c < 4; ++c) picture.pixels[(std::size_t{y} * picture.width + x) * 4 + c] ^= 0xA5;
    EXPECT_EQ(blur(picture, rect), before);
}

// Whatever the bands, the result is that of the calling thread alone.
TEST(BlurImageRects, StartsWorkersOnlyForLargeRectanglesWithTheSameResult) {
    // Scatter and six box passes; the calling thread takes one band of each.
    constexpr int kPasses = 7;
    struct Row {
        const char* name;
        std::uint32_t width, height, processors;
        int starts;
    };
    const Row rows[] = {
        {"512 x 512 on 16 processors uses 8 bands", 512, 512, 16, kPasses * 7},
        {"512 x 512 on 3 processors", 512, 512, 3, kPasses * 2},
        {"one pixel short of the threshold", 512, 511, 16, 0},
        {"one processor", 512, 512, 1, 0},
        {"a single row cannot be split", 262144, 1, 8, 0},
        {"nine rows: fewer bands than workers", 29128, 9, 8, kPasses * 4},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const Picture picture = noise(row.width, row.height, 4);
        int starts = 0;
        const auto counting = [&starts](std::function<void()> work) {
            ++starts;  // called on the blurring thread only
            return start_worker_thread(std::move(work));
        };
        const auto out = blur(picture, {0, 0, row.width, row.height, 1, 3}, {row.processors, counting});
        EXPECT_EQ(starts, row.starts);
        EXPECT_EQ(out, blur(picture, {0, 0, row.width, row.height, 1, 3}, {1}));
    }
}

TEST(BlurImageRects, BandsWhoseThreadIsRefusedStillGetBlurred) {
    const Picture picture = noise(512, 512, 8);
    const BlurRect rect{0, 0, 512, 512, 5, 20};
    const auto alone = blur(picture, rect, {1});
    struct Row {
        const char* name;
        int refuse_every;  // the n-th start, and every n-th after it, is refused
    };
    for (const Row row : {Row{"every start refused", 1}, Row{"every other start refused", 2}}) {
        SCOPED_TRACE(row.name);
        int attempts = 0;
        const auto flaky = [&](std::function<void()> work) {
            return ++attempts % row.refuse_every == 0 ? std::jthread{} : start_worker_thread(std::move(work));
        };
        EXPECT_EQ(blur(picture, rect, {8, flaky}), alone);
        EXPECT_GT(attempts, 0);
    }
    EXPECT_EQ(blur(picture, rect, {8, nullptr}), alone);
}

TEST(BlurImageRects, RefusesRectanglesOutsideTheImageAndRadiiOutOfRange) {
    const Picture picture = noise(64, 48, 9);
    struct Row {
        const char* name;
        BlurRect rect;
        std::uint32_t image_width;
        const char* message;
    };
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
        const auto result = blur_image_rects(picture.pixels, row.image_width, row.rect);
        ASSERT_FALSE(result.ok());
        EXPECT_EQ(result.failure(), invalid_input(row.message));
    }
}

}  // namespace
}  // namespace glimmerly
