#pragma once
// Scene objects drawn with Direct2D on any render target: the editor view,
// the composition of a finished capture and the previews. List order is
// stacking order. Pen and highlighter outlines are built once and kept in the
// resources' object cache until the stroke changes; everything else is built
// on every drawing.

#include <d2d1.h>

#include <cstddef>
#include <optional>
#include <span>

#include "app/render/renderer_resources.h"

namespace glimmerly {

// Draws objects[first, end) in order, leaving out the object whose id is
// `skip` (the one being edited). Blur objects draw nothing: blur is baked
// into the picture. The first failing call ends the drawing with its error;
// what was drawn stays drawn.
Status draw_scene_objects(RendererResources& resources, ID2D1RenderTarget* target,
                          std::span<const SceneObject> objects, std::optional<ObjectId> skip, std::size_t first,
                          std::size_t end);

// Prunes the object cache to the list, then draws the whole list.
Status draw_objects_with_cache(RendererResources& resources, ID2D1RenderTarget* target,
                               std::span<const SceneObject> objects);

// Drops the cached outlines of strokes that are no longer in the list.
void prune_object_cache(ObjectRenderCache& cache, std::span<const SceneObject> objects);

// The outline of a pen or highlighter stroke, with a copy of the stroke.
Result<StrokeCacheEntry> build_stroke_geometry(RendererResources& resources, const SceneObject& stroke);

// The area of a fill region inside an object (or the background): the base
// shape, outlined by `base_outline`, minus the boundary outlines.
Result<win::ComPtr<ID2D1Geometry>> fill_region_geometry(RendererResources& resources, ID2D1Geometry* base,
                                                        std::span<const Point> base_outline,
                                                        std::span<const Polyline> boundaries);

}  // namespace glimmerly
