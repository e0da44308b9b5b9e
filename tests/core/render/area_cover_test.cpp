// The polygon areas that stand in for the platform's widening and geometry
// combination: checked by sampling points, the way a rasteriser sees them.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "core/document/point_math.h"
#include "core/render/region_geometry.h"
#include "core/render/stroke_cover.h"
#include "tests/core/support/objects.h"

namespace glimmerly {
namespace {

using testing::ellipse;
using testing::rectangle;

// Nonzero winding of a closed polygon around a point.
int winding(const Polyline& polygon, Point p) {
    int w = 0;
    for (std::size_t i = 0; i < polygon.size(); ++i) {
        const Point a = polygon[i], b = polygon[(i + 1) % polygon.size()];
        if (a.y <= p.y && b.y > p.y && cross(b - a, p - a) > 0) ++w;
        if (a.y > p.y && b.y <= p.y && cross(b - a, p - a) < 0) --w;
    }
    return w;
}

int figures_covering(const std::vector<Polyline>& figures, Point p) {
    int count = 0;
    for (const Polyline& f : figures) count += winding(f, p) != 0;
    return count;
}

// Twice the signed area; positive is clockwise on screen (y down).
double signed_area(const Polyline& polygon) {
    double sum = 0;
    for (std::size_t i = 0; i < polygon.size(); ++i) sum += cross(polygon[i], polygon[(i + 1) % polygon.size()]);
    return sum;
}

Polyline outline_of(const SceneObject& object) { return build_object_geometry(object, {})[0]; }

TEST(SubtractPolygons, CoversExactlyTheSubjectOutsideTheHolesOnceWithFiguresWoundOneWay) {
    const Polyline square = outline_of(rectangle(1, {10, 10, 110, 90}));
    struct Row { const char* name; Polyline subject; std::vector<Polyline> holes; };
    const Row rows[] = {
        {"no holes", square, {}},
        {"an ellipse inside", square, {outline_of(ellipse(2, {30, 30, 80, 70}))}},
        {"two overlapping holes, one reaching out",
         square,
         {outline_of(ellipse(2, {0, 20, 60, 60})), outline_of(rectangle(3, {40, 40, 130, 70}, 0.4))}},
        {"a hole wound the other way", square, {{{50, 20}, {20, 20}, {20, 50}, {50, 50}}}},
        {"a tall subject with a hole", outline_of(rectangle(1, {10, 10, 60, 110})),
         {outline_of(ellipse(2, {20, 30, 50, 60}))}},
        {"a turned subject with a hole", outline_of(rectangle(1, {10, 10, 110, 90}, 0.7)),
         {outline_of(ellipse(2, {40, 30, 90, 60}))}},
        {"a hole over everything", square, {outline_of(rectangle(2, {0, 0, 200, 200}))}},
        {"a hole that is not finite", square, {{{20, 20}, {NAN, 20}, {40, 50}}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto figures = subtract_polygons(row.subject, row.holes);
        for (const Polyline& f : figures) EXPECT_GE(signed_area(f), 0.0);
        for (double y = 0.25; y < 120; y += 1.5)
            for (double x = 0.25; x < 140; x += 1.5) {
                bool inside = winding(row.subject, {x, y}) != 0;
                for (const Polyline& hole : row.holes)
                    if (std::all_of(hole.begin(), hole.end(), [](Point p) { return is_finite(p); }))
                        inside = inside && winding(hole, {x, y}) == 0;
                ASSERT_EQ(figures_covering(figures, {x, y}), inside ? 1 : 0) << x << ", " << y;
            }
    }
}

TEST(StrokeCapsules, CoverTheStrokeWidthAroundEveryPointAndNothingBeyondItAlsoMerged) {
    struct Row { const char* name; std::vector<Point> points; };
    const Row rows[] = {
        {"a dot", {{50, 50}}},
        {"a stroke that never moves", {{50, 50}, {50, 50}, {50, 50}}},
        {"a loop crossing itself", {{20, 20}, {80, 80}, {80, 20}, {20, 80}, {50, 10}}},
        {"a long stroke folding back on itself", {{10, 50}, {90, 55}, {15, 58}, {60, 47}}},
    };
    const double width = 12, half = width / 2;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto figures = stroke_capsules(row.points, width, 0.1);
        ASSERT_FALSE(figures.empty());
        for (const Polyline& f : figures) EXPECT_GT(signed_area(f), 0.0);
        // Merged, they cover the same area once, still wound one way.
        const auto merged = merge_polygons(figures);
        for (const Polyline& f : merged) EXPECT_GE(signed_area(f), 0.0);
        for (double y = 0.5; y < 100; y += 1.0)
            for (double x = 0.5; x < 100; x += 1.0) {
                double nearest = INFINITY;
                for (std::size_t i = 0; i < row.points.size(); ++i) {
                    const Point a = row.points[i], b = row.points[std::min(i + 1, row.points.size() - 1)];
                    const Point d = b - a;
                    const double t = dot(d, d) > 0 ? std::clamp(dot(Point{x, y} - a, d) / dot(d, d), 0.0, 1.0) : 0;
                    nearest = std::min(nearest, distance({x, y}, a + d * t));
                }
                if (nearest < half - 0.15) {
                    ASSERT_GT(figures_covering(figures, {x, y}), 0) << x << ", " << y;
                    ASSERT_EQ(figures_covering(merged, {x, y}), 1) << x << ", " << y;
                } else if (nearest > half) {
                    ASSERT_EQ(figures_covering(figures, {x, y}), 0) << x << ", " << y;
                    ASSERT_EQ(figures_covering(merged, {x, y}), 0) << x << ", " << y;
                }
            }
    }
    EXPECT_TRUE(stroke_capsules(rows[0].points, 0.0, 0.1).empty());
    EXPECT_TRUE(stroke_capsules(std::vector<Point>{{0, 0}, {NAN, 1}}, 3.0, 0.1).empty());
}

TEST(RegionBoundaries, NameOnlyRectanglesAndEllipsesFromTheGivenIndexOn) {
    const std::vector<SceneObject> objects{ellipse(1, {0, 0, 10, 10}), rectangle(2, {0, 0, 50, 50}),
                                           ellipse(3, {5, 5, 20, 20}), testing::line(4, {0, 0}, {9, 9}),
                                           rectangle(5, {30, 30, 40, 40})};
    const FillRegion region{{1, 3, 4, 5}, {}};
    const auto boundaries = collect_region_boundaries(region, objects, 2);
    ASSERT_EQ(boundaries.size(), 2u);
    EXPECT_EQ(boundaries[0], outline_of(objects[2]));
    EXPECT_EQ(boundaries[1], outline_of(objects[4]));
}

}  // namespace
}  // namespace glimmerly
