#pragma once
// The finished picture of a capture: the captured picture (blur applied),
// the background fills, the annotations and the overlay image composed
// offscreen and read back. Also the small steps that put pictures on the
// editor's DC render target.

#include <windows.h>
#include <d2d1.h>

#include <cstdint>
#include <optional>
#include <span>

#include "app/render/renderer_resources.h"

namespace glimmerly {

// The region (picture pixels; grown outward to whole pixels and cut to the
// picture) as an opaque image. The caller's picture is never changed: blur
// objects blur a copy. The resources stay usable after a failure.
Result<BgraImage> render_capture_region(RendererResources& resources, const BgraImage& picture,
                                        std::span<const FillRegion> background,
                                        std::span<const SceneObject> objects, const Box& region);

// A bitmap of part of the image on the target (alpha ignored, 96 dpi).
Result<win::ComPtr<ID2D1Bitmap>> bitmap_from_image_rect(ID2D1RenderTarget* target, const BgraImage& image,
                                                        std::uint32_t x, std::uint32_t y, std::uint32_t w,
                                                        std::uint32_t h);

// Makes the image the DC target's background. The scene view's cached layer
// and blurred pieces were drawn over the old background and are dropped.
// On failure nothing changes.
Status set_background_image(RendererResources& resources, const BgraImage& image);

// Sets (premultiplied alpha) or, given none, clears the picture drawn above
// the scene. On failure the earlier overlay stays.
Status cache_image_bitmap(RendererResources& resources, std::optional<BgraImage> image);
Status draw_overlay_image(RendererResources& resources, ID2D1RenderTarget* target);

// Binds the DC target to the device context, begins drawing, clears to black
// at alpha 1/255 and draws the background. The caller ends the drawing.
Status begin_dc_frame(RendererResources& resources, HDC dc, std::uint32_t width, std::uint32_t height);

// The same for one rectangle of the frame (in the DC's pixels): the target is
// bound to that rectangle alone and its transform moves frame coordinates
// into it, so that a frame drawn through `frame_area_transform` puts the same
// pixels in that rectangle as a whole frame would, and nothing outside it.
Status begin_dc_frame_area(RendererResources& resources, HDC dc, const RECT& area);
D2D1::Matrix3x2F frame_area_transform(const RECT& area);

}  // namespace glimmerly
