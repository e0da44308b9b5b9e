#pragma once
// The decisions of the hidden broadcast window that repeats the presentation
// layers: which part of a layer's picture goes up after a pass, whether an
// upload may go ahead, and the box it writes. Only the changed part of a
// layer reaches the GPU; a surface is made again only for a new owner or size.

#include <cstddef>
#include <cstdint>
#include <optional>

#include "core/base/pixel_rect.h"
#include "core/document/scene_object.h"

namespace glimmerly {

// Slots of the mirror, one per layer kind; a layer without a slot has 255.
inline constexpr std::uint8_t kMirrorShapesSlot = 0;
inline constexpr std::uint8_t kMirrorDeviceSlot = 1;
inline constexpr std::uint8_t kMirrorPointerSlot = 2;
inline constexpr std::uint8_t kMirrorSlotCount = 3;
inline constexpr std::uint8_t kNoMirrorSlot = 255;

// What a pass hands the mirror: the union of what it changed and what the
// previous pass changed (which this one may have cleared), widened to whole
// pixels and clamped to the layer. A NaN side is ignored where the other
// rectangle has a number; neither rectangle gives the empty region.
PixelRect mirror_region(const std::optional<Box>& dirty, const std::optional<Box>& previous, std::int32_t width,
                        std::int32_t height);

struct MirrorUploadPlan {
    // The picture or region does not match the window: the mirror stops.
    bool refused = false;
    // A surface of (width, height) is made for this window first.
    bool new_surface = false;
    // What goes up, in layer pixels; empty when nothing does.
    PixelRect region;
};

// `surface_fits`: the slot holds a surface of this window at this size.
MirrorUploadPlan plan_mirror_upload(std::size_t byte_length, const PixelRect& region, std::int32_t width,
                                    std::int32_t height, bool surface_fits);

struct MirrorCopyBox {
    // The destination box in the texture the surface lent (front, back 0 and 1).
    std::uint32_t left = 0;
    std::uint32_t top = 0;
    std::uint32_t right = 0;
    std::uint32_t bottom = 0;
    // Where the region's first pixel lies in the layer's picture, in bytes.
    std::size_t source_offset = 0;
    std::uint32_t row_pitch = 0;
};

// The box of one upload: the region moved to the offset the surface's draw
// gave, read from a top-down picture `width` pixels wide.
MirrorCopyBox mirror_copy_box(const PixelRect& region, std::int32_t offset_x, std::int32_t offset_y,
                              std::int32_t width);

}  // namespace glimmerly
