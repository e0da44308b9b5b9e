#pragma once
// What the capture editor's input decisions ask of its window, carried out
// in the order the decisions give: the action word and its output, copying
// or pasting objects, the end of the capture, a text entry or the size
// fields, the mouse capture, the keyboard focus, the repaint. Any step may
// end the capture (an output word that closes it): the steps after it then
// find no session and do nothing.

#include <windows.h>

#include "app/app/app.h"
#include "core/editor/editor_input.h"

namespace glimmerly {

class EditorSession;

// The word applied to the editing state, then its output (the clipboard, a
// file, the image search, closing), then the focus it asks for.
Status run_editor_action(App& app, HWND window, EditorAction action);

// The first failure stops the steps after it.
Status carry_out_input_effects(App& app, HWND window, const InputEffects& effects);

// The selected wrapped labels measured again at their current wrap widths,
// while a resize drags them.
Status remeasure_dragged_labels(EditorState& state, TypingControls& typing);

// The keyboard to the open typing control (else the capture's window) or to
// the capture's window itself.
void move_keyboard_focus(EditorSession& session, HWND window, FocusTarget target);

}  // namespace glimmerly
