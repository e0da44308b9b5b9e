#include "core/render/picker_pictures.h"

#include "core/document/point_math.h"
#include "tests/core/support/near.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

namespace glimmerly {
namespace {

// Blue, green, red, alpha.
using Pixel = std::array<std::uint8_t, 4>;

Pixel pixel(const std::vector<std::uint8_t>& bytes, std::uint32_t side, std::uint32_t x, std::uint32_t y) {
    const std::size_t at = (std::size_t{y} * side + x) * 4;
    return {bytes[at], bytes[at + 1], bytes[at + 2], bytes[at + 3]};
}

TEST(HueWheel, RingOfPremultipliedHuesTransparentOffIt) {
    const auto wheel = generate_hue_wheel();
    ASSERT_EQ(wheel.size(), 166464u);
    for (std::uint32_t y = 0; y < kHueWheelSide; ++y)
        for (std::uint32_t x = 0; x < kHueWheelSide; ++x) {
            const Pixel p = pixel(wheel, kHueWheelSide, x, y);
            const double r = std::hypot(x + 0.5 - 102.0, y + 0.5 - 102.0);
            ASSERT_TRUE((r >= 81.5 && r <= 100.5) || p == Pixel{}) << x << "," << y;
            ASSERT_TRUE(r <= 82.5 || r >= 99.5 || p[3] == 255) << x << "," << y;
            ASSERT_LE(std::max({p[0], p[1], p[2]}), p[3]) << "premultiplied";
        }
    // Radius 101.5: outside the ring, whatever its hue.
    EXPECT_EQ(pixel(wheel, kHueWheelSide, 203, 102), (Pixel{0, 0, 0, 0}));
}

TEST(HueWheel, HueStartsRedOnTheRightAndTurnsClockwise) {
    const auto wheel = generate_hue_wheel();
    struct Row { const char* name; std::uint32_t x, y; Pixel expected; };
    // Half a pixel off each axis: the hue is a hair past the axis's.
    const Row rows[] = {
        {"right, hue 0: red with a trace of green", 193, 102, {0, 1, 255, 255}},
        {"below, hue 1/4: between yellow and green", 102, 193, {0, 255, 129, 255}},
        {"left, hue 1/2: cyan", 10, 101, {255, 254, 0, 255}},
        {"above, hue 3/4: between blue and magenta", 101, 10, {255, 0, 126, 255}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(pixel(wheel, kHueWheelSide, row.x, row.y), row.expected);
    }
}

TEST(ValueSquare, WhiteToHueAcrossAndBlackAtTheBottom) {
    const auto square = generate_value_square(1.0 / 3.0);
    ASSERT_EQ(square.size(), 65536u);
    EXPECT_EQ(pixel(square, kValueSquareSide, 0, 0), (Pixel{255, 255, 255, 255}));
    EXPECT_EQ(pixel(square, kValueSquareSide, 127, 0), (Pixel{0, 255, 0, 255}));
    for (std::uint32_t x = 0; x < kValueSquareSide; ++x)
        EXPECT_EQ(pixel(square, kValueSquareSide, x, 127), (Pixel{0, 0, 0, 255})) << x;
}

TEST(ValueSquare, FullTurnGivesTheSamePictureUnderANewVersion) {
    EXPECT_EQ(generate_value_square(1.0), generate_value_square(0.0));
    EXPECT_EQ(generate_value_square(-0.75), generate_value_square(0.25));
    EXPECT_EQ(generate_value_square(NAN), generate_value_square(0.0));
    EXPECT_NE(value_square_version(1.0), value_square_version(0.0));
}

TEST(PickerLayout, MarkersFollowTheColourAndTextBoxesTheirText) {
    ColourPicker picker{.rect = {100, 50, 620, 682}, .scale = 2.0, .hue = 0.25, .saturation = 1.0, .value = 0.0};
    const auto layout = picker_paint_layout(picker, 100, 600);
    ASSERT_TRUE(layout);
    const Box& w = layout->wheel;
    const Point ring_centre{(w.left + w.right) / 2, (w.top + w.bottom) / 2};
    testing::expect_near(layout->hue_marker.centre, ring_centre + Point{0, 182});  // hue 1/4: below, on the ring
    EXPECT_EQ(layout->square_marker.centre, (Point{layout->square.right, layout->square.bottom}));
    EXPECT_DOUBLE_EQ(layout->title.right, 100 + 240 * 2) << "a short title keeps the least width";
    EXPECT_DOUBLE_EQ(layout->hint.right, 100 + 318 * 2) << "a long hint widens its box";
    picker.scale = 0.0;
    EXPECT_FALSE(picker_paint_layout(picker, 100, 100));
}

}  // namespace
}  // namespace glimmerly
