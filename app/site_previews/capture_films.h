#pragma once
// What the site previews record over the desktop capture without a window:
// the capture scene (the editor over the capture with four shapes and two
// notes drawn through the real gestures), the eyedropper film and the
// editing film. These films move the editor through its editing operations
// directly; their pointer exists only in "pointer.txt".

#include <string>

#include "core/base/result.h"
#include "core/editor/editor_state.h"
#include "core/image/bgra_image.h"

namespace glimmerly {

// The editing part a film starts from: nothing drawn, selected or undone,
// interface scale 1, text size 14, with the tool, stroke width and colour.
EditorState film_editing_head(Tool tool, double stroke_width, Rgb colour);

// The editor over a copy of the picture with its renderer, the head's
// editing part in place of its own, and the films' region chosen.
Result<EditorState> new_film_state(const BgraImage& picture, EditorState head);

// The capture scene: a rectangle (the card's frame, first), the note
// "Title too low?", a highlighter stroke, an ellipse, a Ctrl-drawn arrow and
// the note "Mobile\n+12%", the tool back to the rectangle.
Result<EditorState> build_capture_scene(const BgraImage& capture);

// 150 frames of the armed eyedropper tracing a figure eight over the capture.
Status record_eyedropper_film(const BgraImage& capture, const std::wstring& frames_folder);

// 283 frames over the given scene (the capture scene with the select tool):
// a shape picked, shrunk and moved; the "Title" note picked, enlarged and
// turned; then the check that the note stays clear of the card's frame.
// "missing note" before any frame when the scene has no such note.
Status record_editing_film(EditorState scene, const std::wstring& frames_folder);

}  // namespace glimmerly
