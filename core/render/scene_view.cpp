#include "core/render/scene_view.h"

#include <algorithm>

namespace glimmerly {

FramePlan plan_frame(const EditorState& state) {
    const double base = anchor_monitor_scale(state);
    FramePlan plan;
    const auto& views = state.monitor_views;
    plan.single_path = std::all_of(views.begin(), views.end(), [](const MonitorView& v) { return v.zoom == 1.0; });
    if (plan.single_path) {
        plan.passes.push_back(ScenePass{.scale = base});
        return plan;
    }
    for (const MonitorView& v : views) {
        ScenePass pass;
        pass.clip = v.rect;
        pass.zoom = v.zoom;
        pass.offset = {v.rect.left - v.origin.x * v.zoom, v.rect.top - v.origin.y * v.zoom};
        pass.scale = base / v.zoom;
        pass.zoomed = v.zoom != 1.0;
        pass.draws_background = true;
        pass.smooth_background = pass.zoomed;
        plan.passes.push_back(pass);
    }
    return plan;
}

std::vector<Box> shade_bands(const std::optional<Box>& selection, std::uint32_t frame_width,
                             std::uint32_t frame_height) {
    const double W = frame_width, H = frame_height;
    if (!selection) return {Box{0.0, 0.0, W, H}};
    const Box& s = *selection;
    return {Box{0.0, 0.0, W, s.top}, Box{0.0, s.bottom, W, H}, Box{0.0, s.top, s.left, s.bottom},
            Box{s.right, s.top, W, s.bottom}};
}

std::array<Box, 8> region_handle_squares(const Box& s, double unit) {
    const double mx = (s.left + s.right) / 2.0, my = (s.top + s.bottom) / 2.0;
    const std::array<Point, 8> points{Point{s.left, s.top},     Point{mx, s.top},     Point{s.right, s.top},
                                      Point{s.right, my},       Point{s.right, s.bottom}, Point{mx, s.bottom},
                                      Point{s.left, s.bottom},  Point{s.left, my}};
    const double h = kRegionHandleHalf * unit;
    std::array<Box, 8> squares;
    for (std::size_t i = 0; i < points.size(); ++i)
        squares[i] = {points[i].x - h, points[i].y - h, points[i].x + h, points[i].y + h};
    return squares;
}

Rgb fill_preview_halo(Rgb fill) {
    const double luma = 0.299 * fill.r + 0.587 * fill.g + 0.114 * fill.b;
    return luma > 128.0 ? kHandleDark : kHandleWhite;
}

}  // namespace glimmerly
