#include "core/render/chrome_paint.h"

#include "tests/core/support/monitors.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <tuple>

namespace glimmerly {
namespace {

using testing::capture_over;
using Kind = ToolbarAnimationKind;

std::optional<ToolbarAnimationProgress> running(Kind kind, double t) { return ToolbarAnimationProgress{kind, t}; }

TEST(ToolbarAnimations, CurvesRunFromTheirStartToTheirRest) {
    enum class Shape { Rising, Falling, Bounce, Still };
    struct Row { const char* name; std::function<double(double)> curve; double start, rest; Shape shape; };
    const auto background = [](Kind k) { return [=](double t) { return button_background_factor(running(k, t)); }; };
    const auto mark = [](Kind k, int part) {
        return [=](double t) {
            const SwatchLook l = swatch_look(k == Kind::ColourMarkArrives, running(k, t), {}, false);
            return part == 0 ? l.swatch_factor : part == 1 ? double{l.ring_opacity} : l.ring_factor;
        };
    };
    const auto hover = [](Kind k) {
        return [=](double t) { return swatch_look(false, {}, running(k, t), true).swatch_factor; };
    };
    const Row rows[] = {
        {"press", background(Kind::Marked), 0.78, 1.0, Shape::Bounce},
        {"the button losing its mark keeps its size", background(Kind::Unmarked), 1.0, 1.0, Shape::Still},
        {"swatch becomes the colour", mark(Kind::ColourMarkArrives, 0), 1.0, 0.8375, Shape::Bounce},
        {"its ring fades in", mark(Kind::ColourMarkArrives, 1), 0.0, 0.95, Shape::Rising},
        {"its ring settles", mark(Kind::ColourMarkArrives, 2), 0.8, 1.0, Shape::Bounce},
        {"swatch stops being the colour", mark(Kind::ColourMarkLeaves, 0), 0.8375, 1.0, Shape::Bounce},
        {"hover enters", hover(Kind::ColourMarkHovered), 1.0, 1.14, Shape::Rising},
        {"hover leaves", hover(Kind::ColourMarkLeft), 1.14, 1.0, Shape::Falling},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_NEAR(row.curve(0.0), row.start, 1e-6);
        EXPECT_NEAR(row.curve(1.0), row.rest, 1e-6);
        EXPECT_NEAR(row.curve(1.5), row.rest, 1e-6) << "the rest value holds";
        int turns = 0;
        for (int i = 1; i < 100; ++i) {
            const double a = row.curve((i - 1) / 100.0), b = row.curve(i / 100.0), c = row.curve((i + 1) / 100.0);
            turns += (b - a) * (c - b) < 0.0;
            EXPECT_TRUE(row.shape != Shape::Rising || b >= a) << i;
            EXPECT_TRUE(row.shape != Shape::Falling || b <= a) << i;
            EXPECT_TRUE(row.shape != Shape::Still || b == a) << i;
        }
        EXPECT_EQ(turns > 0, row.shape == Shape::Bounce) << "only a bounce overshoots before it rests";
    }
    EXPECT_EQ(button_background_factor(std::nullopt), 1.0);
    EXPECT_EQ(swatch_look(true, {}, {}, false), (SwatchLook{0.8375, 0.95f, 1.0}));
    EXPECT_DOUBLE_EQ(swatch_look(true, {}, {}, true).swatch_factor, 1.14) << "hovered without its animation";
}

TEST(PointerHint, StaysBesideThePointerInsideTheFrame) {
    struct Row { const char* name; double monitor_scale; Point pointer; double text, shift; Box box; };
    const Row rows[] = {
        {"top left", 1.0, {0, 0}, 100, 0, {10, 10, 124, 34}},
        {"shifted by the brush", 1.0, {0, 0}, 100, 30, {40, 10, 154, 34}},
        {"short text keeps 72 units", 1.0, {0, 0}, 20, 0, {10, 10, 82, 34}},
        {"pushed in from the right and bottom", 1.0, {1900, 1075}, 100, 0, {1806, 1056, 1920, 1080}},
        {"scale 2 doubles", 2.0, {0, 0}, 20, 0, {20, 20, 164, 68}},
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
        return *std::find_if(buttons.begin(), buttons.end(),
                             [&](const ToolbarButton& b) { return b.action == action; });
    };
    const ToolbarButton arrow = find(tool_action(Tool::Arrow)), pen = find(tool_action(Tool::Pen)),
                        undo = find(pack_editor_action(EditorActionCode::Undo));
    const Rgb colour{237, 79, 92};
    const auto now = ChromeClock::time_point{} + std::chrono::seconds(5);
    const auto look = [&](const ToolbarButton& b) { return toolbar_button_look(state, b, colour, {}, now); };
    state.pointer = {undo.rect.left, undo.rect.top};
    const auto colours_of = [&](const ToolbarButton& b) {
        const ToolbarButtonLook l = look(b);
        return std::tuple(l.background_colour, l.style.stroke, l.style.shade);
    };
    EXPECT_EQ(colours_of(arrow), std::tuple(Rgb{100, 170, 255}, Rgb{16, 22, 32}, Rgb{100, 170, 255}));
    EXPECT_EQ(colours_of(undo), std::tuple(Rgb{32, 32, 32}, Rgb{100, 100, 100}, Rgb{32, 32, 32}))
        << "nothing to undo: dim, and never lit under the pointer";
    EXPECT_EQ(colours_of(pen), std::tuple(Rgb{32, 32, 32}, Rgb{235, 235, 235}, Rgb{32, 32, 32}));
    state.pointer = {pen.rect.right, pen.rect.bottom};
    EXPECT_EQ(look(pen).background_colour, (Rgb{55, 55, 55})) << "edges count as inside";
    EXPECT_DOUBLE_EQ(look(pen).background.right - look(pen).background.left, 30.0);
    start_toolbar_animation(state.toolbar.animations, Kind::Marked, pen.action, now);
    const Box pressed = look(pen).background;
    EXPECT_NEAR(pressed.right - pressed.left, 30.0 * 0.78, 1e-9);
    EXPECT_NEAR((pressed.left + pressed.right) / 2, (pen.rect.left + pen.rect.right) / 2, 1e-9);
    start_toolbar_animation(state.toolbar.animations, Kind::Unmarked, arrow.action, now);
    EXPECT_EQ(look(arrow).background, arrow.rect) << "the tool just left keeps its size";
    const ToolbarIconStyle red = look(find(colour_action(colour))).style;
    EXPECT_EQ(std::pair(red.swatch, red.swatch_factor), std::pair(SwatchState::Selected, 0.8375));
}

TEST(BrushHints, WheelHintClearsTheCircleOrEightUnits) {
    EditorState state = capture_over({{{0, 0, 1920, 1080}, 2.0}}, Box{100, 100, 900, 700});
    state.pointer = {500, 400};
    state.tool = Tool::Pen, state.stroke_width = 40.0;
    const auto circle = brush_circle(state);
    EXPECT_EQ(circle, (BrushCircle{{500, 400}, 20.0, 6.0, 2.0}));
    EXPECT_EQ(std::pair(width_label_shift(*circle), wheel_hint_shift(state, circle)), std::pair(20.0, 20.0));
    state.stroke_width = 4.0;
    EXPECT_EQ(wheel_hint_shift(state, brush_circle(state)), 16.0);
    EXPECT_EQ(wheel_hint_shift(state, std::nullopt), 16.0);
}

}  // namespace
}  // namespace glimmerly
