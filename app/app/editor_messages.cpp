#include "app/app/editor_messages.h"

#include <windowsx.h>

#include "app/app/editor_effects.h"
#include "app/app/editor_session.h"
#include "app/app/messages.h"
#include "core/editor/editor_routing.h"
#include "core/editor/toolbar.h"
#include "ui/capture/frame_presenter.h"

namespace glimmerly {
namespace {

Point client_point(LPARAM lparam) {
    return {static_cast<double>(GET_X_LPARAM(lparam)), static_cast<double>(GET_Y_LPARAM(lparam))};
}

// The key states as of this message (GetKeyState), not the keyboard now: a
// key pressed after the pointer moved does not change how that move is read.
PointerModifiers held_modifiers() {
    const auto state = [](int key) { return static_cast<std::uint16_t>(GetKeyState(key)); };
    return modifiers_from_key_states(state(VK_SHIFT), state(VK_MENU), state(VK_CONTROL));
}

void repaint(HWND window) { InvalidateRect(window, nullptr, FALSE); }

// A press or the pointer leaving ends the hover at once: no highlight
// settles under a drag.
void drop_toolbar_hover(EditorSession& session, HWND window) {
    track_toolbar_hover(session.state().toolbar.hover, std::nullopt, ChromeClock::now());
    KillTimer(window, TIMER_TOOLBAR_ANIMATION);
}

Status on_mouse_move(App& app, HWND window, EditorSession& session, Point point) {
    EditorState& state = session.state();
    const InputEffects effects = on_pointer_move(state, session.typing(), point, held_modifiers());
    track_toolbar_hover(state.toolbar.hover, toolbar_item_at(state, state.pointer), ChromeClock::now());
    // So that WM_MOUSELEAVE ends the hover when the pointer leaves; without
    // it only the highlight would linger.
    TRACKMOUSEEVENT leave{sizeof leave, TME_LEAVE, window, 0};
    (void)TrackMouseEvent(&leave);
    return carry_out_input_effects(app, window, effects);
}

Status on_left_down(App& app, HWND window, EditorSession& session, Point point) {
    drop_toolbar_hover(session, window);
    auto effects = on_pointer_down(session.state(), session.typing(), point, held_modifiers());
    if (!effects) return std::move(effects).failure();
    return carry_out_input_effects(app, window, *effects);
}

Status on_left_up(App& app, HWND window, EditorSession& session, Point point) {
    return carry_out_input_effects(app, window,
                                   on_pointer_up(session.state(), session.typing(), point, held_modifiers()));
}

void on_right_down(HWND window, EditorSession& session, Point point) {
    if (on_right_click(session.state(), session.typing(), point)) repaint(window);
}

void on_middle_down(HWND window, EditorSession& session, Point point) {
    if (!begin_view_pan(session.state(), session.typing(), point)) return;
    SetCapture(window);
    repaint(window);
}

void on_middle_up(HWND window, EditorSession& session) {
    if (end_view_pan(session.state())) ReleaseCapture();
    repaint(window);
}

Status on_wheel_turn(App& app, HWND window, EditorSession& session, WPARAM wparam) {
    const auto delta = static_cast<std::int16_t>(GET_WHEEL_DELTA_WPARAM(wparam));
    const bool ctrl = GET_KEYSTATE_WPARAM(wparam) & MK_CONTROL;
    auto effects = on_wheel(session.state(), session.typing(), delta, ctrl);
    if (!effects) return std::move(effects).failure();
    return carry_out_input_effects(app, window, *effects);
}

// Where the keys belong while the capture's window is active: the colour
// picker and the armed eyedropper take them in the window itself.
FocusTarget resting_focus(const EditorState& state) {
    return state.colour_picker || state.eyedropper_armed ? FocusTarget::EditorWindow : FocusTarget::Typing;
}

// Another window took the mouse in the middle of a drag: the drag is
// abandoned rather than left waiting for a release that will not come.
void on_capture_changed(HWND window, EditorSession& session) {
    (void)cancel_on_capture_lost(session.state(), session.typing());
    if (GetForegroundWindow() == window) move_keyboard_focus(session, window, resting_focus(session.state()));
    repaint(window);
}

void on_activate(HWND window, EditorSession& session, WPARAM wparam) {
    if (LOWORD(wparam) == WA_INACTIVE)
        on_activation_lost(session.state());
    else
        move_keyboard_focus(session, window, resting_focus(session.state()));
    repaint(window);
}

AppAnswer on_set_cursor(HWND window, EditorSession& session, LPARAM lparam) {
    if (LOWORD(lparam) != HTCLIENT) return not_handled();
    POINT at{};
    // Without the pointer's place, or without a drawn cursor, the class
    // cursor shows: a box here would come back with every move.
    if (!GetCursorPos(&at) || !ScreenToClient(window, &at)) return not_handled();
    const Point point{static_cast<double>(at.x), static_cast<double>(at.y)};
    const CursorId id = choose_capture_cursor(session.state(), session.typing(), point);
    auto cursor = session.cursors().cursor(id, cursor_size_for(window));
    if (!cursor) return not_handled();
    SetCursor(*cursor);
    return handled(TRUE);
}

// A key the editor has no use for at the moment (a text box has the keys)
// is answered without a repaint and without the default processing.
Status on_key_down(App& app, HWND window, EditorSession& session, WPARAM key) {
    const KeyAnswer key_answer =
        handle_editor_key(session.state(), session.typing(), static_cast<VirtualKey>(key), held_modifiers());
    return carry_out_input_effects(app, window, key_answer_effects(key_answer));
}

void on_key_released(HWND window, EditorSession& session, WPARAM key) {
    on_key_up(session.state(), static_cast<VirtualKey>(key), held_modifiers());
    repaint(window);
}

AppAnswer route(App& app, HWND window, EditorSession& session, UINT message, WPARAM wparam, LPARAM lparam) {
    const Point point = client_point(lparam);
    switch (message) {
        case WM_MOUSEMOVE: return answer(on_mouse_move(app, window, session, point));
        case WM_LBUTTONDOWN: return answer(on_left_down(app, window, session, point));
        case WM_LBUTTONUP: return answer(on_left_up(app, window, session, point));
        case WM_RBUTTONDOWN: on_right_down(window, session, point); return handled();
        case WM_MBUTTONDOWN: on_middle_down(window, session, point); return handled();
        case WM_MBUTTONUP: on_middle_up(window, session); return handled();
        case WM_MOUSEWHEEL: return answer(on_wheel_turn(app, window, session, wparam));
        case WM_MOUSELEAVE: drop_toolbar_hover(session, window); repaint(window); return handled();
        case WM_CAPTURECHANGED: on_capture_changed(window, session); return handled();
        case WM_ACTIVATE: on_activate(window, session, wparam); return handled();
        case WM_SETCURSOR: return on_set_cursor(window, session, lparam);
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN: return answer(on_key_down(app, window, session, wparam));
        case WM_KEYUP:
        case WM_SYSKEYUP: on_key_released(window, session, wparam); return handled();
        case WM_PAINT: return answer(paint_editor_window_and_report(app, window));
        default: return not_handled();
    }
}

}  // namespace

AppAnswer route_editor_message(App& app, HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    EditorSession* session = open_editor_session(app);
    if (!session) return not_handled();
    return route(app, window, *session, message, wparam, lparam);
}

void rearm_toolbar_timer(App& app, HWND window) {
    KillTimer(window, TIMER_TOOLBAR_ANIMATION);
    EditorSession* session = open_editor_session(app);
    if (!session) return;
    const ToolbarMemory& toolbar = session->state().toolbar;
    const auto now = ChromeClock::now();
    if (const auto wait = toolbar_redraw_in(toolbar, toolbar.drawn_at.value_or(now), now))
        SetTimer(window, TIMER_TOOLBAR_ANIMATION, timer_delay_ms(*wait), nullptr);
}

}  // namespace glimmerly
