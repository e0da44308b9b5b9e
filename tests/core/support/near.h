#pragma once
// Comparisons of points and boxes within a tolerance.

#include "core/document/scene_object.h"

#include <gtest/gtest.h>

namespace glimmerly::testing {

inline void expect_near(Point a, Point b, double tolerance = 1e-9) {
    EXPECT_NEAR(a.x, b.x, tolerance);
    EXPECT_NEAR(a.y, b.y, tolerance);
}

inline void expect_near(const Box& a, const Box& b, double tolerance = 1e-9) {
    EXPECT_NEAR(a.left, b.left, tolerance);
    EXPECT_NEAR(a.top, b.top, tolerance);
    EXPECT_NEAR(a.right, b.right, tolerance);
    EXPECT_NEAR(a.bottom, b.bottom, tolerance);
}

}  // namespace glimmerly::testing
