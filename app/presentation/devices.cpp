#include "app/presentation/devices.h"

#include <windowsx.h>

#include "app/app/messages.h"
#include "app/presentation/pointer_effects.h"
#include "app/win/failure.h"
#include "core/presentation/device_placement.h"
#include "core/presentation/keyboard_caps.h"

namespace glimmerly {
namespace {

struct CapColours {
    D2D1_COLOR_F fill;
    D2D1_COLOR_F outline;
};

D2D1_COLOR_F rgba(int r, int g, int b, double alpha) {
    return D2D1::ColorF(r / 255.0f, g / 255.0f, b / 255.0f, static_cast<float>(alpha));
}

CapColours pressed_colours() { return {rgba(113, 195, 255, 0.96), rgba(184, 226, 255, 0.95)}; }
CapColours dark_colours(double alpha) { return {rgba(32, 32, 35, alpha), rgba(110, 110, 118, alpha)}; }

// Design units to layer pixels.
D2D1_RECT_F design_rect(const PresentationLayer& layer, double x0, double y0, double x1, double y1) {
    const float s = layer.drawing.design_scale;
    return D2D1::RectF(float(x0) * s, float(y0) * s, float(x1) * s, float(y1) * s);
}

void fill_and_outline(PresentationLayer& layer, const D2D1_ROUNDED_RECT& shape, const CapColours& colours) {
    ID2D1DCRenderTarget* target = layer.resources->dc_target.get();
    layer.brush->SetColor(colours.fill);
    target->FillRoundedRectangle(shape, layer.brush.get());
    layer.brush->SetColor(colours.outline);
    target->DrawRoundedRectangle(shape, layer.brush.get(), layer.drawing.design_scale);
}

void rounded(PresentationLayer& layer, double x0, double y0, double x1, double y1, double radius,
             const CapColours& colours) {
    const float r = float(radius) * layer.drawing.design_scale;
    fill_and_outline(layer, D2D1::RoundedRect(design_rect(layer, x0, y0, x1, y1), r, r), colours);
}

void fill_and_outline(PresentationLayer& layer, ID2D1Geometry* geometry, const CapColours& colours) {
    ID2D1DCRenderTarget* target = layer.resources->dc_target.get();
    layer.brush->SetColor(colours.fill);
    target->FillGeometry(geometry, layer.brush.get());
    layer.brush->SetColor(colours.outline);
    target->DrawGeometry(geometry, layer.brush.get(), layer.drawing.design_scale);
}

struct KeyLook {
    std::u16string_view label;
    double fade = 0.0;  // 1 while down, falling to 0 over the fade
    bool pressed = false;
};

KeyLook look_of_key(const KeyDisplay& keys, std::uint16_t scan, bool extended, std::uint64_t now) {
    if (scan >= kKeyScanLimit) return {};
    const KeySlot& slot = keys.slots[key_slot_index(scan, extended)];
    return {slot.text(), key_fade(slot, now), slot.pressed};
}

// Which colours a cap takes now; none when it is not drawn at all.
std::optional<CapColours> cap_colours(const KeyLook& look, bool placement) {
    if (look.pressed) return pressed_colours();
    if (placement) return dark_colours(0.72);
    if (look.fade > 0) return dark_colours(0.72 * look.fade);
    return std::nullopt;
}

void draw_keyboard(PresentationLayer& layer, const KeyDisplay& keys, bool us_layout, std::uint64_t now,
                   bool placement) {
    if (placement) rounded(layer, 1, 1, 431, 133, 7, {rgba(32, 32, 35, 0.22), rgba(110, 110, 118, 0.38)});
    for (const KeyCapPlace& cap : keyboard_caps(us_layout)) {
        const KeyLook look = look_of_key(keys, cap.scan, cap.extended, now);
        const std::optional<CapColours> colours = cap_colours(look, placement);
        if (!colours) continue;
        if (cap.iso_enter)
            fill_and_outline(layer, layer.drawing.enter_outline.get(), *colours);
        else
            rounded(layer, cap.x, cap.y, cap_right(cap), cap_bottom(cap), 2, *colours);
        draw_key_label(layer, keys, now, cap.scan, cap.extended, cap.x, cap.y, cap.width, cap.height);
    }
}

void draw_mouse(PresentationLayer& layer, const ShownInput& input, std::uint64_t now, bool placement) {
    const double mx = layer.drawing.keyboard ? 455 : 12;
    bool any_lit = now < input.wheel_lit_until;
    for (const ShownMousePart& part : input.buttons) any_lit = any_lit || mouse_part_lit(part, now);
    if (!any_lit && !placement) return;
    const float r = 24 * layer.drawing.design_scale;
    const D2D1_ROUNDED_RECT body = D2D1::RoundedRect(design_rect(layer, mx, 24, mx + 48, 126), r, r);
    if (placement) {
        fill_and_outline(layer, body, {rgba(32, 32, 35, 0.14), rgba(110, 110, 118, 0.28)});
    } else {
        layer.brush->SetColor(rgba(110, 110, 118, 0.22));
        layer.resources->dc_target->DrawRoundedRectangle(body, layer.brush.get(), layer.drawing.design_scale);
    }
    const auto colours = [&](bool lit, double rest) -> std::optional<CapColours> {
        if (lit) return pressed_colours();
        if (placement) return CapColours{rgba(32, 32, 35, rest), rgba(110, 110, 118, 0.38)};
        return std::nullopt;
    };
    if (auto left = colours(mouse_part_lit(input.buttons[0], now), 0.18))
        fill_and_outline(layer, layer.drawing.left_button.get(), *left);
    if (auto right = colours(mouse_part_lit(input.buttons[1], now), 0.18))
        fill_and_outline(layer, layer.drawing.right_button.get(), *right);
    if (auto middle = colours(mouse_part_lit(input.buttons[2], now), 0.22))
        rounded(layer, mx + 22, 38, mx + 26, 57, 2.5, *middle);
    if (auto wheel = colours(now < input.wheel_lit_until, 0.22)) rounded(layer, mx + 23, 42, mx + 25, 53, 2.5, *wheel);
    if (auto fifth = colours(mouse_part_lit(input.buttons[4], now), 0.22)) rounded(layer, mx - 5, 57, mx - 2, 72, 2.5, *fifth);
    if (auto fourth = colours(mouse_part_lit(input.buttons[3], now), 0.22))
        rounded(layer, mx - 5, 77, mx - 2, 92, 2.5, *fourth);
}

Result<PixelRect> work_area_at(PixelPoint point) {
    MONITORINFO info{sizeof info};
    if (!GetMonitorInfoW(MonitorFromPoint(POINT{point.x, point.y}, MONITOR_DEFAULTTONEAREST), &info))
        return win::win32_failure("GetMonitorInfoW");
    return PixelRect{info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom};
}

// Where the pointer was when the mouse message was sent, not where it is
// now: on a busy machine the press, the moves and the release wait in the
// queue together, and the pointer's present place would make the press
// start the drag where the release ends it.
POINT message_cursor(HWND window, LPARAM position) {
    POINT at{GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    ClientToScreen(window, &at);
    return at;
}

Status begin_move(PresentationState& state, HWND window, LPARAM position) {
    RECT rect{};
    if (!GetWindowRect(window, &rect)) return win::win32_failure("GetWindowRect");
    SetCapture(window);
    const POINT cursor = message_cursor(window, position);
    state.moving = true;
    state.grab_cursor = {cursor.x, cursor.y};
    state.grab_window = {rect.left, rect.top};
    return ok_status();
}

}  // namespace

Status post_save_settings(HWND app_window) {
    if (!PostMessageW(app_window, WM_APP_SAVE_SETTINGS, 0, 0)) return win::win32_failure("PostMessageW");
    return ok_status();
}

Status show_device_layer(PresentationState& state) {
    const bool keyboard = state.features.keyboard, mouse = state.features.mouse;
    const POINT anchor{state.device_anchor.x, state.device_anchor.y};
    const double scale = monitor_dpi_at(anchor) / 96.0;
    const PixelPoint size = device_layer_size(state.input_display_size, scale, keyboard, mouse);
    if (!state.device_layer || state.device_layer->width != size.x || state.device_layer->drawing.keyboard != keyboard ||
        state.device_layer->drawing.mouse != mouse) {
        auto made = create_device_layer(0, 0, size.x, size.y, keyboard, mouse, state.cell);
        if (!made) return std::move(made).failure();
        attach_broadcast_mirror(state, **made, kMirrorDeviceSlot);
        state.device_layer = std::move(*made);
    }
    auto work = work_area_at(state.device_anchor);
    if (!work) return std::move(work).failure();
    state.device_work_area = *work;
    const PixelPoint at = place_device_layer(*work, size, scale, state.input_display_position, state.input_display_offset);
    PresentationLayer& layer = *state.device_layer;
    const HWND window = layer.window.get();
    const LONG_PTR style = GetWindowLongPtrW(window, GWL_EXSTYLE);
    const LONG_PTR wanted = (style | WS_EX_NOACTIVATE | WS_EX_TRANSPARENT) & ~(state.move_armed ? WS_EX_TRANSPARENT : 0);
    SetWindowLongPtrW(window, GWL_EXSTYLE, wanted);
    if (!SetWindowPos(window, nullptr, 0, 0, 0, 0,
                      SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED))
        return win::win32_failure("SetWindowPos", L"device layer");
    GLIM_TRY(move_layer(layer, at));
    GLIM_TRY(render_device_layer(state, presentation_now(state)));
    if (state.device_layer) show_layer(*state.device_layer);
    return schedule_presentation_timer(state);
}

bool device_layer_fits_screen(const PresentationState& state) {
    if (!state.device_layer || state.moving) return true;
    const auto work = work_area_at(state.device_anchor);
    return !work || *work == state.device_work_area;
}

namespace {

// One step of a running drag.
Status drag_device_layer(PresentationState& state, POINT cursor) {
    if (!state.moving || !state.device_layer) return ok_status();
    auto work = work_area_at({cursor.x, cursor.y});
    if (!work) return std::move(work).failure();
    PresentationLayer& layer = *state.device_layer;
    const DragPlacement drag = drag_device_layer_to(*work, {layer.width, layer.height}, state.grab_window,
                                                    state.grab_cursor, {cursor.x, cursor.y});
    state.input_display_offset = drag.fractions;
    state.device_anchor = {cursor.x, cursor.y};
    return move_layer(layer, drag.position);
}

}  // namespace

Status end_device_layer_drag(PresentationState& state) {
    if (!state.moving) return ok_status();
    state.moving = false;
    if (state.device_layer && GetCapture() == state.device_layer->window.get()) ReleaseCapture();
    GLIM_TRY(show_device_layer(state));
    return post_save_settings(state.window);
}

void draw_key_label(PresentationLayer& layer, const KeyDisplay& keys, std::uint64_t now, std::uint16_t scan,
                    bool extended, double x, double y, double width, double height) {
    const KeyLook look = look_of_key(keys, scan, extended, now);
    if (scan > 127 || look.fade <= 0 || look.label.empty()) return;
    IDWriteTextFormat* format =
        look.label.size() <= 2 ? layer.drawing.large_text.get() : layer.drawing.small_text.get();
    layer.brush->SetColor(look.pressed ? rgba(20, 37, 50, 1.0) : rgba(235, 241, 250, look.fade));
    const D2D1_RECT_F box =
        design_rect(layer, x, y, x + kKeyPitch * width - kKeyGap, y + kKeyPitch * height - kKeyGap);
    layer.resources->dc_target->DrawText(reinterpret_cast<const wchar_t*>(look.label.data()),
                                         static_cast<UINT32>(look.label.size()), format, box, layer.brush.get(),
                                         D2D1_DRAW_TEXT_OPTIONS_CLIP, DWRITE_MEASURING_MODE_NATURAL);
}

void draw_input_devices(PresentationLayer& layer, const KeyDisplay& keys, const ShownInput& mouse, bool us_layout,
                        std::uint64_t now, bool placement) {
    layer.dirty = Box{0.0, 0.0, double(layer.width), double(layer.height)};
    if (layer.drawing.keyboard) draw_keyboard(layer, keys, us_layout, now, placement);
    if (layer.drawing.mouse) draw_mouse(layer, mouse, now, placement);
}

bool device_display_fading(const PresentationState& state, std::uint64_t now) {
    return any_key_fading(state.keys, now) || any_mouse_part_fading(state.shown_input, now);
}

Status render_device_layer(PresentationState& state, std::uint64_t now) {
    if (!state.device_layer) return ok_status();
    PresentationLayer& layer = *state.device_layer;
    GLIM_TRY(begin_layer_draw(layer, state.move_armed ? D2D1::ColorF(0, 0, 0, 1.0f / 255) : D2D1::ColorF(0, 0, 0, 0)));
    draw_input_devices(layer, state.keys, state.shown_input, state.us_layout, now, state.move_armed);
    return present_layer(layer);
}

std::optional<LRESULT> on_device_message(PresentationState& state, HWND window, UINT message, LPARAM lparam,
                                         Status& failure) {
    if (!state.device_layer || state.device_layer->window.get() != window) return std::nullopt;
    Status done;
    switch (message) {
        case WM_MOUSEMOVE:
            if (!state.moving) return std::nullopt;
            done = drag_device_layer(state, message_cursor(window, lparam));
            break;
        case WM_LBUTTONDOWN:
            if (!state.move_armed) return std::nullopt;
            done = begin_move(state, window, lparam);
            break;
        case WM_LBUTTONUP:
            done = drag_device_layer(state, message_cursor(window, lparam));
            if (done) done = end_device_layer_drag(state);
            break;
        case WM_CANCELMODE:
        case WM_CAPTURECHANGED: done = end_device_layer_drag(state); break;
        case WM_SETCURSOR: SetCursor(LoadCursorW(nullptr, IDC_SIZEALL)); return TRUE;
        case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
        default: return std::nullopt;
    }
    if (!done) failure = std::move(done);
    return 0;
}

}  // namespace glimmerly
