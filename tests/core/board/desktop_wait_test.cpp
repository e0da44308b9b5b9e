#include "core/board/desktop_wait.h"

#include <gtest/gtest.h>

namespace glimmerly {
namespace {

BgraImage grey(std::uint32_t width, std::uint32_t height, std::uint8_t value) {
    return {std::vector<std::uint8_t>(std::size_t{width} * height * 4, value), width, height};
}

void paint(BgraImage& image, std::size_t index, std::uint8_t value) {
    for (int c = 0; c < 3; ++c) image.pixels[index * 4 + c] = value;
}

TEST(BandSamplePositions, CentresOf32BandsWithoutRepeats) {
    const auto wide = band_sample_positions(1920);
    ASSERT_EQ(wide.size(), 32u);
    EXPECT_EQ(wide.front(), 30u);
    EXPECT_EQ(wide.back(), 1890u);
    EXPECT_EQ(band_sample_positions(4), (std::vector<std::uint32_t>{0, 1, 2, 3}));
    EXPECT_EQ(band_sample_positions(0), (std::vector<std::uint32_t>{0}));
    // 64-bit intermediates: no overflow at the largest length.
    EXPECT_EQ(band_sample_positions(0xFFFFFFFFu).back(), static_cast<std::uint32_t>(0xFFFFFFFFull * 63 / 64));
}

TEST(ChangedSamplePoints, PicturesOfAnotherSizeGiveTheBandGrid) {
    const auto points = changed_sample_points(grey(10, 10, 0), grey(64, 32, 0));
    ASSERT_EQ(points.size(), 32u * 32u);
    EXPECT_EQ(points[0], SamplePoint(1, 0));
    EXPECT_EQ(points[1], SamplePoint(3, 0));
    EXPECT_EQ(points[32], SamplePoint(1, 1));
}

TEST(ChangedSamplePoints, TakesEveryStepOfTheChangedPixelsAtMost1024) {
    const struct {
        std::size_t changed;
        std::size_t points;
        std::size_t step;
    } rows[] = {{0, 0, 1}, {5, 5, 1}, {1024, 1024, 1}, {1025, 513, 2}, {3000, 1000, 3}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.changed);
        const BgraImage before = grey(100, 40, 10);
        BgraImage after = before;
        for (std::size_t i = 0; i < row.changed; ++i) paint(after, i, 200);
        const auto points = changed_sample_points(before, after);
        ASSERT_EQ(points.size(), row.points);
        if (points.size() > 1) {
            EXPECT_EQ(points[1], SamplePoint(row.step % 100, row.step / 100));
        }
    }
}

TEST(ChangedSamplePoints, ADifferenceOfTwoIsNoChange) {
    BgraImage after = grey(8, 8, 10);
    paint(after, 3, 12);
    EXPECT_TRUE(changed_sample_points(grey(8, 8, 10), after).empty());
    paint(after, 3, 13);
    EXPECT_EQ(changed_sample_points(grey(8, 8, 10), after), (std::vector<SamplePoint>{{3, 0}}));
}

TEST(ShowsPicture, NinetyFivePercentOfThePointsMatching) {
    const BgraImage picture = grey(20, 1, 200);
    std::vector<SamplePoint> points;
    for (std::uint32_t x = 0; x < 20; ++x) points.emplace_back(x, 0);
    BgraImage shown = picture;
    paint(shown, 0, 0);
    EXPECT_TRUE(shows_picture(shown, picture, points));
    paint(shown, 1, 0);
    EXPECT_FALSE(shows_picture(shown, picture, points));
    EXPECT_FALSE(shows_picture(grey(20, 2, 200), picture, points));
}

}  // namespace
}  // namespace glimmerly
