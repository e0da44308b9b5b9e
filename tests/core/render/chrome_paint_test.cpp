#include "core/render/chrome_paint.h"

#include "tests/core/support/monitors.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <tuple>

namespace glimmerly {
namespace {

using testing::capture_over;
using Kind = ToolbarAnimationKind;

std::optional<ToolbarAnimationProgress> running(Kind kind, double t) { return ToolbarAnimationProgress{kind, t}; }

TEST(ToolbarAnimations, CurvesRunFromTheirStartToTheirRest) {
    enum class Shape { Rising, Falling, Bounce };
    struct Row {
        const char* name;
        std::function<double(double)> curve;
        double start, rest;
        Shape shape;
    };
    const auto swatch = [](Kind kind, bool selected) {
        return [=](double t) { return swatch_look(selected, running(kind, t), std::nullopt, false).swatch_factor; };
    };
    const auto hover = [](Kind kind) {
        return [=](double t) { return swatch_look(false, std::nullopt, running(kind, t), true).swatch_factor; };
    };
    const Row rows[] = {
        {"press", [](double t) { return button_background_factor(running(Kind::Marked, t)); }, 0.78, 1.0, Shape::Bounce},
        {"unmark bounces like a press",
         [](double t) { return button_background_factor(running(Kind::Unmarked, t)); }, 0.78, 1.0, Shape::Bounce},
        {"swatch becomes the colour", swatch(Kind::ColourMarkArrives, true), 1.0, 0.8375, Shape::Bounce},
        {"its ring fades in",
         [](double t) { return swatch_look(true, running(Kind::ColourMarkArrives, t), {}, false).ring_opacity; }, 0.0,
         0.95, Shape::Rising},
        {"its ring settles",
         [](double t) { return swatch_look(true, running(Kind::ColourMarkArrives, t), {}, false).ring_factor; }, 0.8,
         1.0, Shape::Bounce},
        {"swatch stops being the colour", swatch(Kind::ColourMarkLeaves, false), 0.8375, 1.0, Shape::Bounce},
        {"hover enters", hover(Kind::ColourMarkHovered), 1.0, 1.14, Shape::Rising},
        {"hover leaves", hover(Kind::ColourMarkLeft), 1.14, 1.0, Shape::Falling},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_NEAR(row.curve(0.0), row.start, 1e-6);
        EXPECT_NEAR(row.curve(1.0), row.rest, 1e-6);
        EXPECT_NEAR(row.curve(1.5), row.rest, 1e-6) << "the rest value holds";
        int turns = 0;
        double before = row.curve(0.0), direction = 0.0;
        for (int i = 1; i <= 100; ++i) {
            const double now = row.curve(i / 100.0), step = now - before;
            if (step != 0.0 && direction != 0.0 && (step > 0) != (direction > 0)) ++turns;
            if (step != 0.0) direction = step;
            EXPECT_TRUE(row.shape != Shape::Rising || step >= 0.0) << i;
            EXPECT_TRUE(row.shape != Shape::Falling || step <= 0.0) << i;
            before = now;
        }
        EXPECT_EQ(turns > 0, row.shape == Shape::Bounce) << "only a bounce overshoots before it rests";
    }
    EXPECT_EQ(button_background_factor(std::nullopt), 1.0);
    EXPECT_EQ(button_background_factor(running(Kind::ColourMarkArrives, 0.0)), 1.0);
    EXPECT_EQ(swatch_look(true, {}, {}, false), (SwatchLook{0.8375, 0.95f, 1.0}));
    EXPECT_DOUBLE_EQ(swatch_look(true, {}, {}, true).swatch_factor, 1.14) << "hovered without its animation";
}

TEST(PointerHint, StaysBesideThePointerInsideTheFrame) {
    struct Row {
        const char* name;
        double monitor_scale;
        Point pointer;
        double text, shift;
        Box box;
    };
    const Row rows[] = {
        {"top left", 1.0, {0, 0}, 100, 0, {10, 10, 124, 34}},
        {"shifted by the brush", 1.0, {0, 0}, 100, 30, {40, 10, 154, 34}},
        {"short text keeps 72 units", 1.0, {0, 0}, 20, 0, {10, 10, 82, 34}},
        {"pushed in from the right and bottom", 1.0, {1900, 1075}, 100, 0, {1806, 1056, 1920, 1080}},
        {"scale 2 doubles", 2.0, {0, 0}, 20, 0, {20, 20, 164, 68}},
        {"scale 6 stops at 5", 6.0, {0, 0}, 20, 0, {50, 50, 410, 170}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EditorState state = capture_over({{{0, 0, 1920, 1080}, row.monitor_scale}});
        state.pointer = row.pointer;
        EXPECT_EQ(place_pointer_hint(state, row.text, row.shift).box, row.box);
    }
}

TEST(ToolbarButtonLook, MarkedDisabledHoveredAndPressedButtons) {
    EditorState state = capture_over({{{0, 0, 1920, 1080}, 1.0}}, Box{600, 300, 1200, 700});
    state.tool = Tool::Arrow;
    const auto buttons = layout_toolbar(state);
    const auto find = [&](EditorAction action) {
        return *std::find_if(buttons.begin(), buttons.end(), [&](const ToolbarButton& b) { return b.action == action; });
    };
    const ToolbarButton arrow = find(tool_action(Tool::Arrow));
    const ToolbarButton pen = find(tool_action(Tool::Pen));
    const ToolbarButton undo = find(pack_editor_action(EditorActionCode::Undo));
    const Rgb colour{237, 79, 92};
    const SelectionColourState colours{colour, kWhite, false};
    const auto now = ChromeClock::time_point{} + std::chrono::seconds(5);
    const auto look = [&](const ToolbarButton& b) { return toolbar_button_look(state, b, colour, colours, now); };

    state.pointer = {(undo.rect.left + undo.rect.right) / 2, undo.rect.top};
    EXPECT_EQ(look(arrow).background_colour, (Rgb{100, 170, 255}));
    EXPECT_EQ(std::pair(look(arrow).style.stroke, look(arrow).style.shade), std::pair(Rgb{16, 22, 32}, Rgb{100, 170, 255}));
    EXPECT_EQ(look(undo).style.stroke, (Rgb{100, 100, 100})) << "nothing to undo";
    EXPECT_EQ(look(undo).background_colour, (Rgb{32, 32, 32})) << "never lit under the pointer";
    EXPECT_EQ(std::pair(look(pen).background_colour, look(pen).style.stroke), std::pair(Rgb{32, 32, 32}, Rgb{235, 235, 235}));
    state.pointer = {pen.rect.right, pen.rect.bottom};
    EXPECT_EQ(look(pen).background_colour, (Rgb{55, 55, 55})) << "edges count as inside";
    EXPECT_DOUBLE_EQ(look(pen).background.right - look(pen).background.left, 30.0);

    start_toolbar_animation(state.toolbar.animations, Kind::Marked, pen.action, now);
    const Box pressed = look(pen).background;
    EXPECT_NEAR(pressed.right - pressed.left, 30.0 * 0.78, 1e-9);
    EXPECT_NEAR((pressed.left + pressed.right) / 2, (pen.rect.left + pen.rect.right) / 2, 1e-9);
    EXPECT_DOUBLE_EQ(look(pen).icon_origin.x, (pen.rect.left + pen.rect.right) / 2 - 10.0);

    const ToolbarButton red = find(colour_action(colour));
    EXPECT_EQ(look(red).style.swatch, SwatchState::Selected);
    EXPECT_EQ(look(red).style.swatch_factor, 0.8375);
    EXPECT_EQ(look(find(pack_editor_action(EditorActionCode::ColourPicker))).style.swatch, SwatchState::Plain);
}

TEST(BrushHints, WheelHintClearsTheCircleOrEightUnits) {
    EditorState state = capture_over({{{0, 0, 1920, 1080}, 2.0}}, Box{100, 100, 900, 700});
    state.pointer = {500, 400};
    state.tool = Tool::Pen;
    state.stroke_width = 40.0;
    const auto circle = brush_circle(state);
    ASSERT_TRUE(circle);
    EXPECT_EQ(std::tuple(circle->radius, circle->outer_width, circle->inner_width), std::tuple(20.0, 6.0, 2.0));
    EXPECT_EQ(width_label_shift(*circle), 20.0);
    EXPECT_EQ(wheel_hint_shift(state, circle), 20.0);
    state.stroke_width = 4.0;
    EXPECT_EQ(wheel_hint_shift(state, brush_circle(state)), 16.0);
    EXPECT_EQ(wheel_hint_shift(state, std::nullopt), 16.0);
    state.tool = Tool::Select;
    EXPECT_FALSE(brush_circle(state));
}

TEST(SizeLabel, WholePixelsWithinTheSignedRange) {
    EXPECT_EQ(selection_size_text({10, 20, 1930, 1100}), "1920 \u00d7 1080");
    EXPECT_EQ(selection_size_text({0, 0, 99.6, 0.4}), "100 \u00d7 0");
    EXPECT_EQ(selection_size_text({0, 0, 1e12, NAN}), "2147483647 \u00d7 0");
}

}  // namespace
}  // namespace glimmerly
