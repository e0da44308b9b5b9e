#include "core/pointer/pointer_paint.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace glimmerly {
namespace {

constexpr Rgb kHalo{255, 211, 64};

PointerSettings only(std::uint32_t halo, std::uint32_t trail, std::uint32_t clicks) {
    PointerSettings settings;
    settings.halo_shape = halo;
    settings.trail_style = trail;
    settings.trail_length = 1;  // 320 ms
    settings.click_animation = clicks;
    return settings;
}

PointerPicture picture_of(const PointerState& state, const PointerSettings& settings, std::uint64_t now,
                          PointerHighlight highlight = {std::nullopt, false, kHalo}, Point origin = {}) {
    PointerPicture picture;
    build_pointer_picture(picture, origin, state, settings, highlight, 1.0, now);
    return picture;
}

std::size_t count_of(const PointerPicture& picture, PointerShape shape) {
    return static_cast<std::size_t>(std::count_if(picture.primitives.begin(), picture.primitives.end(),
                                                  [&](const PointerPrimitive& p) { return p.shape == shape; }));
}

void add_trail_point(PointerState& state, double x, double y, std::uint64_t time) {
    state.trail.points[state.trail.count++] = {x, y, time};
}

TEST(PointerPicture, TrailNeedsTwoLivingPoints) {
    struct Row {
        const char* name;
        std::vector<TrailPoint> points;
        std::optional<Point> displayed;
        bool drawn;
    };
    const Row rows[] = {
        {"one point", {{10, 10, 1000}}, std::nullopt, false},
        {"one point under the halo", {{10, 10, 1000}}, Point{10, 10}, false},
        {"one point and the halo apart", {{10, 10, 1000}}, Point{60, 10}, true},
        {"a point exactly 320 ms old is dropped", {{10, 10, 680}, {60, 10, 1000}}, std::nullopt, false},
        {"two living points", {{10, 10, 681}, {60, 10, 1000}}, std::nullopt, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        PointerState state;
        for (const TrailPoint& p : row.points) add_trail_point(state, p.x, p.y, p.time);
        state.displayed = row.displayed;
        EXPECT_EQ(count_of(picture_of(state, only(0, 1, 0), 1000), PointerShape::Polygon) > 0, row.drawn);
    }
}

TEST(PointerPicture, DotsShrinkAndFadeWithTheirAge) {
    PointerState state;
    add_trail_point(state, 0, 0, 710);
    add_trail_point(state, 100, 0, 1000);
    const PointerPicture picture = picture_of(state, only(0, 2, 0), 1020);
    ASSERT_EQ(picture.primitives.size(), 13u);  // 100 px at 9 px apart, and the last point
    const PointerPrimitive& oldest = picture.primitives.front();
    EXPECT_FLOAT_EQ(oldest.colour.opacity, static_cast<float>(0.85 * (1.0 - 310.0 / 320)));
    EXPECT_DOUBLE_EQ(picture.primitives.back().radius, (0.7 * (1.0 - 20.0 / 320) + 0.3) * 3.5);
    EXPECT_EQ(picture.primitives.back().at, (Point{100, 0}));
}

TEST(PointerPicture, RibbonLayersStopWhereTheTrailFadesAndJumpsAreCapped) {
    PointerState state;
    // Jumps of 7680 px along the edges of a wall of screens, one event each.
    for (const Point p : {Point{0, 0}, Point{7680, 0}, Point{7680, 4320}, Point{0, 4320}, Point{0, 0}})
        add_trail_point(state, p.x, p.y, 1000);
    const PointerPicture picture = picture_of(state, only(0, 1, 0), 1000);
    ASSERT_EQ(count_of(picture, PointerShape::Polygon), 16u);
    for (const PointerPrimitive& layer : picture.primitives) {
        EXPECT_LE(layer.count, 2 * kMaxTrailSamples + 7);
        EXPECT_GT(layer.count, 2 * kMaxTrailSamples * 9 / 10);
        EXPECT_NEAR(1.0 - std::pow(1.0 - layer.colour.opacity, 16), 0.85, 1e-6);
    }
    // A trail half faded has the later layers only over its younger half.
    PointerState fading;
    add_trail_point(fading, 0, 0, 1010);
    add_trail_point(fading, 100, 0, 1320);
    const PointerPicture half = picture_of(fading, only(0, 1, 0), 1320);
    ASSERT_EQ(count_of(half, PointerShape::Polygon), 16u);
    EXPECT_GT(half.primitives.front().count, half.primitives.back().count);
}

TEST(PointerPicture, ClickMarksGrowAndEndByStyle) {
    struct Row {
        const char* name;
        std::uint32_t style;
        std::uint64_t age;
        std::size_t fills, rings;
    };
    const Row rows[] = {
        {"ripple at 449 ms", 1, 449, 1, 1}, {"ripple at 450 ms", 1, 450, 0, 0},
        {"ring at 449 ms", 2, 449, 0, 1},   {"ring at 450 ms", 2, 450, 0, 0},
        {"waves at 449 ms", 3, 449, 0, 3},  {"waves at 450 ms", 3, 450, 0, 2},
        {"waves at 689 ms", 3, 689, 0, 1},  {"waves at 690 ms", 3, 690, 0, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        PointerState state;
        add_click_mark(state, 50, 50, 1000, 0);
        const PointerPicture picture = picture_of(state, only(0, 0, row.style), 1000 + row.age);
        EXPECT_EQ(count_of(picture, PointerShape::FillCircle), row.fills);
        EXPECT_EQ(count_of(picture, PointerShape::StrokeCircle), row.rings);
    }
}

TEST(PointerPicture, MarksTakeTheColourOfTheirButtonAndTheOrigin) {
    PointerState state;
    const PointerSettings settings = only(0, 0, 2);
    add_click_mark(state, 50, 60, 1000, 0);
    add_click_mark(state, 50, 60, 1000, 1);
    add_click_mark(state, 50, 60, 1000, 2);
    const PointerPicture picture = picture_of(state, settings, 1000, {std::nullopt, false, kHalo}, {20, 30});
    ASSERT_EQ(picture.primitives.size(), 3u);
    EXPECT_EQ(picture.primitives[0].colour.rgb(), settings.left_click_color);
    EXPECT_EQ(picture.primitives[1].colour.rgb(), settings.right_click_color);
    EXPECT_EQ(picture.primitives[2].colour.rgb(), settings.right_click_color);  // the middle button
    EXPECT_EQ(picture.primitives[2].at, (Point{30, 30}));
    EXPECT_DOUBLE_EQ(picture.primitives[2].radius, 6.0);
}

TEST(PointerPicture, HaloShapesBySoftEdgeAndPress) {
    PointerState state;
    state.displayed = Point{100, 100};
    PointerSettings disc = only(1, 0, 0);
    const PointerPicture hard = picture_of(state, disc, 0);
    ASSERT_EQ(hard.primitives.size(), 2u);
    EXPECT_EQ(hard.primitives[0].shape, PointerShape::FillCircle);
    EXPECT_FLOAT_EQ(hard.primitives[0].colour.opacity, 0.14f);
    EXPECT_EQ(hard.primitives[1].shape, PointerShape::StrokeCircle);
    EXPECT_DOUBLE_EQ(hard.primitives[1].radius, 24.0);
    disc.halo_softness = 50;
    const PointerPicture soft = picture_of(state, disc, 0, {0.5, true, kHalo});
    ASSERT_EQ(soft.primitives.size(), 17u);  // sixteen layers and the pulse
    for (const PointerPrimitive& p : soft.primitives) EXPECT_EQ(p.colour.rgb(), kPressedHaloColour);
    EXPECT_DOUBLE_EQ(soft.primitives[15].radius, 24.0 * (1.0 - 0.5 * 15 / 16));
    EXPECT_DOUBLE_EQ(soft.primitives[16].radius, 24.0 * 1.2);
    EXPECT_NEAR(1.0 - std::pow(1.0 - soft.primitives[0].colour.opacity, 16.0), 0.65, 1e-5);
    EXPECT_EQ(picture_of(state, only(3, 0, 0), 0).primitives.size(), 6u);  // four glows, core, highlight
}

}  // namespace
}  // namespace glimmerly
