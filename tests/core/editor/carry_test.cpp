#include "core/editor/carry.h"

#include "tests/core/support/objects.h"

#include <gtest/gtest.h>

#include <limits>

namespace glimmerly {
namespace {

using namespace glimmerly::testing;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

std::vector<SceneObject> carried(std::span<const SceneObject> objects, const Box& rect, std::vector<ObjectId> ids) {
    ClippedObjects sequence = clip_objects_to_rect(objects, rect, ids, false, {});
    std::vector<SceneObject> out;
    while (auto object = sequence.next()) out.push_back(std::move(*object));
    return out;
}

TEST(ClipObjectsToRect, CarriesWhatCanReachTheRectWithin4TimesItsWidth) {
    struct Row { const char* name; SceneObject object; bool carried; };
    const Row rows[] = {
        {"stroke of width 10, 35 to the left", stroke(1, {{55, 150}, {65, 150}}, false, 10), true},
        {"stroke of width 10, 45 to the left", stroke(1, {{45, 150}, {55, 150}}, false, 10), false},
        {"hairline touching the right edge", with_width(rectangle(1, {200, 0, 300, 100}), 0), true},
        {"hairline a hair beyond the bottom", with_width(rectangle(1, {0, 200.001, 300, 300}), 0), false},
        {"width NaN", with_width(rectangle(1, {120, 120, 130, 130}), kNaN), false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::vector<SceneObject> list = {row.object};
        // Copied whole, in frame coordinates.
        EXPECT_EQ(carried(list, {100, 100, 200, 200}, {1}), row.carried ? list : std::vector<SceneObject>{});
    }
}

TEST(ClipObjectsToRect, TestsAnElbowLineByItsRoutedPathNotItsStoredEnds) {
    const std::vector<SceneObject> scene = {
        rectangle(1, {0, 0, 100, 100}), rectangle(2, {300, 200, 400, 300}),
        elbow(3, {1000, 1000}, {1000, 1000}, ObjectAttachment{1, {50, 0}}, ObjectAttachment{2, {-50, 0}})};
    const auto route = elbow_polyline(scene[2], scene);
    ASSERT_TRUE(route && route->size() >= 2);
    const Point on_route = (*route)[route->size() / 2];

    EXPECT_TRUE(carried(scene, {990, 990, 1010, 1010}, {1, 2, 3}).empty());
    const auto out = carried(scene, {on_route.x - 1, on_route.y - 1, on_route.x + 1, on_route.y + 1}, {1, 2, 3});
    EXPECT_EQ(out, std::vector<SceneObject>{scene[2]}) << "both targets listed: nothing to settle";
}

TEST(WholePixelArea, RoundsOutwardWithinTheFrame) {
    struct Row { const char* name; Box area; std::optional<PixelArea> expected; };
    const Row rows[] = {
        {"whole already", {10, 20, 30, 40}, PixelArea{10, 20, 20, 20}},
        {"fractional edges", {10.6, 5.3, 30.2, 20.9}, PixelArea{10, 5, 21, 16}},
        {"past the frame", {-3.5, -1, 140, 90.5}, PixelArea{0, 0, 100, 80}},
        {"outside the frame", {120, 10, 130, 20}, std::nullopt},
        {"empty", {10, 10, 10, 20}, std::nullopt},
        {"NaN edge", {kNaN, 10, 20, 20}, std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(whole_pixel_area(row.area, 100, 80), row.expected);
    }
}

}  // namespace
}  // namespace glimmerly
