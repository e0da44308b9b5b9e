#include "app/presentation/presentation_demo.h"

#include <windows.h>

#include "app/board/board_files.h"
#include "app/presentation/demo.h"
#include "app/presentation/devices.h"
#include "app/presentation/layer.h"
#include "app/presentation/pointer_effects.h"
#include "app/presentation/shapes.h"
#include "app/session/image_save.h"
#include "app/site_previews/film.h"
#include "app/win/failure.h"
#include "app/win/paths.h"
#include "core/site_previews/film_track.h"
#include "core/site_previews/presentation_film.h"

namespace glimmerly {
namespace {

// A layer that is not fully transparent anywhere takes the mouse on the
// desktop while a shape is armed; the film keeps that look.
constexpr float kArmedLayerAlpha = 1.0f / 255.0f;

struct DemoLayers {
    LayerPointer shapes;
    LayerPointer halo;
    LayerPointer keys;
};

Result<DemoLayers> create_demo_layers(std::uint32_t width, std::uint32_t height) {
    DemoLayers layers;
    auto shapes = hidden_presentation_layer(static_cast<std::int32_t>(width), static_cast<std::int32_t>(height));
    if (!shapes) return std::move(shapes).failure();
    layers.shapes = std::move(*shapes);
    // One factory for the three: under Wine each factory keeps a Direct3D
    // device of its own (about 160 MB).
    const RendererResources* sharing = layers.shapes->resources.get();
    auto halo = hidden_presentation_layer(kPresentationHaloSize, kPresentationHaloSize, sharing);
    if (!halo) return std::move(halo).failure();
    layers.halo = std::move(*halo);
    auto keys = hidden_presentation_layer(kPresentationKeysWidth, kPresentationKeysHeight, sharing);
    if (!keys) return std::move(keys).failure();
    layers.keys = std::move(*keys);
    return layers;
}

// The desktop picture with the three layers over it, every pixel opaque.
Result<BgraImage> composite_presentation_frame(const BgraImage& desktop, const DemoLayers& layers, Point pointer) {
    const auto [halo_x, halo_y] = presentation_halo_origin(pointer);
    return composite_layers(desktop, {{*layers.shapes, 0, 0},
                                      {*layers.halo, halo_x, halo_y},
                                      {*layers.keys, kPresentationKeysX, kPresentationKeysY}});
}

class LayerFrames final : public PresentationFrameSink {
public:
    LayerFrames(const BgraImage& desktop, DemoLayers& layers, std::wstring folder)
        : desktop_(desktop), layers_(layers), folder_(std::move(folder)) {}

    Status draw_frame(const PresentationDemo& demo, Point at) override {
        // Every layer is drawn whole each frame, so a frame that is not
        // written leaves nothing behind: the first pass only moves the script.
        if (!demo.write) return ok_status();
        GLIM_TRY(draw_shapes(demo));
        PresentationLayer& halo = *layers_.halo;
        GLIM_TRY(begin_layer_draw(halo));
        const std::optional<double> pulse = presentation_pulse_progress(demo);
        const Rgb colour = kPresentationHaloColour;
        draw_cursor_halo(halo, colour.r | colour.g << 8 | colour.b << 16, presentation_halo_pressed(demo),
                         pulse.has_value(), static_cast<float>(pulse.value_or(0.0)));
        GLIM_TRY(present_layer(halo));
        PresentationLayer& keys = *layers_.keys;
        GLIM_TRY(begin_layer_draw(keys));
        draw_input_devices(keys, demo.keys, demo.mouse, false, demo.clock, true);
        GLIM_TRY(present_layer(keys));

        auto picture = composite_presentation_frame(desktop_, layers_, at);
        if (!picture) return std::move(picture).failure();
        return save_image_atomically(*picture, win::join_path(folder_, win::to_wide(frame_file_name(demo.track.size()))),
                                     ImageFormat::Png);
    }

private:
    Status draw_shapes(const PresentationDemo& demo) {
        PresentationLayer& layer = *layers_.shapes;
        const bool armed = demo.shapes.armed != TemporaryShapeKind::None;
        GLIM_TRY(begin_layer_draw(layer, D2D1::ColorF(0, 0, 0, armed ? kArmedLayerAlpha : 0.0f)));
        for (const TemporaryShape& shape : demo.shapes.shapes)
            draw_temporary_shape(layer, shape.object, static_cast<float>(temporary_shape_opacity(shape, demo.clock)),
                                 shape.head_size);
        if (demo.shapes.pending) draw_temporary_shape(layer, *demo.shapes.pending, 1.0f, demo.size);
        return present_layer(layer);
    }

    const BgraImage& desktop_;
    DemoLayers& layers_;
    std::wstring folder_;
};

}  // namespace

Status render_presentation_demo(const BgraImage& desktop, const std::wstring& frames_folder) {
    GLIM_TRY(check_presentation_axis(desktop));
    GLIM_TRY(create_frames_folder(frames_folder));
    auto layers = create_demo_layers(desktop.width, desktop.height);
    if (!layers) return std::move(layers).failure();

    // The first pass writes nothing: it leaves the keys fading and two
    // shapes fading out, so the film opens on a desktop already in use.
    auto demo = std::make_unique<PresentationDemo>();
    LayerFrames frames(desktop, *layers, frames_folder);
    GLIM_TRY(script_presentation_pass(*demo, frames));
    demo->write = true;
    GLIM_TRY(script_presentation_pass(*demo, frames));

    const std::wstring track = win::join_path(frames_folder, win::to_wide(kPointerTrackName));
    if (Status written = write_whole_file(track, format_pointer_track(demo->track)); !written)
        return plain_failure(written.failure().message);
    return ok_status();
}

}  // namespace glimmerly
