#include "app/presentation/pointer_effects.h"

#include <shellscalingapi.h>

#include <algorithm>
#include <chrono>

#include "app/app/messages.h"
#include "app/presentation/devices.h"
#include "app/presentation/presentation_shortcuts.h"
#include "app/presentation/shapes.h"
#include "app/win/failure.h"

namespace glimmerly {
namespace {

// Mouse input redraws the effects at most this often; the timer does the rest.
constexpr std::uint32_t kInputFrameMs = 12;

class WindowFrameTimer final : public FrameTimerHost {
public:
    explicit WindowFrameTimer(HWND window) : window_(window) {}
    Status set_frame_timer(std::uint32_t interval_ms) override {
        if (!SetTimer(window_, TIMER_PRESENTATION_FRAME, interval_ms, nullptr)) return win::win32_failure("SetTimer");
        return ok_status();
    }
    void kill_frame_timer() override { KillTimer(window_, TIMER_PRESENTATION_FRAME); }

private:
    HWND window_;
};

std::uint32_t dpi_of(HMONITOR monitor) {
    UINT dpi_x = 96, dpi_y = 96;
    if (!monitor || FAILED(GetDpiForMonitor(monitor, MDT_EFFECTIVE_DPI, &dpi_x, &dpi_y)) || dpi_x == 0) return 96;
    return dpi_x;
}

Result<POINT> cursor_position() {
    POINT at{};
    if (!GetCursorPos(&at)) return win::win32_failure("GetCursorPos");
    return at;
}

PointerHighlight highlight_of(const PresentationState& state, std::uint64_t now) {
    PointerHighlight highlight;
    const MouseButtonState& buttons = state.buttons;
    if (buttons.last_press && age_ms(now, *buttons.last_press) < kPressFeedbackMs)
        highlight.pulse = static_cast<double>(age_ms(now, *buttons.last_press)) / kPressFeedbackMs;
    highlight.pressed = buttons.left || buttons.right || buttons.middle;
    highlight.colour = state.halo_colour;
    return highlight;
}

Status paint_pointer_picture(PresentationLayer& layer, const PointerPicture& picture) {
    auto painter = make_painter(*layer.resources, layer.resources->dc_target.get());
    if (!painter) return std::move(painter).failure();
    painter->brush = layer.brush;  // the layer's own brush, held for the pass
    return draw_pointer_effects(*painter, picture);
}

Status draw_pointer_layer(PresentationState& state, PresentationLayer& layer, std::uint64_t now) {
    build_pointer_picture(state.picture, Point{double(state.pointer_origin.x), double(state.pointer_origin.y)},
                          state.pointer, effective_settings(state), highlight_of(state, now), state.scale, now);
    return paint_pointer_picture(layer, state.picture);
}

// Replaces the pointer layer by a new one of that place and size; the new
// one is made first, so a failure keeps the old.
Status replace_pointer_layer(PresentationState& state, PixelPoint at, std::int32_t width, std::int32_t height) {
    auto made = state.make_layer(at.x, at.y, width, height, state.cell);
    if (!made) return std::move(made).failure();
    attach_broadcast_mirror(state, **made, kMirrorPointerSlot);
    state.pointer_layer = std::move(*made);
    state.pointer_layer->position = at;
    return ok_status();
}

FrameNeeds frame_needs(const PresentationState& state) {
    FrameNeeds needs;
    needs.features = state.features;
    needs.spotlight_refresh = state.spotlight_refresh;
    needs.spotlight_key_held = state.spotlight_key_held;
    needs.magnifier_held = state.magnifier_held;
    needs.last_press = state.buttons.last_press;
    needs.shapes_exist = !state.shapes.shapes.empty();
    const std::uint64_t now = presentation_now(state);
    needs.key_cap_fading = needs.mouse_diagram_fading =
        device_feature(state.features) && device_display_fading(state, now);
    return needs;
}

// The spotlight follows the same frames as the pointer layer.
Status update_spotlight(PresentationState& state, const PointerSettings& settings, POINT cursor, std::uint64_t now) {
    if (settings.spotlight_shape == 0) {
        state.spotlight.reset();
        return ok_status();
    }
    if (!state.spotlight) {
        auto made = create_spotlight_window();
        if (!made) return std::move(made).failure();
        state.spotlight = std::move(*made);
    }
    // With a shortcut, the spotlight shows only while its key is held. Only a
    // shortcut that another program holds leaves it shown all the time: one
    // merely not registered at this moment (a rebuild between its release and
    // its registration) must not darken the screen for good.
    const bool needs_key = state.pointer_settings.spotlight_shortcut && !state.pointer_shortcuts.failed[1];
    bool visible = !needs_key || state.spotlight_key_held;
    if (visible && settings.spotlight_hide_moving && state.pointer.last_move &&
        age_ms(now, *state.pointer.last_move) < kPointerMovingMs)
        visible = false;
    return draw_spotlight(*state.spotlight, visible, cursor.x, cursor.y, settings, monitor_dpi_at(cursor) / 96.0);
}

// Whether input of those kinds waits for this thread. Under Wine the
// question also takes in what the display has for this thread's windows
// (a press on the shapes layer, say), which otherwise stays unread for as
// long as the queue never runs dry.
bool input_waiting(UINT kinds) { return HIWORD(GetQueueStatus(kinds)) != 0; }

// Only the key itself is asked: letting go of a modifier first does not end
// the hold. A shortcut no longer in use holds nothing.
bool shortcut_key_down(const std::optional<Shortcut>& shortcut) {
    return shortcut && (GetAsyncKeyState(static_cast<int>(shortcut->key)) & 0x8000) != 0;
}

}  // namespace

std::uint32_t monitor_dpi_at(POINT at) { return dpi_of(MonitorFromPoint(at, MONITOR_DEFAULTTONEAREST)); }

PointerSettings effective_settings(const PresentationState& state) {
    return effective_pointer_settings(state.pointer_settings, state.features.pointer_effects,
                                      state.features.magnifier || state.magnifier_held);
}

Status draw_pointer_effects(Painter& painter, const PointerPicture& picture) {
    for (const PointerPrimitive& p : picture.primitives) {
        switch (p.shape) {
            case PointerShape::FillCircle: fill_ellipse(painter, p.at, p.radius, p.radius, p.colour); break;
            case PointerShape::StrokeCircle: stroke_ellipse(painter, p.at, p.radius, p.radius, p.colour, p.width); break;
            case PointerShape::Line: stroke_line(painter, p.at, p.to, p.colour, p.width); break;
            case PointerShape::Polygon: GLIM_TRY(fill_polygon(painter, picture.polygon(p), p.colour)); break;
        }
    }
    return ok_status();
}

void draw_cursor_halo(PresentationLayer& layer, std::uint32_t colour, bool pressed, bool pulse, float progress) {
    layer.dirty = Box{0.0, 0.0, double(layer.width), double(layer.height)};
    const Rgb own{static_cast<std::uint8_t>(colour), static_cast<std::uint8_t>(colour >> 8),
                  static_cast<std::uint8_t>(colour >> 16)};
    const Rgb shown = pressed ? kPressedHaloColour : own;
    ID2D1RenderTarget* target = layer.resources->dc_target.get();
    ID2D1SolidColorBrush* brush = layer.brush.get();
    const D2D1_POINT_2F centre = D2D1::Point2F(layer.width / 2.0f, layer.height / 2.0f);
    const float radius = layer.width / 3.0f;
    brush->SetColor(d2d_colour(shown, pressed ? 0.24f : 0.14f));
    target->FillEllipse(D2D1::Ellipse(centre, radius, radius), brush);
    brush->SetColor(d2d_colour(shown, 0.55f));
    target->DrawEllipse(D2D1::Ellipse(centre, radius, radius), brush, 2.0f);
    if (!pulse) return;
    const float grown = (1.0f + 0.4f * progress) * radius;
    brush->SetColor(d2d_colour(shown, (1.0f - progress) * 0.5f));
    target->DrawEllipse(D2D1::Ellipse(centre, grown, grown), brush, 2.0f);
}

Status place_pointer_layer(PresentationState& state) {
    const PointerSettings settings = effective_settings(state);
    // The loupe follows the pointer wherever the layer goes.
    if (!cursor_feature(state.features) || pointer_effects_visible(settings)) return show_loupe_at_cursor(state);
    auto cursor = cursor_position();
    if (!cursor) return std::move(cursor).failure();
    const std::uint32_t dpi = monitor_dpi_at(*cursor);
    const std::int32_t side = pointer_layer_size(settings, dpi);
    const PixelPoint origin{cursor->x - side / 2, cursor->y - side / 2};
    state.pointer_origin = origin;
    state.scale = dpi / 96.0;
    if (!state.pointer_layer || state.pointer_layer->width != side || state.pointer_monitor) {
        GLIM_TRY(replace_pointer_layer(state, origin, side, side));
        state.pointer_monitor.reset();
        state.previous_dirty.reset();
        GLIM_TRY(render_presentation_layer(state, state.pointer_layer->window.get()));
    }
    PresentationLayer& layer = *state.pointer_layer;
    GLIM_TRY(move_layer(layer, origin));
    show_layer(layer);
    return show_loupe_at_cursor(state);
}

namespace {

Status draw_effects_frame(PresentationState& state) {
    if (!cursor_feature(state.features)) return show_loupe_at_cursor(state);
    const std::uint64_t now = presentation_now(state);
    auto cursor = cursor_position();
    if (!cursor) return std::move(cursor).failure();
    const PointerSettings settings = effective_settings(state);
    ease_halo(state.pointer, now, settings);

    const HMONITOR monitor = MonitorFromPoint(*cursor, MONITOR_DEFAULTTONEAREST);
    MONITORINFO info{sizeof info};
    if (!GetMonitorInfoW(monitor, &info)) return win::win32_failure("GetMonitorInfoW");
    const PixelRect area{info.rcMonitor.left, info.rcMonitor.top, info.rcMonitor.right, info.rcMonitor.bottom};
    if (!state.pointer_layer || state.pointer_monitor != area) {
        GLIM_TRY(replace_pointer_layer(state, {area.left, area.top}, area.width(), area.height()));
        state.pointer_monitor = area;
        state.previous_dirty.reset();
        // The new window is clear; it shows as each frame fills it.
        state.pointer_layer->position.reset();
        GLIM_TRY(move_layer(*state.pointer_layer, {area.left, area.top}));
        show_layer(*state.pointer_layer);
    }
    state.pointer_origin = {area.left, area.top};
    state.scale = dpi_of(monitor) / 96.0;

    PresentationLayer& layer = *state.pointer_layer;
    const PointerFrameRects rects =
        pointer_frame_rects(pointer_effect_area(state.pointer, settings, state.scale, now), state.pointer_origin,
                            state.previous_dirty, layer.width, layer.height);
    // The timer runs on while the pointer rests (shapes fading, a spotlight
    // held): a frame that would draw what the layer shows is left out, as
    // its redraw would hold up a shortcut for a few hundredths of a second
    // under Wine on a busy machine. A layer made anew has no previous part.
    build_pointer_picture(state.next_picture, Point{double(state.pointer_origin.x), double(state.pointer_origin.y)},
                          state.pointer, settings, highlight_of(state, now), state.scale, now);
    const bool unchanged = rects.own == state.previous_dirty && same_pointer_drawing(state.next_picture, state.drawn_picture);
    if (rects.redraw && !unchanged) {
        const PixelRect& clip = *rects.redraw;
        // Bound to the changed part alone: EndDraw copies the whole bound
        // area into the picture, and over a monitor-wide layer that copy
        // was most of a frame (a fifth of a second on a loaded machine
        // under Wine, against a few hundredths for the part).
        ID2D1DCRenderTarget* target = layer.resources->dc_target.get();
        const RECT part{clip.left, clip.top, clip.right, clip.bottom};
        if (HRESULT hr = target->BindDC(layer.surface.memory.get(), &part); FAILED(hr))
            return win::hr_failure(hr, "BindDC");
        target->BeginDraw();
        // The picture is in layer pixels; the target starts at the part.
        target->SetTransform(D2D1::Matrix3x2F::Translation(-float(clip.left), -float(clip.top)));
        target->Clear(D2D1::ColorF(0, 0, 0, 0));
        Status drawn = paint_pointer_picture(layer, state.next_picture);
        const HRESULT ended = target->EndDraw();
        GLIM_TRY(std::move(drawn));
        if (FAILED(ended)) return win::hr_failure(ended, "EndDraw");
        GLIM_TRY(push_dirty_rect(layer, clip));
        std::swap(state.drawn_picture, state.next_picture);
    }
    state.previous_dirty = rects.own;
    GLIM_TRY(update_spotlight(state, settings, *cursor, now));
    state.spotlight_refresh = false;
    state.last_effects_update = now;
    return show_loupe_at_cursor(state);
}

}  // namespace

Status update_pointer_effects(PresentationState& state) {
    const auto start = std::chrono::steady_clock::now();
    Status drawn = draw_effects_frame(state);
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    state.last_frame_ms = static_cast<std::uint32_t>(std::clamp<std::int64_t>(took.count(), 0, kSlowestFrameMs));
    return drawn;
}

Status render_presentation_layer(PresentationState& state, HWND window) {
    if (state.device_layer && state.device_layer->window.get() == window)
        return render_device_layer(state, presentation_now(state));
    if (state.shapes_layer && state.shapes_layer->window.get() == window)
        return render_shapes_layer(state, presentation_now(state));
    if (!state.pointer_layer || state.pointer_layer->window.get() != window) return ok_status();
    PresentationLayer& layer = *state.pointer_layer;
    GLIM_TRY(begin_layer_draw(layer));
    const Box whole{0.0, 0.0, double(layer.width), double(layer.height)};
    layer.dirty = whole;
    if (Status drawn = draw_pointer_layer(state, layer, presentation_now(state)); !drawn) {
        (void)layer.resources->dc_target->EndDraw();
        return drawn;
    }
    return present_layer(layer);
}

Status schedule_presentation_timer(PresentationState& state) {
    const std::uint64_t now = presentation_now(state);
    const std::uint32_t interval = paced_frame_interval(
        choose_frame_interval(frame_needs(state), state.pointer, state.pointer_settings, now), state.last_frame_ms);
    WindowFrameTimer host(state.window);
    return schedule_frame_timer(state.timer, interval, host);
}

Status tick_presentation(PresentationState& state) {
    const std::uint64_t now = presentation_now(state);
    tick_temporary_shapes(state, now);
    if (state.device_layer && device_display_fading(state, now))
        InvalidateRect(state.device_layer->window.get(), nullptr, FALSE);
    // A hotkey says only that its key went down: the hold ends when the key
    // is found up here. One more update hides the spotlight.
    if (state.spotlight_key_held && !shortcut_key_down(state.pointer_shortcuts.shortcuts[1])) {
        state.spotlight_key_held = false;
        state.spotlight_refresh = true;
    }
    if (state.magnifier_held && !shortcut_key_down(state.pointer_shortcuts.shortcuts[2])) {
        state.magnifier_held = false;
        GLIM_TRY(refresh_pointer_overlays(state));
    }
    if (cursor_feature(state.features) && (state.spotlight_refresh || pointer_effects_visible(effective_settings(state)))) {
        if (!pointer_frame_waits(state)) GLIM_TRY(update_pointer_effects(state));
    } else if (state.pointer_layer && state.buttons.last_press &&
               age_ms(now, *state.buttons.last_press) < kPressFeedbackMs) {
        InvalidateRect(state.pointer_layer->window.get(), nullptr, FALSE);
    }
    drop_unused_mirror(state);
    return schedule_presentation_timer(state);
}

bool pointer_frame_waits(const PresentationState& state) {
    return temporary_shape_armed(state) || input_waiting(QS_HOTKEY | QS_KEY | QS_MOUSEBUTTON);
}

bool input_frame_due(const PresentationState& state, std::uint64_t now, bool move_only) {
    if (state.last_effects_update &&
        age_ms(now, *state.last_effects_update) < paced_frame_interval(kInputFrameMs, state.last_frame_ms))
        return false;
    if (pointer_frame_waits(state)) return false;
    // Of moves queued behind one another only the last draws.
    return !move_only || !input_waiting(QS_INPUT | QS_HOTKEY);
}

}  // namespace glimmerly
