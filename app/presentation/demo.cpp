#include "app/presentation/demo.h"

#include <limits>

#include "app/demo/demo_surface.h"
#include "app/presentation/devices.h"
#include "app/presentation/pointer_effects.h"
#include "app/presentation/shapes.h"

namespace glimmerly {
namespace {

// Off every screen, so that nothing shows even if a window were shown.
constexpr std::int32_t kOffScreen = -32000;

// A layer side from a caller's size: a window cannot be wider than i32.
Result<std::int32_t> layer_side(std::uint32_t side) {
    if (side == 0 || side > static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max()))
        return invalid_input("Invalid surface dimensions");
    return static_cast<std::int32_t>(side);
}

}  // namespace

Result<PresentationSample> render_presentation_sample(std::uint32_t width, std::uint32_t height,
                                                      const std::array<SampleShape, 3>& shapes,
                                                      const RendererResources* sharing) {
    auto w = layer_side(width);
    if (!w) return std::move(w).failure();
    auto h = layer_side(height);
    if (!h) return std::move(h).failure();
    PresentationSample sample;
    auto made = hidden_presentation_layer(*w, *h, sharing);
    if (!made) return std::move(made).failure();
    sample.shapes = std::move(*made);
    made = hidden_presentation_layer(kSampleHaloSide, kSampleHaloSide, sharing);
    if (!made) return std::move(made).failure();
    sample.halo = std::move(*made);
    made = hidden_presentation_layer(kSampleDeviceWidth, kDeviceLayerHeight, sharing);
    if (!made) return std::move(made).failure();
    sample.devices = std::move(*made);

    GLIM_TRY(begin_layer_draw(*sample.shapes));
    for (const SampleShape& shape : shapes)
        if (const auto object = sample_shape_object(shape))
            draw_temporary_shape(*sample.shapes, *object, shape.opacity, kSampleShapeHeadSize);
    GLIM_TRY(present_layer(*sample.shapes));

    GLIM_TRY(begin_layer_draw(*sample.halo));
    draw_cursor_halo(*sample.halo, kSampleHaloColour, false, false, 0.0f);
    GLIM_TRY(present_layer(*sample.halo));

    SampleKeys held = presentation_sample_keys();
    sample.keys = held.keys;
    sample.mouse = held.mouse;
    GLIM_TRY(redraw_sample_devices(sample, true));
    return sample;
}

Result<LayerPointer> hidden_presentation_layer(std::int32_t width, std::int32_t height,
                                               const RendererResources* sharing) {
    return create_device_layer(kOffScreen, kOffScreen, width, height, true, true, nullptr, sharing);
}

Result<BgraImage> composite_layers(const BgraImage& backdrop, std::initializer_list<PlacedLayer> layers) {
    auto surface = make_demo_surface(backdrop.width, backdrop.height);
    if (!surface) return std::move(surface).failure();
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), static_cast<LONG>(backdrop.width), -static_cast<LONG>(backdrop.height),
                      1, 32, BI_RGB, 0, 0, 0, 0, 0};
    SetLastError(0);
    if (SetDIBitsToDevice(surface->memory.get(), 0, 0, backdrop.width, backdrop.height, 0, 0, 0, backdrop.height,
                          backdrop.pixels.data(), &info, DIB_RGB_COLORS) == 0)
        return demo_gdi_failure("SetDIBitsToDevice");
    for (const PlacedLayer& placed : layers)
        GLIM_TRY(blend_presentation_layer(surface->memory.get(), placed.layer, placed.x, placed.y));
    return opaque_copy(*surface);
}

Status blend_presentation_layer(HDC into, const PresentationLayer& layer, std::int32_t x, std::int32_t y) {
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    SetLastError(0);
    if (!GdiAlphaBlend(into, x, y, layer.width, layer.height, layer.surface.memory.get(), 0, 0, layer.width,
                       layer.height, blend))
        return demo_gdi_failure("GdiAlphaBlend");
    return ok_status();
}

Status redraw_sample_devices(PresentationSample& sample, bool move_mode) {
    GLIM_TRY(begin_layer_draw(*sample.devices));
    draw_input_devices(*sample.devices, sample.keys, sample.mouse, sample.us_layout, 0, move_mode);
    return present_layer(*sample.devices);
}

}  // namespace glimmerly
