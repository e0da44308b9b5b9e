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
        return draw_text_in_rect(target, text.text, rect, format->get(), {object.color, 1.0f});
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
    return draw_text_in_rect(target, text.text, rect, format->get(), {object_text_color(object), 1.0f});
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

Status draw_outlined_object(RendererResources& resources, ID2D1RenderTarget* target, ID2D1SolidColorBrush* brush,
                            std::span<const SceneObject> objects, std::size_t index) {
    const SceneObject& object = objects[index];
    const bool arrow = object.kind() == ObjectKind::Arrow;
    const bool has_fill = !object.fill.empty();
    ID2D1StrokeStyle* style = nullptr;
    if (arrow)
        style = as_line(object)->head ? resources.round_start_stroke.get() : resources.round_stroke.get();
    ID2D1Factory* factory = resources.d2d_factory.get();

    for (const Polyline& polyline : build_object_geometry(object, objects)) {
        if (polyline.empty()) continue;
        const bool ends_where_it_began = polyline.front() == polyline.back();
        const bool closed = arrow && ends_where_it_began;  // the head
        auto path = polyline_geometry(factory, polyline, closed || has_fill, ends_where_it_began);
        if (!path) return std::move(path).failure();
        if (!arrow) {
            for (const FillRegion& region : object.fill) {
                const auto boundaries = collect_region_boundaries(region, objects, index + 1);
                auto area = fill_region_geometry(resources, path->get(), polyline, boundaries);
                if (!area) return std::move(area).failure();
                brush->SetColor(d2d_colour(region.color));
                target->FillGeometry(area->get(), brush);
            }
        }
        brush->SetColor(d2d_colour(object.color));
        if (closed)
            target->FillGeometry(path->get(), brush);
        else
            target->DrawGeometry(path->get(), brush, static_cast<float>(object.width), style);
    }
    return ok_status();
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

Status draw_scene_objects(RendererResources& resources, ID2D1RenderTarget* target,
                          std::span<const SceneObject> objects, std::optional<ObjectId> skip, std::size_t first,
                          std::size_t end) {
    if (first > end || end > objects.size()) return invalid_input("Object range outside the list");
    auto cache = resources.object_cache.borrow();
    if (!cache) return busy_failure("The object cache");
    ComPtr<ID2D1SolidColorBrush> brush;
    GLIM_TRY(made(target->CreateSolidColorBrush(D2D1::ColorF(0, 0, 0), brush.put()), brush,
                  "CreateSolidColorBrush"));
    for (std::size_t i = first; i < end; ++i) {
        const SceneObject& object = objects[i];
        if (skip && object.id == *skip) continue;
        switch (object.kind()) {
        case ObjectKind::Blur: break;
        case ObjectKind::Stroke: GLIM_TRY(draw_stroke(resources, target, brush.get(), *cache, object)); break;
        case ObjectKind::Text:
            GLIM_TRY(draw_text_object(resources, target, brush.get(), object, *as_text(object)));
            break;
        case ObjectKind::Rectangle:
        case ObjectKind::Ellipse:
        case ObjectKind::Arrow: GLIM_TRY(draw_outlined_object(resources, target, brush.get(), objects, i)); break;
        }
    }
    return ok_status();
}

Status draw_objects_with_cache(RendererResources& resources, ID2D1RenderTarget* target,
                               std::span<const SceneObject> objects) {
    {
        auto cache = resources.object_cache.borrow();
        if (!cache) return busy_failure("The object cache");
        prune_object_cache(*cache, objects);
    }
    return draw_scene_objects(resources, target, objects, std::nullopt, 0, objects.size());
}

}  // namespace glimmerly
