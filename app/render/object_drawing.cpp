#include "app/render/object_drawing.h"

#include <numbers>

#include "app/render/area_geometry.h"
#include "app/render/saved_transform.h"
#include "app/render/text_formats.h"
#include "core/render/region_geometry.h"

namespace glimmerly {

namespace {

using win::ComPtr;

constexpr float kHighlighterAlpha = 0.3f;
// A plain text's layout box reaches this far past its measured extent, so
// that the last letter is never clipped by rounding.
constexpr double kTextSlack = 20.0;
constexpr double kLabelCornerFactor = 0.25;

Status draw_text_object(RendererResources& resources, ID2D1RenderTarget* target, ID2D1SolidColorBrush* brush,
                        const SceneObject& object, const TextPayload& text) {
    SavedTransform transform(target);
    const Point centre = box_centre(object_bounds(object));
    const D2D1::Matrix3x2F turn = rotation_matrix(
        resources, static_cast<float>(object.rotation * (180.0 / std::numbers::pi)), d2d_point(centre));
    target->SetTransform(turn * transform.matrix());

    auto format = annotation_text_format(resources.dwrite_factory.get(), static_cast<float>(text.size));
    if (!format) return std::move(format).failure();
    if (!text.label.is_label()) {
        const Box rect{text.at.x, text.at.y, text.at.x + text.extent.w + kTextSlack,
                       text.at.y + text.extent.h + kTextSlack};
        draw_text_in_rect(target, brush, text.text, rect, format->get(), {object.color, 1.0f});
        return ok_status();
    }

    const float radius = static_cast<float>(text.size * kLabelCornerFactor);
    brush->SetColor(d2d_colour(object.color));
    target->FillRoundedRectangle(D2D1::RoundedRect(d2d_rect(object_bounds(object)), radius, radius), brush);
    (*format)->SetTextAlignment(DWRITE_TEXT_ALIGNMENT_CENTER);
    // A fitted label is exactly as wide as its longest line; wrapping it
    // would break lines that rounding made a hair too wide.
    if (text.label.kind == LabelKind::Fit) (*format)->SetWordWrapping(DWRITE_WORD_WRAPPING_NO_WRAP);
    const double width = text.label.kind == LabelKind::Wrap ? text.label.wrap_width : text.extent.w;
    const Box rect{text.at.x, text.at.y, text.at.x + width, text.at.y + text.extent.h + kTextSlack};
    draw_text_in_rect(target, brush, text.text, rect, format->get(), {object_text_color(object), 1.0f});
    return ok_status();
}

Status draw_stroke(RendererResources& resources, ID2D1RenderTarget* target, ID2D1SolidColorBrush* brush,
                   ObjectRenderCache& cache, const SceneObject& object) {
    const bool highlight = as_stroke(object)->highlight;
    brush->SetColor(d2d_colour(object.color, highlight ? kHighlighterAlpha : 1.0f));
    auto found = cache.find(object.id);
    if (found == cache.end() || !(found->second.object == object)) {
        auto built = build_stroke_geometry(resources, object);
        if (!built) return std::move(built).failure();
        found = cache.insert_or_assign(object.id, std::move(*built)).first;
    }
    found->second.used = true;
    // One filled outline for the whole stroke: a translucent highlighter
    // does not darken where it crosses itself.
    target->FillGeometry(found->second.geometry.get(), brush);
    return ok_status();
}

// The object's paths as the cache keeps them, rebuilt only where its outline
// (or, for a fill region, the outlines cut out of it) changed.
Result<OutlineCacheEntry*> outline_paths(RendererResources& resources, OutlineRenderCache& cache,
                                         std::span<const SceneObject> objects, std::size_t index) {
    const SceneObject& object = objects[index];
    const bool arrow = object.kind() == ObjectKind::Arrow;
    const bool has_fill = !object.fill.empty();
    std::vector<Polyline> outline = build_object_geometry(object, objects);
    auto found = cache.find(object.id);
    if (found == cache.end() || found->second.filled != has_fill || found->second.outline != outline) {
        OutlineCacheEntry entry{std::move(outline), has_fill, {}, {}, true};
        for (const Polyline& polyline : entry.outline) {
            if (polyline.empty()) {
                entry.paths.emplace_back();
                continue;
            }
            const bool ends_where_it_began = polyline.front() == polyline.back();
            const bool closed = arrow && ends_where_it_began;  // the head
            auto path = polyline_geometry(resources.d2d_factory.get(), polyline, closed || has_fill,
                                          ends_where_it_began);
            if (!path) return std::move(path).failure();
            entry.paths.push_back(std::move(*path));
        }
        entry.areas.resize(entry.outline.size());
        found = cache.insert_or_assign(object.id, std::move(entry)).first;
    }
    OutlineCacheEntry& entry = found->second;
    entry.used = true;
    if (arrow) return &entry;
    for (std::size_t p = 0; p < entry.outline.size(); ++p) {
        if (entry.outline[p].empty()) continue;
        std::vector<CutAreaEntry>& areas = entry.areas[p];
        areas.resize(object.fill.size());
        for (std::size_t r = 0; r < object.fill.size(); ++r) {
            auto boundaries = collect_region_boundaries(object.fill[r], objects, index + 1);
            if (areas[r].geometry && areas[r].boundaries == boundaries) continue;
            auto area = fill_region_geometry(resources, entry.paths[p].get(), entry.outline[p], boundaries);
            if (!area) return std::move(area).failure();
            areas[r] = CutAreaEntry{std::move(boundaries), std::move(*area)};
        }
    }
    return &entry;
}

Status draw_outlined_object(RendererResources& resources, ID2D1RenderTarget* target, ID2D1SolidColorBrush* brush,
                            OutlineRenderCache& cache, std::span<const SceneObject> objects, std::size_t index) {
    const SceneObject& object = objects[index];
    const bool arrow = object.kind() == ObjectKind::Arrow;
    ID2D1StrokeStyle* style = nullptr;
    if (arrow)
        style = as_line(object)->head ? resources.round_start_stroke.get() : resources.round_stroke.get();
    auto entry = outline_paths(resources, cache, objects, index);
    if (!entry) return std::move(entry).failure();
    const OutlineCacheEntry& paths = **entry;
    for (std::size_t p = 0; p < paths.outline.size(); ++p) {
        const Polyline& polyline = paths.outline[p];
        if (polyline.empty()) continue;
        if (!arrow) {
            for (std::size_t r = 0; r < object.fill.size(); ++r) {
                brush->SetColor(d2d_colour(object.fill[r].color));
                target->FillGeometry(paths.areas[p][r].geometry.get(), brush);
            }
        }
        brush->SetColor(d2d_colour(object.color));
        if (arrow && polyline.front() == polyline.back())
            target->FillGeometry(paths.paths[p].get(), brush);
        else
            target->DrawGeometry(paths.paths[p].get(), brush, static_cast<float>(object.width), style);
    }
    return ok_status();
}

// Whether an object may leave a pixel inside the shown area. The hit-test
// bounds hold the object's outline and inside; antialiasing reaches a pixel
// further, and a text's layout box runs past its measured extent (turned
// with the text, up to the slack's diagonal).
bool may_show(const ShownArea& shown, std::span<const SceneObject> objects, std::size_t i) {
    if (shown.bounds.size() != objects.size()) return true;
    const double reach = shown.margin + (objects[i].kind() == ObjectKind::Text ? kTextSlack * 1.5 : 0.0);
    return shown.bounds.may_touch(i, grow_box(shown.area, reach));
}

}  // namespace

Result<ComPtr<ID2D1Geometry>> fill_region_geometry(RendererResources& resources, ID2D1Geometry* base,
                                                   std::span<const Point> base_outline,
                                                   std::span<const Polyline> boundaries) {
    return exclude_polygons(resources.d2d_factory.get(), base, base_outline, boundaries);
}

Result<StrokeCacheEntry> build_stroke_geometry(RendererResources& resources, const SceneObject& stroke) {
    auto geometry = stroke_outline_geometry(resources.d2d_factory.get(), resources.round_stroke.get(),
                                            flatten_path(stroke));
    if (!geometry) return std::move(geometry).failure();
    return StrokeCacheEntry{stroke, std::move(*geometry), true};
}

void prune_object_cache(ObjectRenderCache& cache, std::span<const SceneObject> objects) {
    for (auto& [id, entry] : cache) entry.used = false;
    for (const SceneObject& object : objects) {
        if (object.kind() != ObjectKind::Stroke) continue;
        if (const auto found = cache.find(object.id); found != cache.end()) found->second.used = true;
    }
    std::erase_if(cache, [](const auto& item) { return !item.second.used; });
}

void prune_outline_cache(OutlineRenderCache& cache, std::span<const SceneObject> objects) {
    for (auto& [id, entry] : cache) entry.used = false;
    for (const SceneObject& object : objects) {
        const ObjectKind kind = object.kind();
        if (kind != ObjectKind::Rectangle && kind != ObjectKind::Ellipse && kind != ObjectKind::Arrow) continue;
        if (const auto found = cache.find(object.id); found != cache.end()) found->second.used = true;
    }
    std::erase_if(cache, [](const auto& item) { return !item.second.used; });
}

Status prune_object_caches(RendererResources& resources, std::span<const SceneObject> objects) {
    auto strokes = resources.object_cache.borrow();
    if (!strokes) return busy_failure("The object cache");
    auto outlines = resources.outline_cache.borrow();
    if (!outlines) return busy_failure("The outline cache");
    prune_object_cache(*strokes, objects);
    prune_outline_cache(*outlines, objects);
    return ok_status();
}

Status draw_scene_objects(RendererResources& resources, ID2D1RenderTarget* target,
                          std::span<const SceneObject> objects, std::optional<ObjectId> skip, std::size_t first,
                          std::size_t end, const ShownArea* shown) {
    if (first > end || end > objects.size()) return invalid_input("Object range outside the list");
    auto cache = resources.object_cache.borrow();
    if (!cache) return busy_failure("The object cache");
    auto outlines = resources.outline_cache.borrow();
    if (!outlines) return busy_failure("The outline cache");
    auto brush = solid_brush(resources, target, D2D1::ColorF(0, 0, 0));
    if (!brush) return std::move(brush).failure();
    for (std::size_t i = first; i < end; ++i) {
        const SceneObject& object = objects[i];
        if (skip && object.id == *skip) continue;
        if (object.kind() == ObjectKind::Blur || (shown && !may_show(*shown, objects, i))) continue;
        switch (object.kind()) {
        case ObjectKind::Blur: break;
        case ObjectKind::Stroke: GLIM_TRY(draw_stroke(resources, target, brush->get(), *cache, object)); break;
        case ObjectKind::Text:
            GLIM_TRY(draw_text_object(resources, target, brush->get(), object, *as_text(object)));
            break;
        case ObjectKind::Rectangle:
        case ObjectKind::Ellipse:
        case ObjectKind::Arrow:
            GLIM_TRY(draw_outlined_object(resources, target, brush->get(), *outlines, objects, i));
            break;
        }
    }
    return ok_status();
}

Status draw_objects_with_cache(RendererResources& resources, ID2D1RenderTarget* target,
                               std::span<const SceneObject> objects) {
    GLIM_TRY(prune_object_caches(resources, objects));
    return draw_scene_objects(resources, target, objects, std::nullopt, 0, objects.size());
}

}  // namespace glimmerly
