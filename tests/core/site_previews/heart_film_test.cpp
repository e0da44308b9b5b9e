#include "core/site_previews/heart_film.h"

#include <gtest/gtest.h>

#include <cmath>

namespace glimmerly {
namespace {

TEST(HeartPath, ClosesAtTheNotchAndReachesItsRightmostPointAtEighteen) {
    const std::vector<Point> heart = heart_path();
    ASSERT_EQ(heart.size(), 73u);
    EXPECT_EQ(heart.front(), heart.back());
    EXPECT_EQ(heart.back(), (Point{230, 123}));
    EXPECT_NEAR(heart[18].x, 316.4, 1e-9);
    EXPECT_NEAR(heart[18].y, 128.4, 1e-9);
    EXPECT_NEAR(heart[36].x, 230.0, 1e-9);
    EXPECT_NEAR(heart[36].y, 241.8, 1e-9);
    for (const Point& p : heart) EXPECT_LE(p.x, heart[18].x + 1e-9);
}

TEST(SegmentCrossings, CountsEachPlaceTheSegmentPassesTheOutline) {
    const std::vector<Point> square{{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}};
    struct Row {
        const char* name;
        Point p0, p1;
        std::vector<double> expected;
    };
    const Row rows[] = {
        {"a miss", {20, 0}, {20, 10}, {}},
        {"through a convex outline, ascending", {-5, 5}, {15, 5}, {0.25, 0.75}},
        {"from the far side, still ascending", {15, 5}, {-5, 5}, {0.25, 0.75}},
        {"a vertex shared by two edges counts once", {-5, -5}, {5, 5}, {0.5}},
        {"along an edge: parallel edges skipped, the far corner once", {-5, 0}, {15, 0}, {0.75}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::vector<double> got = segment_crossings(square, row.p0, row.p1);
        ASSERT_EQ(got.size(), row.expected.size());
        for (std::size_t i = 0; i < got.size(); ++i) EXPECT_NEAR(got[i], row.expected[i], 1e-12);
    }
    EXPECT_TRUE(segment_crossings(std::vector<Point>{{0, 0}}, {-1, -1}, {1, 1}).empty());
}

TEST(FlattenPolylines, JoinsTheListsInOrder) {
    const std::vector<Polyline> lists{{{1, 1}, {2, 2}}, {}, {{3, 3}}};
    EXPECT_EQ(flatten_polylines(lists), (std::vector<Point>{{1, 1}, {2, 2}, {3, 3}}));
}

TEST(PlanHeartArrow, EntersAndLeavesTheDrawnHeartFarApart) {
    const std::vector<Point> heart = heart_path();
    auto plan = plan_heart_arrow(heart, {143.6, 85.8, 316.4, 241.8});
    ASSERT_TRUE(plan.ok()) << plan.failure().message;
    EXPECT_LT(plan->entry.x, plan->exit.x);
    EXPECT_GE(std::hypot(plan->exit.x - plan->entry.x, plan->exit.y - plan->entry.y), kHeartMinimumHiddenStretch);

    const std::vector<Point> far_away{{400, 300}, {410, 300}, {410, 310}, {400, 300}};
    EXPECT_EQ(plan_heart_arrow(far_away, {400, 300, 410, 310}).failure().message, "the arrow misses the heart");
    const std::vector<Point> small{{240, 166}, {252, 166}, {252, 186}, {240, 186}, {240, 166}};
    EXPECT_EQ(plan_heart_arrow(small, {240, 166, 252, 186}).failure().message,
              "the arrow hides no stretch inside the heart");
    const std::vector<Point> open{{240, 100}, {240, 250}};
    EXPECT_EQ(plan_heart_arrow(open, {240, 100, 240, 250}).failure().message,
              "the arrow must enter and leave the heart once");
}

}  // namespace
}  // namespace glimmerly
