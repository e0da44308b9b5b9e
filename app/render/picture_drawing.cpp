#include "app/render/picture_drawing.h"

#include <cmath>
#include <numbers>
#include <type_traits>
#include <vector>

#include "app/render/object_drawing.h"
#include "app/render/saved_transform.h"
#include "app/win/failure.h"

namespace glimmerly {

namespace {

// The target's transform at the start of a picture, put back at its end.
class TransformScope {
public:
    explicit TransformScope(const Painter& painter)
        : resources_(painter.resources), target_(painter.target), saved_(painter.target) {}

    void turn(const RotationShape& rotation) {
        if (!rotation.on) return saved_.restore();
        const auto degrees = static_cast<float>(rotation.angle * (180.0 / std::numbers::pi));
        target_->SetTransform(rotation_matrix(resources_, degrees, d2d_point(rotation.centre)) * saved_.matrix());
    }

private:
    const RendererResources& resources_;
    ID2D1RenderTarget* target_;
    SavedTransform saved_;
};

ID2D1SolidColorBrush* recoloured(Painter& painter, PaintColour colour) {
    painter.fill_record.reset();
    painter.brush->SetColor(d2d_colour(colour.rgb(), colour.opacity));
    return painter.brush.get();
}

Status draw_shape(Painter& painter, TransformScope& transform, const PictureShape& shape) {
    const PaintColour colour{shape.opacity, shape.colour.r, shape.colour.g, shape.colour.b};
    const auto width = static_cast<float>(shape.width);
    ID2D1RenderTarget* target = painter.target;
    return std::visit(
        [&](const auto& g) -> Status {
            using T = std::decay_t<decltype(g)>;
            if constexpr (std::is_same_v<T, PolylineShape>) {
                return stroke_polyline(painter, g.points, g.closed, colour, shape.width);
            } else if constexpr (std::is_same_v<T, PolygonShape>) {
                return fill_polygon(painter, g.points, colour);
            } else if constexpr (std::is_same_v<T, LineShape>) {
                target->DrawLine(d2d_point(g.from), d2d_point(g.to), recoloured(painter, colour), width);
            } else if constexpr (std::is_same_v<T, RectShape>) {
                if (g.filled) return paint_path(painter, g.box, {}, colour);
                target->DrawRectangle(d2d_rect(g.box), recoloured(painter, colour), width);
            } else if constexpr (std::is_same_v<T, RoundedRectShape>) {
                if (g.filled)
                    fill_rounded_rect(painter, g.box, g.radius, colour);
                else
                    stroke_rounded_rect(painter, g.box, g.radius, colour, shape.width);
            } else if constexpr (std::is_same_v<T, EllipseShape>) {
                if (g.filled)
                    fill_ellipse(painter, g.centre, g.radii.w, g.radii.h, colour);
                else
                    stroke_ellipse(painter, g.centre, g.radii.w, g.radii.h, colour, shape.width);
            } else if constexpr (std::is_same_v<T, RotationShape>) {
                transform.turn(g);
            } else if constexpr (std::is_same_v<T, ArrowShape>) {
                // A real arrow, so that its head is the editor's own.
                const SceneObject arrow = icon_arrow_object(g, shape.colour, shape.width);
                painter.fill_record.reset();
                return draw_scene_objects(painter.resources, target, {&arrow, 1}, std::nullopt, 0, 1);
            } else if constexpr (std::is_same_v<T, CardShape>) {
                paint_dark_card(painter, g.box, g.scale);
            } else {
                static_assert(std::is_same_v<T, CentredTextShape>);
                return paint_text_centered(painter, g.text, g.box, g.size, shape.colour);
            }
            return ok_status();
        },
        shape.geometry);
}

// Each label with its width in pixels at the caps' size.
Result<std::vector<MeasuredText>> measured(Painter& painter, std::span<const std::string> labels, double scale) {
    std::vector<MeasuredText> out;
    out.reserve(labels.size());
    for (const std::string& label : labels) {
        auto size = measure_ui_text(painter, label, kKeyCapLabelSize * scale);
        if (!size) return std::move(size).failure();
        out.push_back({label, size->w});
    }
    return out;
}

// A line drawn in the same colour and width as the shape before it.
bool continues_lines(const PictureShape& before, const PictureShape& shape) {
    return std::holds_alternative<LineShape>(before.geometry) && std::holds_alternative<LineShape>(shape.geometry) &&
           before.colour == shape.colour && before.opacity == shape.opacity && shape.opacity == 1.0f &&
           before.width == shape.width;
}

// Draws the picture into the kept bitmap target, made anew when the size
// changes. False when no such target can be made.
Result<bool> keep_picture(Painter& painter, KeptPicture& kept, const Picture& picture, const Box& placed) {
    const D2D1_SIZE_U pixels{static_cast<UINT32>(placed.right - placed.left),
                             static_cast<UINT32>(placed.bottom - placed.top)};
    kept.picture.clear();
    if (kept.target) {
        const D2D1_SIZE_U size = kept.target->GetPixelSize();
        if (size.width != pixels.width || size.height != pixels.height) kept.target.reset();
    }
    if (!kept.target) {
        kept.bitmap.reset();
        const D2D1_SIZE_F dips{static_cast<float>(pixels.width), static_cast<float>(pixels.height)};
        const D2D1_PIXEL_FORMAT format = D2D1::PixelFormat(DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_PREMULTIPLIED);
        if (FAILED(painter.target->CreateCompatibleRenderTarget(&dips, &pixels, &format,
                                                                D2D1_COMPATIBLE_RENDER_TARGET_OPTIONS_NONE,
                                                                kept.target.put())) ||
            !kept.target)
            return false;
    }
    ID2D1BitmapRenderTarget* target = kept.target.get();
    auto inner = make_painter(painter.resources, target);
    if (!inner) return std::move(inner).failure();
    target->BeginDraw();
    target->Clear(D2D1::ColorF(0.0f, 0.0f, 0.0f, 0.0f));
    target->SetTransform(D2D1::Matrix3x2F::Translation(static_cast<float>(-placed.left),
                                                       static_cast<float>(-placed.top)));
    const Status drawn = draw_picture(*inner, picture);
    const HRESULT ended = target->EndDraw();
    GLIM_TRY(drawn);
    if (FAILED(ended)) return win::hr_failure(ended, "EndDraw (kept picture)");
    if (!kept.bitmap) GLIM_TRY(made(target->GetBitmap(kept.bitmap.put()), kept.bitmap, "GetBitmap (kept picture)"));
    kept.picture = picture;
    kept.placed = placed;
    return true;
}

}  // namespace

Status draw_kept_picture(Painter& painter, KeptPicture& kept, const Picture& picture, const Box& bounds) {
    const Box placed{std::floor(bounds.left), std::floor(bounds.top), std::ceil(bounds.right),
                     std::ceil(bounds.bottom)};
    const double most = painter.target->GetMaximumBitmapSize();
    const double width = placed.right - placed.left, height = placed.bottom - placed.top;
    // Also false for NaN bounds, which no bitmap could hold.
    if (!(width >= 1.0 && height >= 1.0 && width <= most && height <= most)) return draw_picture(painter, picture);
    if (kept.picture.empty() || !kept.bitmap || !(kept.placed == placed) || kept.picture != picture) {
        auto drawn = keep_picture(painter, kept, picture, placed);
        if (!drawn) return std::move(drawn).failure();
        if (!*drawn) return draw_picture(painter, picture);
    }
    painter.fill_record.reset();
    painter.target->DrawBitmap(kept.bitmap.get(), d2d_rect(placed), 1.0f,
                               D2D1_BITMAP_INTERPOLATION_MODE_NEAREST_NEIGHBOR);
    return ok_status();
}

Status draw_picture(Painter& painter, const Picture& picture) {
    TransformScope transform(painter);
    for (std::size_t i = 0; i < picture.size();) {
        // A run of like lines (the dashes and hatching of an icon) goes in
        // one call: each line its own call cost as much as the rest of the
        // toolbar.
        std::size_t end = i + 1;
        while (end < picture.size() && continues_lines(picture[end - 1], picture[end])) ++end;
        if (end - i < 2) {
            GLIM_TRY(draw_shape(painter, transform, picture[i]));
            i = end;
            continue;
        }
        std::vector<Dash> lines;
        lines.reserve(end - i);
        for (std::size_t j = i; j < end; ++j) {
            const auto& line = std::get<LineShape>(picture[j].geometry);
            lines.push_back({line.from, line.to});
        }
        const PictureShape& first = picture[i];
        GLIM_TRY(stroke_dashes(painter, lines, {first.opacity, first.colour.r, first.colour.g, first.colour.b},
                               first.width));
        i = end;
    }
    return ok_status();
}


Status draw_icon(Painter& painter, IconKind kind, Point origin, double scale, Rgb colour) {
    return draw_picture(painter, place_picture(icon_picture(kind, colour), origin, scale));
}

Status draw_toolbar_icon(Painter& painter, EditorAction action, Point origin, double scale,
                         const ToolbarIconStyle& style, ColourPair pair) {
    return draw_picture(painter, place_picture(toolbar_picture(action, style, pair), origin, scale));
}

Status paint_key_caps(Painter& painter, std::span<const std::string> labels, double right, double centre_y,
                      double half_height, double scale, bool unavailable) {
    auto caps = measured(painter, labels, scale);
    if (!caps) return std::move(caps).failure();
    return draw_picture(painter, key_caps_picture(*caps, right, centre_y, half_height, scale, unavailable));
}

Status paint_outlined_key_caps(Painter& painter, std::span<const std::string> labels, double right, double centre_y,
                               double half_height, double scale, Rgb outline) {
    auto caps = measured(painter, labels, scale);
    if (!caps) return std::move(caps).failure();
    return draw_picture(painter, outlined_key_caps_picture(*caps, right, centre_y, half_height, scale, outline));
}

Status paint_shortcut_keys(Painter& painter, const ShortcutFieldLayout& layout, std::span<const std::string> labels,
                           const std::optional<std::string>& placeholder, Rgb colour, double scale) {
    auto caps = measured(painter, labels, scale);
    if (!caps) return std::move(caps).failure();
    std::optional<MeasuredText> shown_placeholder;
    if (placeholder && labels.empty()) {
        auto size = measure_ui_text(painter, *placeholder, kKeyCapLabelSize * scale);
        if (!size) return std::move(size).failure();
        shown_placeholder = MeasuredText{*placeholder, size->w};
    }
    return draw_picture(painter, shortcut_field_picture(layout, *caps, shown_placeholder, colour, scale));
}

Status paint_circular_arrow(Painter& painter, Point centre, double scale) {
    return draw_picture(painter, circular_arrow_picture(centre, scale));
}

}  // namespace glimmerly
