#include "core/demo/demo_scenes.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

#include "core/editor/capture_start.h"
#include "core/editor/fill.h"
#include "core/editor/gestures.h"
#include "core/editor/monitor_views.h"
#include "core/editor/text_edits.h"

namespace glimmerly {
namespace {

SceneObject shape(ObjectId id, ObjectPayload payload, Rgb colour, double width) {
    SceneObject object;
    object.id = id;
    object.payload = std::move(payload);
    object.color = colour;
    object.width = width;
    return object;
}

SceneObject arrow(ObjectId id, Point from, Point to, Rgb colour, double width, bool head = true,
                  Point bend = {}) {
    LinePayload line;
    line.from = from;
    line.to = to;
    line.head = head;
    line.bend = bend;
    return shape(id, std::move(line), colour, width);
}

}  // namespace

bool has_render_demo_option(const Arguments& args) { return has_option(args, u"--render-demo"); }

BgraImage plain_frame(std::uint32_t width, std::uint32_t height, Rgb colour) {
    BgraImage frame{std::vector<std::uint8_t>(std::size_t{width} * height * 4), width, height};
    fill_frame_rect(frame, 0, 0, width, height, colour);
    return frame;
}

void fill_frame_rect(BgraImage& frame, std::uint32_t left, std::uint32_t top, std::uint32_t right,
                     std::uint32_t bottom, Rgb colour) {
    right = std::min(right, frame.width);
    bottom = std::min(bottom, frame.height);
    for (std::uint32_t y = top; y < bottom; ++y)
        for (std::uint32_t x = left; x < right; ++x) {
            std::uint8_t* p = &frame.pixels[(std::size_t{y} * frame.width + x) * 4];
            p[0] = colour.b, p[1] = colour.g, p[2] = colour.r, p[3] = 255;
        }
}

BgraImage demo_base_frame() {
    BgraImage frame = plain_frame(kDemoWidth, kDemoHeight, kDemoDark);
    fill_frame_rect(frame, 70, 100, 1030, 600, kDemoLight);
    return frame;
}

EditorState demo_editor_over(BgraImage frame) {
    const Box whole{0, 0, static_cast<double>(frame.width), static_cast<double>(frame.height)};
    return new_capture_state(std::move(frame), {MonitorArea{whole, 1.0}});
}

void select_demo_region(EditorState& state, const Box& region) {
    state.capture_selection = region;
    state.selecting = false;
}

void demo_gesture(EditorState& state, Point from, Point to, PointerModifiers modifiers) {
    begin_gesture(state, from, modifiers);
    continue_gesture(state, to);
    finish_gesture(state);
}

EditorState demo_editing_state() {
    EditorState state = demo_editor_over(demo_base_frame());
    state.stroke_width = 3.0;
    state.interface_scale = 1.0;
    state.text_size = 14.0f;
    state.tool = Tool::Rectangle;
    state.color = kDemoRed;
    demo_gesture(state, {130, 200}, {410, 400});
    state.tool = Tool::Ellipse;
    state.color = {80, 153, 244};
    demo_gesture(state, {800, 300}, {900, 300});
    state.tool = Tool::Arrow;
    state.color = {40, 60, 80};
    demo_gesture(state, {400, 300}, {720, 300}, PointerModifiers{.ctrl = true});
    add_sized_text_object(state, {150, 240}, "Editable objects");
    add_sized_text_object(state, {730, 280}, "Connected");
    add_sized_text_object(state, {130, 480}, "Glimmerly  \u00B7  Native Windows capture + annotations");
    return state;
}

void replace_editing_part(EditorState& into, EditorState&& from) {
    into.last_drawn_arrow = from.last_drawn_arrow;
    into.selection = std::move(from.selection);
    into.objects = std::move(from.objects);
    into.background = std::move(from.background);
    into.undo_stack = std::move(from.undo_stack);
    into.redo_stack = std::move(from.redo_stack);
    into.saved_objects = std::move(from.saved_objects);
    into.gesture = std::move(from.gesture);
    into.stroke_width = from.stroke_width;
    into.color = from.color;
    into.eraser_size = from.eraser_size;
    into.interface_scale = from.interface_scale;
    into.tool = from.tool;
    into.last_id = from.last_id;
    into.modifiers = from.modifiers;
}

void prepare_demo_tool(EditorState& state, Tool tool) {
    refresh_ui_scale(state);
    if (state.saved_objects) {
        state.objects = std::move(*state.saved_objects);
        state.saved_objects.reset();
    }
    state.eyedropper_armed = false;
    state.fill_mode = false;
    state.selection.clear();
    state.tool = tool;
}

std::vector<Point> slate_parabola_points() {
    std::vector<Point> points;
    for (int x = 160; x <= 580; x += 10) {
        const double d = x - 160.0;
        points.push_back({static_cast<double>(x), 520.0 - d * d / 560.0});
    }
    return points;
}

EditorState build_slate_scene() {
    EditorState state = new_capture_state(BgraImage{{}, kDemoWidth, kDemoHeight},
                                          {MonitorArea{{0, 0, kDemoWidth, kDemoHeight}, 1.0}});
    state.tool = Tool::Arrow;
    state.stroke_width = 3.0;
    state.interface_scale = 1.0;
    state.text_size = 14.0f;
    state.color = {28, 31, 40};
    apply_fill_at(state, {100, 120}, false);

    state.stroke_width = 4.0;
    state.color = {245, 245, 248};
    demo_gesture(state, {160, 520}, {160, 170});
    demo_gesture(state, {160, 520}, {640, 520});
    state.tool = Tool::Pen;
    const std::vector<Point> curve = slate_parabola_points();
    begin_gesture(state, curve.front(), {});
    for (std::size_t i = 1; i < curve.size(); ++i) continue_gesture(state, curve[i]);
    finish_gesture(state);
    state.tool = Tool::Rectangle;
    demo_gesture(state, {720, 170}, {960, 310});
    state.tool = Tool::Ellipse;
    demo_gesture(state, {840, 450}, {930, 450});

    state.color = {80, 153, 244};
    apply_fill_at(state, {840, 240}, false);
    state.color = {250, 192, 66};
    apply_fill_at(state, {840, 450}, false);

    state.color = {245, 245, 248};
    add_sized_text_object(state, {200, 180}, "y = x\u00B2");
    add_sized_text_object(state, {755, 222}, "Filled shape");
    state.tool = Tool::Pen;
    return state;
}

std::vector<Point> mini_toolbar_arch_points() {
    std::vector<Point> points;
    for (int i = 0; i <= 30; ++i)
        points.push_back({200.0 + 11.0 * i, 300.0 - 120.0 * std::sin(std::numbers::pi * i / 30.0)});
    return points;
}

Point label_text_position(Point corner, double size) { return {corner.x + 0.4 * size, corner.y + 0.25 * size}; }

std::vector<SceneObject> shape_scale_objects() {
    constexpr Rgb kBlue{40, 105, 190};
    std::vector<SceneObject> objects;
    for (int r = 0; r < 2; ++r) {
        const double y = 80.0 + 380.0 * r, w = r == 0 ? 2.0 : 8.0;
        const ObjectId base = 20 * static_cast<ObjectId>(r);
        objects.push_back(shape(base + 1, EllipsePayload{{58, y + 168, 62, y + 172}}, kBlue, w));
        objects.push_back(shape(base + 2, EllipsePayload{{92, y + 162, 108, y + 178}}, kBlue, w));
        objects.push_back(shape(base + 3, EllipsePayload{{150, y + 140, 210, y + 200}}, kBlue, w));
        objects.push_back(shape(base + 4, EllipsePayload{{240, y + 30, 520, y + 310}}, kBlue, w));
        objects.push_back(shape(base + 6, EllipsePayload{{550, y + 120, 950, y + 130}}, kBlue, w));
        objects.push_back(arrow(base + 10, {620, y + 175}, {624, y + 175}, kBlue, w));
        objects.push_back(arrow(base + 11, {620, y + 220}, {636, y + 220}, kBlue, w));
        objects.push_back(arrow(base + 12, {620, y + 265}, {720, y + 265}, kBlue, w));
        objects.push_back(arrow(base + 13, {620, y + 310}, {1220, y + 310}, kBlue, w));
    }
    return objects;
}

std::vector<SceneObject> thick_stroke_objects() {
    std::vector<SceneObject> objects;
    objects.push_back(arrow(1, {340, 380}, {170, 120}, kDemoRed, 40.0));
    StrokePayload pen;
    for (int i = 0; i < 160; ++i) {
        const double a = i / 159.0 * 2.0 * std::numbers::pi * 0.85;
        pen.points.push_back({std::cos(a) * 85.0 + 590.0, std::sin(a) * 120.0 + 240.0});
    }
    objects.push_back(shape(2, std::move(pen), kDemoRed, 40.0));
    return objects;
}

std::vector<SceneObject> bent_arrow_objects() {
    return {
        arrow(1, {40, 140}, {240, 140}, kDemoRed, 2, true, {0, -0.25}),
        arrow(2, {300, 140}, {500, 140}, kDemoRed, 4, true, {0.15, 0.3}),
        arrow(3, {560, 160}, {860, 100}, kDemoRed, 8, true, {-0.2, -0.35}),
        arrow(4, {60, 420}, {260, 300}, kDemoRed, 16, true, {0, 0.45}),
        arrow(5, {330, 300}, {420, 330}, kDemoRed, 6, true, {0, -0.6}),
        arrow(6, {500, 420}, {840, 420}, kDemoRed, 6, false, {0, -0.3}),
    };
}

std::vector<LabelSample> label_samples() {
    constexpr Rgb kWhiteBox{245, 245, 248};
    return {
        {LabelMode::fit(), "Note", {40, 40}, 24, {250, 192, 66}, std::nullopt},
        {LabelMode::fit(), "Step 1\nOpen the menu", {160, 40}, 20, kDemoRed, std::nullopt},
        {LabelMode::wrap(300),
         "\u00C7a d\u00E9j\u00E0 vu : le gar\u00E7on na\u00EFf mange une cr\u00E8me br\u00FBl\u00E9e, \u00FC \u00DF \u00F1.",
         {40, 170}, 20, {28, 31, 40}, std::nullopt},
        {LabelMode::wrap(160), "Averyveryverylongwordthatbreaks", {40, 340}, 18, kWhiteBox, std::nullopt},
        {LabelMode::fit(), "On a dark ground", {500, 40}, 22, {80, 153, 244}, std::nullopt},
        {LabelMode::wrap(200), "Wrapped on a white panel, three lines or so.", {500, 150}, 18, kWhiteBox,
         std::nullopt},
        {LabelMode::fit(), "Its own ink", {500, 280}, 22, kWhiteBox, kDemoRed},
        {LabelMode::fit(), "Turned", {560, 360}, 28, {64, 199, 128}, std::nullopt},
    };
}

std::vector<std::string> blur_sample_lines() {
    return {
        "Order 48213 shipped on 30 October",
        "Marta Ekholm, Lindenweg 17, 3012 Bern",
        "Card 4929 5521 0387 6614, expires 08/29",
        "Phone +41 31 555 01 72",
        "Thank you for your order!",
    };
}

}  // namespace glimmerly
