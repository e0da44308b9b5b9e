#include "core/editor/editor_input.h"

#include "core/document/point_math.h"
#include "core/editor/chrome_math.h"
#include "core/editor/colour_picker.h"
#include "core/editor/fill.h"
#include "core/editor/gestures.h"
#include "core/editor/handles.h"
#include "core/editor/id_set.h"
#include "core/editor/monitor_views.h"
#include "core/editor/restack.h"
#include "core/editor/selection_edits.h"
#include "core/editor/selection_geometry.h"
#include "core/editor/text_edits.h"
#include "core/editor/toolbar.h"

#include <cmath>

namespace glimmerly {

namespace {

using Code = EditorActionCode;

Code code_of(EditorAction action) { return static_cast<Code>(action & 0xFFu); }

Point clamp_to_frame(const EditorState& state, Point p) {
    return {clamp_into(p.x, 0.0, state.frame_width), clamp_into(p.y, 0.0, state.frame_height)};
}

// The colour buttons, the palettes, the picker and the eyedropper colour the
// text being typed; any other button ends the entry first.
bool keeps_text_box(EditorAction action) {
    const Code code = code_of(action);
    return code == Code::Colour || code == Code::BoxColourPalette || code == Code::TextColourPalette ||
           code == Code::ColourPicker || code == Code::Eyedropper;
}

void accept_picker_colour(EditorState& state, TypingControls& typing) {
    const Rgb colour = hsv_to_rgb(*state.colour_picker);
    state.colour_picker.reset();
    state.custom_colour = colour;
    state.custom_colour_changed = true;
    (void)apply_editor_action(state, typing, colour_action(colour));
}

// Puts back the selection the drag started from.
bool end_selection_drag(EditorState& state) {
    if (!state.selection_drag) return false;
    state.capture_selection = state.selection_drag->before;
    state.selection_drag.reset();
    state.selecting = !state.capture_selection;
    return true;
}

bool resizing_wrapped_labels(const EditorState& state) {
    if (!state.saved_objects || state.gesture.kind() != GestureKind::Resize) return false;
    const IdSet selected(state.selection);
    for (const SceneObject& o : state.objects)
        if (selected.contains(o.id) && is_label(o) && as_text(o)->label.kind == LabelKind::Wrap) return true;
    return false;
}

InputEffects taking_mouse(InputEffects fx) {
    fx.mouse = MouseCapture::Take;
    return fx;
}

// The press reaches the tool: a text entry, else a gesture.
InputEffects press_tool(EditorState& state, Point at, PointerModifiers modifiers, InputEffects fx) {
    const bool typing_tool = state.tool == Tool::Text || state.tool == Tool::Label;
    if (typing_tool && !hover_target_at(state, at)) {
        fx.text_entry = TextEntryStart{at, state.tool == Tool::Label};
        // A label's box is drawn by the drag that follows.
        if (state.tool == Tool::Label) fx.mouse = MouseCapture::Take;
        return fx;
    }
    begin_gesture(state, at, modifiers);
    if (state.saved_objects) fx.mouse = MouseCapture::Take;
    return fx;
}

// The press steps that follow the chrome: the rotation handle, the capture
// selection and its handles, fill mode, then the tool.
InputEffects press_in_frame(EditorState& state, Point at, PointerModifiers modifiers, InputEffects fx) {
    if (state.tool == Tool::Select && !state.fill_mode) {
        const auto handle = clamp_popup_position(state);
        if (handle && distance(*handle, at) < kHandleRadius * ui_scale_over_zoom(state)) {
            begin_rotate_selection(state, at);
            return taking_mouse(fx);
        }
    }
    if (!state.selecting) {
        if (!state.capture_selection) return state.fill_mode ? fx : press_tool(state, at, modifiers, fx);
        const Box selection = *state.capture_selection;
        if (const auto handle = selection_handle_at(state, at)) {
            state.selection_drag = SelectionDrag{{selection.left, selection.top}, selection, handle};
            state.selecting = true;
            return taking_mouse(fx);
        }
        if (state.fill_mode && box_contains(selection, at)) {
            apply_fill_at(state, at, modifiers.alt);
            return fx;
        }
        return press_tool(state, at, modifiers, fx);
    }
    state.selection_drag = SelectionDrag{at, state.capture_selection, std::nullopt};
    state.capture_selection = is_finite(at) ? std::optional<Box>(Box{at.x, at.y, at.x, at.y}) : std::nullopt;
    return taking_mouse(fx);
}

}  // namespace

Result<InputEffects> on_pointer_down(EditorState& state, TypingControls& typing, Point point,
                                     PointerModifiers modifiers) {
    InputEffects fx;
    fx.repaint = true;
    const Point p = clamp_to_frame(state, point);
    state.pointer = p;
    refresh_ui_scale(state);
    state.size_preview = false;
    state.automatic_selection.reset();
    if (state.pan) return fx;
    if (state.space_held && !state.saved_objects && !state.monitor_views.empty()) {
        state.pan = ViewPan{view_at_point(state, p).value_or(0), p};
        return taking_mouse(fx);
    }
    state.press_view = view_at_point(state, p);
    const Point at = map_point_for_press(state, p);

    if (typing.dimension_fields_open()) {
        if (const auto panel = place_size_panel(state); panel && box_contains(panel->panel, p)) {
            typing.press_dimension_field(p.x >= (panel->panel.left + panel->panel.right) * 0.5, p);
            return taking_mouse(fx);
        }
        if (!typing.commit_dimension_fields()) return fx;
    }
    if (state.colour_picker) {
        if (picker_hit_test(*state.colour_picker, p) && state.colour_picker->drag != PickerDrag::None)
            return taking_mouse(fx);
        accept_picker_colour(state, typing);
        fx.focus = FocusTarget::Typing;
        return fx;
    }
    if (state.eyedropper_armed) {
        state.eyedropper_armed = false;
        const auto colour = sample_frame_pixel(state, at);
        if (!colour) return fx;
        state.custom_colour = *colour;
        state.custom_colour_changed = true;
        (void)apply_editor_action(state, typing, colour_action(*colour));
        fx.focus = FocusTarget::Typing;
        fx.action = pack_editor_action(Code::CopyColourCode, pack_rgb(*colour));
        return fx;
    }
    if (!state.selecting) {
        const auto buttons = layout_toolbar(state);
        if (const ToolbarButton* button = toolbar_button_at(buttons, p)) {
            // A greyed button is only a picture.
            if (!button->enabled) return fx;
            if (typing.text_box_open() && !keeps_text_box(button->action)) typing.commit_text_box();
            fx.action = button->action;
            return fx;
        }
    }
    if (point_on_toolbar(state, p)) return fx;
    if (const auto panel = state.selecting ? std::nullopt : place_size_panel(state)) {
        if (box_contains(panel->button, p)) {
            if (typing.text_box_open()) typing.commit_text_box();
            toggle_full_screen_selection(state);
            return fx;
        }
        if (box_contains(panel->panel, p)) {
            fx.open_dimension_fields = true;
            return fx;
        }
    }
    if (typing.text_box_open()) {
        auto in_text = typing.press_in_text_box(at, modifiers);
        if (!in_text) return std::move(in_text).failure();
        if (*in_text) return taking_mouse(fx);
        typing.commit_text_box();
        if ((state.tool == Tool::Text || state.tool == Tool::Label) && !state.selecting) return fx;
    }
    return press_in_frame(state, at, modifiers, fx);
}

InputEffects on_pointer_move(EditorState& state, TypingControls& typing, Point point, PointerModifiers modifiers) {
    InputEffects fx;
    fx.repaint = true;
    const Point p = clamp_to_frame(state, point);
    state.pointer = p;
    refresh_ui_scale(state);
    if (state.pan) {
        pan_view_to(state, p);
        return fx;
    }
    const Point at = map_point_for_press(state, p);
    if (typing.dimension_fields_open()) {
        typing.drag_dimension_selection(p);
    } else if (state.colour_picker) {
        picker_drag(*state.colour_picker, p);
    } else if (typing.text_box_mouse_selecting()) {
        typing.select_text_to(at);
    } else if (typing.label_drag_running()) {
        typing.drag_label_to(at);
    } else if (const auto& drag = state.selection_drag) {
        const Box next = drag->handle && drag->before ? reshape_selection(*drag->before, *drag->handle, at)
                                                      : normalised_box(drag->start, at);
        if (is_finite(next)) state.capture_selection = next;
    } else {
        state.modifiers = modifiers;
        if (state.saved_objects) {
            set_gesture_modifiers(state, modifiers);
            continue_gesture(state, at);
            fx.remeasure_dragged_labels = resizing_wrapped_labels(state);
        }
    }
    return fx;
}

InputEffects on_pointer_up(EditorState& state, TypingControls& typing, Point point, PointerModifiers modifiers) {
    InputEffects fx = on_pointer_move(state, typing, point, modifiers);
    state.press_view.reset();
    fx.mouse = MouseCapture::Release;
    if (state.pan) {
        state.pan.reset();
    } else if (typing.dimension_fields_open()) {
        if (!typing.end_dimension_selection()) fx.mouse = MouseCapture::Keep;
    } else if (state.colour_picker) {
        state.colour_picker->drag = PickerDrag::None;
    } else if (typing.text_box_mouse_selecting()) {
        typing.end_text_mouse_selection();
    } else if (typing.label_drag_running()) {
        typing.end_label_drag();
    } else if (state.selection_drag) {
        state.selection_drag.reset();
        const auto& s = state.capture_selection;
        if (s && s->right - s->left >= kMinSelectionSide && s->bottom - s->top >= kMinSelectionSide)
            state.selecting = false;
        else
            state.capture_selection.reset();
        refresh_ui_scale(state);
    } else {
        finish_gesture(state);
    }
    return fx;
}

bool on_right_click(EditorState& state, TypingControls& typing, Point point) {
    const Point p = clamp_to_frame(state, point);
    state.pointer = p;
    const auto buttons = layout_toolbar(state);
    const ToolbarButton* button = toolbar_button_at(buttons, p);
    if (button && code_of(button->action) == Code::TextColourPalette) {
        state.label_ink.reset();
        if (typing.text_box_open())
            typing.set_text_box_ink(std::nullopt);
        else
            set_selected_text_ink(state, std::nullopt);
        return true;
    }
    if (!state.fill_mode || !fill_hover_enabled(state)) return false;
    const Point at = map_point_to_monitor(state, p);
    if (!state.capture_selection || !box_contains(*state.capture_selection, at)) return false;
    apply_fill_at(state, at, true);
    return true;
}

bool begin_view_pan(EditorState& state, const TypingControls& typing, Point point) {
    if (typing.text_box_open() || typing.dimension_fields_open() || state.saved_objects ||
        state.monitor_views.empty())
        return false;
    const Point p = clamp_to_frame(state, point);
    state.pan = ViewPan{view_at_point(state, p).value_or(0), p};
    return true;
}

bool end_view_pan(EditorState& state) {
    if (!state.pan) return false;
    state.pan.reset();
    return true;
}

bool escape_step_back(EditorState& state, TypingControls& typing) {
    if (typing.text_box_mouse_selecting()) {
        typing.end_text_mouse_selection();
        return true;
    }
    if (state.colour_picker) {
        state.colour_picker.reset();
        return true;
    }
    if (state.eyedropper_armed) {
        state.eyedropper_armed = false;
        return true;
    }
    if (state.fill_mode) {
        state.fill_mode = false;
        return true;
    }
    if (end_selection_drag(state)) return true;
    if (state.selecting && state.capture_selection) {
        state.selecting = false;
        return true;
    }
    return cancel_gesture(state);
}

bool cancel_on_capture_lost(EditorState& state, TypingControls& typing) {
    bool abandoned = false;
    if (typing.text_box_mouse_selecting()) {
        typing.end_text_mouse_selection();
        abandoned = true;
    }
    if (typing.label_drag_running()) {
        typing.end_label_drag();
        abandoned = true;
    }
    if (typing.end_dimension_selection()) abandoned = true;
    if (state.colour_picker && state.colour_picker->drag != PickerDrag::None) {
        state.colour_picker->drag = PickerDrag::None;
        abandoned = true;
    }
    if (end_selection_drag(state)) abandoned = true;
    if (cancel_gesture(state)) abandoned = true;
    if (state.pan) abandoned = true;
    state.pan.reset();
    state.press_view.reset();
    state.space_held = false;
    return abandoned;
}

void take_key_modifiers(EditorState& state, PointerModifiers modifiers) {
    state.modifiers = modifiers;
    if (!state.saved_objects) return;
    // Shift, Alt and Ctrl reshape the shape being drawn at once, without
    // waiting for the pointer to move.
    set_gesture_modifiers(state, modifiers);
    continue_gesture(state, state.gesture.current);
}

KeyAnswer handle_editor_key(EditorState& state, TypingControls& typing, VirtualKey key, PointerModifiers modifiers) {
    if (typing.dimension_field_key(key) || typing.dimension_fields_open()) return KeyOutcome::Handled;
    take_key_modifiers(state, modifiers);
    if (state.colour_picker) {
        if (key == kVkReturn) {
            accept_picker_colour(state, typing);
        } else if (key == kVkEscape) {
            if (typing.text_box_mouse_selecting())
                typing.end_text_mouse_selection();
            else
                state.colour_picker.reset();
        }
        return KeyOutcome::Handled;
    }
    if (state.eyedropper_armed) {
        if (key != kVkEscape) return KeyOutcome::Ignored;
        if (typing.text_box_mouse_selecting())
            typing.end_text_mouse_selection();
        else
            state.eyedropper_armed = false;
        return KeyOutcome::Handled;
    }
    if (typing.text_box_open()) return KeyOutcome::Ignored;
    if (key == kVkSpace && !state.monitor_views.empty()) {
        state.space_held = true;
        return KeyOutcome::Handled;
    }
    if (key == kVkEscape) return escape_step_back(state, typing) ? KeyOutcome::Handled : KeyOutcome::EndCapture;
    if (key == kVkTab) {
        state.toolbar_shown = !state.toolbar_shown;
        return KeyOutcome::Handled;
    }
    if (modifiers.ctrl) {
        if (!modifiers.shift && !modifiers.alt) {
            if (key == vk_char('0') || key == kVkNumpad0) {
                reset_view_zoom(state);
                refresh_ui_scale(state);
                return KeyOutcome::Handled;
            }
            // Right after a text entry the selection is the editor's own
            // choice: Ctrl+C then means the picture.
            if (key == vk_char('C')) {
                const bool automatic = state.automatic_selection && state.selection.size() == 1 &&
                                       state.selection.front() == *state.automatic_selection;
                if (automatic) return pack_editor_action(Code::CopyImage);
                return KeyOutcome::CopyObjects;
            }
            if (key == vk_char('V')) return KeyOutcome::PasteObjects;
        }
        if (const auto word = action_for_key(key, true, modifiers.shift, modifiers.alt)) return *word;
        return KeyOutcome::Handled;
    }
    if (const auto word = action_for_key(key, false, modifiers.shift, modifiers.alt)) {
        if (*word == tool_action(Tool::Blur) && state.board_mode) return KeyOutcome::Handled;
        const bool live_unavailable = state.live_capture_not_offered || state.live_capture_for_new_only;
        if (code_of(*word) == Code::LiveCapture && live_unavailable) return KeyOutcome::Handled;
        return *word;
    }
    const double step = modifiers.shift ? 10.0 : 1.0;
    switch (key) {
        case kVkPageUp: restack_selection(state, true, modifiers.shift); break;
        case kVkPageDown: restack_selection(state, false, modifiers.shift); break;
        case kVkLeft: nudge_selection(state, {-step, 0.0}); break;
        case kVkUp: nudge_selection(state, {0.0, -step}); break;
        case kVkRight: nudge_selection(state, {step, 0.0}); break;
        case kVkDown: nudge_selection(state, {0.0, step}); break;
        case kVkDelete: delete_selection(state); break;
        default: break;
    }
    return KeyOutcome::Handled;
}

}  // namespace glimmerly
