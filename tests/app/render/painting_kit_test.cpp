// The painting kit's filled paths, drawn into a picture.

#include "app/render/painting_kit.h"

#include <gtest/gtest.h>

#include "tests/app/render/render_support.h"

namespace glimmerly {
namespace {

using testing::has_colour;

class PaintingKit : public testing::RenderTest {
protected:
    BgraImage paint(const std::function<void(Painter&)>& paint) { return RenderTest::paint(100, 80, paint); }
};

TEST_F(PaintingKit, APathIsItsRectangleWithTheHolesLeftOpenAlsoWhenReused) {
    const std::vector<Polyline> holes{{{30, 20}, {50, 20}, {50, 40}, {30, 40}}, {{60, 50}, {80, 50}, {70, 70}}};
    const PaintColour shade{1.0f, 20, 40, 80};
    for (const char* pass : {"built", "from the cache"}) {
        SCOPED_TRACE(pass);
        const BgraImage image = paint([&](Painter& p) { EXPECT_TRUE(paint_path(p, {10, 10, 90, 75}, holes, shade)); });
        EXPECT_TRUE(has_colour(image, {20, 60}, shade.rgb()));
        EXPECT_TRUE(has_colour(image, {40, 30}, {255, 255, 255}));
        EXPECT_TRUE(has_colour(image, {70, 58}, {255, 255, 255}));
        EXPECT_TRUE(has_colour(image, {5, 5}, {255, 255, 255}));
    }
}

// Wine has no Segoe UI: this also shows interface text taking the built-in
// font where the system lacks its own.
TEST_F(PaintingKit, InterfaceTextIsDrawnAndClippedToItsRectangle) {
    const BgraImage image = paint([](Painter& p) {
        const Status drawn = draw_ui_text(p, "WWWWWWWWWWWW", {10, 20, 60, 60}, 20, PaintColour::grey(0));
        EXPECT_TRUE(drawn) << drawn.failure().message;
    });
    int inside = 0, outside = 0;
    for (std::uint32_t y = 0; y < 80; ++y)
        for (std::uint32_t x = 0; x < 100; ++x) {
            const bool dark = testing::pixel(image, x, y).r < 128;
            (x >= 10 && x < 60 && y >= 20 && y < 60 ? inside : outside) += dark;
        }
    EXPECT_GT(inside, 50);
    EXPECT_EQ(outside, 0);
}

TEST_F(PaintingKit, EmptyPointListsDrawNothingAndSucceed) {
    const BgraImage image = paint([](Painter& p) {
        EXPECT_TRUE(stroke_polyline(p, {}, true, PaintColour::grey(0), 4));
        EXPECT_TRUE(fill_polygon(p, {}, PaintColour::grey(0)));
    });
    EXPECT_TRUE(has_colour(image, {50, 40}, {255, 255, 255}));
}

}  // namespace
}  // namespace glimmerly

namespace glimmerly {
namespace {

// The dashed outline is one path of all its dashes: it must leave exactly
// the pixels of the same dashes drawn one line each, corners and
// antialiased edges included.
TEST_F(PaintingKit, ADashedOutlineIsExactlyItsDashesDrawnOneByOne) {
    struct Row {
        const char* name;
        std::array<Point, 4> corners;
        double width;
    };
    const Row rows[] = {
        {"a square on whole pixels", {Point{10, 10}, {90, 10}, {90, 70}, {10, 70}}, 1.0},
        {"a turned square between pixels", {Point{50.3, 5.2}, {93.7, 40.1}, {49.6, 75.4}, {6.2, 39.8}}, 1.5},
        {"a thick outline", {Point{12.5, 12.5}, {87.5, 12.5}, {87.5, 67.5}, {12.5, 67.5}}, 3.0},
    };
    const PaintColour colour{1.0f, 200, 40, 90};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const BgraImage together = paint([&](Painter& p) {
            EXPECT_TRUE(paint_dashed_polygon(p, row.corners, colour, row.width));
        });
        const BgraImage apart = paint([&](Painter& p) {
            const std::array<Point, 5> ring{row.corners[0], row.corners[1], row.corners[2], row.corners[3],
                                            row.corners[0]};
            for (const Dash& dash : dash_polyline(ring, row.width))
                stroke_line(p, dash.from, dash.to, colour, row.width);
        });
        ASSERT_FALSE(apart.pixels.empty());
        EXPECT_NE(apart.pixels, testing::plain_picture(100, 80).pixels) << "the dashes show";
        EXPECT_TRUE(together.pixels == apart.pixels);
    }
}

}  // namespace
}  // namespace glimmerly
