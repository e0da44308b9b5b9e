#pragma once
// The editor's command dispatcher: every toolbar button, shortcut, wheel
// step, eyedropper pick and picker colour arrives as one action word and
// changes the editor state through the editing operations. The words that
// produce output (the clipboard, files, the image search, live capture,
// closing) are not carried out here: the dispatcher names them, untouched,
// for the window side.

#include "core/editor/editor_state.h"
#include "core/editor/typing_controls.h"

#include <cstdint>

namespace glimmerly {

// The output a word asks for, for the window side to carry out.
enum class SessionOutput : std::uint8_t {
    None = 0,
    CopyColourCode = 1,  // the word's colour to the clipboard as a colour code
    ImageSearch = 2,
    LiveCapture = 3,  // live capture on or off
    CopyImage = 4,
    Save = 5,  // in place when the capture was opened from a document
    SaveAs = 6,
    Close = 7,
};

// Where the keyboard goes after an action that changed the state.
enum class FocusTarget : std::uint8_t {
    Keep = 0,
    Typing = 1,        // the open dimension field or text box, else the editor window
    EditorWindow = 2,  // the picker and the armed eyedropper take keys there
};

struct ActionOutcome {
    SessionOutput output = SessionOutput::None;
    Rgb colour;  // for CopyColourCode
    FocusTarget focus = FocusTarget::Keep;

    friend bool operator==(const ActionOutcome&, const ActionOutcome&) = default;
};

// Applies the word. An output word changes nothing and comes back as its
// output; any other word first abandons a running gesture (size steps
// excepted: they restyle the shape being drawn), disarms the eyedropper and,
// outside the colour words, leaves fill mode.
ActionOutcome apply_editor_action(EditorState& state, TypingControls& typing, EditorAction action);

}  // namespace glimmerly
