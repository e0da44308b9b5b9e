#include "ui/view/frame_renderer.h"

#include "app/render/capture_region.h"
#include "app/render/painting_kit.h"
#include "core/editor/monitor_views.h"
#include "core/render/chrome_paint.h"
#include "core/render/scene_view.h"
#include "ui/capture/editor_window_part.h"
#include "ui/overlay/capture_chrome.h"
#include "ui/overlay/picker_painting.h"
#include "ui/overlay/scene_overlay.h"

namespace glimmerly {

namespace {

D2D1::Matrix3x2F pass_transform(const ScenePass& pass) {
    const auto zoom = static_cast<float>(pass.zoom);
    return D2D1::Matrix3x2F(zoom, 0.0f, 0.0f, zoom, static_cast<float>(pass.offset.x),
                            static_cast<float>(pass.offset.y));
}

// Binds the DC and begins drawing for the per-view path, which draws the
// background in each pass instead.
Status begin_views_frame(RendererResources& resources, HDC dc, const RECT& area) {
    if (const HRESULT bound = resources.dc_target->BindDC(dc, &area); FAILED(bound))
        return win::hr_failure(bound, "BindDC");
    ID2D1DCRenderTarget* target = resources.dc_target.get();
    target->BeginDraw();
    target->SetTransform(frame_area_transform(area));
    target->Clear(D2D1::ColorF(0.0f, 0.0f, 0.0f, 1.0f / 255.0f));
    return ok_status();
}

// The area to draw: the asked one inside the frame, else the whole frame.
RECT frame_area(const EditorState& state, const std::optional<RECT>& asked) {
    const RECT frame{0, 0, static_cast<LONG>(state.frame_width), static_cast<LONG>(state.frame_height)};
    if (!asked) return frame;
    RECT area{};
    if (!IntersectRect(&area, &frame, &*asked)) return RECT{};
    return area;
}

Status draw_pass(EditorState& state, RendererResources& resources, const ScenePass& pass,
                 ChromeClock::time_point now) {
    ID2D1RenderTarget* target = resources.dc_target.get();
    auto painter = make_painter(resources, target);
    if (!painter) return std::move(painter).failure();
    if (pass.draws_background && resources.background) {
        const D2D1_SIZE_F size = resources.background->GetSize();
        target->DrawBitmap(resources.background.get(), D2D1::RectF(0, 0, size.width, size.height), 1.0f,
                           pass.smooth_background ? D2D1_BITMAP_INTERPOLATION_MODE_LINEAR
                                                  : D2D1_BITMAP_INTERPOLATION_MODE_NEAREST_NEIGHBOR);
    }
    return draw_scene(state, *painter, pass.scale, pass.zoomed, now);
}

// One attempt: every scene pass, then the chrome, then EndDraw. Only the
// area's pixels are bound and drawn: everything goes through the area's
// transform, under which frame coordinates land where they would in a whole
// frame, so the work (and under Wine the read-back and copy of the target)
// shrinks with the area.
Status draw_frame(EditorState& state, HDC dc, const RECT& area, const FrameOptions& options) {
    RendererResources& resources = *editor_window_part(state).renderer.resources;
    ID2D1RenderTarget* target = resources.dc_target.get();
    const FramePlan plan = plan_frame(state);
    const D2D1::Matrix3x2F to_area = frame_area_transform(area);
    if (plan.single_path)
        GLIM_TRY(begin_dc_frame_area(resources, dc, area));
    else
        GLIM_TRY(begin_views_frame(resources, dc, area));

    Status drawn = ok_status();
    for (const ScenePass& pass : plan.passes) {
        if (pass.clip) target->PushAxisAlignedClip(d2d_rect(*pass.clip), D2D1_ANTIALIAS_MODE_ALIASED);
        target->SetTransform(pass_transform(pass) * to_area);
        drawn = draw_pass(state, resources, pass, options.now);
        target->SetTransform(to_area);
        if (pass.clip) target->PopAxisAlignedClip();
        if (!drawn) break;
    }
    if (drawn) {
        auto painter = make_painter(resources, target);
        drawn = painter ? draw_capture_chrome(state, *painter, options.now) : Status(std::move(painter).failure());
    }
    HRESULT ended = target->EndDraw();
    if (options.end_draw) ended = options.end_draw(ended);
    if (!drawn) return drawn;
    if (FAILED(ended)) return win::hr_failure(ended, "EndDraw");
    return ok_status();
}

// New resources like the lost ones: the same background (unless the
// session draws premultiplied) and the same overlay image.
Result<std::unique_ptr<RendererResources>> rebuild_resources(const EditorState& state,
                                                             const RendererResources& lost) {
    auto rebuilt = create_renderer_resources(lost.software, state.premultiplied);
    if (!rebuilt) return std::move(rebuilt).failure();
    if (!state.premultiplied) GLIM_TRY(set_background_image(**rebuilt, state.frozen_frame));
    std::optional<BgraImage> overlay;
    if (lost.overlay) overlay = lost.overlay->image;
    GLIM_TRY(cache_image_bitmap(**rebuilt, std::move(overlay)));
    return rebuilt;
}

}  // namespace

Status layout_dimension_fields(EditorState& state) {
    RendererResources* resources = editor_window_part(state).renderer.resources.get();
    if (!state.capture_selection) {
        state.size_panel_widths = std::monostate{};
        return ok_status();
    }
    // While the fields are edited their widths come from the fields.
    if (std::holds_alternative<std::array<double, 2>>(state.size_panel_widths) || !resources) return ok_status();
    auto measured = measure_text_at_size(*resources, selection_size_text(*state.capture_selection),
                                         kSizeLabelSize * anchor_monitor_scale(state));
    if (!measured) return std::move(measured).failure();
    state.size_panel_widths = measured->w;
    return ok_status();
}

Status render_frame(EditorState& state, HDC dc, const FrameOptions& options) {
    EditorWindowPart& part = editor_window_part(state);
    if (!part.renderer.resources) return invalid_input("The editor has no renderer resources yet");
    GLIM_TRY(layout_dimension_fields(state));
    const RECT area = frame_area(state, options.area);
    if (IsRectEmpty(&area)) return ok_status();
    Status first = draw_frame(state, dc, area, options);
    if (first || first.failure().code != static_cast<std::int32_t>(D2DERR_RECREATE_TARGET)) return first;
    auto rebuilt = rebuild_resources(state, *part.renderer.resources);
    if (!rebuilt) return std::move(rebuilt).failure();
    part.renderer.resources = std::move(*rebuilt);
    return draw_frame(state, dc, area, options);
}

}  // namespace glimmerly
