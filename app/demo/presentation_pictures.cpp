#include "app/demo/presentation_pictures.h"

#include <vector>

#include "app/demo/demo_surface.h"
#include "app/presentation/demo.h"
#include "app/presentation/devices.h"
#include "app/render/renderer_resources.h"
#include "app/win/failure.h"

namespace glimmerly {
namespace {

constexpr std::uint32_t kPictureWidth = 960;
constexpr std::uint32_t kPictureHeight = 540;
constexpr Rgb kPage{245, 247, 250};
constexpr Rgb kTitleInk{28, 35, 48};
constexpr Rgb kCaptionInk{85, 96, 112};

// The surface cleared to the page colour; `draw` adds to it before the
// drawing ends.
template <class Draw>
Status paint_page(RendererResources& resources, const DemoSurface& surface, Draw draw) {
    ID2D1DCRenderTarget* target = resources.dc_target.get();
    const RECT whole{0, 0, static_cast<LONG>(surface.width), static_cast<LONG>(surface.height)};
    if (HRESULT hr = target->BindDC(surface.memory.get(), &whole); FAILED(hr)) return win::hr_failure(hr, "BindDC");
    target->BeginDraw();
    target->SetTransform(D2D1::Matrix3x2F::Identity());
    target->Clear(d2d_colour(kPage));
    Status drawn = draw();
    const HRESULT ended = target->EndDraw();
    GLIM_TRY(drawn);
    if (FAILED(ended)) return win::hr_failure(ended, "EndDraw");
    return ok_status();
}

Status render_presentation_picture(const PresentationSample& sample, const RendererResources& sharing) {
    auto made = create_renderer_resources(false, false, sharing);
    if (!made) return std::move(made).failure();
    auto surface = make_demo_surface(kPictureWidth, kPictureHeight);
    if (!surface) return std::move(surface).failure();
    // Fixed English: they caption the picture, whatever the interface language.
    const DemoCaption captions[] = {
        {"Present live", 28, kTitleInk, {48, 30, 935, 535}},
        {"Drawing complete: applications already respond to clicks.", 18, kCaptionInk, {48, 77, 935, 535}},
        {"Rectangle", 21, kCaptionInk, {135, 211, 935, 535}},
        {"Shape\nfading away", 19, kCaptionInk, {641, 201, 935, 535}},
        {"Halo", 18, kCaptionInk, {366, 365, 935, 535}},
    };
    GLIM_TRY(paint_page(**made, *surface, [&] { return draw_demo_captions(**made, captions); }));
    GLIM_TRY(blend_presentation_layer(surface->memory.get(), *sample.shapes, 0, 0));
    GLIM_TRY(blend_presentation_layer(surface->memory.get(), *sample.halo, 276, 341));
    GLIM_TRY(blend_presentation_layer(surface->memory.get(), *sample.devices, 220, 396));
    return save_demo_picture(opaque_copy(*surface), L"target/glimmerly-presentation.png");
}

// The US keyboard alone, standing on black.
Status render_keyboard_ansi(PresentationSample& sample) {
    sample.us_layout = true;
    GLIM_TRY(redraw_sample_devices(sample, true));
    const PresentationLayer& layer = *sample.devices;
    auto surface = make_demo_surface(static_cast<std::uint32_t>(layer.width), static_cast<std::uint32_t>(layer.height));
    if (!surface) return std::move(surface).failure();
    GLIM_TRY(blend_presentation_layer(surface->memory.get(), layer, 0, 0));
    return save_demo_picture(opaque_copy(*surface), L"target/glimmerly-keyboard-ansi.png");
}

}  // namespace

Status render_interface_with_tools(const RendererResources& sharing) {
    auto sample = render_presentation_sample(kPictureWidth, kPictureHeight, presentation_picture_shapes(), &sharing);
    if (!sample) return std::move(sample).failure();
    GLIM_TRY(render_presentation_picture(*sample, sharing));
    GLIM_TRY(render_keyboard_ansi(*sample));
    return render_keyboard_layouts(sharing);
}

Status render_keyboard_layouts(const RendererResources& sharing) {
    const SampleKeys held = keyboard_layouts_keys();
    struct Placed {
        LayerPointer layer;
        KeyboardLayoutRow row;
    };
    std::vector<Placed> layers;
    const auto destroy_in_order = [&] {
        for (Placed& placed : layers) placed.layer.reset();
    };
    Status done = [&]() -> Status {
        for (const KeyboardLayoutRow& row : keyboard_layout_rows()) {
            auto made = create_device_layer(0, 0, keyboard_layout_width(row), kDeviceLayerHeight, row.keyboard,
                                            row.mouse, nullptr, &sharing);
            if (!made) return std::move(made).failure();
            PresentationLayer& layer = **made;
            layers.push_back({std::move(*made), row});
            GLIM_TRY(begin_layer_draw(layer));
            draw_input_devices(layer, held.keys, held.mouse, row.us_layout, 0, row.move_mode);
            GLIM_TRY(present_layer(layer));
        }
        auto resources = create_renderer_resources(false, false, sharing);
        if (!resources) return std::move(resources).failure();
        auto surface = make_demo_surface(kKeyboardLayoutsWidth, kKeyboardLayoutsHeight);
        if (!surface) return std::move(surface).failure();
        GLIM_TRY(paint_page(**resources, *surface, [] { return ok_status(); }));
        for (const Placed& placed : layers)
            GLIM_TRY(blend_presentation_layer(surface->memory.get(), *placed.layer, placed.row.x, placed.row.y));
        return save_demo_picture(opaque_copy(*surface), L"target/glimmerly-keyboard-layouts.png");
    }();
    destroy_in_order();
    return done;
}

}  // namespace glimmerly
