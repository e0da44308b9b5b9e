#pragma once
// The decisions of the editor window's message routing that need no window:
// the wheel, what a key handler's answer asks of the window, key releases,
// losing the activation, and copying and pasting objects. The objects never
// leave the process: the clipboard carries only a marker, whose sequence
// number tells later whether it is still the clipboard's content.

#include "core/editor/editor_input.h"

#include <cstdint>
#include <variant>
#include <vector>

namespace glimmerly {

// The modifier keys from their key states (as GetKeyState gives them): a key
// is down when bit 15 is set.
PointerModifiers modifiers_from_key_states(std::uint16_t shift, std::uint16_t alt, std::uint16_t ctrl);

// What the window does with the key handler's answer.
InputEffects key_answer_effects(const KeyAnswer& answer);

// A key released: the modifiers reach a running gesture at once, and a
// released Space stops turning presses into pans.
void on_key_up(EditorState& state, VirtualKey key, PointerModifiers modifiers);

// The editor window lost the activation: keys held now will not be seen
// released.
void on_activation_lost(EditorState& state);

// The plain wheel resizes what the tool or the selection would draw with: the
// text box's letters, the selected texts' letters (one undo step), the next
// text's size, else the stroke width or eraser one step per notch. Notches
// build up across small deltas. Failures come from measuring texts.
Status resize_by_wheel(EditorState& state, TypingControls& typing, std::int16_t delta);

// The wheel over the editor. With Ctrl it zooms the monitor view under the
// pointer; where that cannot zoom (no views, or at a zoom limit) it resizes,
// as the plain wheel does.
Result<InputEffects> on_wheel(EditorState& state, TypingControls& typing, std::int16_t delta, bool ctrl);

// Objects copied in this capture, kept with the clipboard marker's sequence
// number and how many times they were pasted since.
struct HeldObjects {
    std::vector<SceneObject> objects;
    std::uint32_t clipboard_sequence = 0;
    std::uint32_t paste_count = 0;
};

// What Ctrl+C copies: the selected objects, or with none selected the
// picture (the copy image word).
std::variant<std::vector<SceneObject>, EditorAction> objects_to_copy(const EditorState& state);

// Keeps the copies once their marker is on the clipboard; pasting starts
// again next to them.
void hold_copied_objects(HeldObjects& held, std::vector<SceneObject> objects, std::uint32_t clipboard_sequence);

// Pastes the held objects, the n-th paste of one copy 16 n pixels right of
// and below the copied ones, as one undo step under fresh ids; they become
// the selection and the tool becomes select, so that the next drag moves
// them. The caller has checked that the marker is still on the clipboard.
// False when nothing was pasted (nothing held, or no room in the scene).
bool paste_held_objects(EditorState& state, HeldObjects& held);

}  // namespace glimmerly
