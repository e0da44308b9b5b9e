#include "ui/overlay/scene_overlay.h"

#include <algorithm>
#include <cmath>
#include <variant>

#include "app/render/capture_region.h"
#include "app/render/object_drawing.h"
#include "core/blur/blur.h"
#include "core/document/geometry.h"
#include "core/editor/chrome_math.h"
#include "core/editor/handles.h"
#include "core/editor/hit_bounds.h"
#include "core/editor/hit_test.h"
#include "core/editor/id_set.h"
#include "core/editor/monitor_views.h"
#include "core/editor/selection_geometry.h"
#include "core/render/region_geometry.h"
#include "core/render/scene_view.h"
#include "ui/capture/editor_window_part.h"

namespace glimmerly {

namespace {

using win::ComPtr;

constexpr double kFrameMargin = 3.0;        // units around framed objects
constexpr double kCornerHalf = 4.0;          // the selection frame's corner squares
constexpr double kRotationRadius = 6.0;
constexpr double kArrowEndRadius = 5.0;
constexpr double kConnectorRadius = 4.0;
constexpr double kHoveredConnectorRadius = 6.0;
constexpr double kConnectorMarkHalf = 2.5;
constexpr double kConnectorReach = 9.0;
constexpr double kTurnedEpsilon = 1e-9;

constexpr PaintColour kShade{kShadeOpacity, 0, 0, 0};
constexpr PaintColour kAccentPaint = PaintColour::opaque(kAccent);
constexpr PaintColour kWhitePaint = PaintColour::opaque(kHandleWhite);
constexpr PaintColour kDarkPaint = PaintColour::opaque(kHandleDark);

ID2D1SolidColorBrush* recoloured(Painter& painter, PaintColour colour) {
    painter.fill_record.reset();
    painter.brush->SetColor(d2d_colour(colour.rgb(), colour.opacity));
    return painter.brush.get();
}

void stroke_rect(Painter& painter, const Box& box, PaintColour colour, double width) {
    painter.target->DrawRectangle(d2d_rect(box), recoloured(painter, colour), static_cast<float>(width));
}

void ringed_disc(Painter& painter, Point centre, double radius, PaintColour fill, PaintColour ring, double width) {
    fill_ellipse(painter, centre, radius, radius, fill);
    stroke_ellipse(painter, centre, radius, radius, ring, width);
}

// A ring of five points (the first repeated) as the kit's dashed outline.
Status dashed_ring(Painter& painter, const Polyline& ring, PaintColour colour, double unit) {
    if (ring.size() < 4) return ok_status();
    return paint_dashed_polygon(painter, {ring[0], ring[1], ring[2], ring[3]}, colour, unit);
}

bool erase_running(const EditorState& state) {
    return state.saved_objects && state.gesture.kind() == GestureKind::Erase;
}

// The part of the scene the target holds: its pixels taken back through the
// pass's transform (a partial repaint binds its invalid rectangle alone), with
// the size of one of those pixels in scene units. None when the transform
// cannot be undone.
struct SceneArea {
    Box box;
    double pixel = 1.0;
};
std::optional<SceneArea> shown_scene_area(ID2D1RenderTarget* target) {
    D2D1_MATRIX_3X2_F m{};
    target->GetTransform(&m);
    const double det = double{m._11} * m._22 - double{m._12} * m._21;
    if (!(std::abs(det) > 1e-12)) return std::nullopt;
    const D2D1_SIZE_F size = target->GetSize();
    const auto back = [&](double x, double y) {
        x -= m._31;
        y -= m._32;
        return Point{(x * m._22 - y * m._21) / det, (y * m._11 - x * m._12) / det};
    };
    const Point corners[] = {back(0, 0), back(size.width, 0), back(0, size.height), back(size.width, size.height)};
    Box box{corners[0].x, corners[0].y, corners[0].x, corners[0].y};
    for (const Point& p : corners) {
        box.left = std::min(box.left, p.x);
        box.top = std::min(box.top, p.y);
        box.right = std::max(box.right, p.x);
        box.bottom = std::max(box.bottom, p.y);
    }
    return SceneArea{box, 1.0 / std::sqrt(std::abs(det))};
}

bool overlaps(const Box& a, const Box& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// ---- 1. Blurred regions ------------------------------------------------------------

Result<ComPtr<ID2D1Bitmap>> blurred_bitmap(ID2D1RenderTarget* target, BlurWorkspace& workspace, const BgraImage& frame,
                                           const BlurRect& rect) {
    auto pixels = blur_image_rects(workspace, frame.pixels, frame.width, rect);
    if (!pixels) return std::move(pixels).failure();
    if (pixels->size() != std::size_t{rect.width} * rect.height * 4) return invalid_input("Blur buffer length");
    ComPtr<ID2D1Bitmap> bitmap;
    const auto properties =
        D2D1::BitmapProperties(D2D1::PixelFormat(DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_IGNORE), 96.0f, 96.0f);
    GLIM_TRY(made(target->CreateBitmap(D2D1::SizeU(rect.width, rect.height), pixels->data(), rect.width * 4,
                                       properties, bitmap.put()),
                  bitmap, "CreateBitmap (blur)"));
    return bitmap;
}

Status draw_blur_regions(const EditorState& state, Painter& painter) {
    const BgraImage& frame = state.frozen_frame;
    if (!is_valid_bgra_image(frame)) return ok_status();
    const std::vector<BlurRect> rects = collect_blur_rects(state.objects, frame.width, frame.height);
    auto cache = painter.resources.blur_bitmaps.borrow();
    if (!cache) return busy_failure("The blur bitmap cache");
    auto workspace = painter.resources.blur_workspace.borrow();
    if (!workspace) return busy_failure("The blur workspace");
    const std::optional<SceneArea> shown = shown_scene_area(painter.target);
    std::erase_if(*cache, [&](const BlurBitmap& entry) {
        return std::none_of(rects.begin(), rects.end(), [&](const BlurRect& r) { return r.seed == entry.id; });
    });
    for (const BlurRect& rect : rects) {
        const std::uint64_t key = blur_rect_key(rect);
        auto entry = std::find_if(cache->begin(), cache->end(), [&](const BlurBitmap& e) { return e.id == rect.seed; });
        if (entry == cache->end() || entry->key != key) {
            // Only a moved, resized or new blur pays for blurring again.
            auto bitmap = blurred_bitmap(painter.target, *workspace, frame, rect);
            if (!bitmap) return std::move(bitmap).failure();
            if (entry == cache->end()) {
                cache->push_back({rect.seed, key, std::move(*bitmap)});
                entry = cache->end() - 1;
            } else {
                entry->key = key;
                entry->bitmap = std::move(*bitmap);
            }
        }
        const Box placed = box_at(rect.x, rect.y, rect.width, rect.height);
        if (shown && !overlaps(grow_box(placed, shown->pixel), shown->box)) continue;
        painter.target->DrawBitmap(entry->bitmap.get(), d2d_rect(placed), 1.0f,
                                   D2D1_BITMAP_INTERPOLATION_MODE_NEAREST_NEIGHBOR);
    }
    return ok_status();
}

// ---- 5. Objects ----------------------------------------------------------------------

// While an erase drag runs, what it will remove shows faded: runs of listed
// objects go through a translucent layer. (Wine ignores the layer's opacity
// and draws them opaque; they still get their red outlines.)
Status draw_erase_preview(const EditorState& state, Painter& painter, const ShownArea* shown) {
    const auto& erased = std::get<EraseGesture>(state.gesture.payload).erased;
    const IdSet listed(erased);
    ComPtr<ID2D1Layer> layer;
    const std::span<const SceneObject> objects = state.objects;
    for (std::size_t first = 0; first < objects.size();) {
        const bool faded = listed.contains(objects[first].id);
        std::size_t end = first + 1;
        while (end < objects.size() && listed.contains(objects[end].id) == faded) ++end;
        if (!faded) {
            GLIM_TRY(
                draw_scene_objects(painter.resources, painter.target, objects, std::nullopt, first, end, shown));
        } else {
            if (!layer)
                GLIM_TRY(made(painter.target->CreateLayer(nullptr, layer.put()), layer, "CreateLayer"));
            painter.target->PushLayer(D2D1::LayerParameters(D2D1::InfiniteRect(), nullptr,
                                                            D2D1_ANTIALIAS_MODE_PER_PRIMITIVE,
                                                            D2D1::IdentityMatrix(), kErasePreviewOpacity),
                                      layer.get());
            const Status drawn =
                draw_scene_objects(painter.resources, painter.target, objects, std::nullopt, first, end, shown);
            painter.target->PopLayer();
            GLIM_TRY(drawn);
        }
        first = end;
    }
    return ok_status();
}

// The text object the open text box edits: the box draws it as it is typed.
std::optional<ObjectId> edited_text(const EditorState& state) {
    if (!state.window || !state.window->text_box) return std::nullopt;
    return state.window->text_box->box.target;
}

Status draw_objects(const EditorState& state, Painter& painter, bool zoomed) {
    GLIM_TRY(prune_object_caches(painter.resources, state.objects));
    painter.fill_record.reset();
    // A partial repaint draws only the objects that reach into its area; a
    // whole frame draws them all without building their bounds.
    std::optional<ShownArea> shown;
    if (const auto area = shown_scene_area(painter.target);
        area && !(area->box.left <= 0 && area->box.top <= 0 && area->box.right >= state.frame_width &&
                  area->box.bottom >= state.frame_height))
        shown.emplace(ShownArea{state.objects.hit_bounds(), area->box, 2.0 * area->pixel});
    const ShownArea* within = shown ? &*shown : nullptr;
    if (erase_running(state))
        GLIM_TRY(draw_erase_preview(state, painter, within));
    else
        GLIM_TRY(draw_scene_objects(painter.resources, painter.target, state.objects, edited_text(state), 0,
                                    state.objects.size(), within));
    const auto& overlay = painter.resources.overlay;
    if (!overlay) return ok_status();
    // The kept bitmap belongs to the DC target; any other target makes its own.
    if (painter.target != painter.resources.dc_target.get())
        return draw_overlay_image(painter.resources, painter.target);
    const D2D1_SIZE_F size = overlay->bitmap->GetSize();
    painter.target->DrawBitmap(overlay->bitmap.get(), D2D1::RectF(0, 0, size.width, size.height), 1.0f,
                               zoomed ? D2D1_BITMAP_INTERPOLATION_MODE_LINEAR
                                      : D2D1_BITMAP_INTERPOLATION_MODE_NEAREST_NEIGHBOR);
    return ok_status();
}

// ---- 9. Fill preview -------------------------------------------------------------------

// The outlines that bound what a fill click would colour.
std::vector<Polyline> fill_outlines(const EditorState& state, const FillTarget& target, double unit) {
    const auto& objects = state.objects;
    const auto region_outlines = [&](const FillRegion& region, std::optional<std::size_t> owner) {
        std::vector<Polyline> out = collect_region_boundaries(region, objects, owner ? *owner + 1 : 0);
        if (owner) {
            // The object's own outline bounds its inside too; without it an
            // inside bounded by nothing else would show no preview.
            for (Polyline& p : build_object_geometry(objects[*owner], objects)) out.push_back(std::move(p));
        } else if (state.capture_selection) {
            const auto inset = inset_rect_outline(*state.capture_selection, unit);
            out.emplace_back(inset.begin(), inset.end());
        }
        return out;
    };
    return std::visit(
        [&](const auto& t) -> std::vector<Polyline> {
            using T = std::decay_t<decltype(t)>;
            if constexpr (std::is_same_v<T, Outline>) {
                if (t.index >= objects.size()) return {};
                return {object_outline_frame(state, objects[t.index], unit)};
            } else if constexpr (std::is_same_v<T, NewBackgroundRegion>) {
                return region_outlines(FillRegion{t.ids, t.color}, std::nullopt);
            } else if constexpr (std::is_same_v<T, NewObjectRegion>) {
                if (t.index >= objects.size()) return {};
                return region_outlines(FillRegion{t.ids, t.color}, t.index);
            } else {
                static_assert(std::is_same_v<T, ExistingRegion>);
                if (!t.owner) {
                    if (t.region >= state.background.size()) return {};
                    return region_outlines(state.background[t.region], std::nullopt);
                }
                if (*t.owner >= objects.size() || t.region >= objects[*t.owner].fill.size()) return {};
                return region_outlines(objects[*t.owner].fill[t.region], t.owner);
            }
        },
        target);
}

Status draw_fill_preview(const EditorState& state, Painter& painter, double unit) {
    const auto target = fill_preview_target(state);
    if (!target) return ok_status();
    std::vector<Dash> dashes;
    for (const Polyline& outline : fill_outlines(state, *target, unit)) {
        const auto more = dash_polyline(outline, unit);
        dashes.insert(dashes.end(), more.begin(), more.end());
    }
    const PaintColour fill = PaintColour::opaque(state.color);
    const PaintColour halo = PaintColour::opaque(fill_preview_halo(state.color));
    GLIM_TRY(stroke_dashes(painter, dashes, halo, 3.0 * unit));
    return stroke_dashes(painter, dashes, fill, 1.5 * unit);
}

// ---- 10 to 16. Handles and outlines ------------------------------------------------------

Status draw_erase_outlines(const EditorState& state, Painter& painter, double unit) {
    if (!erase_running(state)) return ok_status();
    for (const ObjectId id : std::get<EraseGesture>(state.gesture.payload).erased)
        if (const SceneObject* object = find_object(state.objects, id))
            GLIM_TRY(dashed_ring(painter, object_outline_frame(state, *object, unit), PaintColour::opaque(kEraseRed),
                                 unit));
    return ok_status();
}

void draw_selection_frame(const EditorState& state, Painter& painter, double unit) {
    const auto frame = selection_frame(state);
    if (!frame) return;
    const double margin = kFrameMargin * unit;
    if (std::abs(frame->rotation) <= kTurnedEpsilon) {
        stroke_rect(painter, grow_box(frame->box, margin), kAccentPaint, unit);
    } else {
        const auto c = rotated_rect_corners_offset(frame->box, frame->rotation, margin);
        for (std::size_t i = 0; i < c.size(); ++i)
            stroke_line(painter, c[i], c[(i + 1) % c.size()], kAccentPaint, unit);
    }
    const double h = kCornerHalf * unit;
    for (const Point p : rotated_rect_corners(frame->box, frame->rotation))
        painter.target->FillRectangle(d2d_rect({p.x - h, p.y - h, p.x + h, p.y + h}),
                                      recoloured(painter, kAccentPaint));
}

void draw_rotation_handle(const EditorState& state, Painter& painter, double unit) {
    const auto handle = clamp_popup_position(state);
    const auto frame = selection_frame(state);
    if (!handle || !frame) return;
    const Point centre = box_centre(frame->box);
    const Point top = rotate_point({centre.x, frame->box.top}, centre, frame->rotation);
    stroke_accent_line(painter, top, *handle, unit);
    const double r = kRotationRadius * unit;
    ringed_disc(painter, *handle, r, kDarkPaint, kAccentPaint, 2.0 * unit);
}

Status draw_connector_points(const EditorState& state, Painter& painter, double unit) {
    // A callout being drawn from a label outlines the label it starts on.
    if (state.saved_objects && !state.objects.empty()) {
        const SceneObject& newest = state.objects.back();
        const LinePayload* line = as_line(newest);
        if (line && line->elbow && line->start)
            if (const auto frame = object_frame_by_id(state.objects, line->start->id)) {
                const auto c = rotated_rect_corners_offset(frame->box, frame->rotation, kFrameMargin * unit);
                GLIM_TRY(paint_dashed_polygon(painter, c, kAccentPaint, unit));
            }
    }
    if (state.fill_mode && fill_hover_enabled(state)) return ok_status();
    const Point pointer = map_point_to_monitor(state, state.pointer);
    const auto label = hit_text_width_handle(state, pointer);
    if (!label) return ok_status();
    const auto points = object_handle_frame(state, *label);
    if (!points) return ok_status();
    for (const Point p : *points) {
        const bool hovered = std::hypot(p.x - pointer.x, p.y - pointer.y) <= kConnectorReach * unit;
        if (hovered) {
            ringed_disc(painter, p, kHoveredConnectorRadius * unit, kAccentPaint, kAccentPaint, 1.5 * unit);
            const double m = kConnectorMarkHalf * unit;
            stroke_line(painter, {p.x - m, p.y}, {p.x + m, p.y}, kWhitePaint, 1.5 * unit);
            stroke_line(painter, {p.x, p.y - m}, {p.x, p.y + m}, kWhitePaint, 1.5 * unit);
        } else {
            ringed_disc(painter, p, kConnectorRadius * unit, kWhitePaint, kAccentPaint, 1.5 * unit);
        }
    }
    return ok_status();
}

}  // namespace

Status draw_scene(EditorState& state, Painter& painter, double unit, bool zoomed, ChromeClock::time_point now) {
    GLIM_TRY(draw_blur_regions(state, painter));
    const auto& selection = state.capture_selection;
    const std::vector<Box> shade = shade_bands(selection, state.frame_width, state.frame_height);
    if (!selection) return paint_path(painter, shade.front(), {}, kShade);

    for (const FillRegion& region : state.background)
        GLIM_TRY(paint_path(painter, *selection, collect_region_boundaries(region, state.objects, 0),
                            PaintColour::opaque(region.color)));
    for (const Box& band : shade) GLIM_TRY(paint_path(painter, band, {}, kShade));
    GLIM_TRY(draw_objects(state, painter, zoomed));

    EditorWindowPart* part = state.window.get();
    const bool typing = part && part->text_box;
    if (typing) GLIM_TRY(draw_text_object(painter, *part->text_box, part->caret, {true, true, unit, now}));

    stroke_rect(painter, *selection, kAccentPaint, unit);
    for (const Box& square : region_handle_squares(*selection, unit)) {
        painter.target->FillRectangle(d2d_rect(square), recoloured(painter, kWhitePaint));
        stroke_rect(painter, square, kDarkPaint, kRegionHandleOutline * unit);
    }
    GLIM_TRY(draw_fill_preview(state, painter, unit));
    GLIM_TRY(draw_erase_outlines(state, painter, unit));
    draw_selection_frame(state, painter, unit);
    if (!typing)
        for (const ObjectId id : hover_highlight_targets(state))
            if (const SceneObject* object = find_object(state.objects, id))
                GLIM_TRY(dashed_ring(painter, object_outline_frame(state, *object, unit), kAccentPaint, unit));
    draw_rotation_handle(state, painter, unit);
    if (const auto arrow = selected_arrow_ends(state))
        ringed_disc(painter, arrow->bend_handle, kArrowEndRadius * unit, kAccentPaint, kWhitePaint, 1.5 * unit);
    GLIM_TRY(draw_connector_points(state, painter, unit));
    if (const auto marquee = marquee_rect(state)) stroke_rect(painter, *marquee, kAccentPaint, unit);
    return ok_status();
}

}  // namespace glimmerly
