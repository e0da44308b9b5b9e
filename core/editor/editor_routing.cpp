#include "core/editor/editor_routing.h"

#include "core/editor/id_set.h"
#include "core/editor/monitor_views.h"
#include "core/editor/selection_edits.h"
#include "core/editor/size_ladders.h"
#include "core/editor/text_edits.h"

#include <cstdlib>
#include <limits>
#include <utility>

namespace glimmerly {

namespace {

constexpr std::uint16_t kKeyDown = 0x8000;

// Every text object selected, each at its next letter size with its text
// measured again at that size.
Result<std::vector<TextSizeEdit>> selected_text_steps(const EditorState& state, TypingControls& typing,
                                                      int notches) {
    std::vector<TextSizeEdit> edits;
    const IdSet selected(state.selection);
    for (const SceneObject& o : state.objects) {
        const TextPayload* text = as_text(o);
        if (!text || !selected.contains(o.id)) continue;
        const double size = step_text_size(text->size, notches);
        auto extent = typing.measure_text(o, size);
        if (!extent) return std::move(extent).failure();
        edits.push_back({o.id, size, *extent});
    }
    return edits;
}

}  // namespace

PointerModifiers modifiers_from_key_states(std::uint16_t shift, std::uint16_t alt, std::uint16_t ctrl) {
    return {(shift & kKeyDown) != 0, (alt & kKeyDown) != 0, (ctrl & kKeyDown) != 0};
}

InputEffects key_answer_effects(const KeyAnswer& answer) {
    InputEffects fx;
    if (const auto* word = std::get_if<EditorAction>(&answer)) {
        fx.action = *word;
        fx.repaint = true;
        return fx;
    }
    switch (std::get<KeyOutcome>(answer)) {
        case KeyOutcome::Ignored: break;
        case KeyOutcome::Handled:
            // The picker and the eyedropper hand the keys back to the typing
            // controls when they are done with them.
            fx.focus = FocusTarget::Typing;
            fx.repaint = true;
            break;
        case KeyOutcome::CopyObjects:
            fx.objects = ObjectTransfer::Copy;
            fx.repaint = true;
            break;
        case KeyOutcome::PasteObjects:
            fx.objects = ObjectTransfer::Paste;
            fx.repaint = true;
            break;
        case KeyOutcome::EndCapture: fx.end_capture = kCaptureEndedExitCode; break;
    }
    return fx;
}

void on_key_up(EditorState& state, VirtualKey key, PointerModifiers modifiers) {
    take_key_modifiers(state, modifiers);
    if (key == kVkSpace) state.space_held = false;
}

void on_activation_lost(EditorState& state) {
    state.space_held = false;
    state.pan.reset();
}

Status resize_by_wheel(EditorState& state, TypingControls& typing, std::int16_t delta) {
    if (state.colour_picker || typing.dimension_fields_open() || state.eyedropper_armed || state.fill_mode)
        return ok_status();
    refresh_ui_scale(state);
    const int notches = take_wheel_notches(state, delta);
    if (notches == 0) return ok_status();
    state.wheel_hint_shown = false;

    if (typing.text_box_open()) {
        const double old_size = typing.text_box_size();
        const double size = step_text_size(old_size, notches);
        if (size == old_size) return ok_status();
        GLIM_TRY(typing.set_text_box_size(size));
        state.text_size = static_cast<float>(size);
        return ok_status();
    }
    auto edits = selected_text_steps(state, typing, notches);
    if (!edits) return std::move(edits).failure();
    if (!edits->empty()) {
        state.text_size = static_cast<float>(edits->back().size);
        apply_text_edits(state, *edits);
        state.size_preview = false;
        return ok_status();
    }
    if (state.tool == Tool::Text || state.tool == Tool::Label) {
        state.text_size = static_cast<float>(step_text_size(state.text_size, notches));
        return ok_status();
    }
    const EditorAction step =
        pack_editor_action(notches > 0 ? EditorActionCode::SizeStepUp : EditorActionCode::SizeStepDown);
    for (int i = 0; i < std::abs(notches); ++i) (void)apply_editor_action(state, typing, step);
    return ok_status();
}

Result<InputEffects> on_wheel(EditorState& state, TypingControls& typing, std::int16_t delta, bool ctrl) {
    if (ctrl) {
        const std::vector<MonitorView> before = state.monitor_views;
        const std::int32_t remainder = state.wheel_remainder;
        if (zoom_view_by_steps(state, delta) && state.monitor_views != before) {
            // What lies under the pointer changed without the pointer moving.
            InputEffects fx = on_pointer_move(state, typing, state.pointer, state.modifiers);
            fx.repaint = true;
            return fx;
        }
        // The resize counts the same turn afresh.
        state.wheel_remainder = remainder;
    }
    GLIM_TRY(resize_by_wheel(state, typing, delta));
    InputEffects fx;
    fx.repaint = true;
    return fx;
}

std::variant<std::vector<SceneObject>, EditorAction> objects_to_copy(const EditorState& state) {
    std::vector<SceneObject> copies = selected_objects_for_copy(state);
    if (copies.empty()) return pack_editor_action(EditorActionCode::CopyImage);
    return copies;
}

void hold_copied_objects(HeldObjects& held, std::vector<SceneObject> objects, std::uint32_t clipboard_sequence) {
    held.objects = std::move(objects);
    held.clipboard_sequence = clipboard_sequence;
    held.paste_count = 0;
}

bool paste_held_objects(EditorState& state, HeldObjects& held) {
    const std::uint32_t count =
        held.paste_count == std::numeric_limits<std::uint32_t>::max() ? held.paste_count : held.paste_count + 1;
    const double shift = kPasteShift * count;
    if (!paste_objects(state, held.objects, {shift, shift})) return false;
    held.paste_count = count;
    state.automatic_selection.reset();
    state.tool = Tool::Select;
    return true;
}

}  // namespace glimmerly
