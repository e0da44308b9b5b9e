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

TEST(ObjectBounds, LabelsGrowByTheirMarginPlainTextDoesNot) {
    EXPECT_EQ(object_bounds(text(1, "hi", {100, 100}, LabelMode::fit(), 20, {50, 20})),
              (Box{92, 95, 158, 125}));
    EXPECT_EQ(object_bounds(text(1, "hi", {100, 100}, LabelMode::none(), 20, {50, 20})),
              (Box{100, 100, 150, 120}));
    // A wrapping label is as wide as its wrap width, whatever the text measured.
    EXPECT_EQ(object_bounds(text(1, "hi", {100, 100}, LabelMode::wrap(120), 20, {50, 20})),
              (Box{92, 95, 228, 125}));
}

TEST(ObjectBounds, BentLineReachesItsCurveNotItsControlPoint) {
    const SceneObject curve = bent(line(1, {0, 0}, {100, 0}, false), {0, 0.25});
    EXPECT_EQ(object_bounds(curve), (Box{0, 0, 100, 25}));

    // The drawn curve passes through the bend point at its middle.
    const auto outline = build_object_geometry(curve, {});
    ASSERT_EQ(outline.size(), 1u);
    double lowest = -kInf;
    for (const Point& p : outline[0]) lowest = std::max(lowest, p.y);
    EXPECT_NEAR(lowest, 25.0, 1e-9);
    expect_near(outline[0][outline[0].size() / 2], {50, 25});
}

TEST(ObjectBounds, StrokesIgnoreRotationAndSkipNaNCoordinates) {
    SceneObject s = stroke(1, {{10, 20}, {kNaN, 5}, {30, 40}});
    const Box unturned = object_bounds(s);
    EXPECT_EQ(unturned, (Box{10, 5, 30, 40}));
    s.rotation = 1.0;
    EXPECT_EQ(object_bounds(s), unturned);
    EXPECT_EQ(object_bounds(stroke(1, {})), Box{}) << "a stroke without points has the zero box";
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
            for (const Point& p : outline[0]) {
                EXPECT_GE(p.x, bounds.left - 1e-9);
                EXPECT_LE(p.x, bounds.right + 1e-9);
                EXPECT_GE(p.y, bounds.top - 1e-9);
                EXPECT_LE(p.y, bounds.bottom + 1e-9);
                hull = {std::min(hull.left, p.x), std::min(hull.top, p.y), std::max(hull.right, p.x),
                        std::max(hull.bottom, p.y)};
            }
            // The outline's chords stay within 0.2 px of the curve.
            expect_near(hull, bounds, 0.21);
        }
    }
}

TEST(Rotation, AFullTurnGivesTheSameFrame) {
    const SceneObject objects[] = {rectangle(1, {10, 20, 110, 70}), ellipse(2, {-5, 0, 35, 90}),
                                   text(3, "note", {40, 40}, LabelMode::fit(), 18, {70, 22})};
    for (SceneObject object : objects) {
        SCOPED_TRACE(object_kind_word(object.kind()));
        const Box still = rotated_object_bounds(object);
        const auto still_outline = build_object_geometry(object, {});
        object.rotation = 2 * kPi;
        expect_near(rotated_object_bounds(object), still);
        const auto turned_outline = build_object_geometry(object, {});
        ASSERT_EQ(turned_outline.size(), still_outline.size());
        for (std::size_t i = 0; i < still_outline.size(); ++i) {
            ASSERT_EQ(turned_outline[i].size(), still_outline[i].size());
            for (std::size_t k = 0; k < still_outline[i].size(); ++k)
                expect_near(turned_outline[i][k], still_outline[i][k]);
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
    const SceneObject attached = fastened(line(2, {0, 0}, {150, 150}), std::nullopt, ObjectAttachment{1, {-50, 0}});
    const SceneObject loose = line(3, {0, 0}, {150, 150});

    const auto before = resolve_arrow_ends(attached, std::vector{target, attached});
    ASSERT_TRUE(before);
    expect_near(before->to, {98.5, 150});

    *object_rect(target) = {130, 80, 230, 180};
    const std::vector<SceneObject> moved = {target, attached, loose};
    const auto after = resolve_arrow_ends(attached, moved);
    ASSERT_TRUE(after);
    expect_near(after->to - before->to, {30, -20});
    EXPECT_EQ(after->from, (Point{0, 0}));
    EXPECT_EQ(resolve_arrow_ends(loose, moved), (LineEnds{{0, 0}, {150, 150}}));

    // Turning the target carries the end around its centre.
    target.rotation = kPi / 2;
    const auto turned = resolve_arrow_ends(attached, std::vector{target, attached});
    ASSERT_TRUE(turned);
    expect_near(turned->to, {180, 78.5});

    // The box in the scene is where the line is drawn, not where it was stored.
    const Box in_scene = object_bounds_in_scene(attached, moved);
    EXPECT_NEAR(in_scene.right, 128.5, 1e-9);
    EXPECT_NEAR(in_scene.bottom, 130, 1e-9);
    EXPECT_EQ(resolve_arrow_ends(target, moved), std::nullopt) << "only lines have ends";
}

TEST(SceneObjects, AnIndexFindsTheSameFirstMatchAsASearch) {
    std::vector<SceneObject> scene = {rectangle(4, {0, 0, 10, 10}), ellipse(2, {50, 50, 90, 70}),
                                      rectangle(4, {500, 500, 510, 510})};
    const SceneObject arrow =
        fastened(line(9, {0, 0}, {300, 300}), ObjectAttachment{4, {1, 0}}, ObjectAttachment{2, {0, 1}});
    scene.push_back(arrow);

    const ObjectIndex index(scene);
    const SceneObjects searched(scene), indexed(scene, index);
    for (ObjectId id : {4u, 2u, 9u, 77u}) {
        SCOPED_TRACE(id);
        EXPECT_EQ(indexed.find(id), searched.find(id));
    }
    EXPECT_EQ(indexed.find(4), &scene[0]) << "the first of a repeated id";
    EXPECT_EQ(build_object_geometry(arrow, indexed), build_object_geometry(arrow, searched));

    // An index that no longer fits its list falls back to searching.
    std::swap(scene[0], scene[1]);
    EXPECT_EQ(SceneObjects(scene, index).find(4), &scene[1]);
}

TEST(ResolveArrowEnds, EndsPulledOntoEachOtherFallBackToTheStoredEnds) {
    const SceneObject dot = rectangle(1, {50, 50, 50.0005, 50.0005});
    SceneObject both = fastened(line(2, {0, 0}, {100, 0}), ObjectAttachment{1, {0, 0}}, ObjectAttachment{1, {0, 0}});
    EXPECT_EQ(resolve_arrow_ends(both, std::vector{dot, both}), (LineEnds{{0, 0}, {100, 0}}));

    // With the stored ends also on one point, the resolved ends stand.
    as_line(both)->to = {0, 0};
    const auto ends = resolve_arrow_ends(both, std::vector{dot, both});
    ASSERT_TRUE(ends);
    expect_near(ends->from, {50.00025, 50.00025});
}

TEST(BuildObjectGeometry, ArrowShaftStopsUnderItsHeadAndAShortArrowIsOnlyItsHead) {
    // Width 3: head 11.52 long, overlapping the shaft by 2.
    const auto straight = build_object_geometry(line(1, {0, 0}, {100, 0}, true, 3), {});
    ASSERT_EQ(straight.size(), 2u);
    ASSERT_EQ(straight[0].size(), 2u);
    expect_near(straight[0][1], {90.48, 0});
    expect_near(straight[1][1], {100, 0});

    const auto curved = build_object_geometry(bent(line(2, {0, 0}, {100, 0}, true, 3), {0.1, -0.3}), {});
    ASSERT_EQ(curved.size(), 2u);
    EXPECT_NEAR(distance(curved[0].back(), Point{100, 0}), 9.52, 1e-6);

    // Width 2, 8 long: the shaft stays in place, empty, and the head is 7.68 long.
    const auto short_arrow = build_object_geometry(line(3, {0, 0}, {8, 0}, true, 2), {});
    ASSERT_EQ(short_arrow.size(), 2u);
    EXPECT_TRUE(short_arrow[0].empty());
    ASSERT_EQ(short_arrow[1].size(), 4u);
    expect_near(short_arrow[1][0], {0.32, 3.456});
    expect_near(short_arrow[1][1], {8, 0});
    expect_near(short_arrow[1][2], {0.32, -3.456});
    EXPECT_EQ(short_arrow[1][3], short_arrow[1][0]);
}

TEST(BuildObjectGeometry, EllipsesUseEnoughPointsForTheirSize) {
    struct Row {
        const char* name;
        double radius;
        std::size_t points;
    };
    const Row rows[] = {{"radius 1000", 1000, 160},
                        {"radius 100", 100, 52},
                        {"radius 10", 10, 16},
                        {"radius 0.1", 0.1, 16},
                        {"radius 1e12", 1e12, 4096}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto outline =
            build_object_geometry(ellipse(1, {-row.radius, -row.radius, row.radius, row.radius}), {});
        ASSERT_EQ(outline.size(), 1u);
        EXPECT_EQ(outline[0].size(), row.points + 1) << "closed by repeating the first point";
        EXPECT_EQ(outline[0].front(), outline[0].back());
    }
}

TEST(BuildObjectGeometry, DegenerateObjectsHaveNoOutline) {
    const SceneObject nan_rotation = rectangle(1, {0, 0, 10, 10}, kNaN);
    const struct {
        const char* name;
        SceneObject object;
    } rows[] = {
        {"line with coincident ends", line(1, {5, 5}, {5, 5.0005})},
        {"line with a NaN end", line(1, {0, 0}, {kNaN, 3})},
        {"arrow with NaN width", with_width(line(1, {0, 0}, {10, 0}), kNaN)},
        {"line with a NaN bend", bent(line(1, {0, 0}, {10, 0}), {kNaN, 0})},
        {"stroke of one point", stroke(1, {{3, 3}})},
        {"stroke with an infinite point", stroke(1, {{0, 0}, {kInf, 1}, {2, 2}})},
        {"stroke with a NaN width", with_widths(stroke(1, {{0, 0}, {5, 5}}), {1, kNaN})},
        {"rectangle with a NaN edge", rectangle(1, {0, kNaN, 10, 10})},
        {"rectangle with a NaN rotation", nan_rotation},
        {"infinite ellipse", ellipse(1, {-kInf, 0, kInf, 10})},
        {"text", text(1, "a", {0, 0})},
        {"blur", blur(1, {0, 0, 10, 10})},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_TRUE(build_object_geometry(row.object, {}).empty());
    }
    // Their boxes are the zero box rather than NaN.
    EXPECT_EQ(rotated_object_bounds(nan_rotation), Box{});
    EXPECT_EQ(object_bounds(rectangle(1, {0, kNaN, 10, 10})), Box{});
    EXPECT_EQ(bend_curve_bounds({kNaN, 0}, {1, 1}, {}), std::nullopt);
}

TEST(FlattenPath, CutsWhereTheWidthChangesAndNeighboursShareAPoint) {
    // The last point uses the object's width.
    const auto pieces = flatten_path(with_widths(stroke(1, {{0, 0}, {10, 0}, {20, 0}, {30, 0}}, true, 5), {2, 2, 5}));
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[0], (StrokePiece{{{0, 0}, {10, 0}, {20, 0}}, 10}));
    EXPECT_EQ(pieces[1], (StrokePiece{{{20, 0}, {30, 0}}, 25}));

    EXPECT_TRUE(flatten_path(rectangle(1, {0, 0, 1, 1})).empty());
}

TEST(FlattenPath, PenCornersAreRoundedHighlighterCornersAreNot) {
    const std::vector<Point> corner = {{0, 0}, {10, 0}, {10, 10}};
    const auto pen = flatten_path(stroke(1, corner));
    ASSERT_EQ(pen.size(), 1u);
    ASSERT_EQ(pen[0].points.size(), 7u);
    EXPECT_EQ(pen[0].points.front(), (Point{0, 0}));
    expect_near(pen[0].points[1], {8, 0});
    expect_near(pen[0].points[5], {10, 2});
    EXPECT_EQ(pen[0].points.back(), (Point{10, 10}));
    for (const Point& p : pen[0].points) EXPECT_NE(p, (Point{10, 0})) << "the corner itself is cut off";

    const auto marker = flatten_path(stroke(1, corner, true));
    ASSERT_EQ(marker.size(), 1u);
    EXPECT_EQ(marker[0].points, corner);
    EXPECT_EQ(marker[0].width, 15.0);
}

std::optional<ObjectAttachment> at(ObjectId id, Point offset) { return ObjectAttachment{id, offset}; }

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
        const double x = position(random), y = position(random);
        SceneObject a = rectangle(1, {x, y, x + size(random), y + size(random)}, quarter(random) * kPi / 2);
        const double u = position(random), v = position(random);
        SceneObject b = ellipse(2, {u, v, u + size(random), v + size(random)}, quarter(random) * kPi / 2);
        // Either end may be attached or free.
        const int ends = pick(random);
        SceneObject connector =
            elbow(3, {position(random), position(random)}, {position(random), position(random)},
                  ends != 1 ? at(1, {1, 0}) : std::nullopt, ends != 2 ? at(2, {0, 1}) : std::nullopt);
        const std::vector<SceneObject> scene = {a, b, connector};
        const auto resolved = resolve_elbow_ends(connector, scene);
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
    const ElbowEnd start{{0, 0}, Point{1, 0}};
    const ElbowEnd end{{20, 5}, Point{-1, 0}};
    EXPECT_EQ(route_elbow(start, end, 20), (std::vector<Point>{{0, 0}, {10, 0}, {10, 5}, {20, 5}}));

    // Free ends take one corner when far apart sideways, two through the middle otherwise.
    EXPECT_EQ(route_elbow({{0, 0}, {}}, {{100, 50}, {}}, 20),
              (std::vector<Point>{{0, 0}, {100, 0}, {100, 50}}));
    EXPECT_EQ(route_elbow({{0, 0}, {}}, {{100, 5}, {}}, 20),
              (std::vector<Point>{{0, 0}, {50, 0}, {50, 5}, {100, 5}}));
}

TEST(ElbowRoute, BendIsIgnoredAndCornersAreRounded) {
    const SceneObject left = rectangle(1, {0, 0, 100, 100});
    const SceneObject right = rectangle(2, {300, 200, 400, 300});
    const SceneObject straight = elbow(3, {}, {}, at(1, {1, 0}), at(2, {-1, 0}));
    const SceneObject curved = bent(straight, {0.3, -0.2});
    const std::vector<SceneObject> scene = {left, right};
    EXPECT_EQ(object_bounds_in_scene(curved, scene), object_bounds_in_scene(straight, scene));
    EXPECT_EQ(build_object_geometry(curved, scene), build_object_geometry(straight, scene));
    EXPECT_EQ(object_bounds(curved), object_bounds(straight));

    const auto ends = resolve_elbow_ends(straight, scene);
    ASSERT_TRUE(ends);
    EXPECT_EQ(ends->first.direction, (Point{1, 0})) << "leaves the side facing the other target";
    EXPECT_EQ(ends->second.direction, (Point{-1, 0}));

    const auto route = route_elbow(ends->first, ends->second, 3.84 * 3 + 12 + 4);
    const auto rounded = elbow_polyline(straight, scene);
    ASSERT_TRUE(rounded);
    EXPECT_EQ(rounded->size(), 2 + (route.size() - 2) * 9) << "each inner corner becomes nine points";
    EXPECT_EQ(rounded->front(), route.front());
    EXPECT_EQ(rounded->back(), route.back());
    EXPECT_EQ(elbow_polyline(line(4, {0, 0}, {5, 5}), scene), std::nullopt) << "not an elbow line";
}

TEST(ElbowRoute, NearlyLevelEndsAreSlidIntoLine) {
    const SceneObject left = rectangle(1, {0, 0, 100, 100});
    const SceneObject right = rectangle(2, {300, 10, 400, 110});
    const SceneObject connector = elbow(3, {}, {}, at(1, {1, 0}), at(2, {-1, 0}));
    const auto ends = resolve_elbow_ends(connector, std::vector{left, right, connector});
    ASSERT_TRUE(ends);
    // The start moved 10 px down its side to face the end: a straight connector.
    EXPECT_EQ(ends->first.point.y, ends->second.point.y);
    const auto route = route_elbow(ends->first, ends->second, 20);
    EXPECT_EQ(route.size(), 2u);
}

TEST(ElbowRoute, AnAttachmentToTheLineItselfIsIgnored) {
    const SceneObject self = elbow(3, {0, 0}, {100, 50}, at(3, {1, 0}), std::nullopt);
    const auto ends = resolve_elbow_ends(self, std::vector{self});
    ASSERT_TRUE(ends);
    EXPECT_EQ(ends->first, (ElbowEnd{{0, 0}, std::nullopt}));
}

}  // namespace
}  // namespace glimmerly
