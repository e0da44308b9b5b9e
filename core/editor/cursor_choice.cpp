#include "core/editor/cursor_choice.h"

#include "core/document/point_math.h"
#include "core/editor/chrome_math.h"
#include "core/editor/handles.h"
#include "core/editor/hit_test.h"
#include "core/editor/monitor_views.h"
#include "core/editor/selection_geometry.h"
#include "core/editor/toolbar.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace glimmerly {

namespace {

constexpr double kDesignGrid = 32.0;
constexpr std::array<Box, 2> kCrosshair = {Box{4, 15, 28, 17}, Box{15, 4, 17, 28}};
constexpr std::array<Box, 5> kTextInsertion = {Box{11, 7, 12, 25}, Box{8, 6, 15, 7}, Box{8, 25, 15, 26},
                                               Box{17, 21, 24, 22}, Box{20, 18, 21, 25}};

// Black on light pixels, white on dark ones, so that the aim stays visible.
CursorId crosshair_over(const EditorState& state, Point at) {
    const auto pixel = sample_frame_pixel(state, at);
    if (!pixel || automatic_text_colour(*pixel) == kBlack) return CursorId::CrosshairBlack;
    return CursorId::CrosshairWhite;
}

CursorId selection_handle_cursor(SelectionHandle handle) {
    switch (handle) {
        case SelectionHandle::TopLeft:
        case SelectionHandle::BottomRight: return CursorId::SizeNwse;
        case SelectionHandle::TopRight:
        case SelectionHandle::BottomLeft: return CursorId::SizeNesw;
        case SelectionHandle::Top:
        case SelectionHandle::Bottom: return CursorId::SizeNs;
        case SelectionHandle::Left:
        case SelectionHandle::Right: return CursorId::SizeWe;
    }
    return CursorId::Arrow;
}

// The select tool: what a press there would grab.
CursorId select_tool_cursor(const EditorState& state, Point at) {
    const double reach = kHandleRadius * ui_scale_over_zoom(state);
    if (!state.fill_mode)
        if (const auto handle = clamp_popup_position(state); handle && distance(*handle, at) < reach)
            return CursorId::Hand;
    const HandleHit hit = hit_selection_handles(state, at);
    if (hit.gesture) {
        if (std::holds_alternative<RotateGesture>(*hit.gesture)) return CursorId::Hand;
        if (const auto* resize = std::get_if<ResizeGesture>(&*hit.gesture)) {
            // The diagonal through the grabbed corner, however the frame turns.
            const Point d = resize->handle - resize->anchor;
            return d.x * d.y >= 0.0 ? CursorId::SizeNwse : CursorId::SizeNesw;
        }
        return CursorId::SizeAll;  // a line's end or bend
    }
    return object_at_point(state, at) ? CursorId::SizeAll : CursorId::Arrow;
}

}  // namespace

CursorId choose_capture_cursor(const EditorState& state, const TypingControls& typing, Point point) {
    const Point at = map_point_to_monitor(state, point);
    const auto panel = state.selecting ? std::nullopt : place_size_panel(state);
    if ((panel && box_contains(panel->panel, point)) || typing.text_box_text_at(at)) return CursorId::IBeam;
    if (state.colour_picker) return CursorId::Arrow;
    if (panel && box_contains(panel->button, point)) return CursorId::Hand;
    if (point_on_toolbar(state, point)) return CursorId::Arrow;
    if (state.eyedropper_armed) return crosshair_over(state, at);
    if (state.pan || state.space_held) return CursorId::SizeAll;
    if (const auto handle = selection_handle_at(state, at)) return selection_handle_cursor(*handle);
    // While the region is being chosen a press draws it, whatever the tool.
    if (state.fill_mode || state.selecting || hover_target_at(state, at)) return crosshair_over(state, at);
    switch (state.tool) {
        case Tool::Select: return select_tool_cursor(state, at);
        case Tool::Text:
        case Tool::Label: return text_object_at(state.objects, at) ? CursorId::IBeam : CursorId::TextInsertion;
        default: break;
    }
    // The line and arrow tools keep the bend handle of the line drawn last.
    const auto line = selected_arrow_ends(state);
    if (line && distance(line->bend_handle, at) < kHandleRadius * state.interface_scale) return CursorId::SizeAll;
    return crosshair_over(state, at);
}

std::optional<CursorImageKind> cursor_image_kind(CursorId cursor) {
    switch (cursor) {
        case CursorId::CrosshairBlack: return CursorImageKind::CrosshairBlack;
        case CursorId::CrosshairWhite: return CursorImageKind::CrosshairWhite;
        case CursorId::TextInsertion: return CursorImageKind::TextInsertion;
        default: return std::nullopt;
    }
}

std::vector<std::uint8_t> rasterise_cursor_rects(std::span<const Box> rects, std::uint32_t size) {
    std::vector<std::uint8_t> covered(static_cast<std::size_t>(size) * size, 0);
    const double f = size / kDesignGrid;
    // Design units to a pixel span [first, end), at least one pixel long.
    const auto span = [&](double from, double to) {
        const double first = std::round(from * f);
        const double end = std::min(std::max(first + 1.0, std::round(to * f)), static_cast<double>(size));
        return std::array<std::size_t, 2>{static_cast<std::size_t>(std::max(first, 0.0)),
                                          static_cast<std::size_t>(std::max(end, 0.0))};
    };
    for (const Box& r : rects) {
        const auto [row0, row1] = span(r.top, r.bottom);
        const auto [col0, col1] = span(r.left, r.right);
        for (std::size_t y = row0; y < row1; ++y)
            for (std::size_t x = col0; x < col1; ++x) covered[y * size + x] = 1;
    }
    return covered;
}

CursorPicture cursor_picture(CursorImageKind kind, std::uint32_t size) {
    if (size == 0 || size > kMaxCursorSize) return {};
    const bool text = kind == CursorImageKind::TextInsertion;
    const std::span<const Box> shape = text ? std::span<const Box>(kTextInsertion) : std::span<const Box>(kCrosshair);
    const std::vector<std::uint8_t> covered = rasterise_cursor_rects(shape, size);
    const auto grid = [&](double units) { return static_cast<std::uint32_t>(std::round(units * size / kDesignGrid)); };

    CursorPicture picture{size, std::vector<std::uint8_t>(covered.size() * 4, 0), grid(text ? 11 : 16), grid(16)};
    const auto paint = [&](std::size_t at, std::uint8_t level) {
        std::fill_n(picture.bgra.begin() + static_cast<std::ptrdiff_t>(at * 4), 3, level);
        picture.bgra[at * 4 + 3] = 255;
    };
    // The text cursor gets a white rim as wide as one design unit, so that it
    // shows on dark pictures too.
    const int rim = text ? std::max(static_cast<int>(std::round(size / kDesignGrid)), 1) : 0;
    const int n = static_cast<int>(size);
    const auto near_shape = [&](int x, int y) {
        for (int dy = std::max(y - rim, 0); dy <= std::min(y + rim, n - 1); ++dy)
            for (int dx = std::max(x - rim, 0); dx <= std::min(x + rim, n - 1); ++dx)
                if (covered[static_cast<std::size_t>(dy * n + dx)]) return true;
        return false;
    };
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            const auto at = static_cast<std::size_t>(y * n + x);
            if (covered[at])
                paint(at, kind == CursorImageKind::CrosshairWhite ? 255 : 0);
            else if (rim > 0 && near_shape(x, y))
                paint(at, 255);
        }
    return picture;
}

}  // namespace glimmerly
