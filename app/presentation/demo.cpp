#include "app/presentation/demo.h"

#include <limits>

#include "app/presentation/devices.h"
#include "app/presentation/pointer_effects.h"
#include "app/presentation/shapes.h"

namespace glimmerly {
namespace {

// Off every screen, so that nothing shows even if a window were shown.
constexpr std::int32_t kOffScreen = -32000;

Result<LayerPointer> hidden_layer(std::int32_t width, std::int32_t height) {
    return create_presentation_layer(kOffScreen, kOffScreen, width, height, nullptr);
}

// A layer side from a caller's size: a window cannot be wider than i32.
Result<std::int32_t> layer_side(std::uint32_t side) {
    if (side == 0 || side > static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max()))
        return invalid_input("Invalid surface dimensions");
    return static_cast<std::int32_t>(side);
}

}  // namespace

Result<PresentationSample> render_presentation_sample(std::uint32_t width, std::uint32_t height,
                                                      const std::array<SampleShape, 3>& shapes) {
    auto w = layer_side(width);
    if (!w) return std::move(w).failure();
    auto h = layer_side(height);
    if (!h) return std::move(h).failure();
    PresentationSample sample;
    auto made = hidden_layer(*w, *h);
    if (!made) return std::move(made).failure();
    sample.shapes = std::move(*made);
    made = hidden_layer(kSampleHaloSide, kSampleHaloSide);
    if (!made) return std::move(made).failure();
    sample.halo = std::move(*made);
    made = hidden_layer(kSampleDeviceWidth, kDeviceLayerHeight);
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

Status redraw_sample_devices(PresentationSample& sample, bool move_mode) {
    GLIM_TRY(begin_layer_draw(*sample.devices));
    draw_input_devices(*sample.devices, sample.keys, sample.mouse, sample.us_layout, 0, move_mode);
    return present_layer(*sample.devices);
}

}  // namespace glimmerly
