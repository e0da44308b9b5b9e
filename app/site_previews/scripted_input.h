#pragma once
// The site-preview films' vocabulary of scripted input: pointer moves,
// presses and releases through the editor's own pointer handlers (with the
// film's hidden host window standing in for the editor window), clicks on
// buttons found in the editor's own toolbar layout, characters typed into
// its text field, and one film frame for every visible step. Every step
// starts where the film's pointer track ends; the first failure stops it.

#include <cstdint>
#include <string_view>

#include "app/render/renderer_resources.h"
#include "app/site_previews/film.h"
#include "core/base/result.h"
#include "core/image/bgra_image.h"
#include "core/site_previews/scripted_moves.h"

namespace glimmerly {

// n eased steps to the target, each a pointer move with the modifier keys
// and a frame; the last step is at the target.
Status glide_pointer_to(Film& film, Point target, std::uint32_t steps, PointerModifiers modifiers = {});

// One pointer move without modifier keys, and its frame.
Status step_pointer_to(Film& film, Point point);

// The left button pressed at the film's pointer; a toolbar button pressed
// acts at once. No frame.
Status press_pointer(Film& film, PointerModifiers modifiers = {});

// The left button released at the film's pointer. No frame.
void release_pointer(Film& film, PointerModifiers modifiers = {});

// A press and, when it succeeded, a release, without modifier keys. No frame.
Status click_pointer(Film& film);

// Glides 10 steps to the centre of the first toolbar button that the word
// clicks, clicks it and rests 4 frames: 14 frames. "missing toolbar button"
// when the layout has none.
Status click_toolbar_button(Film& film, EditorAction word);

// Each UTF-16 unit of the text sent to the open text field as WM_CHAR,
// followed by two frames. "text field not open" without one.
Status type_into_text_field(Film& film, std::string_view text);

// One notch or more of the plain mouse wheel over the editor. No frame.
Status turn_wheel(Film& film, std::int16_t delta);

// 30 frames that are the picture itself, not the editor, with the pointer
// at (620, 360): a film's opening over something else.
Status hold_picture_frames(Film& film, const BgraImage& picture);

// The editor's view of that size, every pixel opaque.
Result<BgraImage> render_state_picture(std::uint32_t width, std::uint32_t height, EditorState& state);

// A plain text at the point in the current colour, measured unwrapped in the
// annotation font at that size; "note refused" when the editor refuses it.
Status add_measured_note(EditorState& state, RendererResources& resources, Point at, std::string_view text,
                         float size);

}  // namespace glimmerly
