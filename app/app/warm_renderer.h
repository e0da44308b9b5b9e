#pragma once
// What a prepared editor child builds while no capture waits: Direct2D and
// DirectWrite with both text formats and their fonts loaded, and a drawing
// surface of the whole virtual screen, so that the first capture pays for
// none of it.

#include <cstdint>
#include <memory>
#include <vector>

#include "app/image/screen_grab.h"
#include "app/render/renderer_resources.h"

namespace glimmerly {

struct WarmRenderer {
    DibSurface surface;
    // The first capture's picture buffer, of the surface's size: 8 MB at
    // 1920 x 1080 costs some 3 ms to allocate and touch.
    std::vector<std::uint8_t> frame_pixels;
    // After the surface: its target may still be bound to the surface's DC,
    // so it goes first.
    std::unique_ptr<RendererResources> resources;
};

// Software resources (premultiplied alpha for live capture), a surface and
// a picture buffer of that size, with one frame drawn and two texts measured.
Result<std::unique_ptr<WarmRenderer>> warm_renderer(std::uint32_t width, std::uint32_t height, bool live);

}  // namespace glimmerly
