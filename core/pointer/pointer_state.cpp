#include "core/pointer/pointer_state.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace glimmerly {
namespace {

constexpr double kTrailSpacing = 3.0;
constexpr double kTrailMargin = 26.0;
constexpr double kClickMargin = 42.0;
constexpr double kEaseKeeps = 0.3;  // of the gap, per step
constexpr double kEaseStepMs = 50.0;
constexpr double kEaseSnap = 0.5;

std::int32_t saturate_i32(double value) {
    constexpr double low = std::numeric_limits<std::int32_t>::min();
    constexpr double high = std::numeric_limits<std::int32_t>::max();
    if (!(value > low)) return std::numeric_limits<std::int32_t>::min();
    if (value >= high) return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(value);
}

void widen(std::optional<EffectArea>& area, double x, double y, double margin) {
    const EffectArea around{x - margin, y - margin, x + margin, y + margin};
    if (!area) {
        area = around;
        return;
    }
    area->left = std::min(area->left, around.left);
    area->top = std::min(area->top, around.top);
    area->right = std::max(area->right, around.right);
    area->bottom = std::max(area->bottom, around.bottom);
}

PixelRect united(const PixelRect& a, const PixelRect& b) {
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

}  // namespace

void apply_raw_mouse_buttons(MouseButtonState& buttons, std::uint32_t flags, std::uint64_t now) {
    for (auto [down, held] : {std::pair{0x1u, &buttons.left}, {0x4u, &buttons.right}, {0x10u, &buttons.middle}}) {
        if (flags & down) {
            *held = true;
            buttons.last_press = now;
        } else if (flags & down << 1) {
            *held = false;
        }
    }
}

std::uint64_t trail_lifetime_ms(std::uint32_t trail_length) {
    switch (trail_length) {
        case 0: return 160;
        case 2: return 560;
        default: return 320;
    }
}

PointerSettings effective_pointer_settings(const PointerSettings& settings, bool pointer_effects_on,
                                           bool magnifier_on_or_held) {
    PointerSettings effective = settings;
    if (!pointer_effects_on || magnifier_on_or_held) effective.halo_shape = 0;
    if (magnifier_on_or_held) effective.halo_movement = 0;
    if (!pointer_effects_on) {
        effective.click_animation = 0;
        effective.click_sound = 0;
        effective.spotlight_shape = 0;
        effective.trail_style = 0;
    }
    return effective;
}

void track_pointer_trail(PointerState& state, double x, double y, std::uint64_t now, double scale,
                         const PointerSettings& effective) {
    if (!std::isfinite(x) || !std::isfinite(y)) return;
    if (state.cursor && state.cursor->x == x && state.cursor->y == y) return;
    state.cursor = Point{x, y};
    state.last_move = now;
    if (!state.displayed || effective.halo_movement == 0) {
        state.displayed = Point{x, y};
        state.easing_time = now;
    }
    if (effective.trail_style == 0) return;
    PointerTrail& trail = state.trail;
    const std::uint64_t lifetime = trail_lifetime_ms(effective.trail_length);
    while (trail.count > 0 && age_ms(now, trail.at(0).time) >= lifetime) {
        trail.oldest = (trail.oldest + 1) % kTrailCapacity;
        --trail.count;
    }
    if (trail.count > 0) {
        const TrailPoint& newest = trail.at(trail.count - 1);
        if (std::hypot(newest.x - x, newest.y - y) < kTrailSpacing * scale) return;
    }
    if (trail.count == kTrailCapacity) {
        trail.points[trail.oldest] = {x, y, now};
        trail.oldest = (trail.oldest + 1) % kTrailCapacity;
    } else {
        trail.points[(trail.oldest + trail.count) % kTrailCapacity] = {x, y, now};
        ++trail.count;
    }
}

void add_click_mark(PointerState& state, double x, double y, std::uint64_t time, std::uint8_t button) {
    state.marks[state.next_mark] = {x, y, time, button};
    state.next_mark = (state.next_mark + 1) % kClickMarkCount;
}

void ease_halo(PointerState& state, std::uint64_t now, const PointerSettings& effective) {
    if (!state.cursor) return;
    const Point target = *state.cursor;
    const Point start = state.displayed.value_or(target);
    Point next = target;
    if (effective.halo_movement != 0) {
        const double keeps =
            std::pow(kEaseKeeps, static_cast<double>(age_ms(now, state.easing_time)) / kEaseStepMs);
        next = {target.x + keeps * (start.x - target.x), target.y + keeps * (start.y - target.y)};
        if (std::hypot(next.x - target.x, next.y - target.y) < kEaseSnap) next = target;
    }
    state.displayed = next;
    state.easing_time = now;
}

bool pointer_effects_visible(const PointerSettings& effective) {
    return effective.trail_style != 0 || effective.click_animation != 0 || effective.spotlight_shape != 0 ||
           (effective.halo_shape != 0 && effective.halo_movement != 0);
}

double halo_extent(const PointerSettings& effective) {
    const double size = effective.halo_size;
    const double soft = effective.halo_softness;
    double extent = 0.7 * size + 16.0 + size * soft / 400.0;
    if (effective.halo_shape == 3) extent += 0.32 * soft;
    if (effective.trail_style != 0 || effective.click_animation != 0) extent = std::max(extent, 240.0);
    return extent;
}

std::int32_t pointer_layer_size(const PointerSettings& effective, std::uint32_t dpi) {
    const double side = std::ceil(dpi / 96.0 * 2.0 * halo_extent(effective) / 32.0) * 32.0;
    return saturate_i32(side);
}

std::optional<EffectArea> pointer_effect_area(const PointerState& state, const PointerSettings& effective,
                                              double scale, std::uint64_t now) {
    std::optional<EffectArea> area;
    if (state.displayed) widen(area, state.displayed->x, state.displayed->y, halo_extent(effective) * scale + 2.0);
    if (effective.trail_style != 0) {
        const std::uint64_t lifetime = trail_lifetime_ms(effective.trail_length);
        for (std::size_t i = 0; i < state.trail.count; ++i) {
            const TrailPoint& point = state.trail.at(i);
            if (age_ms(now, point.time) < lifetime) widen(area, point.x, point.y, kTrailMargin * scale);
        }
    }
    for (const ClickMark& mark : state.marks)
        if (mark.button != kNoButton && age_ms(now, mark.time) < kClickMarkLifetimeMs)
            widen(area, mark.x, mark.y, kClickMargin * scale);
    return area;
}

PointerFrameRects pointer_frame_rects(const std::optional<EffectArea>& area, PixelPoint origin,
                                      const std::optional<PixelRect>& previous, std::int32_t width,
                                      std::int32_t height) {
    PointerFrameRects rects;
    if (area)
        rects.own = PixelRect{saturate_i32(std::floor(area->left - origin.x)),
                              saturate_i32(std::floor(area->top - origin.y)),
                              saturate_i32(std::ceil(area->right - origin.x)),
                              saturate_i32(std::ceil(area->bottom - origin.y))};
    std::optional<PixelRect> both = rects.own;
    if (previous) both = both ? united(*both, *previous) : *previous;
    if (both) {
        const std::int32_t w = std::max(width, 0), h = std::max(height, 0);
        const PixelRect clamped{std::clamp(both->left, 0, w), std::clamp(both->top, 0, h),
                                std::clamp(both->right, 0, w), std::clamp(both->bottom, 0, h)};
        if (clamped.right > clamped.left && clamped.bottom > clamped.top) rects.redraw = clamped;
    }
    return rects;
}

}  // namespace glimmerly
