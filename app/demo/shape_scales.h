#pragma once
// The pictures of annotation objects at extreme sizes and stroke widths,
// drawn straight from object tables through the scene renderer with plain
// captions, and the small scripted operations the other demonstration
// pictures share: a drag through the editor's pointer handlers, a label, and
// a drag that starts at one of an object's connector points.

#include <string>
#include <string_view>

#include "app/render/renderer_resources.h"
#include "core/base/result.h"
#include "core/editor/editor_state.h"

namespace glimmerly {

// Writes the shape-scales picture to `path`, then "glimmerly-thick-strokes.png"
// and "glimmerly-bent-arrows.png" beside it, each through renderer resources
// of its own on the factories of `sharing`.
Status render_shape_scales(const RendererResources& sharing, const std::wstring& path);
Status render_bent_arrows(const RendererResources& sharing, const std::wstring& path);

// A press at the start, a release at the end (the release makes the last
// move itself), with the modifier keys read from the keyboard before each:
// a key held on the machine while the demo runs changes what the drag does.
Status drag_in_editor(EditorState& state, Point from, Point to);

// The modifier keys held now (GetKeyState).
PointerModifiers keyboard_modifiers();

// A 22 px label fitted to its text, its box's corner at (x, y), in the
// colour, with automatic ink. E_INVALIDARG when the text is refused.
Result<ObjectId> add_demo_label(RendererResources& resources, EditorState& state, Point corner,
                                std::string_view text, Rgb colour);

// A drag from connector point `handle` (0 top, 1 right, 2 bottom, 3 left)
// of the object to the point; from the point itself when no object has
// that id.
void drag_object_handle(EditorState& state, ObjectId id, std::size_t handle, Point to);

}  // namespace glimmerly
