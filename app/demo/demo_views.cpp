#include "app/demo/demo_views.h"

#include <cstring>

#include "app/demo/demo_surface.h"
#include "app/demo/shape_scales.h"
#include "app/render/text_formats.h"
#include "core/demo/demo_scenes.h"
#include "core/editor/colour_picker.h"
#include "core/editor/editor_input.h"
#include "core/editor/monitor_views.h"
#include "core/editor/text_edits.h"
#include "core/editor/typing_controls.h"
#include "ui/capture/editor_window_part.h"

namespace glimmerly {
namespace {

Status render_and_save(EditorState& state, const std::wstring& path) {
    auto picture = render_view_image(state);
    if (!picture) return std::move(picture).failure();
    return save_demo_picture(*picture, path);
}

// A label editor: the light page selected, the label tool with the palette
// on the letters, one label of its own ink selected.
Status render_label_colours(const RendererResources& sharing, const std::wstring& path) {
    EditorState state = demo_editor_over(plain_frame(kDemoWidth, kDemoHeight, kDemoLight));
    select_demo_region(state, kDemoPage);
    state.palette_target = PaletteTarget::Text;
    state.tool = Tool::Label;
    GLIM_TRY(give_demo_renderer(state, sharing));
    RendererResources& resources = *editor_window_part(state).renderer.resources;
    constexpr char kText[] = "Its own ink";
    auto extent = measure_annotation_line(resources, kText, 28.0f);
    if (!extent) return std::move(extent).failure();
    // A refused label is no failure: the picture shows the editor without it.
    if (add_text_object(state, {420, 320}, kText, *extent, {28, 31, 40}, 28.0, LabelMode::fit(),
                        Rgb{250, 192, 66}))
        state.selection = {state.last_id};
    return render_and_save(state, path);
}

// The pen drawn along the arch through the editor's own pointer handlers.
Status draw_arch(EditorState& state) {
    const std::vector<Point> arch = mini_toolbar_arch_points();
    TypingControls no_window;
    auto pressed = on_pointer_down(state, no_window, arch.front(), keyboard_modifiers());
    if (!pressed) return std::move(pressed).failure();
    for (std::size_t i = 1; i < arch.size(); ++i) (void)on_pointer_move(state, no_window, arch[i], keyboard_modifiers());
    (void)on_pointer_up(state, no_window, arch.back(), keyboard_modifiers());
    return ok_status();
}

Result<BgraImage> mini_toolbar_variant(const RendererResources& sharing, const BgraImage& base, bool unfolded) {
    EditorState state = demo_editor_over(base);
    state.more_tools_setting = true;
    state.tool = Tool::Pen;
    select_demo_region(state, {120, 110, 640, 380});
    GLIM_TRY(draw_arch(state));
    if (unfolded) {
        refresh_ui_scale(state);
        if (state.saved_objects) {
            state.objects = std::move(*state.saved_objects);
            state.saved_objects.reset();
        }
        state.eyedropper_armed = false;
        state.fill_mode = false;
        state.more_tools_expanded = !state.more_tools_expanded;
    }
    state.pointer = {-100, -100};
    GLIM_TRY(give_demo_renderer(state, sharing));
    return render_view_at(state, base.width, base.height);
}

}  // namespace

Status render_editor_views(EditorState& state, const RendererResources& sharing, const std::wstring& title_path) {
    const auto beside = [&](std::wstring_view name) { return sibling_path(title_path, name); };
    GLIM_TRY(render_and_save(state, beside(L"glimmerly-interface.png")));

    state.colour_picker = open_colour_picker({80, 153, 244}, {755, 260}, kDemoWidth, kDemoHeight, 1.0);
    GLIM_TRY(render_and_save(state, beside(L"glimmerly-color-wheel.png")));

    state.colour_picker.reset();
    state.tool = Tool::Pen;
    state.stroke_width = 18.0;
    state.size_preview = true;
    state.pointer = {580, 390};
    GLIM_TRY(render_and_save(state, beside(L"glimmerly-stroke-preview.png")));

    state.size_preview = false;
    state.wheel_hint_shown = true;
    GLIM_TRY(render_and_save(state, beside(L"glimmerly-wheel-hint.png")));

    state.wheel_hint_shown = false;
    replace_editing_part(state, build_slate_scene());
    state.fill_mode = true;
    state.pointer = {300, 485};
    GLIM_TRY(render_and_save(state, beside(L"glimmerly-slate.png")));

    state.fill_mode = false;
    state.tool = Tool::Select;
    state.pointer = {900, 290};
    GLIM_TRY(render_and_save(state, beside(L"glimmerly-hover.png")));

    state.fill_mode = true;
    state.color = {250, 192, 66};
    GLIM_TRY(render_and_save(state, beside(L"glimmerly-bucket-preview.png")));

    EditorState plain = demo_editor_over(plain_frame(640, 360, {95, 85, 80}));
    plain.pointer = {270, 130};
    GLIM_TRY(give_demo_renderer(plain, sharing));
    auto hint = render_small_view_image(plain);
    if (!hint) return std::move(hint).failure();
    GLIM_TRY(save_demo_picture(*hint, beside(L"glimmerly-selection-hint.png")));

    GLIM_TRY(render_label_colours(sharing, beside(L"glimmerly-label-colors.png")));
    GLIM_TRY(render_interface_200(sharing, beside(L"glimmerly-interface-200.png")));
    return render_mini_toolbar(sharing, beside(L"glimmerly-mini-toolbar.png"));
}

Status render_interface_200(const RendererResources& sharing, const std::wstring& path) {
    EditorState state = demo_editor_over(plain_frame(2200, 1360, kDemoLight));
    state.monitor_areas = {MonitorArea{{0, 0, 2200, 1360}, 2.0}};
    new_monitor_views(state);
    GLIM_TRY(drag_in_editor(state, {140, 200}, {2060, 1200}));
    prepare_demo_tool(state, Tool::Arrow);
    GLIM_TRY(drag_in_editor(state, {1200, 500}, {1800, 900}));
    prepare_demo_tool(state, Tool::Rectangle);
    GLIM_TRY(drag_in_editor(state, {400, 500}, {1000, 900}));
    prepare_demo_tool(state, Tool::Select);
    GLIM_TRY(drag_in_editor(state, {400, 700}, {400, 700}));
    TypingControls no_window;
    (void)on_pointer_move(state, no_window, {1500, 1000}, keyboard_modifiers());
    GLIM_TRY(give_demo_renderer(state, sharing));
    auto picture = render_large_view_image(state);
    if (!picture) return std::move(picture).failure();
    return save_demo_picture(*picture, path);
}

Status render_mini_toolbar(const RendererResources& sharing, const std::wstring& path) {
    constexpr std::uint32_t kW = 900, kH = 560, kGap = 20;
    BgraImage base = plain_frame(kW, kH, kDemoDark);
    fill_frame_rect(base, 60, 60, 840, 500, kDemoLight);
    BgraImage composite = plain_frame(2 * kW + kGap, kH, {20, 20, 20});
    for (const bool unfolded : {false, true}) {
        auto variant = mini_toolbar_variant(sharing, base, unfolded);
        if (!variant) return std::move(variant).failure();
        const std::uint32_t left = unfolded ? kW + kGap : 0;
        for (std::uint32_t y = 0; y < kH; ++y)
            std::memcpy(&composite.pixels[(std::size_t{y} * composite.width + left) * 4],
                        &variant->pixels[std::size_t{y} * kW * 4], std::size_t{kW} * 4);
    }
    return save_demo_picture(composite, path);
}

}  // namespace glimmerly
