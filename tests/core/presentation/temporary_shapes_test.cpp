#include "core/presentation/temporary_shapes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace glimmerly {
namespace {

TemporaryShapes armed(TemporaryShapeKind kind) {
    TemporaryShapes shapes;
    shapes.armed = kind;
    return shapes;
}

TEST(TemporaryShapeDrag, ShiftSnapsAnArrowAt30DegreesTo45AndKeepsItsLength) {
    TemporaryShapes shapes = armed(TemporaryShapeKind::Arrow);
    begin_temporary_shape(shapes, 100, 100);
    const double angle = 30 * std::acos(-1.0) / 180;
    drag_temporary_shape(shapes, 100 + 200 * std::cos(angle), 100 + 200 * std::sin(angle), true, false);
    const LinePayload* line = as_line(*shapes.pending);
    ASSERT_TRUE(line);
    EXPECT_TRUE(line->head);
    EXPECT_NEAR(line->to.x - 100, 200 / std::sqrt(2.0), 1e-9);
    EXPECT_NEAR(line->to.y - 100, 200 / std::sqrt(2.0), 1e-9);
}

TEST(TemporaryShapeDrag, ShiftSquaresARectangleTowardsThePointerAndLeavesACircleAlone) {
    TemporaryShapes rectangle = armed(TemporaryShapeKind::Rectangle);
    begin_temporary_shape(rectangle, 100, 100);
    drag_temporary_shape(rectangle, 70, 140, true, false);
    EXPECT_EQ(*object_rect(*rectangle.pending), (Box{60, 100, 100, 140}));

    TemporaryShapes ellipse = armed(TemporaryShapeKind::Ellipse);
    begin_temporary_shape(ellipse, 100, 100);
    drag_temporary_shape(ellipse, 130, 140, false, false);
    const Box plain = *object_rect(*ellipse.pending);
    EXPECT_EQ(plain, (Box{50, 50, 150, 150}));  // radius 50: through the pointer
    drag_temporary_shape(ellipse, 130, 140, true, false);
    EXPECT_EQ(*object_rect(*ellipse.pending), plain);
    drag_temporary_shape(ellipse, 130, 140, true, true);
    EXPECT_EQ(*object_rect(*ellipse.pending), (Box{70, 60, 130, 140}));
}

TEST(TemporaryShapeDrag, NonFinitePointsLeaveThePendingShapeAsItWas) {
    TemporaryShapes shapes = armed(TemporaryShapeKind::Rectangle);
    begin_temporary_shape(shapes, 10, 10);
    drag_temporary_shape(shapes, 50, 60, false, false);
    const SceneObject before = *shapes.pending;
    drag_temporary_shape(shapes, std::numeric_limits<double>::quiet_NaN(), 5, false, false);
    drag_temporary_shape(shapes, std::numeric_limits<double>::infinity(), 5, false, false);
    EXPECT_EQ(*shapes.pending, before);
}

TEST(TemporaryShapeCommit, AClickAloneMakesNothing) {
    for (const auto kind : {TemporaryShapeKind::Arrow, TemporaryShapeKind::Rectangle, TemporaryShapeKind::Ellipse}) {
        SCOPED_TRACE(int(kind));
        TemporaryShapes shapes = armed(kind);
        begin_temporary_shape(shapes, 40, 40);
        drag_temporary_shape(shapes, 40, 40, false, false);
        EXPECT_FALSE(commit_temporary_shape(shapes, 5, 3000));
        EXPECT_TRUE(shapes.shapes.empty());
        EXPECT_EQ(shapes.armed, TemporaryShapeKind::None);
        EXPECT_FALSE(shapes.pending);
    }
}

TEST(TemporaryShapeCommit, The129thShapePushesOutTheOldest) {
    TemporaryShapes shapes;
    for (int i = 0; i < 129; ++i) {
        shapes.armed = TemporaryShapeKind::Rectangle;
        begin_temporary_shape(shapes, i, 0);
        drag_temporary_shape(shapes, i + 10, 10, false, false);
        ASSERT_TRUE(commit_temporary_shape(shapes, std::uint64_t(i), 3000));
    }
    ASSERT_EQ(shapes.shapes.size(), kMaxTemporaryShapes);
    EXPECT_EQ(shapes.shapes.front().created_ms, 1u);
    EXPECT_EQ(shapes.shapes.back().created_ms, 128u);
}

TEST(TemporaryShapeFade, StaysOpaqueUntilTheLastHalfSecondAndAZeroDurationIsGone) {
    struct Row {
        const char* name;
        std::uint32_t duration;
        std::uint64_t age;
        double opacity;
    };
    const Row rows[] = {
        {"1000 ms, new", 1000, 0, 1.0},       {"1000 ms, at 500", 1000, 500, 1.0},
        {"1000 ms, at 750", 1000, 750, 0.5},  {"1000 ms, at 1000", 1000, 1000, 0.0},
        {"300 ms, new", 300, 0, 1.0},         {"300 ms, at 150", 300, 150, 0.5},
        {"300 ms, long past", 300, 9000, 0.0}, {"0 ms, new", 0, 0, 0.0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const TemporaryShape shape{{}, 1000, 10, row.duration};
        const double opacity = temporary_shape_opacity(shape, 1000 + row.age);
        EXPECT_FALSE(std::isnan(opacity));
        EXPECT_DOUBLE_EQ(opacity, row.opacity);
    }
}

TEST(TemporaryShapeFade, ExpiredShapesGoAndTheRestKeepTheirOrder) {
    TemporaryShapes shapes;
    shapes.shapes = {{{}, 0, 0, 1000}, {{}, 0, 0, 0}, {{}, 100, 0, 1000}, {{}, 900, 0, 3000}};
    EXPECT_TRUE(remove_expired_shapes(shapes, 1000));
    ASSERT_EQ(shapes.shapes.size(), 2u);
    EXPECT_EQ(shapes.shapes[0].created_ms, 100u);
    EXPECT_EQ(shapes.shapes[1].created_ms, 900u);
    EXPECT_FALSE(remove_expired_shapes(shapes, 1000));
}

}  // namespace
}  // namespace glimmerly
