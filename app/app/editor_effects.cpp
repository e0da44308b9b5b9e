#include "app/app/editor_effects.h"

#include "app/app/editor_session.h"
#include "app/app/session_output.h"
#include "app/board/board_leave.h"
#include "app/session/clipboard.h"
#include "core/editor/id_set.h"

namespace glimmerly {
namespace {

// Copy puts a marker on the clipboard and keeps the objects here; with
// nothing selected it copies the picture instead. Paste takes the kept
// objects only while the marker is still the clipboard's content: another
// program's copy since then leaves nothing of ours to paste.
Status transfer_objects(App& app, HWND window, EditorSession& session, ObjectTransfer transfer) {
    HeldObjects& held = session.held_objects();
    if (transfer == ObjectTransfer::Copy) {
        auto copied = objects_to_copy(session.state());
        if (const auto* word = std::get_if<EditorAction>(&copied)) return run_editor_action(app, window, *word);
        return copy_objects_to_clipboard(window, held, std::move(std::get<std::vector<SceneObject>>(copied)));
    }
    if (clipboard_holds_session(held.clipboard_sequence)) (void)paste_held_objects(session.state(), held);
    return ok_status();
}

}  // namespace

// Dragging a wrapped label's width re-wraps its letters: its box must follow
// the height the text takes at the new width while the drag runs.
Status remeasure_dragged_labels(EditorState& state, TypingControls& typing) {
    const IdSet selected(state.selection);
    for (SceneObject& object : state.objects.edit()) {
        TextPayload* text = as_text(object);
        if (!text || !selected.contains(object.id) || text->label.kind != LabelKind::Wrap) continue;
        auto extent = typing.measure_text(object, text->size);
        if (!extent) return std::move(extent).failure();
        text->extent = *extent;
    }
    return ok_status();
}

void move_keyboard_focus(EditorSession& session, HWND window, FocusTarget target) {
    if (target == FocusTarget::Keep) return;
    const HWND typing = target == FocusTarget::Typing ? session.typing().focus_window() : nullptr;
    SetFocus(typing ? typing : window);  // a refusal leaves the keys where they were
}

Status run_editor_action(App& app, HWND window, EditorAction action) {
    EditorSession* session = open_editor_session(app);
    if (!session) return ok_status();
    const ActionOutcome outcome = apply_editor_action(session->state(), session->typing(), action);
    GLIM_TRY(run_session_output(app, window, outcome));
    if (EditorSession* open = open_editor_session(app)) move_keyboard_focus(*open, window, outcome.focus);
    return ok_status();
}

Status carry_out_input_effects(App& app, HWND window, const InputEffects& effects) {
    if (effects.action) GLIM_TRY(run_editor_action(app, window, *effects.action));
    if (effects.objects != ObjectTransfer::None)
        if (EditorSession* session = open_editor_session(app))
            GLIM_TRY(transfer_objects(app, window, *session, effects.objects));
    EditorSession* session = open_editor_session(app);
    if (!session) return ok_status();
    // The process that ends with the capture always exits with the code of
    // a capture the user ended.
    if (effects.end_capture) {
        save_and_bake_board(app, window, std::nullopt);
        return ok_status();
    }
    if (effects.text_entry) GLIM_TRY(session->typing().open_text_entry(*effects.text_entry));
    if (effects.open_dimension_fields) GLIM_TRY(session->typing().open_dimension_fields());
    if (effects.remeasure_dragged_labels) GLIM_TRY(remeasure_dragged_labels(session->state(), session->typing()));
    if (effects.mouse == MouseCapture::Take) SetCapture(window);
    // Losing the capture sends WM_CAPTURECHANGED at once, while this message
    // still holds the App: the window's procedure leaves it to the default.
    if (effects.mouse == MouseCapture::Release) ReleaseCapture();
    move_keyboard_focus(*session, window, effects.focus);
    if (effects.repaint) InvalidateRect(window, nullptr, FALSE);
    return ok_status();
}

}  // namespace glimmerly
