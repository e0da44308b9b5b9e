#pragma once
// Scene objects drawn with Direct2D on any render target: the editor view,
// the composition of a finished capture and the previews. List order is
// stacking order. The paths of pens, highlighters, rectangles, ellipses and
// arrows are built once and kept in the resources' object cache until the
// object (or, for an outline, its points in the scene) changes; text is laid
// out on every drawing.

#include <d2d1.h>

#include <cstddef>
#include <optional>
#include <span>

#include "app/render/renderer_resources.h"
#include "core/editor/hit_bounds.h"

namespace glimmerly {

// The part of the target a pass shows (in the objects' coordinates), with
// the bounds of the whole list: an object whose bounds, grown by `margin`,
// miss the area is passed over before any call is made for it.
struct ShownArea {
    const HitBounds& bounds;
    Box area;
    double margin = 0.0;
};

// Draws objects[first, end) in order, leaving out the object whose id is
// `skip` (the one being edited) and, given a shown area, those outside it.
// Blur objects draw nothing: blur is baked into the picture. The first
// failing call ends the drawing with its error; what was drawn stays drawn.
Status draw_scene_objects(RendererResources& resources, ID2D1RenderTarget* target,
                          std::span<const SceneObject> objects, std::optional<ObjectId> skip, std::size_t first,
                          std::size_t end, const ShownArea* shown = nullptr);

// Prunes the object cache to the list, then draws the whole list.
Status draw_objects_with_cache(RendererResources& resources, ID2D1RenderTarget* target,
                               std::span<const SceneObject> objects);

// Drops the cached outlines of strokes that are no longer in the list.
void prune_object_cache(ObjectRenderCache& cache, std::span<const SceneObject> objects);
// Drops the cached paths of rectangles, ellipses and arrows no longer in the list.
void prune_outline_cache(OutlineRenderCache& cache, std::span<const SceneObject> objects);
// Both of the resources' object caches pruned to the list.
Status prune_object_caches(RendererResources& resources, std::span<const SceneObject> objects);

// The outline of a pen or highlighter stroke, with a copy of the stroke.
Result<StrokeCacheEntry> build_stroke_geometry(RendererResources& resources, const SceneObject& stroke);

// The area of a fill region inside an object (or the background): the base
// shape, outlined by `base_outline`, minus the boundary outlines.
Result<win::ComPtr<ID2D1Geometry>> fill_region_geometry(RendererResources& resources, ID2D1Geometry* base,
                                                        std::span<const Point> base_outline,
                                                        std::span<const Polyline> boundaries);

}  // namespace glimmerly
