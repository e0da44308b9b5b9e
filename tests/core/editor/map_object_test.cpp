#include "core/document/geometry.h"
#include "core/editor/selection_edits.h"

#include "tests/core/support/objects.h"

#include <gtest/gtest.h>

#include <cmath>
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
    struct Row {
        const char* name;
        SceneObject object;
        SceneObject expected;
    };
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
}

TEST(MapObjectToBounds, AFlatAxisIsShiftedNotStretched) {
    // A zero-width rectangle onto a box 20 wide: it moves to the new left edge
    // and keeps its width of 0, while the other axis still scales.
    EXPECT_EQ(mapped(rectangle(1, {5, 0, 5, 10}), {5, 0, 5, 10}, {10, 0, 30, 20}),
              rectangle(1, {10, 0, 10, 20}));
    // A horizontal line keeps its height of 0 whatever the new box's height.
    EXPECT_EQ(mapped(line(2, {0, 7}, {10, 7}), {0, 7, 10, 7}, {0, 0, 20, 40}), line(2, {0, 0}, {20, 0}));
}

TEST(MapObjectToBounds, TextsScaleTheirLettersWithTheHeightWithin8To300) {
    struct Row {
        const char* name;
        double size;
        double height_factor;
        double expected_size;
        double extent_factor;
    };
    const Row rows[] = {
        {"twice as high", 20, 2, 40, 2},
        {"three times as high at 150 stops at 300", 150, 3, 300, 2},
        {"shrunk below 8 stops at 8", 20, 0.1, 8, 0.4},
        {"only wider keeps the size", 20, 1, 20, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const SceneObject plain = text(1, "Hi", {100, 100}, LabelMode::none(), row.size, {50, 20});
        const Box b = object_bounds(plain);  // (100, 100) to (150, 120)
        const Box to{b.left, b.top, b.right + 30, b.top + 20 * row.height_factor};
        const SceneObject after = mapped(plain, b, to);
        const TextPayload& t = *as_text(after);
        EXPECT_DOUBLE_EQ(t.size, row.expected_size);
        EXPECT_DOUBLE_EQ(t.extent.w, 50 * row.extent_factor);
        EXPECT_DOUBLE_EQ(t.extent.h, 20 * row.extent_factor);
        EXPECT_EQ(t.at, (Point{100, 100})) << "the top-left corner stays";
    }
}

TEST(MapObjectToBounds, AFitLabelKeepsItsMarginAtTheNewSize) {
    const SceneObject label = text(1, "Hi", {100, 100}, LabelMode::fit(), 20, {50, 20});
    const Box b = object_bounds(label);  // (92, 95) to (158, 125)
    const SceneObject after = mapped(label, b, {0, 0, 132, 60});
    const TextPayload& t = *as_text(after);
    EXPECT_DOUBLE_EQ(t.size, 40);
    EXPECT_EQ(t.at, (Point{16, 10})) << "margins of 0.4 and 0.25 times the new size";
    EXPECT_EQ(t.extent, (Size{100, 40}));
}

TEST(MapObjectToBounds, AWrappedLabelRewrapsToTheNewWidthNoNarrowerThanItsSize) {
    struct Row {
        const char* name;
        double box_width;
        double expected_wrap;
    };
    const Row rows[] = {{"200 wide", 200, 184}, {"10 wide", 10, 20}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const SceneObject label = text(1, "Hi", {100, 100}, LabelMode::wrap(120), 20, {50, 20});
        const Box b = object_bounds(label);
        const SceneObject after = mapped(label, b, {0, 0, row.box_width, 300});
        const TextPayload& t = *as_text(after);
        EXPECT_DOUBLE_EQ(t.label.wrap_width, row.expected_wrap);
        EXPECT_EQ(t.at, (Point{8, 5}));
        EXPECT_EQ(t.size, 20) << "letters keep their size";
        EXPECT_EQ(t.extent, (Size{50, 20}));
    }
}

TEST(MapObjectToBounds, LeavesTheObjectAsItWasWhenTheResultWouldNotBeFinite) {
    const SceneObject objects[] = {
        rectangle(1, {0, 0, 10, 10}), line(2, {0, 0}, {10, 10}), stroke(3, {{0, 0}, {10, 10}}),
        text(4, "Hi", {0, 0}), text(5, "Hi", {0, 0}, LabelMode::wrap(40)),
    };
    const Box boxes[] = {{0, kNaN, 10, 10}, {0, 0, std::numeric_limits<double>::infinity(), 10}};
    for (const SceneObject& object : objects)
        for (const Box& to : boxes) {
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

TEST(MoveObjectBy, AddsTheOffsetExactlyWhateverTheCoordinates) {
    const Point offset{1e6 + 0.3, -0.1};
    SceneObject box = rectangle(1, {0.1, 0.2, 0.7, 0.9});
    move_object_by(box, offset);
    EXPECT_EQ(rect_of(box), (Box{0.1 + offset.x, 0.2 + offset.y, 0.7 + offset.x, 0.9 + offset.y}));
}

TEST(SettleArrowEnds, FixesTheDrawnEndsAndLoosensOnlyWhatIsLeftBehind) {
    const ObjectAttachment at_1{1, {50, 0}}, at_2{2, {-50, 0}};
    for (const bool elbowed : {false, true}) {
        SCOPED_TRACE(elbowed ? "elbow line" : "straight arrow");
        const std::vector<SceneObject> scene = {
            rectangle(1, {0, 0, 100, 100}), rectangle(2, {300, 0, 400, 100}),
            elbowed ? elbow(3, {0, 0}, {0, 0}, at_1, at_2) : fastened(line(3, {0, 0}, {0, 0}), at_1, at_2)};
        const auto drawn = resolve_arrow_ends(scene[2], scene);
        ASSERT_TRUE(drawn);

        SceneObject link = scene[2];
        const ObjectId kept[] = {1};
        settle_arrow_ends(link, scene, kept);
        const LinePayload& settled = *as_line(link);
        EXPECT_EQ(settled.from, drawn->from);
        EXPECT_EQ(settled.to, drawn->to);
        EXPECT_EQ(settled.start, at_1) << "fastened to a kept object";
        EXPECT_FALSE(settled.end) << "fastened to an object left behind";

        SceneObject loose = scene[2];
        settle_arrow_ends(loose, scene, std::span<const ObjectId>{});
        EXPECT_FALSE(as_line(loose)->start);
        EXPECT_FALSE(as_line(loose)->end);
        // Set loose, the line is still drawn where it was.
        EXPECT_EQ(resolve_arrow_ends(loose, scene)->from, drawn->from);
    }
}

TEST(SettleArrowEnds, AnEndWhoseTargetIsMissingKeepsItsStoredPoint) {
    SceneObject link = fastened(line(3, {5, 6}, {7, 8}), std::nullopt, ObjectAttachment{99, {1, 0}});
    settle_arrow_ends(link, std::vector<SceneObject>{}, std::span<const ObjectId>{});
    EXPECT_EQ(link, line(3, {5, 6}, {7, 8}));
}

}  // namespace
}  // namespace glimmerly
