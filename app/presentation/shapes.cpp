#include "app/presentation/shapes.h"

#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string_view>

#include "app/app/messages.h"
#include "app/app/tray_menu.h"
#include "app/image/screen_grab.h"
#include "app/presentation/devices.h"
#include "app/presentation/pointer_effects.h"
#include "app/win/failure.h"
#include "core/document/geometry.h"
#include "core/editor/size_ladders.h"
#include "core/presentation/device_placement.h"

namespace glimmerly {
namespace {

// Black at alpha 1/255, premultiplied: unseen, yet every pixel takes the mouse.
constexpr std::uint32_t kArmedPixel = 0x01000000;

// Style flags changed with the frame kept: no size, no move, no z-order, no activation.
constexpr UINT kRestyle = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;

Status restyle(HWND window, LONG_PTR add, LONG_PTR remove) {
    const LONG_PTR style = GetWindowLongPtrW(window, GWL_EXSTYLE);
    SetWindowLongPtrW(window, GWL_EXSTYLE, (style | add) & ~remove);
    if (!SetWindowPos(window, nullptr, 0, 0, 0, 0, kRestyle)) return win::win32_failure("SetWindowPos", L"shapes layer");
    return ok_status();
}

Status make_shapes_layer(PresentationState& state) {
    const PixelRect screen = virtual_screen_rect();
    auto made = create_bare_layer(screen.left, screen.top, screen.width(), screen.height(), state.cell);
    if (!made) return std::move(made).failure();
    attach_broadcast_mirror(state, **made, kMirrorShapesSlot);
    (*made)->position = PixelPoint{screen.left, screen.top};
    state.shapes_origin = {screen.left, screen.top};
    state.shapes_layer = std::move(*made);
    return ok_status();
}

// The tray popup closes as it loses the foreground, and its opening has
// remembered the window it came over already.
bool is_tray_popup(HWND window) {
    wchar_t name[std::size(TRAY_POPUP_CLASS) + 1] = {};
    return GetClassNameW(window, name, int(std::size(name))) && std::wstring_view(name) == TRAY_POPUP_CLASS;
}

// Windows ends the menu or mouse capture of a thread as it loses the
// activation (WM_CANCELMODE to its capture window). Wine 8 leaves them
// running, and the program being presented is often in its menu by now: the
// shortcut's Alt reached it alone (the letter went to the hotkey), and its
// release opened the menu bar, whose pointer grab would take the press meant
// for the layer. So the mode is ended here as Windows would have ended it;
// on Windows nothing is left to end. Best effort: a thread that cannot be
// read keeps its mode.
void end_modes_left_by(HWND previous) {
    const DWORD thread = previous ? GetWindowThreadProcessId(previous, nullptr) : 0;
    if (!thread || thread == GetCurrentThreadId()) return;
    GUITHREADINFO info{.cbSize = sizeof info};
    if (!GetGUIThreadInfo(thread, &info)) return;
    const HWND holder = info.hwndCapture ? info.hwndCapture
                        : (info.flags & GUI_INMENUMODE) ? info.hwndMenuOwner
                                                         : nullptr;
    // Posted: that program may be hung, and its menu loop watches its queue for this.
    if (holder) PostMessageW(holder, WM_CANCELMODE, 0, 0);
}

// The layer in front with the keyboard focus, taking over from `before`.
void take_foreground(HWND layer, HWND before) {
    if (!SetForegroundWindow(layer)) return;
    SetFocus(layer);
    if (before != layer) end_modes_left_by(before);
}

Status arm_steps(PresentationState& state, TemporaryShapeKind kind) {
    if (!state.shapes_layer) GLIM_TRY(make_shapes_layer(state));
    if (!state.shapes_layer) return plain_failure("Missing drawing surface");
    // Stored shapes are drawn with Direct2D; an empty armed layer is not.
    if (!state.shapes_layer->resources && !state.shapes.shapes.empty())
        GLIM_TRY(create_layer_drawing(*state.shapes_layer, true, true));
    const HWND layer = state.shapes_layer->window.get();
    const HWND foreground = GetForegroundWindow();
    // The program's own windows count too (its settings window comes back
    // after the shape), but not the layer and the hidden application window.
    if (foreground && foreground != layer && foreground != state.window && !is_tray_popup(foreground))
        state.previous_foreground = foreground;
    state.shapes.pending.reset();
    state.shapes.armed = kind;
    GLIM_TRY(restyle(layer, 0, WS_EX_TRANSPARENT | WS_EX_NOACTIVATE));
    GLIM_TRY(render_shapes_layer(state, presentation_now(state)));
    show_layer(*state.shapes_layer);
    take_foreground(layer, foreground);
    // Made once the layer takes the mouse and the foreground, not before:
    // they take a quarter of a second or more to make under Wine, and a drag
    // begun that soon after the shortcut would start beneath the layer, or
    // in a menu left open in the window it took over from, and draw
    // nothing. A press that comes meanwhile waits in the layer's queue.
    if (state.shapes_layer && !state.shapes_layer->resources)
        GLIM_TRY(create_layer_drawing(*state.shapes_layer, true, true));
    return ok_status();
}

// The point's colour, width and head size as the settings give them at that place.
void dress_pending_shape(PresentationState& state, POINT screen_point) {
    if (!state.shapes.pending) return;
    const double scale = dpi_scale_at(screen_point);
    state.shapes.pending->color = state.shape_colour;
    state.shapes.pending->width = scale * state.shape_width;
    state.shapes.pending_head_size = state.arrow_size * state.shapes.pending->width / 5;
}

Result<POINT> layer_cursor(const PresentationState& state) {
    POINT at{};
    if (!GetCursorPos(&at)) return win::win32_failure("GetCursorPos");
    return POINT{at.x - state.shapes_origin.x, at.y - state.shapes_origin.y};
}

void drag_step(PresentationState& state, double x, double y) {
    const ModifierKeys keys = modifier_keys_down();
    drag_temporary_shape(state.shapes, x, y, keys.shift, keys.alt);
    if (state.shapes.pending) state.shapes.pending->color = state.shape_colour;
}

Status on_wheel(PresentationState& state, WPARAM wparam) {
    const WheelNotches turn = take_wheel_notches(state.wheel_remainder, GET_WHEEL_DELTA_WPARAM(wparam));
    state.wheel_remainder = turn.remainder;
    const double stepped = step_stroke_width(state.shape_width, turn.notches);
    state.shape_width = static_cast<std::uint32_t>(std::clamp(stepped, 0.0, 4294967295.0));
    POINT at{};
    if (!GetCursorPos(&at)) return win::win32_failure("GetCursorPos");
    dress_pending_shape(state, at);
    return post_save_settings(state.window);
}

bool is_shift(WPARAM key) { return key == VK_SHIFT || key == VK_LSHIFT || key == VK_RSHIFT; }

std::optional<Status> handle_shape_message(PresentationState& state, UINT message, WPARAM wparam, LPARAM lparam) {
    const bool armed = state.shapes.armed != TemporaryShapeKind::None;
    const double x = GET_X_LPARAM(lparam), y = GET_Y_LPARAM(lparam);
    switch (message) {
        case WM_KILLFOCUS:
        case WM_CLOSE:
        case WM_CANCELMODE:
        case WM_RBUTTONDOWN:
        case WM_CAPTURECHANGED: return disarm_temporary_shape(state);
        case WM_KEYDOWN:
        case WM_KEYUP:
            if (armed && is_shift(wparam)) {
                auto at = layer_cursor(state);
                if (!at) return std::move(at).failure();
                drag_step(state, at->x, at->y);
                return ok_status();
            }
            if (message == WM_KEYDOWN && wparam == VK_ESCAPE) return disarm_temporary_shape(state);
            return std::nullopt;
        case WM_LBUTTONDOWN: {
            if (!armed) return std::nullopt;
            begin_temporary_shape(state.shapes, x, y);
            drag_step(state, x, y);
            dress_pending_shape(state, POINT{LONG(x) + state.shapes_origin.x, LONG(y) + state.shapes_origin.y});
            if (state.shapes_layer) SetCapture(state.shapes_layer->window.get());
            return ok_status();
        }
        case WM_MOUSEMOVE:
            if (!armed) return std::nullopt;
            drag_step(state, x, y);
            return ok_status();
        case WM_LBUTTONUP:
            if (!armed) return std::nullopt;
            drag_step(state, x, y);
            (void)commit_temporary_shape(state.shapes, presentation_now(state), state.shape_duration_ms);
            GLIM_TRY(disarm_temporary_shape(state));
            return schedule_presentation_timer(state);
        case WM_MOUSEWHEEL:
            if (!armed) return std::nullopt;
            return on_wheel(state, wparam);
        default: return std::nullopt;
    }
}

}  // namespace

ModifierKeys modifier_keys_down() {
    const auto down = [](int key) { return (GetAsyncKeyState(key) & 0x8000) != 0; };
    return {down(VK_CONTROL), down(VK_MENU), down(VK_SHIFT), down(VK_LWIN) || down(VK_RWIN)};
}

double dpi_scale_at(POINT at) { return monitor_dpi_at(at) / 96.0; }

Status arm_temporary_shape(PresentationState& state, TemporaryShapeKind kind) {
    if (!state.features.temporary_shapes) return ok_status();
    Status armed = arm_steps(state, kind);
    if (!armed) (void)stop_presentation(state);
    return armed;
}

Status disarm_temporary_shape(PresentationState& state) {
    drop_armed_shape(state.shapes);
    Status restyled;
    if (state.shapes_layer) {
        const HWND layer = state.shapes_layer->window.get();
        restyled = restyle(layer, WS_EX_NOACTIVATE | WS_EX_TRANSPARENT, 0);
        if (GetCapture() == layer) ReleaseCapture();
        if (GetForegroundWindow() == layer && state.previous_foreground && IsWindow(state.previous_foreground))
            SetForegroundWindow(state.previous_foreground);
        // The calls above may have run messages that dropped the layer.
        if (state.shapes_layer) InvalidateRect(state.shapes_layer->window.get(), nullptr, FALSE);
    }
    if (state.shapes.shapes.empty() && state.shapes_layer) {
        if (state.shapes_layer->shown) ShowWindow(state.shapes_layer->window.get(), SW_HIDE);
        state.shapes_layer.reset();
        drop_unused_mirror(state);
    }
    return restyled;
}

void draw_temporary_shape(PresentationLayer& layer, const SceneObject& object, float opacity, double head_size) {
    const Box bounds = rotated_object_bounds(object);
    const double grow = head_size + object.width + 2;
    const Box grown{bounds.left - grow, bounds.top - grow, bounds.right + grow, bounds.bottom + grow};
    layer.dirty = layer.dirty ? Box{std::min(layer.dirty->left, grown.left), std::min(layer.dirty->top, grown.top),
                                    std::max(layer.dirty->right, grown.right), std::max(layer.dirty->bottom, grown.bottom)}
                              : grown;
    ID2D1DCRenderTarget* target = layer.resources->dc_target.get();
    ID2D1SolidColorBrush* brush = layer.brush.get();
    brush->SetColor(d2d_colour(object.color, opacity));
    const float width = static_cast<float>(object.width);
    if (const LinePayload* line = as_line(object)) {
        const double dx = line->to.x - line->from.x, dy = line->to.y - line->from.y;
        const double length = std::hypot(dx, dy);
        if (length < 0.001) return;
        const bool faded = opacity < 1.0f;
        if (faded) {
            brush->SetColor(d2d_colour(object.color, 1.0f));
            const D2D1_LAYER_PARAMETERS parameters{d2d_rect(grown), nullptr, D2D1_ANTIALIAS_MODE_PER_PRIMITIVE,
                                                   D2D1::IdentityMatrix(), opacity, nullptr, D2D1_LAYER_OPTIONS_NONE};
            target->PushLayer(parameters, layer.drawing.fade_layer.get());
        }
        const double ux = dx / length, uy = dy / length;
        const double h = 0.68 * head_size;
        if (0.5 * object.width + h < length) {
            const double inset = std::clamp(h - object.width / 0.9, 0.0, 2.0);
            const Point shaft_end{line->to.x - ux * (h - inset), line->to.y - uy * (h - inset)};
            target->DrawLine(d2d_point(line->from), d2d_point(shaft_end), brush, width,
                             layer.resources->round_start_stroke.get());
        }
        target->SetTransform(D2D1::Matrix3x2F(float(h * ux), float(h * uy), float(-h * uy), float(h * ux),
                                              float(line->to.x), float(line->to.y)));
        target->FillGeometry(layer.drawing.arrowhead.get(), brush);
        target->SetTransform(D2D1::Matrix3x2F::Identity());
        if (faded) target->PopLayer();
        return;
    }
    const Box* rect = object_rect(object);
    if (!rect) return;
    if (object.kind() == ObjectKind::Rectangle) {
        const double r = std::min(1.6 * object.width, std::min(rect->right - rect->left, rect->bottom - rect->top) / 2);
        target->DrawRoundedRectangle(D2D1::RoundedRect(d2d_rect(*rect), float(r), float(r)), brush, width,
                                     layer.resources->round_stroke.get());
        return;
    }
    const D2D1_POINT_2F centre = D2D1::Point2F(float((rect->left + rect->right) / 2), float((rect->top + rect->bottom) / 2));
    target->DrawEllipse(D2D1::Ellipse(centre, float((rect->right - rect->left) / 2), float((rect->bottom - rect->top) / 2)),
                        brush, width);
}

Status render_shapes_layer(PresentationState& state, std::uint64_t now) {
    if (!state.shapes_layer) return ok_status();
    PresentationLayer& layer = *state.shapes_layer;
    const bool armed = state.shapes.armed != TemporaryShapeKind::None;
    // Nothing but the clear colour: filled straight into the picture, which
    // is many times quicker than a Direct2D pass over the whole screen.
    if (state.shapes.shapes.empty() && !state.shapes.pending)
        return present_plain_layer(layer, armed ? kArmedPixel : 0);
    GLIM_TRY(begin_layer_draw(layer, armed ? D2D1::ColorF(0, 0, 0, 1.0f / 255) : D2D1::ColorF(0, 0, 0, 0)));
    for (const TemporaryShape& shape : state.shapes.shapes)
        draw_temporary_shape(layer, shape.object, static_cast<float>(temporary_shape_opacity(shape, now)),
                             shape.head_size);
    if (state.shapes.pending) draw_temporary_shape(layer, *state.shapes.pending, 1.0f, state.shapes.pending_head_size);
    return present_layer(layer);
}

std::optional<LRESULT> on_shapes_message(PresentationState& state, HWND window, UINT message, WPARAM wparam,
                                         LPARAM lparam, Status& failure) {
    if (!state.shapes_layer || state.shapes_layer->window.get() != window) return std::nullopt;
    if (message == WM_SETCURSOR) {
        SetCursor(LoadCursorW(nullptr, IDC_CROSS));
        return TRUE;
    }
    std::optional<Status> done = handle_shape_message(state, message, wparam, lparam);
    if (!done) return std::nullopt;
    if (!*done) {
        failure = std::move(*done);
        return 0;
    }
    // The step may have dropped the layer (a disarm with no shape left).
    if (state.shapes_layer) InvalidateRect(state.shapes_layer->window.get(), nullptr, FALSE);
    return 0;
}

void tick_temporary_shapes(PresentationState& state, std::uint64_t now) {
    const bool removed = remove_expired_shapes(state.shapes, now);
    if (!state.shapes_layer) return;
    const bool armed = state.shapes.armed != TemporaryShapeKind::None;
    if (state.shapes.shapes.empty() && !armed) {
        if (state.shapes_layer->shown) ShowWindow(state.shapes_layer->window.get(), SW_HIDE);
        state.shapes_layer.reset();
        return;
    }
    const bool fading = std::any_of(state.shapes.shapes.begin(), state.shapes.shapes.end(),
                                    [&](const TemporaryShape& shape) { return temporary_shape_fading(shape, now); });
    if (removed || fading) InvalidateRect(state.shapes_layer->window.get(), nullptr, FALSE);
}

}  // namespace glimmerly
