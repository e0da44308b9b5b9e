#include "core/editor/selection_edits.h"

#include "core/document/geometry.h"
#include "core/document/point_math.h"
#include "tests/core/support/objects.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>

namespace glimmerly {
namespace {

using namespace glimmerly::testing;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

SceneObject mapped(SceneObject object, const Box& from, const Box& to) {
    map_object_to_bounds(object, from, to);
    return object;
}

TEST(MapObjectToBounds, MapsEachKindAxisByAxis) {
    const Box from{0, 0, 100, 50}, to{10, 20, 310, 70};  // x three times, y once, shifted
    struct Row { const char* name; SceneObject object, expected; };
    const Row rows[] = {
        {"rectangle", rectangle(1, {10, 10, 20, 30}, 0.5), rectangle(1, {40, 30, 70, 50}, 0.5)},
        {"ellipse", ellipse(2, {0, 0, 100, 50}), ellipse(2, {10, 20, 310, 70})},
        {"blur", blur(3, {50, 0, 60, 10}), blur(3, {160, 20, 190, 30})},
        {"stroke keeps its widths", with_widths(stroke(4, {{0, 0}, {50, 25}, {100, 50}}), {2, 5}),
         with_widths(stroke(4, {{10, 20}, {160, 45}, {310, 70}}), {2, 5})},
        {"line keeps its bend", bent(line(5, {0, 50}, {100, 0}), {0.1, 0.2}),
         bent(line(5, {10, 70}, {310, 20}), {0.1, 0.2})},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(mapped(row.object, from, to), row.expected);
    }
    // A flat axis is shifted, not stretched, while the other still scales.
    EXPECT_EQ(mapped(rectangle(1, {5, 0, 5, 10}), {5, 0, 5, 10}, {10, 0, 30, 20}), rectangle(1, {10, 0, 10, 20}));
}

TEST(MapObjectToBounds, TextsScaleTheirLettersWithTheHeightWithin8To300AndWrappedLabelsRewrap) {
    struct Row { const char* name; SceneObject object; Box to; SceneObject expected; };
    // Each text is 50 x 20 at (100, 100); a label's box adds margins of 0.4 and
    // 0.25 times its size, so a Fit or Wrap label of size 20 spans (92, 95) to
    // (158, 125).
    const auto plain = [](double size, Point at, Size extent) {
        return text(1, "Hi", at, LabelMode::none(), size, extent);
    };
    const auto label = [](LabelMode mode, double size, Point at, Size extent) {
        return text(1, "Hi", at, mode, size, extent);
    };
    const Row rows[] = {
        {"twice as high", plain(20, {100, 100}, {50, 20}), {100, 100, 180, 140}, plain(40, {100, 100}, {100, 40})},
        {"three times as high at 150 stops at 300", plain(150, {100, 100}, {50, 20}), {100, 100, 180, 160},
         plain(300, {100, 100}, {100, 40})},
        {"shrunk below 8 stops at 8", plain(20, {100, 100}, {50, 20}), {100, 100, 180, 102},
         plain(8, {100, 100}, {20, 8})},
        {"only wider keeps the size", plain(20, {100, 100}, {50, 20}), {100, 100, 180, 120},
         plain(20, {100, 100}, {50, 20})},
        {"a Fit label keeps its margins at the new size", label(LabelMode::fit(), 20, {100, 100}, {50, 20}),
         {0, 0, 132, 60}, label(LabelMode::fit(), 40, {16, 10}, {100, 40})},
        {"a wrapped label rewraps and keeps its letters", label(LabelMode::wrap(120), 20, {100, 100}, {50, 20}),
         {0, 0, 200, 300}, label(LabelMode::wrap(184), 20, {8, 5}, {50, 20})},
        {"no narrower than its size", label(LabelMode::wrap(120), 20, {100, 100}, {50, 20}), {0, 0, 10, 300},
         label(LabelMode::wrap(20), 20, {8, 5}, {50, 20})},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(mapped(row.object, object_bounds(row.object), row.to), row.expected);
    }
}

TEST(MapObjectToBounds, LeavesTheObjectAsItWasWhenTheResultWouldNotBeFinite) {
    const SceneObject objects[] = {
        rectangle(1, {0, 0, 10, 10}), line(2, {0, 0}, {10, 10}), stroke(3, {{0, 0}, {10, 10}}),
        text(4, "Hi", {0, 0}), text(5, "Hi", {0, 0}, LabelMode::wrap(40)),
    };
    for (const SceneObject& object : objects)
        for (const Box& to : {Box{0, kNaN, 10, 10}, Box{0, 0, std::numeric_limits<double>::infinity(), 10}}) {
            SCOPED_TRACE(static_cast<int>(object.id));
            EXPECT_EQ(mapped(object, {0, 0, 10, 10}, to), object);
        }
}

TEST(MapObjectToBounds, AdjacentRectanglesStayAdjacentUnderAnyResize) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> edge(-500, 500), extent(0.3, 900);
    for (int trial = 0; trial < 200; ++trial) {
        const double x0 = edge(random), x1 = x0 + extent(random), x2 = x1 + extent(random);
        const double y0 = edge(random), y1 = y0 + extent(random), y2 = y1 + extent(random);
        const Box frame{x0, y0, x2, y2};
        const double nx = edge(random), ny = edge(random);
        const Box to{nx, ny, nx + extent(random), ny + extent(random)};
        const SceneObject left = mapped(rectangle(1, {x0, y0, x1, y1}), frame, to);
        const SceneObject right = mapped(rectangle(2, {x1, y0, x2, y1}), frame, to);
        const SceneObject below = mapped(rectangle(3, {x0, y1, x1, y2}), frame, to);
        ASSERT_EQ(rect_of(left).right, rect_of(right).left);
        ASSERT_EQ(rect_of(left).bottom, rect_of(below).top);
        ASSERT_EQ(rect_of(left).left, to.left);
        ASSERT_DOUBLE_EQ(rect_of(right).right, to.right);
    }
}

TEST(MoveObjectBy, AddsTheOffsetExactlyAndChangesNothingElse) {
    std::mt19937 random(11);
    std::uniform_real_distribution<double> coordinate(-1e4, 1e4);
    for (int trial = 0; trial < 100; ++trial) {
        const Point a{coordinate(random), coordinate(random)}, b{coordinate(random), coordinate(random)};
        const Point o{coordinate(random) / 7, coordinate(random) / 3};
        const Box box{a.x, a.y, a.x + 10.1, a.y + 20.7};
        const Box moved{box.left + o.x, box.top + o.y, box.right + o.x, box.bottom + o.y};
        const std::pair<SceneObject, SceneObject> cases[] = {
            {rectangle(1, box), rectangle(1, moved)},
            {bent(line(2, a, b), {0.3, 0.1}), bent(line(2, a + o, b + o), {0.3, 0.1})},
            {stroke(3, {a, b}), stroke(3, {a + o, b + o})},
            {text(4, "Hi", a, LabelMode::wrap(80.3), 17.3), text(4, "Hi", a + o, LabelMode::wrap(80.3), 17.3)},
        };
        for (const auto& [object, expected] : cases) {
            SceneObject copy = object;
            move_object_by(copy, o);
            ASSERT_EQ(copy, expected);
        }
    }
}

TEST(SettleArrowEnds, FixesTheDrawnEndsOfAnElbowLineAndLoosensOnlyWhatIsLeftBehind) {
    const ObjectAttachment at_1{1, {50, 0}}, at_2{2, {-50, 0}};
    const std::vector<SceneObject> scene = {rectangle(1, {0, 0, 100, 100}), rectangle(2, {300, 0, 400, 100}),
                                            elbow(3, {0, 0}, {0, 0}, at_1, at_2)};
    const auto drawn = resolve_arrow_ends(scene[2], scene);
    SceneObject link = scene[2];
    const ObjectId kept[] = {2};
    settle_arrow_ends(link, scene, kept);
    EXPECT_EQ(as_line(link)->from, drawn->from);
    EXPECT_EQ(as_line(link)->to, drawn->to);
    EXPECT_FALSE(as_line(link)->start);
    EXPECT_EQ(as_line(link)->end, at_2);

    // An end whose target is missing keeps its stored point.
    SceneObject stray = fastened(line(3, {5, 6}, {7, 8}), std::nullopt, ObjectAttachment{99, {1, 0}});
    settle_arrow_ends(stray, std::vector<SceneObject>{}, std::span<const ObjectId>{});
    EXPECT_EQ(stray, line(3, {5, 6}, {7, 8}));
}

}  // namespace
}  // namespace glimmerly
