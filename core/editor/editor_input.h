#pragma once
// The capture editor's pointer and keyboard decisions. The window's mouse and
// key messages come here with the editor state; the handlers change the state
// through the editing operations and answer with what only the window can do
// (capture the mouse, move the focus, open a text entry, repaint) or with an
// action word for the session output gate. Nothing here touches a window.
//
// Points given to the handlers are window pixels: the editor window covers
// the virtual screen, and a zoomed monitor view maps them to frame pixels.

#include "core/editor/editor_actions.h"
#include "core/editor/editor_state.h"
#include "core/editor/typing_controls.h"
#include "core/editor/virtual_keys.h"

#include <cstdint>
#include <optional>
#include <variant>

namespace glimmerly {

enum class MouseCapture : std::uint8_t { Keep = 0, Take = 1, Release = 2 };

// A text entry to open at a frame point: plain text, or a label whose box
// the drag that follows draws.
struct TextEntryStart {
    Point at;
    bool label = false;

    friend bool operator==(const TextEntryStart&, const TextEntryStart&) = default;
};

// The selected objects to the private clipboard format, or the copied ones
// back into the capture.
enum class ObjectTransfer : std::uint8_t { None = 0, Copy = 1, Paste = 2 };

// The exit code of an editor process whose capture the user ended.
inline constexpr int kCaptureEndedExitCode = 0;

// What the window carries out after a handler, in this order; a failure
// stops the rest.
struct InputEffects {
    std::optional<EditorAction> action;  // through the session output gate
    ObjectTransfer objects = ObjectTransfer::None;
    std::optional<int> end_capture;  // the capture ends; the process exits with this code
    std::optional<TextEntryStart> text_entry;
    bool open_dimension_fields = false;
    // A resize runs over wrapped labels: their extents must be measured again
    // at their new wrap widths.
    bool remeasure_dragged_labels = false;
    MouseCapture mouse = MouseCapture::Keep;
    FocusTarget focus = FocusTarget::Keep;
    bool repaint = false;

    friend bool operator==(const InputEffects&, const InputEffects&) = default;
};

// Left button down. A failure comes from the text box.
Result<InputEffects> on_pointer_down(EditorState& state, TypingControls& typing, Point point,
                                     PointerModifiers modifiers);
// Every pointer move, and again at the pointer after a zoom step.
InputEffects on_pointer_move(EditorState& state, TypingControls& typing, Point point, PointerModifiers modifiers);
// Left button up: ends whatever the press started.
InputEffects on_pointer_up(EditorState& state, TypingControls& typing, Point point, PointerModifiers modifiers);

// Right button down: on the text colour button the label ink goes back to
// automatic; in fill mode the fill under the point is cleared. True when it
// changed something.
bool on_right_click(EditorState& state, TypingControls& typing, Point point);

// Middle button: drags a view while no text entry, field or gesture is
// running. True when a pan started (capture the mouse) or ended (release it).
bool begin_view_pan(EditorState& state, const TypingControls& typing, Point point);
bool end_view_pan(EditorState& state);

// Escape steps back one level, the first that applies: a mouse selection in
// the text, the colour picker, the armed eyedropper, fill mode, a selection
// drag (the selection goes back), choosing the region, a running gesture.
// False when there was nothing to step back from.
bool escape_step_back(EditorState& state, TypingControls& typing);

// The mouse capture went elsewhere: whatever was holding it is abandoned (the
// drag in the text, the picker, a selection or a gesture) and the views stop
// panning. Modes that do not hold the mouse (the open picker, the armed
// eyedropper, fill mode) stay, since releasing the capture after every drag
// of our own arrives here too. True when something was abandoned.
bool cancel_on_capture_lost(EditorState& state, TypingControls& typing);

// Stores the modifier keys held now; a running gesture takes them at once,
// so that pressing or releasing Shift reshapes the shape being drawn.
void take_key_modifiers(EditorState& state, PointerModifiers modifiers);

// The key handler's outcomes besides an action word.
enum class KeyOutcome : std::uint8_t {
    Ignored = 22,       // nothing to do and nothing to repaint
    Handled = 23,       // done; repaint
    CopyObjects = 25,   // copy the selected objects
    PasteObjects = 26,  // paste the copied objects
    EndCapture = 27,    // Escape with nothing left to step back from
};
using KeyAnswer = std::variant<EditorAction, KeyOutcome>;

// A key down with the modifiers held. A key that means nothing at the moment
// (a text box is open and has the keys, or the eyedropper waits for a press)
// is Ignored.
KeyAnswer handle_editor_key(EditorState& state, TypingControls& typing, VirtualKey key, PointerModifiers modifiers);

}  // namespace glimmerly
