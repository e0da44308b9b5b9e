#include "core/demo/demo_scenes.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/document/geometry.h"

namespace glimmerly {
namespace {

Rgb pixel(const BgraImage& image, std::uint32_t x, std::uint32_t y) {
    const std::uint8_t* p = &image.pixels[(std::size_t{y} * image.width + x) * 4];
    return {p[2], p[1], p[0]};
}

TEST(RenderDemoOption, OnlyTheWholeArgumentInItsOwnCaseCounts) {
    struct Row {
        const char* name;
        Arguments args;
        bool found;
    } rows[] = {
        {"alone", {u"glimmerly.exe", u"--render-demo"}, true},
        {"among others", {u"glimmerly.exe", u"--ready", u"--render-demo", u"x"}, true},
        {"with a value", {u"glimmerly.exe", u"--render-demo=1"}, false},
        {"other case", {u"glimmerly.exe", u"--Render-Demo"}, false},
        {"absent", {u"glimmerly.exe"}, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(has_render_demo_option(row.args), row.found);
    }
}

TEST(DemoBaseFrame, IsADarkScreenWithALightPage) {
    const BgraImage frame = demo_base_frame();
    ASSERT_EQ(frame.width, 1100u);
    ASSERT_EQ(frame.height, 680u);
    EXPECT_EQ(pixel(frame, 69, 300), kDemoDark);
    EXPECT_EQ(pixel(frame, 70, 100), kDemoLight);
    EXPECT_EQ(pixel(frame, 1029, 599), kDemoLight);
    EXPECT_EQ(pixel(frame, 1030, 300), kDemoDark);
    EXPECT_EQ(pixel(frame, 500, 600), kDemoDark);
    for (std::size_t i = 3; i < frame.pixels.size(); i += 4) ASSERT_EQ(frame.pixels[i], 255);
}

TEST(DemoEditingState, DrawsThreeShapesAndThreeTextsThroughTheGestures) {
    const EditorState state = demo_editing_state();
    ASSERT_EQ(state.objects.size(), 6u);
    const ObjectKind kinds[] = {ObjectKind::Rectangle, ObjectKind::Ellipse, ObjectKind::Arrow,
                                ObjectKind::Text,      ObjectKind::Text,    ObjectKind::Text};
    for (std::size_t i = 0; i < 6; ++i) EXPECT_EQ(state.objects[i].kind(), kinds[i]) << i;
    EXPECT_EQ(*object_rect(state.objects[0]), (Box{130, 200, 410, 400}));
    EXPECT_EQ(state.objects[0].color, kDemoRed);
    EXPECT_EQ(state.objects[2].color, (Rgb{40, 60, 80}));
    EXPECT_FALSE(state.saved_objects);
    EXPECT_EQ(state.undo_stack.size(), 6u);
    EXPECT_EQ(as_text(state.objects[5])->text, "Glimmerly  \xC2\xB7  Native Windows capture + annotations");
}

TEST(SlateScene, ParabolaRunsFromTheOriginToItsTopInTenPixelSteps) {
    const std::vector<Point> points = slate_parabola_points();
    ASSERT_EQ(points.size(), 43u);
    EXPECT_EQ(points.front(), (Point{160, 520}));
    EXPECT_EQ(points.back(), (Point{580, 205}));
    EXPECT_DOUBLE_EQ(points[14].y, 520.0 - 140.0 * 140.0 / 560.0);  // (300, 485): where the slate's pointer rests
    EXPECT_EQ(points[14].x, 300.0);
}

TEST(SlateScene, FillsTheBackgroundAndBothShapes) {
    const EditorState state = build_slate_scene();
    ASSERT_EQ(state.background.size(), 1u);
    EXPECT_EQ(state.background[0].color, (Rgb{28, 31, 40}));
    std::size_t filled = 0;
    for (const SceneObject& o : state.objects)
        if (!o.fill.empty()) ++filled;
    EXPECT_EQ(filled, 2u);
    ASSERT_EQ(state.objects.size(), 7u);  // two axes, the curve, two shapes, two captions
    EXPECT_EQ(state.objects[2].kind(), ObjectKind::Stroke);
    EXPECT_EQ(state.tool, Tool::Pen);
}

TEST(DemoLabels, TextIsInsetByFractionsOfItsSize) {
    EXPECT_EQ(label_text_position({10, 20}, 22), (Point{10 + 8.8, 20 + 5.5}));
    EXPECT_EQ(label_text_position({850, 115}, 22), (Point{858.8, 120.5}));
    EXPECT_EQ(label_text_position({0, 0}, 40), (Point{16, 10}));
}

TEST(ShapeScaleTable, TwoRowsOfNineObjectsAtTheirWidths) {
    const std::vector<SceneObject> objects = shape_scale_objects();
    ASSERT_EQ(objects.size(), 18u);
    for (std::size_t i = 0; i < objects.size(); ++i) {
        SCOPED_TRACE(i);
        const bool second = i >= 9;
        EXPECT_EQ(objects[i].width, second ? 8.0 : 2.0);
        EXPECT_EQ(objects[i].color, (Rgb{40, 105, 190}));
        EXPECT_EQ(objects[i].rotation, 0.0);
    }
    EXPECT_EQ(objects[0].id, 1u);
    EXPECT_EQ(objects[9].id, 21u);
    EXPECT_EQ(objects[17].id, 33u);
    // The smallest circle and the longest arrow of the second row.
    EXPECT_EQ(*object_rect(objects[9]), (Box{58, 628, 62, 632}));
    const LinePayload* longest = as_line(objects[17]);
    ASSERT_TRUE(longest);
    EXPECT_EQ(longest->from, (Point{620, 770}));
    EXPECT_EQ(longest->to, (Point{1220, 770}));
    EXPECT_TRUE(longest->head);
    // Nothing reaches the bottom-right corner the CI check reads as ground.
    for (const SceneObject& o : objects) EXPECT_LT(object_bounds(o).right, 1300.0);
}

TEST(ThickStrokeTable, ArrowAndEightyFivePercentOfAnEllipse) {
    const std::vector<SceneObject> objects = thick_stroke_objects();
    ASSERT_EQ(objects.size(), 2u);
    EXPECT_EQ(objects[0].width, 40.0);
    const StrokePayload* pen = as_stroke(objects[1]);
    ASSERT_TRUE(pen);
    ASSERT_EQ(pen->points.size(), 160u);
    EXPECT_EQ(pen->points.front(), (Point{675, 240}));
    const double end = 2.0 * 3.14159265358979 * 0.85;
    EXPECT_NEAR(pen->points.back().x, std::cos(end) * 85 + 590, 1e-9);
    EXPECT_NEAR(pen->points.back().y, std::sin(end) * 120 + 240, 1e-9);
    EXPECT_TRUE(pen->widths.empty());
    EXPECT_FALSE(pen->highlight);
}

TEST(BentArrowTable, SixBendsOfBothSignsAndOneLineWithoutHead) {
    const std::vector<SceneObject> objects = bent_arrow_objects();
    ASSERT_EQ(objects.size(), 6u);
    const double widths[] = {2, 4, 8, 16, 6, 6};
    for (std::size_t i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        const LinePayload* line = as_line(objects[i]);
        ASSERT_TRUE(line);
        EXPECT_EQ(objects[i].width, widths[i]);
        EXPECT_EQ(line->head, i != 5);
        EXPECT_FALSE(line->elbow);
        EXPECT_NE(line->bend, (Point{0, 0}));
    }
    EXPECT_EQ(as_line(objects[2])->bend, (Point{-0.2, -0.35}));
}

TEST(MiniToolbarArch, RisesFromTwoHundredToItsTopAndBack) {
    const std::vector<Point> points = mini_toolbar_arch_points();
    ASSERT_EQ(points.size(), 31u);
    EXPECT_EQ(points.front(), (Point{200, 300}));
    EXPECT_NEAR(points[15].y, 180.0, 1e-9);
    EXPECT_EQ(points[15].x, 365.0);
    EXPECT_NEAR(points.back().y, 300.0, 1e-9);
    EXPECT_EQ(points.back().x, 530.0);
}

TEST(DemoTool, PrepareGivesBackKeptObjectsAndClearsModes) {
    EditorState state = demo_editing_state();
    state.tool = Tool::Rectangle;
    state.saved_objects = std::vector<SceneObject>(state.objects.begin(), state.objects.begin() + 2);
    state.fill_mode = true;
    state.eyedropper_armed = true;
    state.selection = {1};
    prepare_demo_tool(state, Tool::Select);
    EXPECT_EQ(state.objects.size(), 2u);
    EXPECT_FALSE(state.saved_objects);
    EXPECT_FALSE(state.fill_mode);
    EXPECT_FALSE(state.eyedropper_armed);
    EXPECT_TRUE(state.selection.empty());
    EXPECT_EQ(state.tool, Tool::Select);
}

}  // namespace
}  // namespace glimmerly
