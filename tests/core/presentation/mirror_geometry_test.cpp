#include "core/presentation/mirror_geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace glimmerly {
namespace {

TEST(MirrorRegion, UnionOfTwoPassesWidenedToWholePixelsInsideTheLayer) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Row {
        const char* name;
        std::optional<Box> dirty;
        std::optional<Box> previous;
        PixelRect region;
    };
    const Row rows[] = {
        {"neither: empty", std::nullopt, std::nullopt, {0, 0, 0, 0}},
        {"only this pass", Box{10, 20, 30, 40}, std::nullopt, {10, 20, 30, 40}},
        {"only the previous pass", std::nullopt, Box{1, 2, 3, 4}, {1, 2, 3, 4}},
        {"both: their union", Box{10, 20, 30, 40}, Box{5, 25, 35, 38}, {5, 20, 35, 40}},
        {"fractions widen", Box{10.5, 20.2, 30.1, 40.9}, std::nullopt, {10, 20, 31, 41}},
        {"clamped to the layer", Box{-8, -3, 150, 90}, std::nullopt, {0, 0, 100, 80}},
        {"a NaN side takes the other", Box{nan, 20, 30, nan}, Box{5, 25, 35, 38}, {5, 20, 35, 38}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(mirror_region(row.dirty, row.previous, 100, 80), row.region);
    }
}

TEST(MirrorUpload, OnlyTheChangedBoxGoesUpOnceTheSurfaceFits) {
    constexpr std::int32_t w = 200, h = 100;
    constexpr std::size_t length = std::size_t(w) * h * 4;
    const PixelRect changed{40, 10, 60, 30};

    const MirrorUploadPlan first = plan_mirror_upload(length, changed, w, h, false);
    EXPECT_FALSE(first.refused);
    EXPECT_TRUE(first.new_surface);
    EXPECT_EQ(first.region, (PixelRect{0, 0, w, h}));

    const MirrorUploadPlan later = plan_mirror_upload(length, changed, w, h, true);
    EXPECT_FALSE(later.new_surface);
    EXPECT_EQ(later.region, changed);
    EXPECT_EQ(std::int64_t(later.region.width()) * later.region.height(), 400);

    EXPECT_EQ(plan_mirror_upload(length, {5, 5, 5, 9}, w, h, true).region, PixelRect{});
}

TEST(MirrorUpload, PictureOrRegionNotMatchingTheWindowIsRefused) {
    constexpr std::size_t length = 200 * 100 * 4;
    struct Row {
        const char* name;
        std::size_t length;
        PixelRect region;
    };
    const Row rows[] = {
        {"short picture", length - 4, {0, 0, 10, 10}},
        {"long picture", length + 4, {0, 0, 10, 10}},
        {"left of the layer", length, {-1, 0, 10, 10}},
        {"above the layer", length, {0, -1, 10, 10}},
        {"right of the layer", length, {0, 0, 201, 10}},
        {"below the layer", length, {0, 0, 10, 101}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_TRUE(plan_mirror_upload(row.length, row.region, 200, 100, true).refused);
    }
    EXPECT_TRUE(plan_mirror_upload(0, {}, 0, 0, false).refused);
}

TEST(MirrorUpload, BoxStartsAtTheLentOffsetAndReadsFromTheRegionsFirstPixel) {
    const MirrorCopyBox box = mirror_copy_box({40, 10, 60, 30}, 256, 512, 200);
    EXPECT_EQ(box.left, 256u);
    EXPECT_EQ(box.top, 512u);
    EXPECT_EQ(box.right, 276u);
    EXPECT_EQ(box.bottom, 532u);
    EXPECT_EQ(box.row_pitch, 800u);
    EXPECT_EQ(box.source_offset, std::size_t(10 * 200 + 40) * 4);
    // The last byte read stays inside the picture.
    const MirrorCopyBox corner = mirror_copy_box({190, 90, 200, 100}, 0, 0, 200);
    EXPECT_EQ(corner.source_offset + std::size_t(corner.bottom - corner.top - 1) * corner.row_pitch +
                  std::size_t(corner.right - corner.left) * 4,
              std::size_t(200) * 100 * 4);
}

}  // namespace
}  // namespace glimmerly
