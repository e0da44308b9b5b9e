#include "core/document/geometry.h"

#include "core/document/point_math.h"
#include "tests/core/support/near.h"
#include "tests/core/support/objects.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <random>

namespace glimmerly {
namespace {

using namespace glimmerly::testing;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kPi = std::numbers::pi;

std::optional<ObjectAttachment> at(ObjectId id, Point offset) { return ObjectAttachment{id, offset}; }

TEST(ObjectBounds, AreTheDrawnBoxFiniteWhateverTheObject) {
    SceneObject turned_stroke = stroke(1, {{10, 20}, {kNaN, 5}, {30, 40}});
    turned_stroke.rotation = 1.0;
    struct Row { const char* name; SceneObject object; Box expected; };
    const Row rows[] = {
        {"label grown by its margin", text(1, "hi", {100, 100}, LabelMode::fit(), 20, {50, 20}), {92, 95, 158, 125}},
        {"plain text", text(1, "hi", {100, 100}, LabelMode::none(), 20, {50, 20}), {100, 100, 150, 120}},
        {"wrapping label as wide as its wrap width", text(1, "hi", {100, 100}, LabelMode::wrap(120), 20, {50, 20}),
         {92, 95, 228, 125}},
        {"bent line reaches its curve, not its control point", bent(line(1, {0, 0}, {100, 0}), {0, 0.25}),
         {0, 0, 100, 25}},
        {"stroke: rotation ignored, NaN skipped", turned_stroke, {10, 5, 30, 40}},
        {"stroke without points", stroke(1, {}), {}},
        {"rectangle with a NaN edge", rectangle(1, {0, kNaN, 10, 10}), {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(object_bounds(row.object), row.expected);
    }
    EXPECT_EQ(rotated_object_bounds(rectangle(1, {0, 0, 10, 10}, kNaN)), Box{});
    EXPECT_EQ(bend_curve_bounds({kNaN, 0}, {1, 1}, {}), std::nullopt);

    // The drawn curve passes through the bend point at its middle.
    const auto outline = build_object_geometry(bent(line(1, {0, 0}, {100, 0}, false), {0, 0.25}), {});
    ASSERT_EQ(outline.size(), 1u);
    expect_near(outline[0][outline[0].size() / 2], {50, 25});
}

TEST(RotatedObjectBounds, HoldTheOutlineAtEveryAngle) {
    for (int step = 0; step < 24; ++step) {
        const double angle = step * kPi / 12 + 0.01;
        for (const SceneObject& object :
             {rectangle(1, {10, 20, 110, 70}, angle), ellipse(2, {10, 20, 110, 70}, angle)}) {
            SCOPED_TRACE(::testing::Message() << object_kind_word(object.kind()) << " at step " << step);
            const Box bounds = rotated_object_bounds(object);
            Box hull{kInf, kInf, -kInf, -kInf};
            const auto outline = build_object_geometry(object, {});
            for (const Point& p : outline.at(0))
                hull = {std::min(hull.left, p.x), std::min(hull.top, p.y), std::max(hull.right, p.x),
                        std::max(hull.bottom, p.y)};
            EXPECT_GE(hull.left, bounds.left - 1e-9);
            EXPECT_GE(hull.top, bounds.top - 1e-9);
            EXPECT_LE(hull.right, bounds.right + 1e-9);
            EXPECT_LE(hull.bottom, bounds.bottom + 1e-9);
            expect_near(hull, bounds, 0.21);  // the outline's chords stay within 0.2 px of the curve
        }
    }
}

TEST(RotatedRectCorners, RunClockwiseFromTopLeftAndGrowAboutTheCentre) {
    const Box box{0, 0, 40, 20};
    EXPECT_EQ(rotated_rect_corners(box, 0.0), (std::array<Point, 4>{{{0, 0}, {40, 0}, {40, 20}, {0, 20}}}));
    // A quarter turn clockwise on screen takes the top-left corner to the top right.
    expect_near(rotated_rect_corners(box, kPi / 2)[0], {30, -10});
    expect_near(rotated_rect_corners_offset(box, kPi / 2, 3)[0], {33, -13});
}

TEST(AttachmentPoint, LandsOnTheTargetsOutlinePushedOutByItsHalfWidth) {
    const std::vector<SceneObject> scene = {with_width(ellipse(7, {0, 0, 20, 20}), 2),
                                            rectangle(8, {100, 100, 200, 200}), rectangle(9, {50, 0, 50, 100})};
    expect_near(*attachment_point({7, {5, 0}}, scene, 0), {21, 10});
    expect_near(*attachment_point({7, {0, -3}}, scene, 1), {10, -2});
    // Rectangle (width 3): the offset is scaled onto the grown border.
    expect_near(*attachment_point({8, {-50, 0}}, scene, 0), {98.5, 150});
    // A target without width or height gives its centre.
    expect_near(*attachment_point({9, {10, 10}}, scene, 0), {50, 50});
    EXPECT_EQ(attachment_point({404, {1, 0}}, scene, 0), std::nullopt);
}

TEST(ResolveArrowEnds, AnAttachedEndFollowsItsTargetAnUnattachedOneStays) {
    SceneObject target = rectangle(1, {100, 100, 200, 200});
    const SceneObject attached = fastened(line(2, {0, 0}, {150, 150}), std::nullopt, at(1, {-50, 0}));
    const SceneObject loose = line(3, {0, 0}, {150, 150});

    *object_rect(target) = {130, 80, 230, 180};
    const std::vector<SceneObject> moved = {target, attached, loose};
    const auto ends = resolve_arrow_ends(attached, moved);
    ASSERT_TRUE(ends);
    EXPECT_EQ(ends->from, (Point{0, 0}));
    expect_near(ends->to, {128.5, 130});
    EXPECT_EQ(resolve_arrow_ends(loose, moved), (LineEnds{{0, 0}, {150, 150}}));
    EXPECT_EQ(resolve_arrow_ends(target, moved), std::nullopt) << "only lines have ends";
    // The box in the scene is where the line is drawn, not where it was stored.
    expect_near(object_bounds_in_scene(attached, moved), {0, 0, 128.5, 130});

    // Turning the target carries the end around its centre.
    target.rotation = kPi / 2;
    const auto turned = resolve_arrow_ends(attached, std::vector{target, attached});
    ASSERT_TRUE(turned);
    expect_near(turned->to, {180, 78.5});
}

TEST(ResolveArrowEnds, EndsPulledOntoEachOtherFallBackToTheStoredEnds) {
    const SceneObject dot = rectangle(1, {50, 50, 50.0005, 50.0005});
    SceneObject both = fastened(line(2, {0, 0}, {100, 0}), at(1, {0, 0}), at(1, {0, 0}));
    EXPECT_EQ(resolve_arrow_ends(both, std::vector{dot, both}), (LineEnds{{0, 0}, {100, 0}}));

    // With the stored ends also on one point, the resolved ends stand.
    as_line(both)->to = {0, 0};
    const auto ends = resolve_arrow_ends(both, std::vector{dot, both});
    ASSERT_TRUE(ends);
    expect_near(ends->from, {50.00025, 50.00025});
}

TEST(SceneObjects, AnIndexFindsTheSameFirstMatchAsASearch) {
    std::vector<SceneObject> scene = {rectangle(4, {0, 0, 10, 10}), ellipse(2, {50, 50, 90, 70}),
                                      rectangle(4, {500, 500, 510, 510})};
    const ObjectIndex index(scene);
    const SceneObjects searched(scene), indexed(scene, index);
    for (ObjectId id : {4u, 2u, 77u}) {
        SCOPED_TRACE(id);
        EXPECT_EQ(indexed.find(id), searched.find(id));
    }
    EXPECT_EQ(indexed.find(4), &scene[0]) << "the first of a repeated id";
    // An index that no longer fits its list falls back to searching.
    std::swap(scene[0], scene[1]);
    EXPECT_EQ(SceneObjects(scene, index).find(4), &scene[1]);
}

TEST(BuildObjectGeometry, ArrowShaftStopsUnderItsHeadAndAShortArrowIsOnlyItsHead) {
    const double head = kArrowHeadFactor * 3;
    const SceneObject straight = line(1, {0, 0}, {100, 0}, true, 3);
    for (const SceneObject& arrow : {straight, bent(straight, {0.1, -0.3})}) {
        const auto outline = build_object_geometry(arrow, {});
        ASSERT_EQ(outline.size(), 2u);
        EXPECT_EQ(outline[1][1], (Point{100, 0})) << "the head's tip is the end";
        // Hidden under the head, short of the tip by more than its round cap.
        EXPECT_LT(distance(outline[0].back(), {100, 0}), head);
        EXPECT_GT(distance(outline[0].back(), {100, 0}), 1.5);
        // The head is kArrowHeadFactor widths long and 0.9 of that across.
        EXPECT_NEAR(distance((outline[1][0] + outline[1][2]) * 0.5, {100, 0}), head, 1e-9);
        EXPECT_NEAR(distance(outline[1][0], outline[1][2]), 0.9 * head, 1e-9);
    }
    const auto short_arrow = build_object_geometry(line(3, {0, 0}, {8, 0}, true, 2), {});
    ASSERT_EQ(short_arrow.size(), 2u);
    EXPECT_TRUE(short_arrow[0].empty());
    EXPECT_EQ(short_arrow[1][1], (Point{8, 0}));
}

TEST(BuildObjectGeometry, EllipsesAreClosedAndSmoothWithinABoundedNumberOfPoints) {
    for (const double radius : {0.1, 10.0, 1000.0, 1e12}) {
        SCOPED_TRACE(radius);
        const auto outline = build_object_geometry(ellipse(1, {-radius, -radius, radius, radius}), {});
        ASSERT_EQ(outline.size(), 1u);
        EXPECT_EQ(outline[0].front(), outline[0].back());
        EXPECT_LE(outline[0].size(), 4097u);
        if (radius < 1e6) {
            for (std::size_t i = 1; i < outline[0].size(); ++i)
                EXPECT_LE(radius - length((outline[0][i - 1] + outline[0][i]) * 0.5), 0.2 + 1e-9);
        }
    }
}

// Nothing drawable comes of them, and never a NaN point.
TEST(BuildObjectGeometry, DegenerateObjectsHaveNoOutline) {
    const struct { const char* name; SceneObject object; } rows[] = {
        {"line with coincident ends", line(1, {5, 5}, {5, 5.0005})},
        {"line with a NaN end", line(1, {0, 0}, {kNaN, 3})},
        {"arrow with NaN width", with_width(line(1, {0, 0}, {10, 0}), kNaN)},
        {"line with a NaN bend", bent(line(1, {0, 0}, {10, 0}), {kNaN, 0})},
        {"stroke of one point", stroke(1, {{3, 3}})},
        {"stroke with an infinite point", stroke(1, {{0, 0}, {kInf, 1}, {2, 2}})},
        {"stroke with a NaN width", with_widths(stroke(1, {{0, 0}, {5, 5}}), {1, kNaN})},
        {"rectangle with a NaN edge", rectangle(1, {0, kNaN, 10, 10})},
        {"rectangle with a NaN rotation", rectangle(1, {0, 0, 10, 10}, kNaN)},
        {"infinite ellipse", ellipse(1, {-kInf, 0, kInf, 10})},
        {"text", text(1, "a", {0, 0})},
        {"blur", blur(1, {0, 0, 10, 10})},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_TRUE(build_object_geometry(row.object, {}).empty());
    }
}

TEST(FlattenPath, CutsWhereTheWidthChangesAndRoundsOnlyPenCorners) {
    // The last point uses the object's width; neighbouring pieces share a point.
    const auto pieces = flatten_path(with_widths(stroke(1, {{0, 0}, {10, 0}, {20, 0}, {30, 0}}, true, 5), {2, 2, 5}));
    EXPECT_EQ(pieces, (std::vector<StrokePiece>{{{{0, 0}, {10, 0}, {20, 0}}, 10}, {{{20, 0}, {30, 0}}, 25}}));
    EXPECT_TRUE(flatten_path(rectangle(1, {0, 0, 1, 1})).empty());

    const std::vector<Point> corner = {{0, 0}, {10, 0}, {10, 10}};
    const auto pen = flatten_path(stroke(1, corner));
    ASSERT_EQ(pen.size(), 1u);
    EXPECT_EQ(pen[0].points.front(), corner.front());
    EXPECT_EQ(pen[0].points.back(), corner.back());
    for (const Point& p : pen[0].points) EXPECT_NE(p, corner[1]) << "the corner itself is cut off";
    EXPECT_EQ(flatten_path(stroke(1, corner, true)), (std::vector<StrokePiece>{{corner, 15}}));
}

bool axis_aligned(const std::vector<Point>& route) {
    for (std::size_t i = 1; i < route.size(); ++i)
        if (std::abs(route[i].x - route[i - 1].x) > 1e-6 && std::abs(route[i].y - route[i - 1].y) > 1e-6)
            return false;
    return true;
}

TEST(ElbowRoute, StaysAxisAlignedBetweenAnyTwoTargets) {
    std::mt19937 random(20240611);
    std::uniform_real_distribution<double> position(0, 1000), size(10, 200);
    std::uniform_int_distribution<int> quarter(0, 3), pick(0, 2);
    for (int trial = 0; trial < 500; ++trial) {
        SCOPED_TRACE(trial);
        const double x = position(random), y = position(random), u = position(random), v = position(random);
        const SceneObject a = rectangle(1, {x, y, x + size(random), y + size(random)}, quarter(random) * kPi / 2);
        const SceneObject b = ellipse(2, {u, v, u + size(random), v + size(random)}, quarter(random) * kPi / 2);
        const int ends = pick(random);  // either end may be attached or free
        const Point from{position(random), position(random)}, to{position(random), position(random)};
        const SceneObject connector =
            elbow(3, from, to, ends != 1 ? at(1, {1, 0}) : std::nullopt, ends != 2 ? at(2, {0, 1}) : std::nullopt);
        const auto resolved = resolve_elbow_ends(connector, std::vector{a, b, connector});
        ASSERT_TRUE(resolved);
        const auto route = route_elbow(resolved->first, resolved->second, 20);
        ASSERT_GE(route.size(), 2u);
        EXPECT_TRUE(axis_aligned(route));
        EXPECT_EQ(route.front(), resolved->first.point);
        // The last turn may fall on the end itself, which then stands for it.
        expect_near(route.back(), resolved->second.point, 0.01);
    }
}

TEST(ElbowRoute, FacingEndsCloserThanTwoStubsMeetHalfWay) {
    EXPECT_EQ(route_elbow({{0, 0}, Point{1, 0}}, {{20, 5}, Point{-1, 0}}, 20),
              (std::vector<Point>{{0, 0}, {10, 0}, {10, 5}, {20, 5}}));
    // Free ends take one corner when far apart sideways, two through the middle otherwise.
    EXPECT_EQ(route_elbow({{0, 0}, {}}, {{100, 50}, {}}, 20), (std::vector<Point>{{0, 0}, {100, 0}, {100, 50}}));
    EXPECT_EQ(route_elbow({{0, 0}, {}}, {{100, 5}, {}}, 20),
              (std::vector<Point>{{0, 0}, {50, 0}, {50, 5}, {100, 5}}));
}

TEST(ElbowRoute, BendIsIgnoredAndEndsLeaveTheFacingSides) {
    const std::vector<SceneObject> scene = {rectangle(1, {0, 0, 100, 100}), rectangle(2, {300, 200, 400, 300})};
    const SceneObject straight = elbow(3, {}, {}, at(1, {1, 0}), at(2, {-1, 0}));
    const SceneObject curved = bent(straight, {0.3, -0.2});
    EXPECT_EQ(object_bounds_in_scene(curved, scene), object_bounds_in_scene(straight, scene));
    EXPECT_EQ(build_object_geometry(curved, scene), build_object_geometry(straight, scene));
    EXPECT_EQ(object_bounds(curved), object_bounds(straight));

    const auto ends = resolve_elbow_ends(straight, scene);
    ASSERT_TRUE(ends);
    EXPECT_EQ(ends->first.direction, (Point{1, 0}));
    EXPECT_EQ(ends->second.direction, (Point{-1, 0}));
    const auto rounded = elbow_polyline(straight, scene);
    ASSERT_TRUE(rounded);
    EXPECT_EQ(rounded->front(), ends->first.point);
    EXPECT_EQ(rounded->back(), ends->second.point);
    EXPECT_FALSE(axis_aligned(*rounded)) << "its corners are rounded";
    EXPECT_EQ(elbow_polyline(line(4, {0, 0}, {5, 5}), scene), std::nullopt) << "not an elbow line";
}

TEST(ElbowRoute, NearlyLevelEndsAreSlidIntoLineAndSelfAttachmentIsIgnored) {
    const SceneObject connector = elbow(3, {}, {}, at(1, {1, 0}), at(2, {-1, 0}));
    const auto ends = resolve_elbow_ends(
        connector, std::vector{rectangle(1, {0, 0, 100, 100}), rectangle(2, {300, 10, 400, 110}), connector});
    ASSERT_TRUE(ends);
    // The start moved 10 px down its side to face the end: a straight connector.
    EXPECT_EQ(ends->first.point.y, ends->second.point.y);
    EXPECT_EQ(route_elbow(ends->first, ends->second, 20).size(), 2u);

    const SceneObject self = elbow(3, {0, 0}, {100, 50}, at(3, {1, 0}), std::nullopt);
    const auto free_ends = resolve_elbow_ends(self, std::vector{self});
    ASSERT_TRUE(free_ends);
    EXPECT_EQ(free_ends->first, (ElbowEnd{{0, 0}, std::nullopt}));
}

}  // namespace
}  // namespace glimmerly
