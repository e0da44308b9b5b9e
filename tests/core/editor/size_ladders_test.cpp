#include "core/editor/size_ladders.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

namespace glimmerly {
namespace {

TEST(SizeLadders, StepToTheNextRungAndStopAtTheEnds) {
    const struct { const char* name; double (*step)(double, int); double from; int notches; double to; } rows[] = {
        {"width between rungs, up", step_stroke_width, 9, 1, 10},
        {"width between rungs, down", step_stroke_width, 9, -1, 8},
        {"width three up", step_stroke_width, 3, 3, 6},
        {"width at the top", step_stroke_width, 40, 1, 40},
        {"width above the ladder stays going up", step_stroke_width, 50, 1, 50},
        {"width above the ladder comes down into it", step_stroke_width, 50, -1, 40},
        {"width below the ladder stays going down", step_stroke_width, 0.5, -1, 0.5},
        {"width below the ladder comes up into it", step_stroke_width, 0.5, 1, 1},
        {"no notches", step_stroke_width, 9, 0, 9},
        {"text up", step_text_size, 24, 1, 28},
        {"text at the top", step_text_size, 300, 1, 300},
        {"text at the bottom", step_text_size, 8, -1, 8},
        {"text between rungs, down", step_text_size, 150, -1, 144},
        {"text five up", step_text_size, 20, 5, 36},
        {"the most notches there are", step_text_size, 24, INT_MAX, 300},
        {"the fewest notches there are", step_text_size, 24, INT_MIN, 8},
        {"no number starts at the bottom", step_stroke_width, NAN, 1, 1},
        {"eraser at the top", step_eraser_size, 128, 1, 128},
        {"eraser at the bottom", step_eraser_size, 4, -1, 4},
        {"eraser on a rung, down", step_eraser_size, 14, -1, 12},
        {"eraser between rungs, up", step_eraser_size, 15, 1, 16},
        {"eraser between rungs, down", step_eraser_size, 15, -1, 14},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.step(row.from, row.notches), row.to);
    }
}

}  // namespace
}  // namespace glimmerly
