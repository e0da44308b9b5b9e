#include "core/pointer/spotlight_paint.h"

#include <gtest/gtest.h>

#include <vector>

namespace glimmerly {
namespace {

struct Picture {
    std::vector<std::uint8_t> bytes;
    std::int32_t width, height;
    Picture(std::int32_t w, std::int32_t h) : bytes(std::size_t(w) * h * 4, 0xEE), width(w), height(h) {}
    BgraView view() { return {bytes.data(), width, height}; }
    std::uint8_t alpha(std::int32_t x, std::int32_t y) const { return bytes[(std::size_t(y) * width + x) * 4 + 3]; }
    std::uint8_t blue(std::int32_t x, std::int32_t y) const { return bytes[(std::size_t(y) * width + x) * 4]; }
};

SpotlightFrame circle_at(std::int32_t x, std::int32_t y, std::uint32_t darkness = 60) {
    return {.cursor_x = x, .cursor_y = y, .size = 60, .darkness = darkness, .shape = 1, .scale = 1.0};
}

TEST(SpotlightPaint, DarknessBecomesTheAlphaOutsideTheHoleAndTheHoleIsClear) {
    struct Row {
        const char* name;
        std::uint32_t darkness;
        std::uint8_t alpha;
    };
    for (const Row row : {Row{"darkness 20", 20, 51}, Row{"darkness 90", 90, 229}}) {
        SCOPED_TRACE(row.name);
        Picture picture(400, 300);
        SpotlightCanvas canvas;
        const SpotlightUpdate update = paint_spotlight(canvas, picture.view(), true, circle_at(200, 150, row.darkness));
        EXPECT_TRUE(update.whole);
        EXPECT_EQ(update.rect, (PixelRect{0, 0, 400, 300}));
        EXPECT_EQ(picture.alpha(0, 0), row.alpha);
        EXPECT_EQ(picture.alpha(399, 299), row.alpha);
        EXPECT_EQ(picture.blue(0, 0), 0);
        EXPECT_EQ(picture.alpha(200, 150), 0);       // inside the inner radius of 30
        EXPECT_EQ(picture.alpha(200 + 59, 150), row.alpha);  // past 30 + 30 of soft edge
        const std::uint8_t halfway = picture.alpha(200 + 45, 150);
        EXPECT_GT(halfway, row.alpha / 4);
        EXPECT_LT(halfway, row.alpha * 3 / 4);
    }
}

TEST(SpotlightPaint, AHoleAtAnEdgeWritesOnlyInsideTheWindowAndAMoveRefillsBothBoxes) {
    Picture picture(400, 300);
    SpotlightCanvas canvas;
    (void)paint_spotlight(canvas, picture.view(), true, circle_at(200, 150));
    Picture before = picture;
    const SpotlightUpdate update = paint_spotlight(canvas, picture.view(), false, circle_at(5, 3));
    EXPECT_FALSE(update.whole);
    // The old hole (140..260, 90..210) and the new (-55..65, -57..63), clamped.
    EXPECT_EQ(update.rect, (PixelRect{0, 0, 260, 210}));
    EXPECT_EQ(picture.alpha(200, 150), spotlight_alpha(60));
    EXPECT_EQ(picture.alpha(5, 3), 0);
    for (std::int32_t y = 0; y < 300; ++y)
        for (std::int32_t x = 0; x < 400; ++x) {
            if (x < 260 && y < 210) continue;
            ASSERT_EQ(picture.alpha(x, y), before.alpha(x, y)) << x << "," << y;
        }
}

TEST(SpotlightPaint, ADarknessChangeRefillsTheWholeWindowOnce) {
    Picture picture(300, 200);
    SpotlightCanvas canvas;
    (void)paint_spotlight(canvas, picture.view(), true, circle_at(100, 100, 40));
    const SpotlightUpdate darker = paint_spotlight(canvas, picture.view(), false, circle_at(100, 100, 80));
    EXPECT_TRUE(darker.whole);
    EXPECT_EQ(picture.alpha(299, 0), spotlight_alpha(80));
    const SpotlightUpdate again = paint_spotlight(canvas, picture.view(), false, circle_at(100, 100, 80));
    EXPECT_FALSE(again.whole);
    EXPECT_EQ(again.rect, (PixelRect{40, 40, 160, 160}));
}

TEST(SpotlightPaint, ABandMovedSidewaysKeepsItsStampAndItsBox) {
    Picture picture(300, 200);
    SpotlightCanvas canvas;
    SpotlightFrame band = circle_at(100, 100);
    band.shape = 2;
    (void)paint_spotlight(canvas, picture.view(), true, band);
    const std::uint8_t* stamp = canvas.stamp.data();
    band.cursor_x = 250;
    const SpotlightUpdate moved = paint_spotlight(canvas, picture.view(), false, band);
    EXPECT_EQ(canvas.stamp.data(), stamp);
    EXPECT_EQ(moved.rect, (PixelRect{0, 40, 300, 160}));
    EXPECT_EQ(picture.alpha(0, 100), 0);
    EXPECT_EQ(picture.alpha(0, 39), spotlight_alpha(60));
}

TEST(SpotlightClampRect, KeepsEveryEdgeInsideTheBounds) {
    const PixelRect bounds{0, 0, 100, 50};
    EXPECT_EQ(clamp_rect({-10, -5, 20, 30}, bounds), (PixelRect{0, 0, 20, 30}));
    EXPECT_EQ(clamp_rect({90, 40, 300, 400}, bounds), (PixelRect{90, 40, 100, 50}));
    EXPECT_EQ(clamp_rect({200, 200, 300, 300}, bounds), (PixelRect{100, 50, 100, 50}));
    EXPECT_EQ(clamp_rect({50, 20, 10, 5}, bounds), (PixelRect{50, 20, 50, 20}));
}

}  // namespace
}  // namespace glimmerly
