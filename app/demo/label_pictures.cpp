#include "app/demo/label_pictures.h"

#include <algorithm>

#include "app/demo/demo_surface.h"
#include "app/demo/shape_scales.h"
#include "app/render/capture_region.h"
#include "app/render/text_formats.h"
#include "core/demo/demo_scenes.h"
#include "core/document/geometry.h"
#include "core/editor/gestures.h"
#include "core/editor/handles.h"
#include "core/editor/text_edits.h"

namespace glimmerly {
namespace {

// A bare editing state: no window, no renderer, the demo's defaults.
EditorState bare_editing_state() {
    EditorState state;
    state.stroke_width = 3.0;
    state.color = kDemoRed;
    state.interface_scale = 1.0;
    state.text_size = 14.0f;
    return state;
}

// Unwrapped unless a wrap width above 0 is given.
Result<Size> measure_at(RendererResources& resources, std::string_view text, double size, double wrap_width) {
    auto format = annotation_text_format(resources.dwrite_factory.get(), static_cast<float>(size));
    if (!format) return std::move(format).failure();
    return measure_text(resources, text, format->get(), wrap_width > 0.0, static_cast<float>(wrap_width));
}

std::span<const SceneObject> objects_of(const EditorState& state) {
    return {state.objects.data(), state.objects.size()};
}

Point frame_centre(const EditorState& state, ObjectId id) {
    const auto frame = object_frame_by_id(objects_of(state), id);
    if (!frame) return {0, 0};
    return {(frame->box.left + frame->box.right) * 0.5, (frame->box.top + frame->box.bottom) * 0.5};
}

}  // namespace

Status render_label_samples(RendererResources& resources, const std::wstring& path) {
    BgraImage ground = plain_frame(900, 520, kDemoLight);
    fill_frame_rect(ground, 450, 0, 900, 520, {52, 44, 40});
    EditorState core = bare_editing_state();
    for (const LabelSample& sample : label_samples()) {
        const double wrap = sample.mode.kind == LabelKind::Wrap ? sample.mode.wrap_width : 0.0;
        auto extent = measure_at(resources, sample.text, sample.size, wrap);
        if (!extent) return std::move(extent).failure();
        if (!add_text_object(core, label_text_position(sample.corner, sample.size), sample.text, *extent, sample.box,
                             sample.size, sample.mode, sample.ink))
            return invalid_input("The label \"" + sample.text + "\" was refused");
    }
    SceneObject& turned = core.objects.edit().back();
    const Box bounds = object_bounds(turned);
    rotate_object(turned, {(bounds.left + bounds.right) * 0.5, (bounds.top + bounds.bottom) * 0.5}, -0.3);
    auto picture = render_capture_region(resources, ground, {}, objects_of(core), Box{0, 0, 900, 520});
    if (!picture) return std::move(picture).failure();
    return save_demo_picture(*picture, path);
}

Status render_hover_steps(RendererResources& resources, const std::wstring& path) {
    BgraImage ground = plain_frame(kDemoWidth, kDemoHeight, kDemoLight);
    fill_frame_rect(ground, 180, 470, 320, 510, {31, 111, 235});
    EditorState state = demo_editor_over(std::move(ground));
    select_demo_region(state, kDemoPage);
    state.tool = Tool::Arrow;
    state.stroke_width = 4.0;

    auto out = add_demo_label(resources, state, {560, 170}, "Export as PNG here", {250, 192, 66});
    if (!out) return std::move(out).failure();
    auto step1 = add_demo_label(resources, state, {160, 150}, "Step 1", {80, 153, 244});
    if (!step1) return std::move(step1).failure();
    auto step2 = add_demo_label(resources, state, {380, 300}, "Step 2", {28, 31, 40});
    if (!step2) return std::move(step2).failure();
    auto hover = add_demo_label(resources, state, {760, 420}, "Hover me", {64, 199, 128});
    if (!hover) return std::move(hover).failure();

    drag_object_handle(state, *out, 3, {322, 490});
    drag_object_handle(state, *step1, 1, frame_centre(state, *step2));

    // An empty label has no text to measure: its box is the default one,
    // 150 wide and at least 60 tall.
    auto empty_box = measure_default_label_box(resources);
    if (!empty_box) return std::move(empty_box).failure();
    const double height = std::max(60.0, empty_box->h);
    if (!add_text_object(state, label_text_position({850, 115}, 22.0), std::string(), {150.0, height}, kDemoRed,
                         22.0, LabelMode::wrap(150.0), std::nullopt))
        return invalid_input("The empty label was refused");
    const ObjectId empty = state.last_id;
    drag_object_handle(state, *out, 1, frame_centre(state, empty));

    if (const auto handles = object_handle_frame(state, *hover)) state.pointer = (*handles)[3];
    GLIM_TRY(give_demo_renderer(state, resources));
    auto picture = render_view_image(state);
    if (!picture) return std::move(picture).failure();
    return save_demo_picture(*picture, path);
}

Status render_blur_sample(RendererResources& resources, const std::wstring& path) {
    EditorState core = bare_editing_state();
    const std::vector<std::string> lines = blur_sample_lines();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        auto extent = measure_at(resources, lines[i], 20.0, 0.0);
        if (!extent) return std::move(extent).failure();
        if (!add_text_object(core, {140.0, 170.0 + 48.0 * static_cast<double>(i)}, lines[i], *extent,
                             {40, 44, 52}, 20.0, LabelMode::none(), std::nullopt))
            return invalid_input("The line \"" + lines[i] + "\" was refused");
    }
    // The lines become pixels of the "captured screen": the blur hides
    // pixels, not objects.
    auto screen = render_capture_region(resources, plain_frame(kDemoWidth, kDemoHeight, kDemoLight), {},
                                        objects_of(core), Box{0, 0, kDemoWidth, kDemoHeight});
    if (!screen) return std::move(screen).failure();

    EditorState state = demo_editor_over(std::move(*screen));
    select_demo_region(state, kDemoPage);
    state.tool = Tool::Blur;
    demo_gesture(state, {130, 212}, {640, 362});
    state.tool = Tool::Arrow;
    demo_gesture(state, {820, 470}, {560, 300});
    state.tool = Tool::Blur;
    state.pointer = {760, 520};
    GLIM_TRY(give_demo_renderer(state, resources));
    auto picture = render_view_image(state);
    if (!picture) return std::move(picture).failure();
    return save_demo_picture(*picture, path);
}

}  // namespace glimmerly
