#include "app/demo/shape_scales.h"

#include <functional>
#include <vector>

#include "app/demo/demo_surface.h"
#include "app/render/capture_region.h"
#include "app/render/object_drawing.h"
#include "app/render/text_formats.h"
#include "app/win/failure.h"
#include "core/demo/demo_scenes.h"
#include "core/editor/editor_input.h"
#include "core/editor/handles.h"
#include "core/editor/text_edits.h"
#include "core/editor/typing_controls.h"

namespace glimmerly {
namespace {

// One picture of objects on a plain ground, with its own renderer resources;
// the captions come before or after the objects.
Status render_object_picture(const RendererResources& sharing, std::uint32_t width, std::uint32_t height, Rgb ground,
                             std::span<const SceneObject> objects, std::span<const DemoCaption> before,
                             std::span<const DemoCaption> after, const std::wstring& path) {
    auto made = create_renderer_resources(false, false, sharing);
    if (!made) return std::move(made).failure();
    RendererResources& resources = **made;
    GLIM_TRY(set_background_image(resources, plain_frame(width, height, ground)));
    auto surface = make_demo_surface(width, height);
    if (!surface) return std::move(surface).failure();
    GLIM_TRY(begin_dc_frame(resources, surface->memory.get(), width, height));
    Status drawn = draw_demo_captions(resources, before);
    if (drawn) drawn = draw_objects_with_cache(resources, resources.dc_target.get(), objects);
    if (drawn) drawn = draw_demo_captions(resources, after);
    const HRESULT ended = resources.dc_target->EndDraw();
    if (!drawn) return drawn;
    if (FAILED(ended)) return win::hr_failure(ended, "EndDraw");
    return save_demo_picture(opaque_copy(*surface), path);
}

constexpr Rgb kDarkGround{25, 25, 25};
constexpr Rgb kCaptionLight{240, 240, 240};

}  // namespace

Status render_shape_scales(const RendererResources& sharing, const std::wstring& path) {
    const DemoCaption scale_captions[] = {
        {"Shape scales \u00B7 2 / 8 px", 24, {30, 30, 30}, {30, 20, 1300, 60}},
        {"2 PX", 14, {60, 60, 60}, {30, 80, 1300, 105}},
        {"8 PX", 14, {60, 60, 60}, {30, 460, 1300, 485}},
    };
    GLIM_TRY(render_object_picture(sharing, 1360, 840, {246, 246, 246}, shape_scale_objects(), scale_captions, {},
                                   path));

    const DemoCaption thick_caption[] = {
        {"40 px \u00B7 straight arrow / round pen", 22, kCaptionLight, {30, 25, 760, 65}},
    };
    GLIM_TRY(render_object_picture(sharing, 800, 460, kDarkGround, thick_stroke_objects(), {}, thick_caption,
                                   sibling_path(path, L"glimmerly-thick-strokes.png")));
    return render_bent_arrows(sharing, sibling_path(path, L"glimmerly-bent-arrows.png"));
}

Status render_bent_arrows(const RendererResources& sharing, const std::wstring& path) {
    const DemoCaption caption[] = {
        {"Bent arrows 2 / 4 / 8 / 16 / 6 px \u00B7 bent line", 22, kCaptionLight, {30, 25, 860, 65}},
    };
    return render_object_picture(sharing, 900, 520, kDarkGround, bent_arrow_objects(), {}, caption, path);
}

PointerModifiers keyboard_modifiers() {
    const auto down = [](int key) { return (GetKeyState(key) & 0x8000) != 0; };
    return PointerModifiers{.shift = down(VK_SHIFT), .alt = down(VK_MENU), .ctrl = down(VK_CONTROL)};
}

Status drag_in_editor(EditorState& state, Point from, Point to) {
    // The demo's editors hold frozen pictures, never live ones: there are no
    // live pixels under the pointer to fetch before the press.
    TypingControls no_window;
    auto pressed = on_pointer_down(state, no_window, from, keyboard_modifiers());
    if (!pressed) return std::move(pressed).failure();
    (void)on_pointer_up(state, no_window, to, keyboard_modifiers());
    return ok_status();
}

Result<ObjectId> add_demo_label(RendererResources& resources, EditorState& state, Point corner,
                                std::string_view text, Rgb colour) {
    constexpr double kSize = 22.0;
    auto format = annotation_text_format(resources.dwrite_factory.get(), static_cast<float>(kSize));
    if (!format) return std::move(format).failure();
    auto extent = measure_text(resources, text, format->get(), false, 0.0f);
    if (!extent) return std::move(extent).failure();
    if (!add_text_object(state, label_text_position(corner, kSize), std::string(text), *extent, colour, kSize,
                         LabelMode::fit(), std::nullopt))
        return invalid_input("The label \"" + std::string(text) + "\" was refused");
    return state.last_id;
}

void drag_object_handle(EditorState& state, ObjectId id, std::size_t handle, Point to) {
    Point from = to;
    if (const auto handles = object_handle_frame(state, id); handles && handle < handles->size())
        from = (*handles)[handle];
    demo_gesture(state, from, to);
}

}  // namespace glimmerly
