#pragma once
// The presentation as a still picture: the real layers of presentation mode
// (shapes, halo, keys and mouse) created hidden far off every screen and
// drawn once, for renderers that composite them into pictures of their own.

#include <array>
#include <cstdint>
#include <initializer_list>

#include "app/presentation/layer.h"
#include "core/image/bgra_image.h"
#include "core/base/result.h"
#include "core/demo/presentation_scenes.h"

namespace glimmerly {

// The three drawn layers and what the device layer was drawn from, so that
// a caller can draw it again (on another layout, say). Each layer's DIB
// holds its premultiplied picture; the windows are never shown. Dropping a
// layer destroys it.
struct PresentationSample {
    LayerPointer shapes;   // width x height
    LayerPointer halo;     // 72 x 72
    LayerPointer devices;  // 520 x 140, keyboard and mouse
    KeyDisplay keys;
    ShownInput mouse;
    bool us_layout = false;
};

inline constexpr std::int32_t kSampleHaloSide = 72;
inline constexpr std::int32_t kSampleDeviceWidth = 520;
// The halo of the sample pictures, R | G << 8 | B << 16.
inline constexpr std::uint32_t kSampleHaloColour = 255u | 211u << 8 | 64u << 16;

// Draws the shapes (in order; a shape without a kind is skipped) into a
// shapes layer of that size, the halo, and the sample's held keys and left
// button. On a failure the layers made so far are destroyed. The layers
// draw through the factories of `sharing` when given.
Result<PresentationSample> render_presentation_sample(std::uint32_t width, std::uint32_t height,
                                                      const std::array<SampleShape, 3>& shapes,
                                                      const RendererResources* sharing = nullptr);

// The device layer drawn again from the sample's keys, mouse and layout.
Status redraw_sample_devices(PresentationSample& sample, bool move_mode);

// A presentation layer far off every screen, never shown: only its picture is used.
Result<LayerPointer> hidden_presentation_layer(std::int32_t width, std::int32_t height,
                                               const RendererResources* sharing = nullptr);

// The layer's premultiplied picture blended over the DC at (x, y), whole.
Status blend_presentation_layer(HDC into, const PresentationLayer& layer, std::int32_t x, std::int32_t y);

// A layer's picture and where its top-left corner lands on the backdrop.
struct PlacedLayer {
    const PresentationLayer& layer;
    std::int32_t x;
    std::int32_t y;
};
// The backdrop with the layers blended over it in order, every pixel opaque.
Result<BgraImage> composite_layers(const BgraImage& backdrop, std::initializer_list<PlacedLayer> layers);

}  // namespace glimmerly
