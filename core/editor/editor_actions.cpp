#include "core/editor/editor_actions.h"

#include "core/editor/colour_picker.h"
#include "core/editor/history.h"
#include "core/editor/id_set.h"
#include "core/editor/monitor_views.h"
#include "core/editor/selection_edits.h"
#include "core/editor/selection_geometry.h"
#include "core/editor/size_ladders.h"
#include "core/editor/text_edits.h"

#include <algorithm>
#include <utility>

namespace glimmerly {

namespace {

using Code = EditorActionCode;

std::optional<SessionOutput> output_of(Code code) {
    switch (code) {
        case Code::CopyColourCode: return SessionOutput::CopyColourCode;
        case Code::ImageSearch: return SessionOutput::ImageSearch;
        case Code::LiveCapture: return SessionOutput::LiveCapture;
        case Code::CopyImage: return SessionOutput::CopyImage;
        case Code::Save: return SessionOutput::Save;
        case Code::SaveAs: return SessionOutput::SaveAs;
        case Code::Close: return SessionOutput::Close;
        default: return std::nullopt;
    }
}

bool label_in_play(const EditorState& state) {
    if (state.tool == Tool::Label) return true;
    const IdSet selected(state.selection);
    return std::any_of(state.objects.begin(), state.objects.end(),
                       [&](const SceneObject& o) { return is_label(o) && selected.contains(o.id); });
}

void apply_colour(EditorState& state, TypingControls& typing, Rgb colour) {
    if (state.palette_target == PaletteTarget::Text && !state.fill_mode && label_in_play(state)) {
        state.label_ink = colour;
        if (typing.text_box_open())
            typing.set_text_box_ink(colour);
        else
            set_selected_text_ink(state, colour);
        return;
    }
    state.color = colour;
    if (typing.text_box_open())
        typing.set_text_box_colour(colour);
    else
        apply_color_to_selection(state);
}

void open_picker(EditorState& state) {
    Point anchor = state.pointer;
    if (const auto& s = state.capture_selection) anchor = {(s->left + s->right) * 0.5, (s->top + s->bottom) * 0.5};
    state.colour_picker = open_colour_picker(state.custom_colour, anchor, state.frame_width, state.frame_height,
                                             anchor_monitor_scale(state));
}

// A size step restyles what it would act on: the shape being drawn, else the
// selected objects, else the width of the next one.
void step_size(EditorState& state, int step) {
    const IdSet selected(state.selection);
    const bool restylable = std::any_of(state.objects.begin(), state.objects.end(), [&](const SceneObject& o) {
        return selected.contains(o.id) && o.kind() != ObjectKind::Blur;
    });
    if (state.selection.empty() ? state.tool == Tool::Blur : !restylable) return;
    state.size_preview = true;
    if (state.tool == Tool::Eraser) {
        state.eraser_size = step_eraser_size(state.eraser_size, step);
        return;
    }
    if (state.saved_objects && state.gesture.kind() == GestureKind::DrawNew) {
        state.stroke_width = step_stroke_width(state.stroke_width, step);
        if (!state.objects.empty() && state.objects.back().kind() != ObjectKind::Blur) {
            state.objects.edit().back().width = state.stroke_width;
            state.objects.edit().back().color = state.color;
        }
        return;
    }
    if (state.selection.empty()) {
        state.stroke_width = step_stroke_width(state.stroke_width, step);
        return;
    }
    cancel_gesture(state);
    std::vector<SceneObject> earlier = state.objects;
    std::optional<double> first_changed;
    for (SceneObject& o : state.objects.edit()) {
        if (!selected.contains(o.id) || o.kind() == ObjectKind::Blur) continue;
        const double width = step_stroke_width(o.width, step);
        if (StrokePayload* stroke = as_stroke(o)) std::fill(stroke->widths.begin(), stroke->widths.end(), width);
        if (width != o.width && !first_changed) first_changed = width;
        o.width = width;
    }
    commit_objects(state, std::move(earlier));
    state.stroke_width = first_changed ? *first_changed : step_stroke_width(state.stroke_width, step);
}

// The whole board goes as one step, which a single undo brings back.
void clear_board(EditorState& state) {
    if (state.objects.empty() && state.background.empty()) return;
    HistoryEntry entry;
    HistoryOrder order;
    for (const SceneObject& o : state.objects) order.before_ids.push_back(o.id);
    entry.order = std::move(order);
    entry.before = std::exchange(state.objects, {});
    if (!state.background.empty()) entry.background = HistoryBackground{std::exchange(state.background, {}), {}};
    state.selection.clear();
    state.undo_stack.push_back(std::move(entry));
    state.redo_stack.clear();
}

}  // namespace

ActionOutcome apply_editor_action(EditorState& state, TypingControls& typing, EditorAction action) {
    const Code code = static_cast<Code>(action & 0xFFu);
    if (const auto output = output_of(code)) {
        const Rgb colour = code == Code::CopyColourCode ? unpack_rgb(editor_action_argument(action)) : Rgb{};
        return {*output, colour, FocusTarget::Keep};
    }

    refresh_ui_scale(state);
    if (code != Code::SizeStepDown && code != Code::SizeStepUp) cancel_gesture(state);
    state.eyedropper_armed = false;
    // Fill mode survives only the colour words; the fill word toggles the
    // value it found, not the one the line above left.
    const bool fill_before = state.fill_mode;
    if (code < Code::Colour || code > Code::Eyedropper) state.fill_mode = false;

    switch (code) {
        case Code::ChooseTool: {
            const auto tool = editor_action_tool(action);
            if (!tool || (*tool == Tool::Blur && state.board_mode)) break;
            state.tool = *tool;
            state.selection.clear();
            break;
        }
        case Code::Colour: apply_colour(state, typing, unpack_rgb(editor_action_argument(action))); break;
        case Code::BoxColourPalette: state.palette_target = PaletteTarget::Box; break;
        case Code::TextColourPalette: state.palette_target = PaletteTarget::Text; break;
        case Code::ColourPicker: open_picker(state); break;
        case Code::Eyedropper: state.eyedropper_armed = true; break;
        case Code::FillMode: state.fill_mode = !fill_before; break;
        case Code::SizeStepDown: step_size(state, -1); break;
        case Code::SizeStepUp: step_size(state, +1); break;
        case Code::Undo: undo(state); break;
        case Code::Redo: redo(state); break;
        case Code::FullScreenOrPrevious:
            if (!state.selecting) toggle_full_screen_selection(state);
            break;
        case Code::ClearOrRestoreBoard:
            if (state.board_mode) clear_board(state);
            break;
        case Code::MoreTools: state.more_tools_expanded = !state.more_tools_expanded; break;
        default: break;
    }
    const bool keys_stay = state.colour_picker || state.eyedropper_armed;
    return {SessionOutput::None, {}, keys_stay ? FocusTarget::EditorWindow : FocusTarget::Typing};
}

}  // namespace glimmerly
